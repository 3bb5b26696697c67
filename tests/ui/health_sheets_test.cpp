// The link-health sheets in the real window: what they draw from a scan and a
// search, and how their tables keep up.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "UiTestSupport.h"
#include "app/Actions.h"
#include "health/LoopbackHttpServer.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"
#include "ui/TableModels.h"

namespace linvara::testing {
namespace {

using namespace outlets;
using profile::Folder, profile::Leaf;

QStringList RowTitles(const QTableView* table) {
  QStringList titles;
  for (int r = 0; r < table->model()->rowCount(); ++r) titles << table->model()->index(r, 0).data().toString();
  return titles;
}

TEST(HealthSheets, DeadLinkSheetFillsFromTheScanAndCountsInItsLabel) {
  LoopbackHttpServer server;
  GuiHome h;
  h.WriteChrome(profile::ChromiumRoots({Leaf("Refused", LoopbackHttpServer::RefusedUrl()), Leaf("Fine", server.url("/ok")),
                                        Leaf("Garbage", "not an address"), Leaf("Mail link", "mailto:a@example.com")}));
  h.StartIn(kChromeBookMarkBtn);
  h.controller().linkHealth().deadLinkProbeSettings.timeout = std::chrono::milliseconds(2000);
  ASSERT_TRUE(h.window().SendAction(actions::kFindDeadLinks));
  OutletDialog* sheet = h.app->screen().window(kDeadURLWindow);
  ASSERT_TRUE(sheet && sheet->isVisible());
  QProgressBar* progress = sheet->progress(kThedealurlProgresser);
  EXPECT_EQ(progress->maximum(), 3);  // the mail link is no web address: not probed

  ASSERT_TRUE(WaitUntil([&] { return !h.controller().linkHealth().deadURLScanRunning(); }));
  Settle(20);
  EXPECT_EQ(RowTitles(sheet->table(TableId::DeadUrl)), QStringList({"Refused", "Garbage"}));
  EXPECT_EQ(sheet->label(kShowDeadBookmarklab)->text(), "Find 2 unreachable bookmark links.");
  EXPECT_EQ(std::tuple(progress->text(), progress->value(), progress->isVisible()), std::tuple("3 of 3 checked", 3, false));
  EXPECT_EQ(sheet->label(kDeadLinksNotCheckedLab)->text(), "1 bookmark not checked: not a web address");
  EXPECT_TRUE(sheet->button("Remove Selected")->isEnabled());
}

// Findings arrive in batches; each batch becomes new rows, never a reload of the table.
TEST(HealthSheets, ManyFindingsAreAppendedWithoutReloadingTheTable) {
  constexpr int kBatches = 100, kPerBatch = 100;
  GuiHome h;
  h.Start();
  h.app->screen().ShowWindow(kDeadURLWindow, true);
  OutletDialog* sheet = h.app->screen().window(kDeadURLWindow);
  QSignalSpy resets(sheet->tableModel(TableId::DeadUrl), &QAbstractItemModel::modelReset);
  QSignalSpy inserts(sheet->tableModel(TableId::DeadUrl), &QAbstractItemModel::rowsInserted);
  for (int b = 0; b < kBatches; ++b) {
    NodeList batch;
    for (int i = 0; i < kPerBatch; ++i) batch.push_back(BrowserLeaf("Dead " + std::to_string(b * kPerBatch + i), "", "Chrome"));
    h.controller().linkHealth().FindDeadBookMarkOnMainThread(batch);
  }
  EXPECT_EQ(resets.count(), 0);
  EXPECT_EQ(inserts.count(), kBatches);
  EXPECT_EQ(RowTitles(sheet->table(TableId::DeadUrl)).last(), "Dead 9999");
  EXPECT_EQ(sheet->label(kShowDeadBookmarklab)->text(), "Find 10000 unreachable bookmark links.");
}

TEST(HealthSheets, DuplicateSheetShowsTheMembersOfTheChosenGroup) {
  GuiHome h;
  h.WriteChrome(profile::ChromiumRoots({Leaf("A", "http://a.example/"), Folder("Inner", {Leaf("A again", "https://a.example/")}),
                                        Leaf("B", "http://b.example/"), Leaf("B again", "http://b.example/")}));
  h.StartIn(kChromeBookMarkBtn);
  ASSERT_TRUE(h.window().SendAction(actions::kFindDuplicates));
  ASSERT_TRUE(WaitUntil([&] { return h.app->screen().IsWindowVisible(kFindDupWindow); }));
  OutletDialog* sheet = h.app->screen().window(kFindDupWindow);
  QTableView* groups = sheet->table(TableId::LeftDup);
  QTableView* members = sheet->table(TableId::RightDup);
  EXPECT_EQ(RowTitles(groups), QStringList({"A", "B"}));
  EXPECT_EQ(sheet->label(kShowDupBookmarklab)->text(), "Find 4 duplicate bookmark links.");
  EXPECT_EQ(RowTitles(members), QStringList({"A", "A again"}));
  EXPECT_EQ(members->model()->index(1, 0).data(rowrole::kThirdLine).toString(), "/Bookmarks bar/Inner");

  QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, groups->visualRect(groups->model()->index(1, 0)).center());
  EXPECT_EQ(RowTitles(members), QStringList({"B", "B again"}));
  EXPECT_TRUE(sheet->button("Remove Selected")->isEnabled());
  QTest::mouseClick(sheet->button("Cancel"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());
}

}  // namespace
}  // namespace linvara::testing
