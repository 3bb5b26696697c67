#include <gtest/gtest.h>

#include <algorithm>

#include "readers/FirefoxReader.h"
#include "readers/ReaderTestSupport.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;
using profile::FirefoxRow;
using profile::kFirefoxBookmark;
using profile::kFirefoxFolder;

// The profiles folder below `dir` and the places file of its one profile.
FirefoxSource SourceIn(const TempDir& dir) { return {dir / "Profiles", dir / "Profiles" / "p1" / "places.sqlite"}; }

FirefoxSource RealProfile(const TempDir& dir, const std::string& name) {
  CopyTestFile("firefox_places/" + name, *SourceIn(dir).placesFile);
  return SourceIn(dir);
}

ReadResult ReadSaved(ReaderHarness& h, const TempDir& dir, const profile::PlacesDatabase& places) {
  const FirefoxSource source = SourceIn(dir);
  Must(places.Save(*source.placesFile));
  return FirefoxReader(h.ctx).ReadFirefoxBookMark(source);
}

// SQL filing `count` bookmarks "<title>1", ... below `parent` (ids 101, ...), at https://1.example/, ...
std::string InsertBookmarks(int count, int parent, const std::string& title) {
  const std::string numbers =
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < " + std::to_string(count) + ") ";
  return numbers + "insert into moz_places (id, url) select i, 'https://' || i || '.example/' from n; " + numbers +
         "insert into moz_bookmarks (id, type, fk, parent, title) select 100 + i, 1, i, " + std::to_string(parent) +
         ", '" + title + "' || i from n;";
}

NodePtr FindTitle(const NodeList& list, const std::string& title) {
  for (const auto& n : list)
    if (OrNull(n->thetitle()) == title) return n;
  return nullptr;
}

// The tags root and its tags are no folders, their entries no bookmarks; separators are neither.
TEST(FirefoxReaderRealFiles, ReadWithoutTagsOrSeparators) {
  struct Case {
    std::string file;
    std::size_t leaves, folders, mostVisited;  // a bookmark filed twice is read twice
    std::vector<std::string> top;
    int id;  // of one bookmark, and its other fields
    std::string title, path, url, uuid;
  };
  const std::vector<Case> cases = {
      {"firefox-fedora-2020-08_schema53_tags_places.sqlite", 32, 9, 1, {"menu", "toolbar", "unfiled", "mobile"}, 14,
       "Fedora Spins (Desktop Environments)", "/toolbar/Fedora Project/More Downloads",
       "https://spins.fedoraproject.org/", "lFK2mvI00_1J"},
      // The old schema names its tags root in moz_bookmarks_roots and has no guid column.
      {"firefox-3.6era-ubuntu-2011_schema10_places.sqlite", 91, 6, 1,
       {"Bookmarks Menu", "Bookmarks Toolbar", "Unsorted Bookmarks"}, 12, "Ubuntu",
       "/Bookmarks Menu/Ubuntu and Free Software links", "http://www.ubuntulinux.org/", ""},
      {"firefox-windows-2020-09_schema54_separators_places.sqlite", 11, 5, 2, {"menu", "toolbar", "unfiled", "mobile"},
       8, "Help and Tutorials", "/menu/Mozilla Firefox", "https://support.mozilla.org/en-US/products/firefox",
       "0qfitmDp52jT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TempDir dir;
    ReaderHarness h;
    ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark(RealProfile(dir, c.file)).ok());
    const std::vector<std::string> titles = Titles(h.lists.FireFoxBookMarkArray);
    EXPECT_EQ(titles.size(), c.leaves);
    EXPECT_EQ(static_cast<std::size_t>(std::count(titles.begin(), titles.end(), "Most Visited")), c.mostVisited);
    EXPECT_EQ(h.lists.FireFoxFolderArray.size(), c.folders);
    EXPECT_EQ(Titles(h.lists.FireFoxFatherArray), c.top);
    ASSERT_TRUE(h.lists.rootNode);
    EXPECT_EQ(OrNull(h.lists.rootNode->titleStr()), "root");
    NodePtr leaf = FindTitle(h.lists.allbookMarkArray, c.title);
    ASSERT_TRUE(leaf && leaf->fatherItem());
    EXPECT_EQ(leaf->bookmarkID(), c.id);
    EXPECT_EQ(leaf->bookmarkParentID(), leaf->fatherItem()->bookmarkID());
    EXPECT_EQ(OrNull(leaf->theFullPath()), c.path);
    EXPECT_EQ(OrNull(leaf->urlString()), c.url);
    EXPECT_EQ(OrNull(leaf->bookMarkUUID()), c.uuid);  // without a guid column the creation value stays
    EXPECT_EQ(OrNull(leaf->bookMarkFrom()), "Firefox");
  }
}

TEST(FirefoxReader, RowsAreLinkedWhateverTheirOrder) {
  TempDir dir;
  // A top-level folder and a child before the root row and their fathers' rows; orphans; a separator.
  profile::PlacesDatabase places = PlacesWith(
      {{3, kFirefoxFolder, 1, "toolbar"}, {10, kFirefoxFolder, 11, "Child first"}, {11, kFirefoxFolder, 3, "Work"},
       {50, kFirefoxFolder, 0, ""}, {60, kFirefoxFolder, 1, "unfiled"},
       {20, kFirefoxBookmark, 10, "In child", 1, -1, "guid-20"}, {21, kFirefoxBookmark, 3, "In toolbar", 2},
       {22, kFirefoxBookmark, 99, "Orphan leaf", 1}, {23, kFirefoxFolder, 77, "Orphan folder"},
       {24, kFirefoxBookmark, 1, "Below root", 2}, {25, kFirefoxBookmark, 60, "No address"},
       {26, kFirefoxBookmark, 60, "Missing place", 500}, {27, profile::kFirefoxSeparator, 60, ""},
       // Parent cycles: a folder its own father, two folders each other's.
       {30, kFirefoxFolder, 30, "Self"}, {31, kFirefoxFolder, 32, "Loop A"}, {32, kFirefoxFolder, 31, "Loop B"},
       {33, kFirefoxFolder, 31, "Hanging off the loop"}, {40, kFirefoxBookmark, 30, "In self"}},
      false);
  Must(places.Exec("insert into moz_places (id, url) values (1, 'https://a.example/'), (2, 'https://b.example/');"
                   "insert into moz_bookmarks (id, type, parent, title) values (28, null, 60, 'no type')"));
  ReaderHarness h;
  ASSERT_TRUE(ReadSaved(h, dir, places).ok());
  const auto& lists = h.lists;
  ASSERT_TRUE(lists.rootNode);
  ASSERT_EQ(Titles(lists.FireFoxFatherArray), (std::vector<std::string>{"toolbar", "unfiled"}));
  EXPECT_EQ(lists.FireFoxFatherArray[0]->fatherItem(), nullptr);  // came before the root row
  EXPECT_EQ(OrNull(lists.FireFoxFatherArray[0]->theFullPath()), "/");
  EXPECT_EQ(lists.FireFoxFatherArray[1]->fatherItem(), lists.rootNode);
  NodePtr childFirst = FindTitle(lists.FireFoxFolderArray, "Child first");
  NodePtr work = FindTitle(lists.FireFoxFolderArray, "Work");
  ASSERT_TRUE(childFirst && work);
  EXPECT_EQ(childFirst->fatherItem(), work);
  // Its own turn came first ("(null)" father path then), its father's turn last: the father's
  // turn stands and gives the father's own path, "/toolbar", below which "In child" is.
  EXPECT_EQ(OrNull(work->theFullPath()), "/toolbar");
  ASSERT_EQ(Titles(lists.allbookMarkArray),
            (std::vector<std::string>{"In child", "In toolbar", "Orphan leaf", "Below root", "No address",
                                      "Missing place", "In self"}));
  EXPECT_EQ(Paths(lists.allbookMarkArray), (std::vector<std::string>{"/toolbar/Child first", "/toolbar", "/", "/",
                                                                     "/unfiled", "/unfiled", "/Self"}));
  EXPECT_EQ(Each(lists.allbookMarkArray, &PRBookMarkNode::urlString),
            (std::vector<std::string>{"https://a.example/", "https://b.example/", "https://a.example/",
                                      "https://b.example/", "", "", ""}));
  NodePtr orphanFolder = FindTitle(lists.FireFoxFolderArray, "Orphan folder");
  ASSERT_TRUE(orphanFolder);
  EXPECT_EQ(orphanFolder->fatherItem(), nullptr);
  EXPECT_EQ(OrNull(orphanFolder->theFullPath()), "/");
  EXPECT_EQ(lists.FireFoxFolderArray.size(), 9u);
  EXPECT_EQ(Titles(ChildrenOf(lists.FireFoxFatherArray[0])), (std::vector<std::string>{"Work", "In toolbar"}));
  EXPECT_EQ(OrNull(lists.allbookMarkArray[0]->bookMarkUUID()), "guid-20");
  // No folder is linked into itself.
  NodePtr self = FindTitle(lists.FireFoxFolderArray, "Self");
  ASSERT_TRUE(self);
  EXPECT_EQ(Titles(ChildrenOf(self)), (std::vector<std::string>{"In self"}));
  EXPECT_EQ(self->fatherItem(), nullptr);
  EXPECT_EQ(Titles(ChildrenOf(FindTitle(lists.FireFoxFolderArray, "Loop A"))),
            (std::vector<std::string>{"Hanging off the loop"}));
  EXPECT_TRUE(ChildrenOf(FindTitle(lists.FireFoxFolderArray, "Loop B")).empty());
}

// A missing profiles folder changes nothing (the contract suite); a profile
// without its places file empties the Firefox lists, as each read does first.
TEST(FirefoxReader, ProfileWithoutPlacesIsNotFound) {
  TempDir dir;
  fs::create_directories(dir / "Profiles");
  ReaderHarness h;
  h.lists.rootNode = PRRootBookMarkNode::Create();
  h.lists.FireFoxFolderArray.push_back(PRFaBookMarkNode::Create());
  EXPECT_EQ(FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", std::nullopt}).errorKind(),
            ErrorKind::NotFound);
  EXPECT_EQ(h.lists.rootNode, nullptr);
  EXPECT_TRUE(h.lists.FireFoxFolderArray.empty());
  EXPECT_EQ(FirefoxReader(h.ctx).ReadFirefoxBookMark(SourceIn(dir)).errorKind(), ErrorKind::NotFound);
  EXPECT_FALSE(fs::exists(*SourceIn(dir).placesFile));  // never created
}

// A damaged page used to read as empty addresses, or as no bookmarks at all.
TEST(FirefoxReader, DamagedDatabaseIsMalformedNotAPartialList) {
  for (const std::string damage : {"moz_places", "moz_bookmarks", "drop table moz_places"}) {
    SCOPED_TRACE(damage);
    TempDir dir;
    const fs::path file = *SourceIn(dir).placesFile;
    profile::PlacesDatabase places = PlacesWith({});
    Must(places.Exec(InsertBookmarks(50, profile::kFirefoxToolbarId, "B")));
    if (damage.starts_with("drop")) Must(places.Exec(damage));
    Must(places.Save(file));
    if (!damage.starts_with("drop")) {  // a page of the table overwritten
      int rootPage = 0, pageSize = 0;
      {
        auto db = Must(profile::SqlConnection::Open(file));
        rootPage = std::stoi(db->QueryText("select rootpage from sqlite_master where name = '" + damage + "'").value());
        pageSize = std::stoi(db->QueryText("pragma page_size").value());
      }
      ASSERT_GT(rootPage, 1);
      std::string bytes = ReadText(file);
      for (int i = 8; i < pageSize; ++i) bytes[static_cast<std::size_t>((rootPage - 1) * pageSize + i)] = '\xA5';
      WriteText(file, bytes);
    }
    ReaderHarness h;
    const ReadResult result = FirefoxReader(h.ctx).ReadFirefoxBookMark(SourceIn(dir));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.errorKind(), ErrorKind::Malformed);
    EXPECT_TRUE(h.lists.allbookMarkArray.empty());
    EXPECT_TRUE(h.lists.FireFoxFolderArray.empty());
    EXPECT_EQ(h.lists.rootNode, nullptr);
  }
}

// The browser keeps its connection open, so the log is not folded into the database.
TEST(FirefoxReader, LogOfAnOpenWalDatabaseIsReadWithoutChangingAFile) {
  TempDir dir;
  const fs::path places = *SourceIn(dir).placesFile;
  Must(PlacesWith({}).Save(places, /*writeAheadLog=*/true));
  auto browser = Must(profile::SqlConnection::Open(places));
  Must(browser->Exec("pragma journal_mode=wal; pragma wal_autocheckpoint=0;" +
                     InsertBookmarks(20, profile::kFirefoxUnfiledId, "In the log ")));
  ASSERT_GT(fs::file_size(places.string() + "-wal"), 0u);
  const std::string before = FolderFingerprint(places.parent_path());  // the database, its log and index
  ReaderHarness h;
  ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark(SourceIn(dir)).ok());
  ASSERT_EQ(h.lists.allbookMarkArray.size(), 20u);
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[19]->urlString()), "https://20.example/");
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->theFullPath()), "/unfiled");
  EXPECT_EQ(FolderFingerprint(places.parent_path()), before);
}

// A transaction cut off halfway leaves a hot journal beside the database: the
// read sees the state before it, and the journal is not rolled back in place.
TEST(FirefoxReader, CutOffTransactionReadsTheCommittedState) {
  TempDir dir;
  const fs::path live = dir / "live" / "places.sqlite";
  const fs::path crashed = *SourceIn(dir).placesFile;
  profile::PlacesDatabase places = PlacesWith({{7, kFirefoxBookmark, 3, "Committed", 1}});
  Must(places.AddPlace("https://committed.example/", "", 1));
  Must(places.Save(live));
  auto browser = Must(profile::SqlConnection::Open(live));
  Must(browser->Exec(
      "pragma journal_mode=delete; pragma cache_size=1; begin; delete from moz_bookmarks where id = 7;"
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200) "
      "insert into moz_places (url) select printf('%0500d', i) from n;"));
  ASSERT_TRUE(fs::exists(live.string() + "-journal"));
  fs::create_directories(crashed.parent_path());
  fs::copy_file(live, crashed);
  fs::copy_file(live.string() + "-journal", crashed.string() + "-journal");
  Must(browser->Exec("rollback"));
  // Without its journal the copied database no longer holds the committed row.
  fs::copy_file(crashed, dir / "alone.sqlite");
  auto alone = Must(profile::SqlConnection::Open(dir / "alone.sqlite"));
  ASSERT_NE(alone->QueryText("select count(*) from moz_bookmarks where id = 7").value(), "1");
  const std::string before = FolderFingerprint(crashed.parent_path());
  ReaderHarness h;
  const ReadResult result = FirefoxReader(h.ctx).ReadFirefoxBookMark(SourceIn(dir));
  ASSERT_TRUE(result.ok()) << result.error();
  EXPECT_EQ(Titles(h.lists.allbookMarkArray), (std::vector<std::string>{"Committed"}));
  EXPECT_EQ(FolderFingerprint(crashed.parent_path()), before);
}

TEST(FirefoxReader, ParentChainOfAHundredThousandFoldersIsCutAtTheFolderLimit) {
  TempDir dir;
  auto places = PlacesWith({{1, kFirefoxFolder, 0, ""}, {200000, kFirefoxBookmark, 100001, "Bottom", 1}}, false);
  Must(places.AddPlace("https://bottom.example/", "", 1));
  Must(places.Exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) "
                   "insert into moz_bookmarks (id, type, parent, title) select i + 1, 2, i, 'f' from n"));
  ReaderHarness h;
  const ReadResult result = ReadSaved(h, dir, places);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), kMaxFolderLevels);
  EXPECT_EQ(result->entriesBelowFolderLimit, 100000u - kMaxFolderLevels + 1);  // the folders and the bookmark
  EXPECT_TRUE(h.lists.allbookMarkArray.empty());
}

}  // namespace
}  // namespace linvara::testing
