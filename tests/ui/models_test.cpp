// The item models checked by Qt's model tester through resets, check boxes
// and selections, and what their cells show. The action table: every entry of
// every menu and dialog sends a declared action, exactly the built actions can
// be performed, and only they are drawn enabled.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QBrush>
#include <QFont>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStringList>

#include "UiTestSupport.h"
#include "app/Actions.h"
#include "app/AppDelegate.h"
#include "app/Outlets.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"
#include "ui/TableModels.h"

namespace linvara::testing {
namespace {

NodePtr Leaf(const std::string& title, const std::string& url, const std::string& from) {
  NodePtr n = BrowserLeaf(title, url, from);
  n->setBookMarkUUID("uuid-" + title);
  n->setTheFullPath("/Bar");
  return n;
}

NodeList SomeRows() {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle("Bar");
  folder->setBookMarkFrom("Chrome");
  NodePtr locked = Leaf("Bank", "https://bank.example/", "Safari");
  locked->setBEncrytedBookmark(true);
  return {folder, Leaf("Example", "https://example.com/", "Safari"), Leaf("News", "https://news.example/", "Chrome"),
          locked};
}

TEST(BookmarkTableModel, PassesTheModelTesterThroughResets) {
  EnsureQtApp();
  WarningLog log;
  BookmarkTableModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  EXPECT_TRUE(model.setRows(SomeRows(), 1));
  EXPECT_FALSE(model.setRows(model.rows(), 1));  // same rows, same reload: nothing to do
  EXPECT_TRUE(model.setRows(model.rows(), 2));   // a reload resets even with the same rows
  EXPECT_TRUE(model.setRows({}, 2));
  EXPECT_TRUE(model.setRows(SomeRows(), 3));
  for (int r = 0; r < model.rowCount(); ++r)
    for (int c = 0; c < model.columnCount(); ++c)
      for (int role : {int(Qt::DisplayRole), int(Qt::DecorationRole), int(Qt::ToolTipRole), rowrole::kSecondLine})
        (void)model.data(model.index(r, c), role);
  EXPECT_TRUE(log.messages().isEmpty()) << log.text();
}

// Each column and role shows its field of the row; rows are never editable.
TEST(BookmarkTableModel, CellsShowTheRowsFields) {
  EnsureQtApp();
  BookmarkTableModel model;
  model.setRows(SomeRows(), 1);
  QStringList headers;
  for (int c = 0; c < model.columnCount(); ++c) headers << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  EXPECT_EQ(headers, QStringList({"Name", "Date", "UDID", "Type"}));
  auto cell = [&](int row, int column, int role = Qt::DisplayRole) { return model.index(row, column).data(role); };
  EXPECT_EQ(cell(0, 0).toString(), "Bar");
  EXPECT_TRUE(cell(0, 0, rowrole::kIsFolder).toBool());
  EXPECT_EQ(cell(1, 0, rowrole::kSecondLine).toString(), "https://example.com/");
  EXPECT_EQ(cell(1, 0, rowrole::kIconName).toString(), "safarilogo");
  EXPECT_FALSE(qvariant_cast<QIcon>(cell(1, 0, Qt::DecorationRole)).isNull());
  EXPECT_EQ(cell(1, BookmarkTableModel::kUdid).toString(), "uuid-Example");
  EXPECT_EQ(cell(1, BookmarkTableModel::kUdid, rowrole::kSecondLine).toString(), "/Bar");
  EXPECT_EQ(cell(1, BookmarkTableModel::kType).toString(), "Safari bookmark");
  EXPECT_FALSE(model.flags(model.index(1, 0)) & Qt::ItemIsEditable);
}

// A check box flips its node through the toggle, once: asking for the state the
// box already has does not flip it back.
TEST(ResultTableModel, CheckBoxFlipsTheNodeOnce) {
  EnsureQtApp();
  WarningLog log;
  NodeList rows = SomeRows();
  std::vector<int> toggled;
  ResultTableModel model(TableId::DeadUrl, [&](int row) {
    toggled.push_back(row);
    NodePtr n = rows[static_cast<std::size_t>(row)];
    n->setBSelect(!n->bSelect());
  });
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  model.setRows(rows, 1, ViewKind::Safari);
  const QModelIndex news = model.index(2, 0);
  EXPECT_TRUE(model.flags(news) & Qt::ItemIsUserCheckable);
  EXPECT_TRUE(model.setData(news, Qt::Checked, Qt::CheckStateRole));
  EXPECT_TRUE(model.setData(news, Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(toggled, std::vector<int>{2});
  EXPECT_EQ(news.data(rowrole::kSecondLine).toString(), "https://news.example/");
  model.refreshCheckBoxes();
  EXPECT_TRUE(log.messages().isEmpty()) << log.text();
}

// Members show their path (with the browser in the unified view); the group
// table shows titles without check boxes, styled as the cell-based table.
TEST(ResultTableModel, DuplicateTablesShowTheirOwnCells) {
  EnsureQtApp();
  ResultTableModel members(TableId::RightDup, {}), groups(TableId::LeftDup, {});
  members.setRows(SomeRows(), 1, ViewKind::All);
  groups.setRows(SomeRows(), 1, ViewKind::All);
  EXPECT_EQ(members.index(2, 0).data(rowrole::kThirdLine).toString(), "/Bar        --Chrome bookmark");
  EXPECT_FALSE(members.index(1, 0).data(Qt::FontRole).isValid());
  EXPECT_FALSE(groups.index(1, 0).data(Qt::CheckStateRole).isValid());
  EXPECT_FALSE(groups.setData(groups.index(1, 0), Qt::Checked, Qt::CheckStateRole));
  const QFont font = qvariant_cast<QFont>(groups.index(1, 0).data(Qt::FontRole));  // Lucida Grande 11 pt
  EXPECT_EQ(std::pair(font.family(), font.pointSize()), std::pair(QString("Lucida Grande"), 11));
  EXPECT_EQ(qvariant_cast<QBrush>(groups.index(1, 0).data(Qt::ForegroundRole)).color(), QColor(161, 169, 186));
}

TEST(CookieTableModel, ColumnsShowTheCookiesFields) {
  EnsureQtApp();
  WarningLog log;
  CookieTableModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  auto cookie = std::make_shared<PRCookFileNode>();
  cookie->fileHost = ".example.com", cookie->fileName = "session", cookie->filePath = "/", cookie->fileValue = "abc";
  cookie->secureValue = "YES", cookie->expiredDate = "01-01-2030 00:00";
  auto bare = std::make_shared<PRCookFileNode>();  // every text unset
  EXPECT_TRUE(model.setRows({cookie, bare}, 0));
  EXPECT_FALSE(model.setRows({cookie, bare}, 0));
  QStringList row;
  for (int c = 0; c < model.columnCount(); ++c) row << model.index(0, c).data().toString();
  EXPECT_EQ(row, QStringList({".example.com", "session", "/", "abc", "Yes", "01-01-2030 00:00"}));
  EXPECT_TRUE(model.index(1, CookieTableModel::kHost).data().toString().isEmpty());
  EXPECT_EQ(model.index(1, CookieTableModel::kSecure).data().toString(), "No");
  EXPECT_TRUE(log.messages().isEmpty()) << log.text();
}

TEST(SelectionHelpers, RowsRoundTripThroughRanges) {
  EnsureQtApp();
  BookmarkTableModel model;
  NodeList rows;
  for (int i = 0; i < 20; ++i) rows.push_back(Leaf("t" + std::to_string(i), "https://x/", "Safari"));
  model.setRows(rows, 1);
  QItemSelectionModel selection(&model);
  const std::vector<std::size_t> wanted = {0, 1, 2, 5, 9, 10, 19};
  const QItemSelection ranges = SelectionForRows(model, wanted);
  EXPECT_EQ(ranges.size(), 4);  // 0-2, 5, 9-10, 19
  selection.select(ranges, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  EXPECT_EQ(SelectedRows(selection), wanted);
  // Rows past the end are dropped.
  EXPECT_EQ(SelectionForRows(model, {3, 25}).size(), 1);
}

// Actions whose performers are not built yet; their entries are drawn disabled.
const std::set<std::string> kNotBuiltYet = {
    // The home-folder grant of the cookie area.
    "clickConnectHomeAction:",
};

void CollectActions(const std::vector<MenuItemModel>& items, std::vector<std::string>& into) {
  for (const MenuItemModel& item : items) {
    if (!item.action.empty()) into.push_back(item.action);
    CollectActions(item.submenu, into);
  }
}

TEST(ActionTable, EveryMenuEntryAndDialogButtonSendsADeclaredAction) {
  std::vector<std::string> sent;
  for (const auto& [name, menu] : MakeInitialViewState().menus) CollectActions(menu.items, sent);
  for (const DialogDefinition& dialog : AllDialogDefinitions()) {
    if (!dialog.closeAction.empty()) sent.push_back(dialog.closeAction);
    for (const DialogButton& button : dialog.buttons)
      if (!button.action.empty()) sent.push_back(button.action);
  }
  ASSERT_GT(sent.size(), 60u);
  for (const std::string& action : sent) EXPECT_NE(FindAction(action), nullptr) << action;
}

TEST(ActionTable, ExactlyTheBuiltActionsCanBePerformed) {
  AppDelegate app(AppServices{});
  std::set<std::string> notBuilt;
  for (const ActionInfo& a : AllActions()) {
    if (!a.built) notBuilt.insert(std::string(a.name));
    EXPECT_EQ(app.CanPerformAction(std::string(a.name)), a.built) << a.name;
  }
  EXPECT_EQ(notBuilt, kNotBuiltYet);
  // A built action keeps its performer; a stand-in makes an unbuilt one performable.
  app.SetCommandHandler(actions::kFindDuplicates, {});
  EXPECT_TRUE(app.CanPerformAction(actions::kFindDuplicates));
  app.SetCommandHandler(actions::kExportAll, [](const MenuItemModel&) {});
  EXPECT_TRUE(app.CanPerformAction(actions::kExportAll));
}

// Menu entries are drawn enabled only when something performs their action.
TEST(MenuEntries, OnlyPerformableActionsAreEnabled) {
  EnsureQtApp();
  AppDelegate app(AppServices{});
  QtScreen screen;
  screen.Attach(nullptr, &app);
  const MenuModel& tools = app.viewState().menus.at(outlets::kBookmarktableMenu);
  std::unique_ptr<QMenu> menu(screen.BuildMenu(tools, nullptr));
  int enabled = 0;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->menu()) continue;
    const std::string name = action->data().toString().toStdString();
    EXPECT_EQ(action->isEnabled(), app.CanPerformAction(name)) << name;
    enabled += action->isEnabled();
  }
  EXPECT_GT(enabled, 0);
  screen.Attach(nullptr, nullptr);
}

}  // namespace
}  // namespace linvara::testing
