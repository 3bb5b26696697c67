#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "readers/FirefoxReader.h"
#include "readers/ReaderTestSupport.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

// A profiles folder holding one profile with a copy of the given places file.
FirefoxSource ProfileWith(const TempDir& dir, const fs::path& places) {
  fs::path profile = dir / "Profiles" / "abcd.default";
  fs::create_directories(profile);
  if (!places.empty()) fs::copy_file(places, profile / "places.sqlite");
  return {dir / "Profiles", profile / "places.sqlite"};
}

NodePtr FindTitle(const NodeList& list, const std::string& title) {
  for (const auto& n : list)
    if (OrNull(n->thetitle()) == title) return n;
  return nullptr;
}

TEST(FirefoxReaderRealFiles, FedoraFileWithoutItsTagEntries) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-fedora-2020-08_schema53_tags_places.sqlite"));
  ReaderHarness h;
  ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark(source).ok());

  // 63 bookmark rows less the 31 tag entries; 39 folders less the tags root and its 29 tags.
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 32u);
  EXPECT_EQ(h.lists.allbookMarkArray, h.lists.FireFoxBookMarkArray);
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 9u);
  EXPECT_EQ(Titles(h.lists.FireFoxFatherArray), (std::vector<std::string>{"menu", "toolbar", "unfiled", "mobile"}));
  EXPECT_EQ(FindTitle(h.lists.FireFoxFolderArray, "news"), nullptr);
  ASSERT_TRUE(h.lists.rootNode);
  EXPECT_EQ(OrNull(h.lists.rootNode->titleStr()), "root");
  for (const auto& top : h.lists.FireFoxFatherArray) {
    EXPECT_EQ(top->fatherItem(), h.lists.rootNode);
    EXPECT_EQ(OrNull(top->theFullPath()), "/");
  }
  // Tag entries filed the same addresses again: none of them makes a duplicate now.
  std::map<std::string, int> perAddress;
  for (const auto& leaf : h.lists.allbookMarkArray) ++perAddress[OrNull(leaf->urlString())];
  EXPECT_EQ(std::count_if(perAddress.begin(), perAddress.end(), [](const auto& p) { return p.second > 1; }), 0);

  NodePtr docs = FindTitle(h.lists.allbookMarkArray, "Fedora Docs");
  ASSERT_TRUE(docs);
  EXPECT_EQ(OrNull(docs->urlString()), "https://docs.fedoraproject.org/");
  EXPECT_EQ(OrNull(docs->theFullPath()), "/toolbar");
  EXPECT_EQ(OrNull(docs->bookMarkFrom()), "Firefox");
  EXPECT_EQ(docs->bookmarkID(), 9);
  EXPECT_EQ(docs->bookmarkParentID(), 3);
  EXPECT_FALSE(OrNull(docs->bookMarkUUID()).empty());
  NodePtr spins = FindTitle(h.lists.allbookMarkArray, "Fedora Spins (Desktop Environments)");
  ASSERT_TRUE(spins);
  EXPECT_EQ(OrNull(spins->theFullPath()), "/toolbar/Fedora Project/More Downloads");

  NodePtr toolbar = h.lists.FireFoxFatherArray[1];
  EXPECT_EQ(Titles(ChildrenOf(toolbar)),
            (std::vector<std::string>{"Fedora Project", "User Communities", "Red Hat", "Free Content", "Most Visited",
                                      "Fedora Docs", "Fedora Magazine"}));
}

TEST(FirefoxReaderRealFiles, OldSchemaNamesItsTagsRootInTheRootsTable) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-3.6era-ubuntu-2011_schema10_places.sqlite"));
  ReaderHarness h;
  ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark(source).ok());
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 91u);
  // 7 folders less "Tags"; the 2 separators are no folders.
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 6u);
  EXPECT_EQ(Titles(h.lists.FireFoxFatherArray),
            (std::vector<std::string>{"Bookmarks Menu", "Bookmarks Toolbar", "Unsorted Bookmarks"}));
  NodePtr ubuntu = FindTitle(h.lists.allbookMarkArray, "Ubuntu");
  ASSERT_TRUE(ubuntu);
  EXPECT_EQ(OrNull(ubuntu->urlString()), "http://www.ubuntulinux.org/");
  EXPECT_EQ(OrNull(ubuntu->theFullPath()), "/Bookmarks Menu/Ubuntu and Free Software links");
  EXPECT_EQ(OrNull(ubuntu->bookMarkUUID()), "");  // no guid column: the creation value stays
  NodePtr headline = FindTitle(h.lists.allbookMarkArray, "Deadly sins");
  ASSERT_TRUE(headline);
  EXPECT_EQ(OrNull(headline->theFullPath()), "/Bookmarks Toolbar/Latest Headlines");
  for (const auto& folder : h.lists.FireFoxFolderArray) EXPECT_TRUE(folder->thetitle().has_value());
}

TEST(FirefoxReaderRealFiles, WindowsFileWithSeparatorsAndRepeatedQueries) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-windows-2020-09_schema54_separators_places.sqlite"));
  ReaderHarness h;
  ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark(source).ok());
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 11u);
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 5u);  // 6 folders less the tags root; no separator
  auto mostVisited = std::count_if(h.lists.allbookMarkArray.begin(), h.lists.allbookMarkArray.end(),
                                   [](const NodePtr& n) { return OrNull(n->thetitle()) == "Most Visited"; });
  EXPECT_EQ(mostVisited, 2);  // every row is read, once per row
  NodePtr film = FindTitle(h.lists.allbookMarkArray, "Index of /film out/");
  ASSERT_TRUE(film);
  EXPECT_EQ(OrNull(film->urlString()), "http://dl3.yoozdl.com/film%20out/");
  EXPECT_EQ(OrNull(film->theFullPath()), "/unfiled");
  NodePtr help = FindTitle(h.lists.allbookMarkArray, "Help and Tutorials");
  EXPECT_EQ(OrNull(help->theFullPath()), "/menu/Mozilla Firefox");
}

TEST(FirefoxReader, LinkingOrphansLateRootAndPathsSetTwice) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p1" / "places.sqlite";
  {
    PlacesBuilder b(places);
    b.Place(1, "https://a.example/");
    b.Place(2, "https://b.example/");
    b.Row(3, 2, 1, "toolbar");          // top-level folder before the root row: no father
    b.Row(10, 2, 11, "Child first");    // row before its father's row
    b.Row(11, 2, 3, "Work");
    b.Row(50, 2, 0, "");                // the root row, late (rows come in id order)
    b.Row(60, 2, 1, "unfiled");
    b.Row(20, 1, 10, "In child", 1);
    b.Row(21, 1, 3, "In toolbar", 2);
    b.Row(22, 1, 99, "Orphan leaf", 1);
    b.Row(23, 2, 77, "Orphan folder");
    b.Row(24, 1, 1, "Below root", 2);
    b.Row(25, 1, 60, "No address");
    b.Row(26, 1, 60, "Missing place", 500);
    b.Row(27, 3, 60, "");               // separator: no node
    b.Exec("insert into moz_bookmarks (id, type, parent, title) values (28, null, 60, 'no type')");
  }
  ReaderHarness h;
  ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places}).ok());
  const auto& lists = h.lists;
  ASSERT_TRUE(lists.rootNode);
  EXPECT_EQ(Titles(lists.FireFoxFatherArray), (std::vector<std::string>{"toolbar", "unfiled"}));
  EXPECT_EQ(lists.FireFoxFatherArray[0]->fatherItem(), nullptr);  // came before the root row
  EXPECT_EQ(OrNull(lists.FireFoxFatherArray[0]->theFullPath()), "/");
  EXPECT_EQ(lists.FireFoxFatherArray[1]->fatherItem(), lists.rootNode);

  NodePtr childFirst = FindTitle(lists.FireFoxFolderArray, "Child first");
  NodePtr work = FindTitle(lists.FireFoxFolderArray, "Work");
  ASSERT_TRUE(childFirst && work);
  EXPECT_EQ(childFirst->fatherItem(), work);
  // Its own turn came first ("(null)" father path then), its father's turn last: the father's
  // turn stands and gives the father's own path.
  EXPECT_EQ(OrNull(childFirst->theFullPath()), "/toolbar");
  EXPECT_EQ(OrNull(work->theFullPath()), "/toolbar");

  EXPECT_EQ(Titles(lists.allbookMarkArray), (std::vector<std::string>{"In child", "In toolbar", "Orphan leaf",
                                                                        "Below root", "No address", "Missing place"}));
  EXPECT_EQ(Paths(lists.allbookMarkArray),
            (std::vector<std::string>{"/toolbar/Child first", "/toolbar", "/", "/", "/unfiled", "/unfiled"}));
  EXPECT_EQ(Urls(lists.allbookMarkArray), (std::vector<std::string>{"https://a.example/", "https://b.example/",
                                                                      "https://a.example/", "https://b.example/", "",
                                                                      ""}));
  NodePtr orphanFolder = FindTitle(lists.FireFoxFolderArray, "Orphan folder");
  EXPECT_EQ(orphanFolder->fatherItem(), nullptr);
  EXPECT_EQ(OrNull(orphanFolder->theFullPath()), "/");
  EXPECT_EQ(lists.FireFoxFolderArray.size(), 5u);
  EXPECT_EQ(Titles(ChildrenOf(lists.FireFoxFatherArray[0])), (std::vector<std::string>{"Work", "In toolbar"}));
  EXPECT_EQ(OrNull(lists.allbookMarkArray[0]->bookMarkUUID()), "guid-20");
}

TEST(FirefoxReader, ParentCyclesAreNotLinkedIntoThemselves) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p1" / "places.sqlite";
  {
    PlacesBuilder b(places);
    b.StandardRoots();
    b.Row(30, 2, 30, "Self");
    b.Row(31, 2, 32, "Loop A");
    b.Row(32, 2, 31, "Loop B");
    b.Row(33, 2, 31, "Hanging off the loop");
    b.Row(40, 1, 30, "In self", 0);
  }
  ReaderHarness h;
  ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places}).ok());
  NodePtr self = FindTitle(h.lists.FireFoxFolderArray, "Self");
  ASSERT_TRUE(self);
  EXPECT_EQ(Titles(ChildrenOf(self)), (std::vector<std::string>{"In self"}));
  EXPECT_EQ(self->fatherItem(), nullptr);
  NodePtr a = FindTitle(h.lists.FireFoxFolderArray, "Loop A");
  NodePtr b = FindTitle(h.lists.FireFoxFolderArray, "Loop B");
  EXPECT_EQ(Titles(ChildrenOf(a)), (std::vector<std::string>{"Hanging off the loop"}));
  EXPECT_TRUE(ChildrenOf(b).empty());
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->theFullPath()), "/Self");
}

TEST(FirefoxReader, ReadingAgainAfterEmptyingGivesTheSameTreeWithNewNodes) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-fedora-2020-08_schema53_tags_places.sqlite"));
  ReaderHarness h;
  FirefoxReader reader(h.ctx);
  ASSERT_TRUE(reader.ReadFirefoxBookMark(source).ok());
  NodeList firstFolders = h.lists.FireFoxFolderArray;
  h.lists.FireFoxBookMarkArray.clear();
  h.lists.FireFoxFatherArray.clear();
  h.lists.allbookMarkArray.clear();
  ASSERT_TRUE(reader.ReadFirefoxBookMark(source).ok());
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 32u);
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 9u);
  for (const auto& folder : h.lists.FireFoxFolderArray) {
    EXPECT_EQ(std::find(firstFolders.begin(), firstFolders.end(), folder), firstFolders.end());
    NodePtr father = folder->fatherItem();
    if (father && !father->isRoot()) {
      EXPECT_NE(std::find(h.lists.FireFoxFolderArray.begin(), h.lists.FireFoxFolderArray.end(), father),
                h.lists.FireFoxFolderArray.end());
    }
  }
}

TEST(FirefoxReader, NoProfilesFolderChangesNothing) {
  TempDir dir;
  ReaderHarness h;
  RootPtr kept = PRRootBookMarkNode::Create();
  h.lists.rootNode = kept;
  h.lists.FireFoxFolderArray.push_back(PRFaBookMarkNode::Create());
  EXPECT_EQ(FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "NoProfiles", std::nullopt}).errorKind(),
            ErrorKind::NotFound);
  EXPECT_EQ(h.lists.rootNode, kept);
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 1u);

  fs::create_directories(dir / "Profiles");
  EXPECT_EQ(FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", std::nullopt}).errorKind(),
            ErrorKind::NotFound);
  EXPECT_EQ(h.lists.rootNode, nullptr);
  EXPECT_TRUE(h.lists.FireFoxFolderArray.empty());
  EXPECT_EQ(FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", dir / "Profiles" / "p" / "places.sqlite"})
                .errorKind(),
            ErrorKind::NotFound);
  EXPECT_FALSE(fs::exists(dir / "Profiles" / "p" / "places.sqlite"));  // never created
}

TEST(FirefoxReader, DatabaseWithoutMozPlacesIsMalformed) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p" / "places.sqlite";
  {
    PlacesBuilder noPlaces(places);
    noPlaces.StandardRoots();
    noPlaces.Row(7, 1, 3, "would have no address", 1);
    noPlaces.Exec("drop table moz_places");
  }
  ReaderHarness bad;
  EXPECT_EQ(FirefoxReader(bad.ctx).ReadFirefoxBookMark({dir / "Profiles", places}).errorKind(), ErrorKind::Malformed);
  EXPECT_TRUE(bad.lists.allbookMarkArray.empty());
  EXPECT_TRUE(bad.lists.FireFoxFolderArray.empty());
  EXPECT_EQ(bad.lists.rootNode, nullptr);
}

// A damaged page used to read as empty addresses, or as no bookmarks at all.
TEST(FirefoxReader, CorruptPageIsMalformedNotAPartialList) {
  for (const char* table : {"moz_places", "moz_bookmarks"}) {
    SCOPED_TRACE(table);
    TempDir dir;
    fs::path places = dir / "Profiles" / "p1" / "places.sqlite";
    {
      PlacesBuilder b(places);
      b.Exec("begin");
      b.StandardRoots();
      for (int i = 1; i <= 50; ++i) {
        b.Place(i, "https://" + std::to_string(i) + ".example/");
        b.Row(100 + i, 1, 3, "B" + std::to_string(i), i);
      }
      b.Exec("commit");
    }
    const int rootPage = std::stoi("0" + QueryText(places, "select rootpage from sqlite_master where name='" +
                                                               std::string(table) + "'"));
    const int pageSize = std::stoi("0" + QueryText(places, "pragma page_size"));
    ASSERT_GT(rootPage, 1);
    std::string bytes = ReadText(places);
    for (int i = 8; i < pageSize; ++i) bytes[static_cast<std::size_t>((rootPage - 1) * pageSize + i)] = '\xA5';
    WriteText(places, bytes);
    ReaderHarness h;
    const ReadResult result = FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places});
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.errorKind(), ErrorKind::Malformed);
    EXPECT_TRUE(h.lists.allbookMarkArray.empty());
  }
}

// The browser keeps its connection open, so the log is not folded into the database.
TEST(FirefoxReader, LogOfAnOpenWalDatabaseIsReadAndNoFileChanges) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p1" / "places.sqlite";
  PlacesBuilder b(places);
  b.Exec("pragma journal_mode=wal");
  b.Exec("pragma wal_autocheckpoint=0");
  b.StandardRoots();
  for (int i = 1; i <= 20; ++i) {
    b.Place(i, "https://" + std::to_string(i) + ".example/");
    b.Row(100 + i, 1, 5, "In the log " + std::to_string(i), i);
  }
  const std::vector<std::string> files = {places.string(), places.string() + "-wal", places.string() + "-shm"};
  std::vector<std::string> before;
  for (const auto& f : files) before.push_back(ReadText(f));
  ASSERT_GT(before[1].size(), 0u);

  ReaderHarness h;
  ASSERT_TRUE(FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places}).ok());
  EXPECT_EQ(h.lists.allbookMarkArray.size(), 20u);
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[19]->urlString()), "https://20.example/");
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->theFullPath()), "/unfiled");
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ReadText(files[i]), before[i]) << files[i];
}

// A transaction cut off halfway leaves a hot journal beside the database: the
// read sees the state before it, and the journal is not rolled back in place.
TEST(FirefoxReader, CutOffTransactionReadsTheCommittedState) {
  TempDir dir;
  fs::path live = dir / "live" / "places.sqlite";
  fs::path crashed = dir / "Profiles" / "p1" / "places.sqlite";
  PlacesBuilder b(live, true);
  b.Exec("pragma journal_mode=delete");
  b.StandardRoots();
  b.Place(1, "https://committed.example/");
  b.Row(7, 1, 3, "Committed", 1);
  b.Exec("pragma cache_size=1");
  b.Exec("begin");
  b.Exec("delete from moz_bookmarks where id = 7");
  for (int i = 0; i < 200; ++i) b.Exec("insert into moz_places (url) values (printf('%0500d', " + std::to_string(i) + "))");
  ASSERT_TRUE(fs::exists(live.string() + "-journal"));
  fs::create_directories(crashed.parent_path());
  fs::copy_file(live, crashed);
  fs::copy_file(live.string() + "-journal", crashed.string() + "-journal");
  b.Exec("rollback");
  // Without its journal the copied database no longer holds the committed row.
  fs::create_directories(dir / "alone");
  fs::copy_file(crashed, dir / "alone" / "places.sqlite");
  ASSERT_NE(QueryText(dir / "alone" / "places.sqlite", "select count(*) from moz_bookmarks where id = 7"), "1");
  const std::string before = FolderFingerprint(crashed.parent_path());

  ReaderHarness h;
  const ReadResult result = FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", crashed});
  ASSERT_TRUE(result.ok()) << result.error();
  EXPECT_EQ(Titles(h.lists.allbookMarkArray), (std::vector<std::string>{"Committed"}));
  EXPECT_EQ(FolderFingerprint(crashed.parent_path()), before);
}

TEST(FirefoxReader, ParentChainOfAHundredThousandFoldersIsCutAtTheFolderLimit) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p1" / "places.sqlite";
  {
    PlacesBuilder b(places);
    b.Exec("begin");
    b.Row(1, 2, 0, "");
    for (int level = 1; level <= 100000; ++level)
      b.Exec("insert into moz_bookmarks (id,type,parent,title) values (" + std::to_string(level + 1) + ",2," +
             std::to_string(level) + ",'f')");
    b.Place(1, "https://bottom.example/");
    b.Row(200000, 1, 100001, "Bottom", 1);
    b.Exec("commit");
  }
  ReaderHarness h;
  const ReadResult result = FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places});
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), kMaxFolderLevels);
  EXPECT_EQ(result->entriesBelowFolderLimit, 100000u - kMaxFolderLevels + 1);  // the folders and the bookmark
  EXPECT_TRUE(h.lists.allbookMarkArray.empty());
}

}  // namespace
}  // namespace linvara::testing
