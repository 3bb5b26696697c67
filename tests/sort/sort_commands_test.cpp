// The sort commands of the views: the unified list's rows through the session's view state, and the Safari
// and Chrome trees with the order written and the working copies on real files.
#include <gtest/gtest.h>

#include "app/Outlets.h"
#include "app/ScriptedScreen.h"
#include "edit/EditTexts.h"
#include "edit/SafariTreeRebuild.h"
#include "model/Json.h"
#include "model/PropertyList.h"
#include "readers/BookmarkReadController.h"
#include "sort/SortController.h"
#include "sort/SortTestSupport.h"

namespace linvara::testing {
namespace {

TEST(SortController, UnifiedSortsReorderTheRowsAndTheUnifiedList) {
  using C = SortController;
  const std::tuple<bool (C::*)(), std::vector<std::size_t>, std::vector<std::string>> cases[] = {
      {&C::SortAllBookMarkByName, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkByAddress, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkAddressAZByURLFirstAddress, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkAddressAZByFolderFirstAddress, {}, {"F", "a", "c", "b"}},
      {&C::SortAllBookMarkAddressAZByFolderFirstTitle, {}, {"F", "a", "b", "c"}},
      {&C::SortAllBookMarkByHost, {}, {"a", "b", "F", "c"}},
      {&C::SortSelectedAllBookMarkByName, {0, 2, 3}, {"a", "F", "b", "c"}},
      {&C::SortSelectedAllBookMarkByName, {}, {}},  // nothing selected: nothing sorted
  };
  for (const auto& [command, selection, expected] : cases) {
    BookmarkSession session{AppServices{}};
    SortController sorting{session};
    const NodeList rows = {Mark("b", "https://b.example/"), Dir("F"), Mark("a", "http://a.example/"),
                           Mark("c", "http://c.example/")};
    session.bookMarkType = ViewKind::All;
    session.SetBookmarkTableContent(rows);
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) { s.bookmarkTable.selection = selection; });
    EXPECT_EQ((sorting.*command)(), !expected.empty());
    const NodeList& shown = session.viewState().bookmarkTable.content;
    EXPECT_EQ(Titles(shown), expected.empty() ? Titles(rows) : expected);
    EXPECT_EQ(session.lists().allbookMarkArray, expected.empty() ? NodeList{} : shown);
    EXPECT_EQ(session.lists().partialSortSelection.size(), selection.size());
  }
}


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
    BookmarkLists lists;
    lists.safariFatherArray = {Mark("z"),
                               Dir("Beta", {Mark("b2"), Dir("Inner", {Mark("y"), Dir("Deep"), Mark("x")}), Mark("b1")}),
                               Mark("a"), Dir("Alpha")};
    NodeList chosen;
    for (std::size_t i : selected) chosen.push_back(lists.safariFatherArray[i]);
    const NodeSelection selection = MakeSelection(chosen);
    const NodeList before = lists.safariFatherArray;
    const TreeSortOrder siblings{order, selected.empty() ? nullptr : &selection};
    EXPECT_EQ(Outline(SafariChildrenOfWholeTree(lists, siblings)), outline);
    EXPECT_EQ(lists.safariFatherArray, before);  // the nodes keep their order
  }
}

// A Safari or Chrome view read from a real browser file, in a home folder of its own.
struct TreeSortFixture {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  BookmarkSession session{AppServices{loc, nullptr, std::make_shared<FakePlatformServices>(), nullptr, screen, nullptr}};
  SortController sorting{session};
  TreeFormat format;
  std::filesystem::path file;

  // A file under tests/data; the view follows the folder (safari_bookmarks or chromium_bookmarks).
  explicit TreeSortFixture(const std::string& relative)
      : format(relative.rfind("safari", 0) == 0 ? TreeFormat::Safari : TreeFormat::Chrome), file(TestData(relative)) {
    const bool safari = format == TreeFormat::Safari;
    session.bookMarkType = safari ? ViewKind::Safari : ViewKind::Chrome;
    BookmarkReadController reads(session);
    safari ? reads.ReadSafariBookMark(file) : reads.ReadChromeBookMark(file);
    session.SetBookmarkTableContent(TopLevel());
  }
  const NodeList& TopLevel() {
    return format == TreeFormat::Safari ? session.lists().safariFatherArray : session.lists().ChromeFatherArray;
  }
  const NodeList& Flat() {
    return format == TreeFormat::Safari ? session.lists().safariBookMarkArray : session.lists().chromebookMarkArray;
  }
  std::filesystem::path WorkingCopy() const {
    return format == TreeFormat::Safari ? loc.safariWorkingCopy() : loc.chromeWorkingCopy();
  }
  void SelectRows(const std::vector<std::size_t>& rows) {
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) { s.bookmarkTable.selection = rows; });
  }
};

// The entries of a bookmark file, each without its children list, the root's own keys included. "roots" must stay
// an object; the order of its keys is checked with the sort command of the command line.
void CollectEntries(const Value& entry, const char* childrenKey, std::vector<Value>& into) {
  DictPtr dict = entry.asDict();
  if (!dict) return into.push_back(WholeSeconds(entry));
  DictPtr bare = dict->copy();
  bare->remove(childrenKey);
  bare->remove("roots");
  into.push_back(WholeSeconds(Value(bare)));
  if (ArrayPtr children = dict->getArray(childrenKey))
    for (const Value& child : *children) CollectEntries(child, childrenKey, into);
  if (DictPtr roots = dict->getDict("roots"))
    for (const auto& [key, root] : *roots) {
      DictPtr rootDict = root.asDict();  // each key stays with its root
      into.push_back(Value(key + " holds " + (rootDict ? rootDict->getString("id").value_or("") : "")));
      CollectEntries(root, childrenKey, into);
    }
}

Value ReadTreeFile(const std::filesystem::path& path, TreeFormat format) {
  Result<Value> read = format == TreeFormat::Safari ? ReadPropertyListFile(path) : ReadJsonFile(path);
  EXPECT_TRUE(read.ok()) << path;
  return read.ok() ? *read : Value();
}

const char* const kRealFiles[] = {
    "safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist",
    "safari_bookmarks/safari14-2020_empty-folders_Bookmarks.plist",
    "safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist",
    "chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks",
    "chromium_bookmarks/chromium-linux-2021-02_Bookmarks",
    "chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks",
};

TEST(TreeSort, WorkingCopyHoldsEveryEntryOfTheBrowserFileUnchanged) {
  const BookmarkOrder orders[] = {{SortKey::Address, true}, {SortKey::Address, false}, {SortKey::Name, false}};
  for (const char* file : kRealFiles)
    for (const BookmarkOrder& order : orders) {
      SCOPED_TRACE(std::string(file) + (order.key == SortKey::Address ? " address" : " name"));
      TreeSortFixture f(file);
      const char* childrenKey = f.format == TreeFormat::Safari ? "Children" : "children";
      ASSERT_TRUE(f.sorting.SortTree(f.format, order, false).ok());
      std::vector<Value> before, after;
      CollectEntries(ReadTreeFile(f.file, f.format), childrenKey, before);
      CollectEntries(ReadTreeFile(f.WorkingCopy(), f.format), childrenKey, after);
      ASSERT_EQ(after.size(), before.size());
      for (const Value& entry : before) {
        auto match = std::find(after.begin(), after.end(), entry);
        ASSERT_NE(match, after.end()) << "an entry changed or went missing: " << SerializeJson(entry);
        after.erase(match);
      }
    }
}

TEST(TreeSort, ReadBackShowsTheTopLevelOrTheSortedFlatList) {
  for (const bool folderMode : {true, false}) {
    TreeSortFixture f("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist");
    f.session.UpdateView(viewsection::kButtons, [&](ViewState& s) {
      s.button(outlets::kFolderListViewBtn).image = folderMode ? images::kFolderListDown : images::kFolderListNom;
      s.button(outlets::kBackBookMarkBtn).image = "backbtn.png";
    });
    const NodeList before = f.TopLevel();
    ASSERT_TRUE(f.sorting.SortSafariBookMarkByNameFolderLast().ok());
    EXPECT_NE(f.TopLevel().front(), before.front());  // read back: new nodes
    EXPECT_TRUE(f.session.BackButtonShowsHome());
    EXPECT_EQ(f.session.viewState().bookmarkTable.content, folderMode ? f.TopLevel() : f.Flat());
    ASSERT_GT(f.Flat().size(), 2u);
    for (std::size_t i = 1; i < f.Flat().size(); ++i)
      EXPECT_NE(CompareNodes({SortKey::Name, false}, f.Flat()[i - 1], f.Flat()[i]), Ordering::After) << i;
  }
}

TEST(TreeSort, FailedWriteKeepsTheTreeAndTellsWhy) {
  TreeSortFixture f("chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks");
  f.sorting.writeChunk = [](int, const char*, std::size_t) -> long { return -1; };
  const NodeList before = f.TopLevel();
  EXPECT_FALSE(f.sorting.SortChromeBookMarkByNameFolderFirst().ok());
  EXPECT_EQ(f.TopLevel(), before);
  EXPECT_FALSE(std::filesystem::exists(f.WorkingCopy()));
  ASSERT_EQ(f.screen->alerts.size(), 1u);
  EXPECT_EQ(f.screen->alerts.back().request.message.rfind(edittexts::WorkingCopyWriteFailed(""), 0), 0u);
}

TEST(TreeSort, SelectionSortNeedsASelectedRowInItsView) {
  TreeSortFixture f("safari_bookmarks/safari14-2020_empty-folders_Bookmarks.plist");
  EXPECT_FALSE(f.sorting.SortSelectedBookmarkByName().ok());       // no row selected
  EXPECT_FALSE(f.sorting.SortChromeBookMarkByNameFolderLast().ok());  // not the Chrome view
  EXPECT_FALSE(std::filesystem::exists(f.WorkingCopy()));
  f.SelectRows({0, 1});
  EXPECT_TRUE(f.sorting.SortSelectedBookmarkByName().ok());
  EXPECT_EQ(f.session.lists().partialSortSelection.size(), 2u);
}

}  // namespace
}  // namespace linvara::testing
