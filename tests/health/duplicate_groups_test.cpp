#include "health/DuplicateGroups.h"

#include <gtest/gtest.h>

namespace linvara {
namespace {

NodePtr Leaf(const std::string& title, const std::string& url, bool favourite = false, const std::string& uuid = "") {
  NodePtr node = PRBookMarkNode::Create();
  node->setThetitle(title);
  node->setUrlString(url);
  node->setBFavBookmark(favourite);
  node->setBookMarkUUID(uuid);
  return node;
}

std::vector<std::string> Titles(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const auto& n : nodes) out.push_back(OrNull(n->thetitle()));
  return out;
}

std::vector<bool> Ticks(const NodePtr& group) {
  std::vector<bool> out;
  for (const auto& n : DuplicateGroupMembers(group)) out.push_back(n->bSelect());
  return out;
}

TEST(DuplicateKey, RemovesEveryHttpThenEveryHttpsAndNothingElse) {
  EXPECT_EQ(DuplicateKey("http://a.com/x"), "a.com/x");
  EXPECT_EQ(DuplicateKey("https://a.com/x"), "a.com/x");
  EXPECT_EQ(DuplicateKey("HTTP://a.com/x"), "HTTP://a.com/x");
  EXPECT_EQ(DuplicateKey("https://r.com/?to=http://b.com/&x=https://c.com"), "r.com/?to=b.com/&x=c.com");
  EXPECT_EQ(DuplicateKey("http://a.com/"), "a.com/");
  EXPECT_EQ(DuplicateKey("www.a.com"), "www.a.com");
  // Removing "http://" first can form a new "https://" that the second pass then removes.
  EXPECT_EQ(DuplicateKey("httpshttp://://x"), "x");
  EXPECT_EQ(DuplicateKey(""), "");
}

TEST(DuplicateGrouping, GroupsByTheKeyInOrderOfFirstAppearance) {
  NodeList list = {
      Leaf("B first", "https://b.com/"),       Leaf("A first", "http://a.com/page", false, "uuid-a"),
      Leaf("lonely", "http://c.com/"),         Leaf("A second", "https://a.com/page"),
      Leaf("A upper", "HTTP://a.com/page"),    Leaf("B second", "http://b.com/"),
      Leaf("A slash", "http://a.com/page/"),   Leaf("A third", "a.com/page"),
      Leaf("query one", "http://q.com/?u=http://x.com"), Leaf("query two", "q.com/?u=x.com"),
  };
  DuplicateGroups result = FindAllDuplicateBookMarks(list);
  ASSERT_EQ(result.groups.size(), 3u);
  EXPECT_EQ(Titles(result.groups), (std::vector<std::string>{"B first", "A first", "query one"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(result.groups[0])), (std::vector<std::string>{"B first", "B second"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(result.groups[1])),
            (std::vector<std::string>{"A first", "A second", "A third"}));
  EXPECT_EQ(result.dupBookmarkCount, 7u);

  const NodePtr& a = result.groups[1];
  EXPECT_TRUE(a->isFolder());
  EXPECT_EQ(a->bookMarkUUID(), OptString("uuid-a"));
  EXPECT_EQ(a->urlString(), OptString("http://a.com/page"));
  EXPECT_EQ(a->bookMarkType(), OptString("Folder"));
  // The members are not moved into the group: their fathers are untouched.
  EXPECT_EQ(list[1]->fatherItem(), nullptr);
}

TEST(DuplicateGrouping, EmptyAddressesGroupButAbsentAddressesTakeNoPart) {
  FolderPtr madeHere1 = PRFaBookMarkNode::Create();
  madeHere1->setThetitle("New Folder");
  madeHere1->setUrlString("");
  FolderPtr madeHere2 = PRFaBookMarkNode::Create();
  madeHere2->setThetitle("Other Folder");
  madeHere2->setUrlString("");
  FolderPtr browserFolder1 = PRFaBookMarkNode::Create();  // no address at all
  FolderPtr browserFolder2 = PRFaBookMarkNode::Create();
  NodeList list = {browserFolder1, madeHere1, Leaf("x", "http://x/"), browserFolder2, madeHere2};
  DuplicateGroups result = FindAllDuplicateBookMarks(list);
  ASSERT_EQ(result.groups.size(), 1u);
  EXPECT_EQ(OrNull(result.groups[0]->thetitle()), "New Folder");
  EXPECT_EQ(DuplicateGroupMembers(result.groups[0]), (NodeList{madeHere1, madeHere2}));
  EXPECT_EQ(result.dupBookmarkCount, 2u);
}

TEST(DuplicateGrouping, NoDuplicatesGivesNoGroupAndACountOfZero) {
  DuplicateGroups result = FindAllDuplicateBookMarks({Leaf("a", "http://a/"), Leaf("b", "http://b/")});
  EXPECT_TRUE(result.groups.empty());
  EXPECT_EQ(result.dupBookmarkCount, 0u);
  EXPECT_TRUE(FindAllDuplicateBookMarks({}).groups.empty());
}

TEST(DuplicateAutoSelect, KeepsTheFirstMemberAndTheFirstFavourite) {
  NodeList list = {
      Leaf("A", "http://one/"), Leaf("B", "http://one/"), Leaf("C", "http://one/"),                  // none fav
      Leaf("D", "http://two/"), Leaf("E", "http://two/", true), Leaf("F", "http://two/", true),     // 2nd, 3rd fav
      Leaf("G", "http://three/", true), Leaf("H", "http://three/"), Leaf("I", "http://three/", true),  // 1st, 3rd
  };
  list[0]->setBSelect(true);  // a kept member ticked by hand is unticked
  DuplicateGroups result = FindAllDuplicateBookMarks(list);
  ASSERT_EQ(result.groups.size(), 3u);

  EXPECT_TRUE(ToggleDuplicateAutoSelect(result.groups, false));
  EXPECT_EQ(Ticks(result.groups[0]), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(Ticks(result.groups[1]), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(Ticks(result.groups[2]), (std::vector<bool>{false, true, true}));
}

TEST(DuplicateAutoSelect, PressingTwiceUnticksEverything) {
  NodeList list = {Leaf("A", "http://one/"), Leaf("B", "https://one/", true), Leaf("C", "http://one/"),
                   Leaf("D", "http://two/"), Leaf("E", "http://two/")};
  DuplicateGroups result = FindAllDuplicateBookMarks(list);
  bool state = false;
  state = ToggleDuplicateAutoSelect(result.groups, state);
  EXPECT_TRUE(state);
  EXPECT_EQ(Ticks(result.groups[0]), (std::vector<bool>{false, false, true}));
  state = ToggleDuplicateAutoSelect(result.groups, state);
  EXPECT_FALSE(state);
  for (const auto& node : list) EXPECT_FALSE(node->bSelect()) << OrNull(node->thetitle());
}

TEST(DuplicateSearch, HandsTheGroupsToTheMainThreadOnce) {
  auto dispatcher = std::make_shared<QueuedDispatcher>();
  NodeList list = {Leaf("a", "http://a/"), Leaf("b", "https://a/")};
  int calls = 0;
  DuplicateGroups received;
  std::thread::id ranOn;
  auto search = DuplicateSearch::Start(list, dispatcher, [&](DuplicateGroups r) {
    ++calls;
    received = std::move(r);
    ranOn = std::this_thread::get_id();
  });
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return search->stopped(); }));
  dispatcher->Pump();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  ASSERT_EQ(received.groups.size(), 1u);
  EXPECT_EQ(received.dupBookmarkCount, 2u);
}

TEST(DuplicateSearch, ACancelledSearchHandsNothingOver) {
  auto dispatcher = std::make_shared<QueuedDispatcher>();
  int calls = 0;
  auto search = DuplicateSearch::Start({Leaf("a", "http://a/"), Leaf("b", "http://a/")}, dispatcher,
                                       [&](DuplicateGroups) { ++calls; });
  search->Cancel();
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return search->stopped(); }));
  dispatcher->Pump();
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace linvara
