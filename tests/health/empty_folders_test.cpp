#include "health/EmptyFolders.h"

#include <gtest/gtest.h>

#include "HealthTestSupport.h"

namespace linvara {
namespace {

using namespace testing;
using Titled = std::vector<std::string>;

FolderPtr Folder(const std::string& title, const NodeList& children) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle(title);
  for (const NodePtr& child : children) folder->appendChild(child);
  return folder;
}

TEST(EmptyFolders, TopLevelFoldersWithoutABookmarkBelowAreFound) {
  FolderPtr proxy = PRFaBookMarkNode::Create();  // a Safari proxy entry: no children at all
  proxy->setThetitle("History proxy");
  RootPtr root = PRRootBookMarkNode::Create();  // a root is no folder: it counts as a bookmark
  root->setThetitle("Root");
  // Each top level with the folders found empty.
  const struct {
    const char* what;
    NodeList topLevel;
    Titled empty;
  } cases[] = {
      {"a bookmark two folders down keeps its top-level folder",
       {Folder("Outer", {Folder("Inner", {Leaf("Page", "https://p.example/")})})}, {}},
      {"only empty subfolders: dropped with them", {Folder("Shell", {Folder("A", {}), Folder("B", {Folder("C", {})})})}, {"Shell"}},
      {"a bookmark at the top level stays", {Leaf("Loose", "https://l.example/"), Folder("Empty", {})}, {"Empty"}},
      {"an empty folder inside a kept folder is not looked at",
       {Folder("Kept", {Folder("Empty inside", {}), Leaf("Page", "https://p.example/")})}, {}},
      {"a proxy entry is an empty folder", {proxy}, {"History proxy"}},
      {"a root counts as a bookmark", {root, Folder("Hollow", {Folder("Hollow too", {})})}, {"Hollow"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Titles(EmptyTopLevelFolders(c.topLevel)), c.empty);
    // The removal keeps the rest, in order.
    Titled kept;
    for (const NodePtr& node : c.topLevel)
      if (std::find(c.empty.begin(), c.empty.end(), OrNull(node->thetitle())) == c.empty.end())
        kept.push_back(OrNull(node->thetitle()));
    EXPECT_EQ(Titles(WithoutEmptyTopLevelFolders(c.topLevel)), kept);
  }
}

}  // namespace
}  // namespace linvara
