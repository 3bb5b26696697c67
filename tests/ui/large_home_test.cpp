// A home with 150,000 bookmarks fills the table (the time it takes is measured
// by the benchmark, not here).
#include <gtest/gtest.h>

#include <QTableView>

#include "UiTestSupport.h"
#include "app/Outlets.h"
#include "ui/MainWindow.h"
#include "ui/TableModels.h"

namespace linvara::testing {
namespace {

TEST(LargeHome, OneHundredFiftyThousandBookmarksFillTheTable) {
  constexpr int kBookmarks = 150000;
  GuiHome h;
  h.WriteChrome(profile::ChromiumRoots(profile::FoldersOfBookmarks(kBookmarks, 10, [](int folder, int index) {
    const std::string number = std::to_string(folder) + "-" + std::to_string(index);
    return profile::Leaf("Page " + number, "https://site" + std::to_string(index % 997) + ".example/" + number);
  })));
  h.StartIn(outlets::kChromeBookMarkBtn);
  EXPECT_EQ(h.window().bookmarkModel()->rowCount(), 2 + 0);  // the bar and "Other bookmarks"
  h.Press(outlets::kUrlListViewBtn);
  const BookmarkTableModel* model = h.window().bookmarkModel();
  ASSERT_EQ(model->rowCount(), kBookmarks);
  EXPECT_EQ(model->index(0, 0).data().toString(), "Page 0-0");
  EXPECT_EQ(model->index(kBookmarks - 1, 0).data().toString(), "Page 9-14999");
  // Select everything and scroll to the end: the view keeps up without per-row widgets.
  QTableView* table = h.window().bookmarkTable();
  table->selectAll();
  EXPECT_EQ(h.controller().viewState().bookmarkTable.selection.size(), static_cast<std::size_t>(kBookmarks));
  table->scrollToBottom();
  Settle(20);
  EXPECT_EQ(table->rowAt(table->viewport()->height() - 1), kBookmarks - 1);
}

}  // namespace
}  // namespace linvara::testing
