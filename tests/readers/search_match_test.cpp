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

// Folding is the full Unicode one (ß is ss, the Kelvin sign k), with no other normalisation.
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
      {"Ünïcödé", std::nullopt, "ÜNÏCÖDÉ", true},
      {"维基百科，自由的百科全书", std::nullopt, "自由", true},
      {std::nullopt, "HTTPS://KELVIN.example/", "\u212Aelvin", true},
      {std::nullopt, "https://strasse.example/", "STRAẞE", true},
      {"cafe", std::nullopt, "café", false},
      {"anything", std::nullopt, "", false},
      {" ", "", " ", true},
  };
  NodePtr node = PRBookMarkNode::Create();  // the same node, changed from case to case
  for (const Case& c : cases) {
    node->setThetitle(c.title);
    node->setUrlString(c.url);
    EXPECT_EQ(SearchMatcher(c.text).Matches(*node), c.found) << c.text;
  }
  EXPECT_EQ(FoldCase("MiXeD 123 ÄÖ"), "mixed 123 äö");
  EXPECT_TRUE(ContainsIgnoringCase("Temperature in KELVIN", "\u212Aelvin"));  // the needle is folded too
  EXPECT_FALSE(ContainsIgnoringCase("anything", ""));
}

}  // namespace
}  // namespace linvara
