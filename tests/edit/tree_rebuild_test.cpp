// Rebuilding the Safari and Chrome trees after a removal, an edit or a move, and the working copies written.
#include <gtest/gtest.h>

#include "edit/ChromeTreeRebuild.h"
#include "edit/EditTestSupport.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/WorkingCopies.h"

namespace linvara::testing {
namespace {

using profile::NestedFolders;
using profile::WithKey;

DictPtr Sync(const std::string& id) {
  DictPtr d = Dictionary::make();
  d->set("ServerID", id);
  return d;
}

// Top (Sync, Extra) > [ "loose text", Mid (Sync, Extra) > [Deep (Extra) > [X, Y], future entry], Kept > [Z] ];
// Other > [W, Deep]; TopLeaf; Level 1 > ... > Level 7 > [Bottom].
DictPtr RuleTree() {
  DictPtr yUri = Dictionary::make();
  yUri->set("title", "Y");
  yUri->set("more", "dropped on edit");
  auto deep = WithKey(Folder("Deep", {Leaf("X", "https://x.example/"),
                                      WithKey(WithKey(Leaf("Y", "https://y.example/"), "Extra", "y-extra"),
                                              "URIDictionary", yUri)}),
                      "Extra", "deep-extra");
  auto mid = WithKey(WithKey(Folder("Mid", {deep}), "Extra", "mid-extra"), "Sync", Sync("mid"));
  auto kept = WithKey(Folder("Kept", {Leaf("Z", "https://z.example/")}), "Extra", "kept-extra");
  auto top = WithKey(WithKey(Folder("Top", {mid, kept}), "Extra", "top-extra"), "Sync", Sync("top"));
  auto other = WithKey(Folder("Other", {Leaf("W", "https://w.example/"), Folder("Deep")}), "Extra", "other-extra");
  DictPtr root = profile::SafariRootDictionary(
      {top, other, Leaf("TopLeaf", "https://top.example/"), NestedFolders(7, Leaf("Bottom", "https://b.example/"))});
  // Entries the reader makes no node of.
  EntryAt(root->getArray("Children"), "Top")->getArray("Children")->insert(0, "loose text");
  DictPtr future = Dictionary::make();
  future->set("WebBookmarkType", "WebBookmarkTypeFuture");
  future->set("Note", "future");
  EntryAt(root->getArray("Children"), "Top/Mid")->getArray("Children")->append(future);
  return root;
}

const std::string kLevel7 = "Level 1/Level 2/Level 3/Level 4/Level 5/Level 6/Level 7";

NodeList Nodes(const BookmarkLists& lists, const std::vector<std::string>& paths) {
  NodeList out;
  for (const auto& p : paths) out.push_back(FindNode(lists.safariFatherArray, p));
  return out;
}

TEST(SafariRebuild, RemovalWritesOnlyFoldersHoldingARemovedBookmarkAnew) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<KeyRow>>> cases = {
      {{"Top/Mid/Deep/X"},
       {{"Top", "Extra", "top-extra"}, {"Top", "Sync", "ServerID=top"}, {"Top", "Children", "loose text|Mid|Kept"},
        {"Top/Mid", "Extra", "top-extra"}, {"Top/Mid", "Sync", "ServerID=mid"}, {"Top/Mid", "Children", "Deep|future"},
        {"Top/Mid/Deep", "Extra", "mid-extra"}, {"Top/Mid/Deep", "Sync", "-"}, {"Top/Mid/Deep", "Children", "Y"},
        {"Top/Mid/Deep/Y", "Extra", "y-extra"}, {"Top/Kept", "Extra", "kept-extra"},
        {"Other", "Extra", "other-extra"}}},
      {{"TopLeaf", "Other/W"},
       {{"", "Children", "Top|Other|Level 1"}, {"Other", "Children", "Deep"}, {"Other", "Extra", "other-extra"}}},
      {{"Other/Deep", "Top/Kept"}, {{"Other", "Children", "W|Deep"}, {"Top", "Children", "loose text|Mid|Kept"}}},
  };
  for (const auto& [paths, rows] : cases) {
    SCOPED_TRACE(paths.front());
    TreeHarness t(2);
    t.ReadSafari(RuleTree());
    NodeList removed;
    for (const NodePtr& n : Nodes(t.lists, paths))
      if (n->isLeaf()) removed.push_back(n);  // folder rows are ignored, as the commands do
    ArrayPtr children =
        removeManyBookMarkfromSafariBookMarkWithArray(t.lists, AncestorsOf(removed, t.lists.rootNode), removed);
    ExpectRows(children, rows);
    EXPECT_EQ(EntryAt(children, "Top/Mid")->getString("WebBookmarkUUID"),
              FindNode(t.lists.safariFatherArray, "Top/Mid")->bookMarkUUID());
  }
}

TEST(SafariRebuild, EditWritesTheNewTitleAndAddress) {
  struct Case {
    std::string path, title, url;
    std::vector<KeyRow> rows;
  };
  const std::vector<Case> cases = {
      {"Top/Mid/Deep/Y", "Y2", "https://y2.example/",
       {{"Top/Mid/Deep/Y2", "URIDictionary", "title=Y2"}, {"Top/Mid/Deep/Y2", "URLString", "https://y2.example/"},
        {"Top/Mid/Deep/Y2", "Extra", "y-extra"}, {"Top/Mid/Deep", "Children", "X|Y2"},
        {"Top/Mid", "Extra", "top-extra"}}},
      {"TopLeaf", "Renamed", "", {{"", "Children", "Top|Other|Renamed|Level 1"},
                                  {"Renamed", "URLString", "https://top.example/"}}},
      // A folder keeps its own keys and its whole subtree.
      {"Top/Kept", "Kept2", "", {{"Top/Kept2", "Extra", "kept-extra"}, {"Top/Kept2", "Children", "Z"},
                                 {"Top/Mid", "Extra", "mid-extra"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    TreeHarness t(2);
    t.ReadSafari(RuleTree());
    NodePtr node = FindNode(t.lists.safariFatherArray, c.path);
    node->setThetitle(c.title);
    if (!c.url.empty()) node->setUrlString(c.url);
    ArrayPtr children = EditManyBookMarkfromSafariBookMarkWithArray(t.lists, AncestorsOf({node}, t.lists.rootNode), {node});
    ExpectRows(children, c.rows);
  }
}

// The target is the first folder of its title depth first over every level ("Deep" is Top/Mid/Deep).
TEST(SafariRebuild, MovePutsTheBookmarksAtTheEndOfTheTarget) {
  struct Case {
    std::vector<std::string> moved;
    std::string target;
    std::vector<KeyRow> rows;
  };
  const std::vector<Case> cases = {
      {{"Top/Mid/Deep/X", "Top/Kept/Z"}, "Level 7",
       {{kLevel7, "Children", "Bottom|X|Z"}, {"Top/Mid/Deep", "Children", "Y"}, {"Top/Kept", "Children", ""},
        {"Top/Mid", "Extra", "top-extra"}}},
      {{"Top/Mid/Deep/X"}, "Deep", {{"Top/Mid/Deep", "Children", "Y|X"}, {"Other", "Children", "W|Deep"}}},
      // A top-level target keeps only its type, title, UUID and children.
      {{"Top/Kept/Z"}, "Other",
       {{"Other", "Extra", "-"}, {"Other", "Children", "W|Deep|Z"}, {"Other", "WebBookmarkType", "WebBookmarkTypeList"},
        {"Top/Kept", "Extra", "top-extra"}}},  // the source folder as the removal writes it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    TreeHarness t(2);
    t.ReadSafari(RuleTree());
    FolderPtr target = getMovedBookFolderItemwithSelectMenuItemTitle(t.lists.safariFatherArray, c.target);
    ASSERT_TRUE(target);
    ExpectRows(MovedSafariChildren(t.lists, Nodes(t.lists, c.moved), target), c.rows);
  }
  // Only a folder is a target: a bookmark's title names none.
  TreeHarness t(2);
  t.ReadSafari(RuleTree());
  for (const char* title : {"X", "Nowhere"})
    EXPECT_EQ(getMovedBookFolderItemwithSelectMenuItemTitle(t.lists.safariFatherArray, title), nullptr) << title;
}

TEST(SafariRebuild, WholeSubtreeOfAnUnchangedFolderEqualsItsDictionary) {
  TreeHarness t(2);
  t.ReadSafari(RuleTree());
  for (const std::string path : {"Top", "Top/Mid", "Other", "Level 1"}) {
    SCOPED_TRACE(path);
    FolderPtr folder = AsFolder(FindNode(t.lists.safariFatherArray, path));
    EXPECT_EQ(Value(getTheChildArrayDictionary(folder)), Value(folder->itemDict()));
  }
  // A folder made in memory gets a dictionary of its own, kept as its itemDict.
  FolderPtr made = PRFaBookMarkNode::Create();
  made->setThetitle("Made");
  made->setBookMarkUUID("U-1");
  made->appendChild(FindNode(t.lists.safariFatherArray, "TopLeaf"));
  DictPtr dict = getTheChildArrayDictionary(made);
  EXPECT_EQ(Render(Value(dict)), "WebBookmarkType=WebBookmarkTypeList,Title=Made,WebBookmarkUUID=U-1");
  EXPECT_EQ(Render(dict->get("Children")), "TopLeaf");
  ASSERT_TRUE(made->itemDict());
  EXPECT_FALSE(made->itemDict()->contains("Children"));
}

TEST(SafariRebuild, TopLevelAncestorWalkEndsForEveryChain) {
  TreeHarness t(2);
  t.ReadSafari(RuleTree());
  const NodeList& top = t.lists.safariFatherArray;
  FolderPtr a = PRFaBookMarkNode::Create(), b = PRFaBookMarkNode::Create();
  NodePtr inLoop = PRBookMarkNode::Create();
  b->setFatherItem(a);
  inLoop->setFatherItem(b);
  const std::vector<std::tuple<std::string, NodePtr, NodePtr>> cases = {
      {"top-level bookmark", FindNode(top, "TopLeaf"), t.lists.rootNode},
      {"three levels down", FindNode(top, "Top/Mid/Deep/X"), FindNode(top, "Top")},
      {"no father", PRBookMarkNode::Create(), nullptr},
      {"chain ending elsewhere", inLoop, a},
  };
  for (const auto& [name, node, expected] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(getLastFaBookNode(node, t.lists.rootNode), expected);
  }
  a->setFatherItem(b);  // a loop
  EXPECT_NE(getLastFaBookNode(inLoop, t.lists.rootNode), nullptr);
}

TEST(SafariWorkingCopy, NothingRemovedWritesTheFileAsRead) {
  for (const std::string name : {"nested-readinglist", "duplicates", "empty-folders"}) {
    SCOPED_TRACE(name);
    const auto file = TestData("safari_bookmarks/safari14-2020_" + name + "_Bookmarks.plist");
    TreeHarness t(2);
    t.ReadSafari(file);
    auto text = SafariWorkingCopyText(t.lists.rootNode->rootDict(),
                                      removeManyBookMarkfromSafariBookMarkWithArray(t.lists, {}, {}));
    ASSERT_TRUE(text.ok()) << text.error();
    // Dates in XML property lists hold whole seconds.
    EXPECT_EQ(WholeSeconds(*Must(ParsePropertyList(*text))), WholeSeconds(*Must(ReadPropertyListFile(file))));
  }
}


TEST(ChromeRebuild, RemovalWritesOnlyFoldersHoldingARemovedBookmarkAnew) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<KeyRow>>> cases = {
      {{"Bar/Tools/Hammer"},
       {{"Bar/Tools", "children", "Odd|text"}, {"Bar/Tools", "x", "tools-extra"}, {"Bar", "x", "bar-extra"},
        {"Bar", "children", "Tools|Shared"}}},
      {{"Other/Deep/Deeper/Bottom", "Bar/Shared"},
       {{"Other/Deep/Deeper", "children", ""}, {"Other/Deep", "children", "Shared again|Deeper"},
        {"Bar", "children", "Tools"}}},
      {{"Loose"}, {{"Other", "children", "Deep"}}},
  };
  for (const auto& [paths, rows] : cases) {
    SCOPED_TRACE(paths.front());
    TreeHarness t(3);
    t.ReadChrome(std::string(kSmallChromiumFile));
    NodeList removed;
    for (const auto& p : paths) removed.push_back(FindNode(t.lists.ChromeFatherArray, p));
    Value roots =
        removeManyBookMarkfromChromeBookMarkWithArray(t.lists, AncestorsOf(removed, t.lists.rootNode), removed);
    ASSERT_TRUE(roots.isDict());
    auto asArray = Array::make();
    for (const auto& [key, value] : *roots.asDict()) asArray->append(value);
    ExpectRows(asArray, rows);
    // The roots keep their keys in order; a removed top-level bookmark takes its key along.
    std::vector<std::string> keys;
    for (const auto& [key, value] : *roots.asDict()) keys.push_back(key);
    std::vector<std::string> expected{"bookmark_bar", "loose", "other", "sync_transaction_version"};
    if (paths.front() == "Loose") expected.erase(expected.begin() + 1);
    EXPECT_EQ(keys, expected);
  }
}

// Equal to the file: "roots" stays an object, the checksum and every id stay.
TEST(ChromeWorkingCopy, NothingRemovedWritesTheFileAsReadWithRootsAsAnObject) {
  for (const std::string name :
       {"chrome-2017-01_cjk-title_Bookmarks", "chromium-linux-2021-02_Bookmarks", "chrome-2023-09_fr-nested_Bookmarks"}) {
    SCOPED_TRACE(name);
    const auto file = TestData("chromium_bookmarks/" + name);
    TreeHarness t(3);
    t.ReadChrome(file);
    const std::string text = ChromeWorkingCopyText(
        t.lists.rootNode->rootDict(), removeManyBookMarkfromChromeBookMarkWithArray(t.lists, {}, {}));
    EXPECT_EQ(*Must(ParseJson(text)), *Must(ReadJsonFile(file)));
  }
}

}  // namespace
}  // namespace linvara::testing
