// The sort commands of the three views, through the session's view state.
#include <gtest/gtest.h>

#include "app/Outlets.h"
#include "sort/SortController.h"
#include "sort/SortTestSupport.h"

namespace linvara::testing {
namespace {

struct UnifiedView {
  BookmarkSession session{AppServices{}};
  SortController sorting{session};
  NodeList rows = {Mark("b", "https://b.example/"), Dir("F"), Mark("a", "http://a.example/"), Mark("c", "http://c.example/")};

  UnifiedView() {
    session.bookMarkType = ViewKind::All;
    session.lists().allbookMarkArray = rows;
    session.SetBookmarkTableContent(rows);
  }
  void Select(std::vector<std::size_t> selection) {
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) { s.bookmarkTable.selection = selection; });
  }
  const NodeList& shown() const { return session.viewState().bookmarkTable.content; }
};

TEST(SortController, UnifiedSortsReorderTheRowsAndTheUnifiedList) {
  struct Case {
    bool (SortController::*command)();
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {&SortController::SortAllBookMarkByName, {"a", "b", "c", "F"}},
      {&SortController::SortAllBookMarkByAddress, {"a", "b", "c", "F"}},
      {&SortController::SortAllBookMarkAddressAZByURLFirstAddress, {"a", "b", "c", "F"}},
      {&SortController::SortAllBookMarkAddressAZByFolderFirstAddress, {"F", "a", "c", "b"}},
      {&SortController::SortAllBookMarkAddressAZByFolderFirstTitle, {"F", "a", "b", "c"}},
      {&SortController::SortAllBookMarkByHost, {"a", "b", "F", "c"}},
  };
  for (const Case& c : cases) {
    UnifiedView view;
    EXPECT_TRUE((view.sorting.*c.command)());
    EXPECT_EQ(Titles(view.shown()), c.expected);
    EXPECT_EQ(view.session.lists().allbookMarkArray, view.shown());
  }
}

TEST(SortController, SelectedSortOrdersOnlyTheSelectedRows) {
  UnifiedView view;
  EXPECT_FALSE(view.sorting.SortSelectedAllBookMarkByName());
  EXPECT_EQ(view.shown(), view.rows);
  view.Select({0, 3, 2});
  view.Select({0, 2, 3});
  EXPECT_TRUE(view.sorting.SortSelectedAllBookMarkByName());
  EXPECT_EQ(Titles(view.shown()), (std::vector<std::string>{"a", "F", "b", "c"}));
  EXPECT_EQ(view.session.lists().partialSortSelection, (NodeList{view.rows[0], view.rows[2], view.rows[3]}));
  EXPECT_EQ(view.session.lists().allbookMarkArray, view.shown());
}

TEST(SortController, UnifiedSortsDoNothingInATreeView) {
  UnifiedView view;
  view.session.bookMarkType = ViewKind::Safari;
  EXPECT_FALSE(view.sorting.SortAllBookMarkByName());
  EXPECT_EQ(view.shown(), view.rows);
}

TEST(SortController, TreeSortShowsTheReadBackTopLevel) {
  for (const bool folderMode : {true, false}) {
    BookmarkSession session{AppServices{}};
    SortController sorting{session};
    session.bookMarkType = ViewKind::Safari;
    session.UpdateView(viewsection::kButtons, [&](ViewState& s) {
      s.button(outlets::kFolderListViewBtn).image = folderMode ? images::kFolderListDown : images::kFolderListNom;
    });
    session.lists().safariFatherArray = {MarkRecord("z"), DirRecord("Bar", {MarkRecord("y"), MarkRecord("x")})};
    NodeList readBack;
    const bool done = sorting.SortTree(TreeFormat::Safari, {SortKey::Name, true}, false, [&](const SortedTree& sorted) {
      EXPECT_EQ(Titles(session.viewState().bookmarkTable.content), (std::vector<std::string>{"Bar", "z"}));
      // What a read back of the written records gives.
      readBack = {DirRecord("Bar", {MarkRecord("x"), MarkRecord("y")}), MarkRecord("z")};
      EXPECT_EQ(Outline(sorted.records), "Bar[x,y],z");
      session.lists().safariFatherArray = readBack;
      session.lists().safariBookMarkArray = {MarkRecord("z"), MarkRecord("y"), MarkRecord("x")};
    });
    EXPECT_TRUE(done);
    EXPECT_TRUE(session.BackButtonShowsHome());
    EXPECT_EQ(Titles(session.lists().safariBookMarkArray), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(session.viewState().bookmarkTable.content,
              folderMode ? readBack : session.lists().safariBookMarkArray);
  }
}

TEST(SortController, SelectedTreeSortNeedsASelectedRow) {
  BookmarkSession session{AppServices{}};
  SortController sorting{session};
  session.lists().safariFatherArray = {MarkRecord("b"), MarkRecord("a")};
  bool wrote = false;
  EXPECT_FALSE(sorting.SortTree(TreeFormat::Safari, {SortKey::Name, true}, true, [&](const SortedTree&) { wrote = true; }));
  EXPECT_FALSE(wrote);
}

}  // namespace
}  // namespace linvara::testing
