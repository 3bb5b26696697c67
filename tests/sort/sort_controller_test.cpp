// The sort commands of the views, through the session's view state.
#include <gtest/gtest.h>

#include "app/Outlets.h"
#include "sort/SortController.h"
#include "sort/SortTestSupport.h"

namespace linvara::testing {
namespace {

TEST(SortController, UnifiedSortsReorderTheRowsAndTheUnifiedList) {
  using C = SortController;
  const std::tuple<bool (C::*)(), std::vector<std::size_t>, std::vector<std::string>> cases[] = {
      {&C::SortAllBookMarkByName, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkByAddress, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkAddressAZByURLFirstAddress, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkAddressAZByFolderFirstAddress, {}, {"F", "a", "c", "b"}},
      {&C::SortAllBookMarkAddressAZByFolderFirstTitle, {}, {"F", "a", "b", "c"}},
      {&C::SortAllBookMarkByHost, {}, {"a", "b", "F", "c"}},
      {&C::SortSelectedAllBookMarkByName, {0, 2, 3}, {"a", "F", "b", "c"}},
      {&C::SortSelectedAllBookMarkByName, {}, {}},  // nothing selected: nothing sorted
  };
  for (const auto& [command, selection, expected] : cases) {
    BookmarkSession session{AppServices{}};
    SortController sorting{session};
    const NodeList rows = {Mark("b", "https://b.example/"), Dir("F"), Mark("a", "http://a.example/"),
                           Mark("c", "http://c.example/")};
    session.bookMarkType = ViewKind::All;
    session.SetBookmarkTableContent(rows);
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) { s.bookmarkTable.selection = selection; });
    EXPECT_EQ((sorting.*command)(), !expected.empty());
    const NodeList& shown = session.viewState().bookmarkTable.content;
    EXPECT_EQ(Titles(shown), expected.empty() ? Titles(rows) : expected);
    EXPECT_EQ(session.lists().allbookMarkArray, expected.empty() ? NodeList{} : shown);
    EXPECT_EQ(session.lists().partialSortSelection.size(), selection.size());
  }
}

}  // namespace
}  // namespace linvara::testing
