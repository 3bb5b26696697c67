// Sorting a Safari or Chrome tree in memory.
#include <gtest/gtest.h>

#include "app/BookmarkSession.h"
#include "readers/BookmarkReadController.h"
#include "sort/SortTestSupport.h"
#include "sort/TreeSort.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

NodeList SampleTree() {
  return {MarkRecord("z"),
          DirRecord("Beta", {MarkRecord("b2"), DirRecord("Inner", {MarkRecord("y"), DirRecord("Deep"), MarkRecord("x")}),
                             MarkRecord("b1")}),
          MarkRecord("a"), DirRecord("Alpha")};
}

TEST(TreeSort, SortsEveryFolderAtEveryDepth) {
  struct Case {
    BookmarkOrder order;
    std::vector<std::string> selected;  // top-level titles; empty: the whole tree
    const char* outline;
  };
  const Case cases[] = {
      {{SortKey::Name, true}, {}, "Alpha[],Beta[Inner[Deep[],x,y],b1,b2],a,z"},
      {{SortKey::Name, false}, {}, "a,z,Alpha[],Beta[b1,b2,Inner[x,y,Deep[]]]"},
      {{SortKey::Address, true}, {}, "Alpha[],Beta[Inner[Deep[],y,x],b2,b1],z,a"},
      {{SortKey::Name, true}, {"z", "a"}, "a,Beta[Inner[Deep[],x,y],b1,b2],z,Alpha[]"},
      {{SortKey::Name, false}, {"Alpha", "Beta", "z"}, "z,Alpha[],a,Beta[b1,b2,Inner[x,y,Deep[]]]"},
  };
  for (const Case& c : cases) {
    const NodeList tree = SampleTree();
    NodeList selected;
    for (const NodePtr& node : tree)
      for (const std::string& title : c.selected)
        if (node->thetitle() == title) selected.push_back(node);
    const NodeSelection selection = MakeSelection(selected);
    const SortedTree sorted =
        SortBookmarkTree(tree, TreeFormat::Safari, c.order, c.selected.empty() ? nullptr : &selection);
    EXPECT_EQ(Outline(sorted.records), c.outline);
    ASSERT_EQ(sorted.topLevel.size(), sorted.records->size());
    for (std::size_t i = 0; i < sorted.topLevel.size(); ++i)
      EXPECT_EQ(sorted.records->at(i).asDict()->getString("Title"), sorted.topLevel[i]->thetitle());
  }
}

// Every record below `records`, each without its children list.
void CollectRecords(const ArrayPtr& records, const char* childrenKey, std::vector<Value>& into) {
  for (const Value& record : *records) {
    DictPtr dict = record.asDict();
    if (!dict) continue;
    DictPtr bare = dict->copy();
    bare->remove(childrenKey);
    into.push_back(bare);
    if (ArrayPtr children = dict->getArray(childrenKey)) CollectRecords(children, childrenKey, into);
  }
}

TEST(TreeSort, RealFilesKeepEveryRecordUnchanged) {
  const std::pair<const char*, TreeFormat> files[] = {
      {"safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist", TreeFormat::Safari},
      {"safari_bookmarks/safari14-2020_empty-folders_Bookmarks.plist", TreeFormat::Safari},
      {"chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks", TreeFormat::Chrome},
      {"chromium_bookmarks/chromium-linux-2021-02_Bookmarks", TreeFormat::Chrome},
  };
  for (const auto& [file, format] : files) {
    BookmarkSession session(AppServices{});
    BookmarkReadController reads(session);
    const bool safari = format == TreeFormat::Safari;
    if (safari) reads.ReadSafariBookMark(TestData(file));
    else reads.ReadChromeBookMark(TestData(file));
    const NodeList& top = safari ? session.lists().safariFatherArray : session.lists().ChromeFatherArray;
    ASSERT_FALSE(top.empty()) << file;

    ArrayPtr before = Array::make();
    for (const NodePtr& node : top) {
      FolderPtr folder = AsFolder(node);
      before->append(DeepCopy(folder ? Value(folder->itemDict()) : Value(node->dataDict())));
    }
    std::vector<Value> original;
    CollectRecords(before, ChildrenKey(format), original);

    for (const BookmarkOrder& order : {BookmarkOrder{SortKey::Address, true}, BookmarkOrder{SortKey::Name, false}}) {
      const SortedTree sorted = SortBookmarkTree(top, format, order);
      std::vector<Value> after;
      CollectRecords(sorted.records, ChildrenKey(format), after);
      ASSERT_EQ(after.size(), original.size()) << file;
      std::vector<bool> matched(after.size(), false);
      for (const Value& record : original) {
        std::size_t i = 0;
        while (i < after.size() && (matched[i] || !(after[i] == record))) ++i;
        ASSERT_LT(i, after.size()) << file << ": a record changed or went missing";
        matched[i] = true;
      }
      // The stored dictionaries themselves keep their children as read.
      for (std::size_t i = 0; i < top.size(); ++i) {
        FolderPtr folder = AsFolder(top[i]);
        EXPECT_EQ(folder ? Value(folder->itemDict()) : Value(top[i]->dataDict()), before->at(i)) << file;
      }
    }
  }
}

TEST(TreeSort, ChromeRootsFollowTheSortedRecords) {
  auto entry = [](const char* id) {
    DictPtr d = Dictionary::make();
    d->set("id", id);
    return d;
  };
  DictPtr roots = Dictionary::make();
  roots->set("bookmark_bar", entry("1"));
  roots->set("other", entry("2"));
  roots->set("synced", entry("3"));
  ArrayPtr records = Array::make();
  records->append(entry("2"));
  records->append(entry("1"));
  DictPtr ordered = ChromeRootsInOrder(roots, records).asDict();
  ASSERT_TRUE(ordered);
  std::vector<std::string> keys;
  for (const auto& [key, value] : *ordered) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"other", "bookmark_bar", "synced"}));
  EXPECT_TRUE(ChromeRootsInOrder(Value(Array::make()), records).isArray());
}

}  // namespace
}  // namespace linvara::testing
