#include "health/EmptyFolders.h"

#include <gtest/gtest.h>

#include <algorithm>

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
      {"a bookmark at the top level stays, a folder without children (a Safari proxy entry) goes",
       {Leaf("Loose", "https://l.example/"), Folder("History proxy", {})}, {"History proxy"}},
      {"an empty folder inside a kept folder is not looked at",
       {Folder("Kept", {Folder("Empty inside", {}), Leaf("Page", "https://p.example/")})}, {}},
      {"a root counts as a bookmark", {root, Folder("Hollow", {Folder("Hollow too", {})})}, {"Hollow"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Titles(EmptyTopLevelFolders(c.topLevel)), c.empty) << c.what;
    Titled kept;  // the removal keeps the rest, in order
    for (const std::string& title : Titles(c.topLevel))
      if (std::count(c.empty.begin(), c.empty.end(), title) == 0) kept.push_back(title);
    EXPECT_EQ(Titles(WithoutEmptyTopLevelFolders(c.topLevel)), kept) << c.what;
  }
}

}  // namespace
}  // namespace linvara
