// Bookmark nodes: their kinds, fathers, paths and values, and the search that matches them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "model/PRBookMarkNode.h"
#include "model/SearchMatch.h"

using namespace linvara;

// Each kind answers as itself; a root is never a folder and starts without a children list.
TEST(Nodes, KindsAreDistinct) {
  NodePtr leaf = PRBookMarkNode::Create();
  FolderPtr folder = PRFaBookMarkNode::Create();
  RootPtr root = PRRootBookMarkNode::Create();
  EXPECT_TRUE(leaf->isLeaf() && !leaf->isFolder() && !leaf->isRoot());
  EXPECT_TRUE(folder->isFolder() && !folder->isLeaf() && !folder->isRoot());
  EXPECT_NE(folder->childrenArray(), nullptr);
  EXPECT_TRUE(root->isRoot() && !root->isFolder());
  EXPECT_EQ(root->childrenArray(), nullptr);
  EXPECT_TRUE(root->rawChildren().isNull());
  EXPECT_FALSE(AsFolder(root) || AsFolder(leaf));
  EXPECT_NE(AsFolderOrRoot(root), nullptr);
}

TEST(Nodes, CopyContentSharesChildrenList) {
  FolderPtr a = PRFaBookMarkNode::Create();
  a->setTitleStr("root title");
  a->setFaBookMarkType("WebBookmarkTypeList");
  a->setShouldOmitUI(true);
  a->setThetitle("leaf field, not copied");
  FolderPtr b = PRFaBookMarkNode::Create();
  b->CopyContentfromNode(*a);
  EXPECT_EQ(b->titleStr(), "root title");
  EXPECT_EQ(b->faBookMarkType(), "WebBookmarkTypeList");
  EXPECT_TRUE(b->shouldOmitUI());
  EXPECT_FALSE(b->thetitle().has_value());
  a->appendChild(PRBookMarkNode::Create());
  EXPECT_EQ(b->childrenArray()->size(), 1u) << "a child added through one folder is seen through the other";
}

TEST(Nodes, FullPathRule) {
  FolderPtr news = PRFaBookMarkNode::Create();
  news->setThetitle("News");
  news->setTheFullPath("/Favorites Bar");
  EXPECT_EQ(FullPathBelow(news), "/Favorites Bar/News");
  EXPECT_EQ(FullPathBelow(PRRootBookMarkNode::Create()), "/");
  EXPECT_EQ(FullPathBelow(nullptr), "/");
  FolderPtr untitled = PRFaBookMarkNode::Create();
  untitled->setTheFullPath("/");
  EXPECT_EQ(FullPathBelow(untitled), "/(null)");
}

// A top-level entry keeps its root alive; a folder and its child free each other.
TEST(Nodes, FatherLinksHoldOnlyARoot) {
  NodePtr top = PRFaBookMarkNode::Create();
  RootPtr root = PRRootBookMarkNode::Create();
  const std::weak_ptr<PRRootBookMarkNode> weakRoot = root;
  top->setFatherItem(root);
  root.reset();
  EXPECT_FALSE(weakRoot.expired());

  FolderPtr folder = PRFaBookMarkNode::Create();
  NodePtr child = PRBookMarkNode::Create();
  const std::weak_ptr<PRBookMarkNode> weakChild = child;
  child->setFatherItem(folder);
  folder->appendChild(child);
  folder.reset();
  child.reset();
  EXPECT_TRUE(weakChild.expired());
}

TEST(Nodes, ConcurrentReadsSeeWholeValues) {
  NodePtr leaf = PRBookMarkNode::Create();
  const std::string a(200, 'a'), b(300, 'b');
  leaf->setThetitle(a);
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!stop)
      if (auto t = leaf->thetitle(); *t != a && *t != b) ++torn;
  });
  for (int i = 0; i < 20000; ++i) leaf->setThetitle(i % 2 ? a : b);
  stop = true;
  reader.join();
  EXPECT_EQ(torn.load(), 0);
}

// A chain of folders of any depth is released without recursion; a children
// list another folder shares stays whole.
TEST(Nodes, DeepChainIsReleasedWithoutRecursion) {
  std::weak_ptr<PRBookMarkNode> deepest;
  FolderPtr sharer = PRFaBookMarkNode::Create();
  {
    FolderPtr top = PRFaBookMarkNode::Create();
    FolderPtr at = top;
    for (int i = 0; i < 200000; ++i) {
      FolderPtr next = PRFaBookMarkNode::Create();
      next->setFatherItem(at);
      at->appendChild(next);
      if (i == 10) sharer->CopyContentfromNode(*next);
      at = next;
    }
    deepest = at;
  }
  EXPECT_FALSE(deepest.expired()) << "the shared list keeps its part of the chain";
  sharer.reset();
  EXPECT_TRUE(deepest.expired());
}

// Title or address, letter case folded (the list order of the matches is checked through linvara-cli
// search, DemoHome.SearchMatchesTitleOrAddressIgnoringCase). Folding is the full Unicode one (ß is ss,
// the Kelvin sign k), with no other normalisation.
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
      {std::nullopt, std::nullopt, "a", false},
  };
  NodePtr node = PRBookMarkNode::Create();  // the same node, changed from case to case
  for (const Case& c : cases) {
    node->setThetitle(c.title);
    node->setUrlString(c.url);
    EXPECT_EQ(SearchMatcher(c.text).Matches(*node), c.found) << c.text;
  }
  node->setThetitle("Apple");
  EXPECT_EQ(FilterBySearch({PRFaBookMarkNode::Create(), node, nullptr}, "APPLE"), NodeList{node});
  EXPECT_EQ(FoldCase("MiXeD 123 ÄÖ"), "mixed 123 äö");
  EXPECT_TRUE(ContainsIgnoringCase("Temperature in KELVIN", "\u212Aelvin"));  // the needle is folded too
  EXPECT_FALSE(ContainsIgnoringCase("anything", ""));
}

