// The checks of a whole tree: duplicate bookmarks and empty top-level folders.
#include <gtest/gtest.h>

#include <algorithm>

#include "HealthTestSupport.h"
#include "health/DuplicateGroups.h"
#include "health/EmptyFolders.h"

namespace linvara {
namespace {

using namespace testing;
using Strings = std::vector<std::string>;

std::vector<bool> Ticks(const NodePtr& group) {
  std::vector<bool> out;
  for (const auto& n : DuplicateGroupMembers(group)) out.push_back(n->bSelect());
  return out;
}

TEST(DuplicateKey, RemovesOnlyTheLeadingHttpOrHttpsScheme) {
  const std::vector<std::pair<std::string, std::string>> keys{
      {"http://a.com/x", "a.com/x"}, {"https://a.com/x", "a.com/x"}, {"HTTP://a.com/x", "HTTP://a.com/x"},
      // Different targets behind one redirector stay apart: the inner scheme is part of the key.
      {"https://r.com/go?to=http://b.com/&x=https://c.com", "r.com/go?to=http://b.com/&x=https://c.com"},
      {"http://https://x", "https://x"}, {"www.a.com", "www.a.com"}, {"httpshttp://://x", "httpshttp://://x"}, {"", ""},
  };
  for (const auto& [url, key] : keys) EXPECT_EQ(DuplicateKey(url), key) << url;
}

TEST(DuplicateGrouping, GroupsByTheKeyInOrderOfFirstAppearance) {
  NodeList list = {
      Leaf("B first", "https://b.com/"),       Leaf("A first", "http://a.com/page"),
      Leaf("lonely", "http://c.com/"),         Leaf("A second", "https://a.com/page"),
      Leaf("A upper", "HTTP://a.com/page"),    Leaf("B second", "http://b.com/"),
      Leaf("A slash", "http://a.com/page/"),   Leaf("A third", "a.com/page"),
  };
  list[1]->setBookMarkUUID("uuid-a");
  DuplicateGroups result = FindAllDuplicateBookMarks(list);
  EXPECT_EQ(Titles(result.groups), (Strings{"B first", "A first"}));
  ASSERT_EQ(result.groups.size(), 2u);
  EXPECT_EQ(Titles(DuplicateGroupMembers(result.groups[0])), (Strings{"B first", "B second"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(result.groups[1])), (Strings{"A first", "A second", "A third"}));
  EXPECT_EQ(result.dupBookmarkCount, 5u);

  // The group is a folder named and placed as its first member.
  const NodePtr& a = result.groups[1];
  EXPECT_TRUE(a->isFolder());
  EXPECT_EQ(std::tuple(a->bookMarkUUID(), a->urlString(), a->bookMarkType()),
            std::tuple(OptString("uuid-a"), OptString("http://a.com/page"), OptString("Folder")));
  // The members are not moved into the group: their fathers are untouched.
  EXPECT_EQ(list[1]->fatherItem(), nullptr);
}

TEST(DuplicateGrouping, EmptyAddressesGroupButAbsentAddressesTakeNoPart) {
  std::vector<FolderPtr> folders;
  for (const char* title : {"New Folder", "Other Folder", "", ""}) {
    folders.push_back(PRFaBookMarkNode::Create());
    if (*title) folders.back()->setThetitle(title), folders.back()->setUrlString("");  // made here
  }
  const NodeList list = {folders[2], folders[0], Leaf("x", "http://x/"), folders[3], folders[1]};
  DuplicateGroups result = FindAllDuplicateBookMarks(list);
  ASSERT_EQ(result.groups.size(), 1u);
  EXPECT_EQ(OrNull(result.groups[0]->thetitle()), "New Folder");
  EXPECT_EQ(DuplicateGroupMembers(result.groups[0]), (NodeList{folders[0], folders[1]}));
  EXPECT_EQ(result.dupBookmarkCount, 2u);
}

// The plain case, and pressing again to untick, are checked with the controller.
TEST(DuplicateAutoSelect, KeepsTheFirstMemberAndTheFirstFavourite) {
  NodeList list = {
      Leaf("D", "http://two/"), Leaf("E", "http://two/", true), Leaf("F", "http://two/", true),       // 2nd, 3rd fav
      Leaf("G", "http://three/", true), Leaf("H", "http://three/"), Leaf("I", "http://three/", true),  // 1st, 3rd
  };
  list[0]->setBSelect(true);  // a kept member ticked by hand is unticked
  DuplicateGroups result = FindAllDuplicateBookMarks(list);
  ASSERT_EQ(result.groups.size(), 2u);
  EXPECT_TRUE(ToggleDuplicateAutoSelect(result.groups, false));
  EXPECT_EQ(Ticks(result.groups[0]), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(Ticks(result.groups[1]), (std::vector<bool>{false, true, true}));
}

TEST(DuplicateSearch, DeliversTheGroupsOnTheMainThreadUnlessCancelled) {
  for (const bool cancel : {false, true}) {
    auto dispatcher = std::make_shared<QueuedDispatcher>();
    std::vector<std::pair<std::thread::id, std::size_t>> deliveries;  // thread and group count
    auto search = DuplicateSearch::Start({Leaf("a", "http://a/"), Leaf("b", "https://a/")}, dispatcher,
                                         [&](DuplicateGroups r) {
                                           deliveries.emplace_back(std::this_thread::get_id(), r.groups.size());
                                         });
    if (cancel) search->Cancel();
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return search->stopped(); }));
    dispatcher->Pump();
    using Deliveries = decltype(deliveries);
    EXPECT_EQ(deliveries, (cancel ? Deliveries{} : Deliveries{{std::this_thread::get_id(), 1}}));
  }
}


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
    Strings empty;
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
    Strings kept;  // the removal keeps the rest, in order
    for (const std::string& title : Titles(c.topLevel))
      if (std::count(c.empty.begin(), c.empty.end(), title) == 0) kept.push_back(title);
    EXPECT_EQ(Titles(WithoutEmptyTopLevelFolders(c.topLevel)), kept) << c.what;
  }
}

}  // namespace
}  // namespace linvara
