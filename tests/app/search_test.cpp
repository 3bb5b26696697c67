// The live search driven through the search field, with worker results pumped
// onto the test's main thread.
#include <gtest/gtest.h>

#include <future>

#include "PresenterFixture.h"
#include "app/SearchWorkers.h"
#include "model/SearchMatch.h"

using namespace linvara;
using namespace linvara::testing;
using namespace linvara::outlets;

namespace {

using Search = QuietPresenterTest;

}  // namespace

// Matches of title or address, letter case folded, in list order; no match: an
// empty table that says so. A cleared field (also while searches still run,
// unpumped or handing over meanwhile): the view's default content, the flat list
// in the unified view (results of older texts handed over meanwhile are dropped).
// Another view loaded meanwhile: its content. No view: nothing.
TEST(SearchMatches, TheTableShowsWhatTheLastTextFinds) {
  std::vector<std::string> manyThenCleared;
  for (int i = 0; i < 50; ++i) manyThenCleared.push_back(i % 2 ? "apple" : "pie");
  manyThenCleared.push_back("");
  const struct {
    const char *view, *viewLoadedMeanwhile;
    std::vector<std::string> texts;
    TitleList matches;
    NodeList BookmarkLists::*shown;  // null: the matches
    const char* status;
  } cases[] = {
      {kSafariBookMarkBtn, nullptr, {"APPLE"}, {"apple pie", "Fruit Stand"}, nullptr, ""},
      {kAllBookMarkBtn, nullptr, {"apple"}, {"apple pie", "Fruit Stand", "Apple Store"}, nullptr, ""},
      {kSafariBookMarkBtn, nullptr, {"zebra"}, {}, nullptr, "No matches"},
      {kAllBookMarkBtn, nullptr, {"apple", "zebra"}, {}, nullptr, "No matches"},
      {kSafariBookMarkBtn, nullptr, {"zebra", ""}, {}, &BookmarkLists::safariFatherArray, ""},
      {kChromeBookMarkBtn, nullptr, {"apple", ""}, {}, &BookmarkLists::ChromeFatherArray, ""},
      {kAllBookMarkBtn, nullptr, manyThenCleared, {}, &BookmarkLists::allbookMarkArray, ""},
      {kSafariBookMarkBtn, kChromeBookMarkBtn, {"zebra"}, {}, &BookmarkLists::ChromeFatherArray, ""},
      {nullptr, nullptr, {"apple", ""}, {}, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.view ? c.view : "no view") + " " + c.texts[0]);
    SampleHome h(false);
    h.Start();
    if (c.view) h.Press(c.view);
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      h.TypeSearch(c.texts[i]);
      if (i % 7 == 6 || c.texts.size() == 2) {
        ASSERT_TRUE(h.SettleSearch());
      }
    }
    if (c.viewLoadedMeanwhile) h.Press(c.viewLoadedMeanwhile);
    ASSERT_TRUE(h.SettleSearch());
    if (c.shown) {
      EXPECT_EQ(h.rows(), h.app->lists().*c.shown);
    } else {
      EXPECT_EQ(h.RowTitles(), c.matches);
    }
    if (!c.shown && !c.texts.back().empty()) {
      EXPECT_EQ(h.app->lists().fliterSearchArray, h.rows());
    }
    const TextState* status = h.view().findText(kBookmarkStatus);
    EXPECT_EQ(status ? status->text : "", c.status);
    EXPECT_TRUE(h.view().bookmarkTable.selection.empty());
    EXPECT_EQ(h.view().findText(kSearchField)->text, c.texts.back());
  }
}

TEST_F(Search, OtherFieldsStartNoSearch) {
  h.Start();
  h.app->controlTextDidChange(kEnterPWLab, "apple");
  ASSERT_TRUE(h.SettleSearch());
  EXPECT_EQ(h.app->searchGeneration(), 0u);
}

// A long list is scanned in parts at once; the matches still come in list order.
TEST(SearchMatches, ALongListGivesItsMatchesInListOrder) {
  NodeList rows;
  for (int i = 0; i < 50001; ++i) {
    rows.push_back(PRBookMarkNode::Create());
    rows.back()->setThetitle((i % 3 ? "other " : "Match ") + std::to_string(i));
  }
  std::promise<NodeList> delivered;
  SearchWorkers workers;
  workers.Start(std::make_shared<InlineDispatcher>(), rows, "match",
                [&](const NodeList& matches, std::uint64_t) { delivered.set_value(matches); });
  const NodeList matches = delivered.get_future().get();
  EXPECT_EQ(matches.size(), 16667u);
  EXPECT_EQ(matches, FilterBySearch(rows, "match"));
}
