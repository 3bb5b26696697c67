// The live search driven through the search field, with worker results pumped
// onto the test's main thread.
#include <gtest/gtest.h>

#include <random>

#include "PresenterFixture.h"
#include "model/SearchMatch.h"

using namespace linvara;
using namespace linvara::testing;

namespace {

struct Search : ::testing::Test {
  PresenterHome h;
  void SetUp() override {
    (void)h.prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
    h.WriteSafari(SafariFolder("Kitchen", SafariLeaf("apple pie", "https://pie.example/") +
                                              SafariLeaf("Äpfelkuchen", "https://kuchen.example/")) +
                  SafariLeaf("Fruit Stand", "https://shop.example/apple") +
                  SafariLeaf("Weather", "https://weather.example/"));
    h.WriteChrome(ChromeFile(ChromeUrl("11", "Apple Store", "https://store.example/")));
  }
  void Type(const std::string& text) { h.app->controlTextDidChange(outlets::kSearchField, text); }
  // Lets every worker finish and hand over its matches.
  void Settle() {
    ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return h.app->searchWorkersRunning() == 0; }));
    h.dispatcher->Pump();
  }
};

}  // namespace

TEST_F(Search, CapitalsFindTitleAndAddressMatchesInListOrder) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  Type("APPLE");
  Settle();
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"apple pie", "Fruit Stand"}));
  EXPECT_EQ(app.lists().fliterSearchArray, h.rows());
  EXPECT_TRUE(app.bSearchThreadStart);
  EXPECT_TRUE(h.view().bookmarkTable.selection.empty());
  EXPECT_EQ(h.view().findText(outlets::kSearchField)->text, "APPLE");
}

TEST_F(Search, LetterCaseIsFoldedBeyondAscii) {
  h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  Type("ÄPFEL");
  Settle();
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Äpfelkuchen"}));
}

TEST_F(Search, UnifiedViewSearchesEveryBrowser) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  Type("apple");
  Settle();
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"apple pie", "Fruit Stand", "Apple Store"}));
}

TEST_F(Search, NoMatchesShowsTheViewsDefaultContent) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  Type("zebra");
  Settle();
  EXPECT_EQ(h.rows(), app.lists().safariFatherArray);
  EXPECT_TRUE(app.bSearchThreadStart);

  h.Press(outlets::kChromeBookMarkBtn);
  Type("zebra");
  Settle();
  EXPECT_EQ(h.rows(), app.lists().ChromeFatherArray);
}

TEST_F(Search, ClearingTheFieldShowsTheFlatListInTheUnifiedView) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  Type("weather");
  Settle();
  ASSERT_EQ(h.RowTitles(), (std::vector<std::string>{"Weather"}));
  h.SelectTitles({"Weather"});
  Type("");
  EXPECT_EQ(h.rows(), app.lists().allbookMarkArray);
  EXPECT_TRUE(h.view().bookmarkTable.selection.empty());
}

TEST_F(Search, ClearingTheFieldDropsASearchStillRunning) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  Type("apple");  // not pumped yet
  Type("");
  Settle();
  EXPECT_EQ(h.rows(), app.lists().safariFatherArray);
}

TEST_F(Search, OtherControlsAndNoViewStartNothing) {
  h.Start();
  h.app->controlTextDidChange(outlets::kEnterPWLab, "apple");
  Settle();
  EXPECT_EQ(h.app->searchGeneration(), 0u);
  Type("apple");  // no view loaded: an empty snapshot, so the empty default
  Settle();
  EXPECT_TRUE(h.rows().empty());
  Type("");
  EXPECT_TRUE(h.rows().empty());
}

TEST_F(Search, AViewLoadDropsTheResultsOfASearchOnTheOldView) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  Type("apple");
  h.Press(outlets::kChromeBookMarkBtn);
  Settle();
  EXPECT_EQ(h.rows(), app.lists().ChromeFatherArray);
}

// Many texts in a row, some results handed over while newer searches are still
// running: the table ends with the matches of the last text.
TEST_F(Search, StressTheTableEndsWithTheMatchesOfTheLastText) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
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
    texts.push_back(round == 0 ? "STRASSE 1" : words[rng() % words.size()].substr(0, 2));  // "straße" folds to "strasse"
    for (std::size_t i = 0; i < texts.size(); ++i) {
      Type(texts[i]);
      if (i % 4 == 0) h.dispatcher->Pump();  // hand over whatever has finished meanwhile
    }
    Settle();

    const NodeList expected = FilterBySearch(big, texts.back());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(h.rows(), expected) << "round " << round << ", last text " << texts.back();
    EXPECT_EQ(app.lists().fliterSearchArray, expected);
    if (round == 0) {
      for (const NodePtr& n : h.rows()) EXPECT_NE(n->thetitle()->find("straße 1"), std::string::npos);
    }
  }
}

TEST_F(Search, StressEndingOnAClearedFieldShowsTheDefault) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  for (int i = 0; i < 50; ++i) {
    Type(i % 2 ? "apple" : "pie");
    if (i % 7 == 0) h.dispatcher->Pump();
  }
  Type("");
  Settle();
  EXPECT_EQ(h.rows(), app.lists().allbookMarkArray);
}
