// Sorting a Safari or Chrome tree in memory.
#include <gtest/gtest.h>

#include "readers/BookmarkReadController.h"
#include "sort/SortTestSupport.h"
#include "sort/TreeSort.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

TEST(TreeSort, SortsEveryFolderAtEveryDepth) {
  const std::tuple<BookmarkOrder, std::vector<std::size_t>, const char*> cases[] = {
      {{SortKey::Name, true}, {}, "Alpha[],Beta[Inner[Deep[],x,y],b1,b2],a,z"},
      {{SortKey::Name, false}, {}, "a,z,Alpha[],Beta[b1,b2,Inner[x,y,Deep[]]]"},
      {{SortKey::Address, true}, {}, "Alpha[],Beta[Inner[Deep[],y,x],b2,b1],z,a"},
      // Selected top-level entries (by position) only are ordered; every folder below fully.
      {{SortKey::Name, true}, {0, 2}, "a,Beta[Inner[Deep[],x,y],b1,b2],z,Alpha[]"},
      {{SortKey::Name, false}, {0, 1, 3}, "z,Alpha[],a,Beta[b1,b2,Inner[x,y,Deep[]]]"},
  };
  for (const auto& [order, selected, outline] : cases) {
    const NodeList tree = {Mark("z"),
                           Dir("Beta", {Mark("b2"), Dir("Inner", {Mark("y"), Dir("Deep"), Mark("x")}), Mark("b1")}),
                           Mark("a"), Dir("Alpha")};
    NodeList chosen;
    for (std::size_t i : selected) chosen.push_back(tree[i]);
    const NodeSelection selection = MakeSelection(chosen);
    const SortedTree sorted =
        SortBookmarkTree(tree, TreeFormat::Safari, order, selected.empty() ? nullptr : &selection);
    EXPECT_EQ(Outline(sorted.records), outline);
    for (std::size_t i = 0; i < sorted.topLevel.size(); ++i)  // the new top level, in the records' order
      EXPECT_EQ(sorted.records->at(i).asDict()->getString("Title"), sorted.topLevel[i]->thetitle());
  }
}

Value StoredRecord(const NodePtr& node) {
  return AsFolder(node) ? Value(AsFolder(node)->itemDict()) : Value(node->dataDict());
}

// Every record below `records`, each without its children list.
void CollectRecords(const ArrayPtr& records, const char* childrenKey, std::vector<Value>& into) {
  for (const Value& record : *records) {
    DictPtr bare = record.asDict()->copy();
    bare->remove(childrenKey);
    into.push_back(bare);
    if (ArrayPtr children = record.asDict()->getArray(childrenKey)) CollectRecords(children, childrenKey, into);
  }
}

TEST(TreeSort, RealFilesKeepEveryRecordUnchanged) {
  for (const char* file : {"safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist",
                           "safari_bookmarks/safari14-2020_empty-folders_Bookmarks.plist",
                           "chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks",
                           "chromium_bookmarks/chromium-linux-2021-02_Bookmarks"}) {
    BookmarkSession session(AppServices{});
    BookmarkReadController reads(session);
    const TreeFormat format = std::string(file).find("safari") == 0 ? TreeFormat::Safari : TreeFormat::Chrome;
    format == TreeFormat::Safari ? reads.ReadSafariBookMark(TestData(file)) : reads.ReadChromeBookMark(TestData(file));
    const NodeList& top =
        format == TreeFormat::Safari ? session.lists().safariFatherArray : session.lists().ChromeFatherArray;
    ArrayPtr stored = Array::make();
    for (const NodePtr& node : top) stored->append(DeepCopy(StoredRecord(node)));
    std::vector<Value> before, after;
    CollectRecords(stored, ChildrenKey(format), before);
    CollectRecords(SortBookmarkTree(top, format, {SortKey::Address, true}).records, ChildrenKey(format), after);
    ASSERT_EQ(after.size(), before.size()) << file;
    for (const Value& record : before) {
      auto match = std::find(after.begin(), after.end(), record);
      ASSERT_NE(match, after.end()) << file << ": a record changed or went missing";
      after.erase(match);
    }
    // The nodes' stored dictionaries keep their children as read.
    for (std::size_t i = 0; i < top.size(); ++i)
      EXPECT_EQ(StoredRecord(top[i]), stored->at(i)) << file;
  }
}

}  // namespace
}  // namespace linvara::testing
