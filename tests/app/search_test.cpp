// The live search driven through the search field, with worker results pumped
// onto the test's main thread.
#include <gtest/gtest.h>

#include <random>

#include "PresenterFixture.h"
#include "model/SearchMatch.h"

using namespace linvara;
using namespace linvara::testing;
using namespace linvara::outlets;

namespace {

using Search = QuietPresenterTest;

// A fresh start on the sample home with one view loaded.
struct SearchHome : SampleHome {
  explicit SearchHome(const char* view) : SampleHome(false) {
    Start();
    if (view) Press(view);
  }
};

}  // namespace

// Title or address, letter case folded (beyond ASCII too), in list order.
TEST(SearchMatches, TitlesAndAddressesOfTheViewInListOrder) {
  const struct {
    const char *view, *text;
    TitleList matches;
  } cases[] = {
      {kSafariBookMarkBtn, "APPLE", {"apple pie", "Fruit Stand"}},
      {kSafariBookMarkBtn, "ÄPFEL", {"Äpfelkuchen"}},
      {kAllBookMarkBtn, "apple", {"apple pie", "Fruit Stand", "Apple Store"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SearchHome h(c.view);
    h.TypeSearch(c.text);
    ASSERT_TRUE(h.SettleSearch());
    EXPECT_EQ(h.RowTitles(), c.matches);
    EXPECT_EQ(h.app->lists().fliterSearchArray, h.rows());
    EXPECT_TRUE(h.app->bSearchThreadStart);
    EXPECT_TRUE(h.view().bookmarkTable.selection.empty());
    EXPECT_EQ(h.view().findText(kSearchField)->text, c.text);
  }
}

// A cleared field (also while searches still run, unpumped or handing over
// meanwhile) or another view loaded meanwhile: the view's default content, the
// flat list in the unified view. No match: an empty table that says so. No view:
// nothing to match.
TEST(SearchMatches, TheTableEndsWithTheDefaultContentOrNoMatches) {
  std::vector<std::string> manyThenCleared;
  for (int i = 0; i < 50; ++i) manyThenCleared.push_back(i % 2 ? "apple" : "pie");
  manyThenCleared.push_back("");
  const struct {
    const char *view, *viewLoadedMeanwhile;
    std::vector<std::string> texts;
    NodeList BookmarkLists::*shown;  // null: no rows
    const char* status;
  } cases[] = {
      {kSafariBookMarkBtn, nullptr, {"zebra"}, nullptr, "No matches"},
      {kAllBookMarkBtn, nullptr, {"apple", "zebra"}, nullptr, "No matches"},
      {kSafariBookMarkBtn, nullptr, {"zebra", ""}, &BookmarkLists::safariFatherArray, ""},
      {kChromeBookMarkBtn, nullptr, {"apple", ""}, &BookmarkLists::ChromeFatherArray, ""},
      {kAllBookMarkBtn, nullptr, manyThenCleared, &BookmarkLists::allbookMarkArray, ""},
      {kSafariBookMarkBtn, kChromeBookMarkBtn, {"zebra"}, &BookmarkLists::ChromeFatherArray, ""},
      {nullptr, nullptr, {"apple", ""}, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.view ? c.view : "no view") + " " + c.texts[0]);
    SearchHome h(c.view);
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      h.TypeSearch(c.texts[i]);
      if (i % 7 == 6 || c.texts.size() == 2) ASSERT_TRUE(h.SettleSearch());
    }
    if (c.viewLoadedMeanwhile) h.Press(c.viewLoadedMeanwhile);
    ASSERT_TRUE(h.SettleSearch());
    EXPECT_EQ(h.rows(), c.shown ? h.app->lists().*c.shown : NodeList{});
    const TextState* status = h.view().findText(kBookmarkStatus);
    EXPECT_EQ(status ? status->text : "", c.status);
  }
}

TEST_F(Search, OtherFieldsStartNoSearch) {
  h.Start();
  h.app->controlTextDidChange(kEnterPWLab, "apple");
  ASSERT_TRUE(h.SettleSearch());
  EXPECT_EQ(h.app->searchGeneration(), 0u);
}

// Many texts in a row, some results handed over while newer searches are still
// running: the table ends with the matches of the last text.
TEST_F(Search, StressTheTableEndsWithTheMatchesOfTheLastText) {
  AppDelegate& app = h.Start();
  h.Press(kSafariBookMarkBtn);
  // A large flat list makes older searches overlap newer ones.
  std::mt19937 rng(7);
  const std::vector<std::string> words = {"alpha", "beta", "gamma", "delta", "apple", "pie", "kuchen", "straße"};
  NodeList big;
  for (int i = 0; i < 40000; ++i) {
    NodePtr n = PRBookMarkNode::Create();
    n->setThetitle(words[rng() % words.size()] + " " + std::to_string(i));
    n->setUrlString("https://" + words[rng() % words.size()] + ".example/" + std::to_string(i % 97));
    big.push_back(n);
  }
  app.lists().safariBookMarkArray = big;

  for (int round = 0; round < 3; ++round) {
    std::vector<std::string> texts;
    for (int i = 0; i < 60; ++i) {
      std::string t = words[rng() % words.size()].substr(0, 1 + rng() % 4);
      if (i % 3 == 0) t += std::to_string(rng() % 10);
      if (i % 5 == 0)
        for (auto& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      texts.push_back(t);
    }
    // "straße" folds to "strasse".
    texts.push_back(round == 0 ? "STRASSE 1" : words[rng() % words.size()].substr(0, 2));
    for (std::size_t i = 0; i < texts.size(); ++i) {
      h.TypeSearch(texts[i]);
      if (i % 4 == 0) h.dispatcher->Pump();  // hand over whatever has finished meanwhile
    }
    ASSERT_TRUE(h.SettleSearch());

    const NodeList expected = FilterBySearch(big, texts.back());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(h.rows(), expected) << "round " << round << ", last text " << texts.back();
    EXPECT_EQ(app.lists().fliterSearchArray, expected);
    if (round == 0) {
      for (const NodePtr& n : h.rows()) EXPECT_NE(n->thetitle()->find("straße 1"), std::string::npos);
    }
  }
}
