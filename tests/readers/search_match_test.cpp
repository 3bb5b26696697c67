#include <gtest/gtest.h>

#include "model/SearchMatch.h"

namespace linvara {
namespace {

NodePtr Leaf(OptString title, OptString url) {
  NodePtr n = PRBookMarkNode::Create();
  n->setThetitle(std::move(title));
  n->setUrlString(std::move(url));
  return n;
}

TEST(SearchMatch, TitleThenAddressIgnoringCase) {
  NodePtr pie = Leaf("apple pie", "https://recipes.example/pie");
  NodePtr byAddress = Leaf("Fruit shop", "https://www.apple.com/");
  NodePtr neither = Leaf("Pears", "https://pears.example/");
  NodePtr folder = PRFaBookMarkNode::Create();  // null title and address
  NodeList found = FilterBySearch({neither, pie, folder, byAddress}, "APPLE");
  EXPECT_EQ(found, (NodeList{pie, byAddress}));
  EXPECT_TRUE(FilterBySearch({pie}, "nothing like it").empty());
  EXPECT_TRUE(SearchMatcher("Wiki").MatchesText(std::nullopt, "https://en.WIKIPEDIA.org/"));
  EXPECT_FALSE(SearchMatcher("Wiki").MatchesText(std::nullopt, std::nullopt));
}

TEST(SearchMatch, NodeMatchesFollowItsLatestTitleAndAddress) {
  struct Case {
    OptString title, url;
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {"Straße", "https://A.example/", "STRASSE", true},
      {"Straße", "https://A.example/", "a.EXAMPLE", true},
      {"Pear", "https://A.example/", "strasse", false},
      {"Pear", "https://b.example/", "a.example", false},
      {"ΑΘΗΝΑ", std::nullopt, "αθη", true},
      {std::nullopt, "HTTPS://KELVIN.example/", "\u212Aelvin", true},
      {" ", "", " ", true},
  };
  NodePtr node = PRBookMarkNode::Create();  // the same node, changed from case to case
  for (const Case& c : cases) {
    node->setThetitle(c.title);
    node->setUrlString(c.url);
    EXPECT_EQ(SearchMatcher(c.text).Matches(*node), c.found) << c.text;
  }
}

TEST(SearchMatch, UnicodeCaseFoldingBeyondAscii) {
  EXPECT_TRUE(ContainsIgnoringCase("Ünïcödé Straße", "ÜNÏCÖDÉ"));
  EXPECT_TRUE(ContainsIgnoringCase("Ünïcödé Straße", "STRASSE"));  // full folding: ß is ss
  EXPECT_TRUE(ContainsIgnoringCase("ΑΘΗΝΑ", "αθηνα"));
  EXPECT_TRUE(ContainsIgnoringCase("维基百科，自由的百科全书", "自由"));
  // ASCII text against a folded non-ASCII needle: the Kelvin sign folds to k, ß to ss.
  EXPECT_TRUE(ContainsIgnoringCase("Temperature in KELVIN", "\u212Aelvin"));
  EXPECT_TRUE(ContainsIgnoringCase("https://strasse.example/", "STRAẞE"));
  EXPECT_EQ(FoldCase("MiXeD 123 ÄÖ"), "mixed 123 äö");
  EXPECT_FALSE(ContainsIgnoringCase("cafe", "café"));  // no other normalisation
  EXPECT_FALSE(ContainsIgnoringCase("anything", ""));
}

}  // namespace
}  // namespace linvara
