#include <gtest/gtest.h>

#include <algorithm>

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

TEST(FirefoxReaderRealFiles, FedoraFileWithTagRows) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-fedora-2020-08_schema53_tags_places.sqlite"));
  const std::string before = FolderFingerprint(dir.path());
  ReaderHarness h;
  FirefoxReader(h.ctx).ReadFirefoxBookMark(source);
  EXPECT_EQ(FolderFingerprint(dir.path()), before);  // no -wal or -shm appears beside it

  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 63u);
  EXPECT_EQ(h.lists.allbookMarkArray, h.lists.FireFoxBookMarkArray);
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 39u);  // 40 folder rows less the root row
  EXPECT_EQ(Titles(h.lists.FireFoxFatherArray),
            (std::vector<std::string>{"menu", "toolbar", "tags", "unfiled", "mobile"}));
  ASSERT_TRUE(h.lists.rootNode);
  EXPECT_EQ(OrNull(h.lists.rootNode->titleStr()), "root");
  for (const auto& top : h.lists.FireFoxFatherArray) {
    EXPECT_EQ(top->fatherItem(), h.lists.rootNode);
    EXPECT_EQ(OrNull(top->theFullPath()), "/");
  }

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

  // Tag entries are bookmark rows with no title: they keep the creation title " ".
  auto tagRows = std::count_if(h.lists.allbookMarkArray.begin(), h.lists.allbookMarkArray.end(),
                               [](const NodePtr& n) { return OrNull(n->thetitle()) == " "; });
  EXPECT_EQ(tagRows, 31);
  NodePtr news = FindTitle(h.lists.FireFoxFolderArray, "news");
  ASSERT_TRUE(news);
  EXPECT_EQ(OrNull(news->theFullPath()), "/tags");
  NodeList newsChildren = ChildrenOf(news);
  ASSERT_EQ(newsChildren.size(), 2u);
  EXPECT_EQ(OrNull(newsChildren[0]->urlString()), "http://fedoramagazine.org/");
  EXPECT_EQ(OrNull(newsChildren[0]->theFullPath()), "/tags/news");
  EXPECT_EQ(newsChildren[0]->fatherItem(), news);

  NodePtr toolbar = h.lists.FireFoxFatherArray[1];
  EXPECT_EQ(Titles(ChildrenOf(toolbar)),
            (std::vector<std::string>{"Fedora Project", "User Communities", "Red Hat", "Free Content", "Most Visited",
                                      "Fedora Docs", "Fedora Magazine"}));
}

TEST(FirefoxReaderRealFiles, OldSchemaWithoutGuidStillListsBookmarks) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-3.6era-ubuntu-2011_schema10_places.sqlite"));
  const std::string before = FolderFingerprint(dir.path());
  ReaderHarness h;
  FirefoxReader(h.ctx).ReadFirefoxBookMark(source);
  EXPECT_EQ(FolderFingerprint(dir.path()), before);
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 91u);
  // 8 folder rows less the root row, plus the 2 separators, which read as folders.
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 9u);
  EXPECT_EQ(Titles(h.lists.FireFoxFatherArray),
            (std::vector<std::string>{"Bookmarks Menu", "Bookmarks Toolbar", "Tags", "Unsorted Bookmarks"}));
  NodePtr ubuntu = FindTitle(h.lists.allbookMarkArray, "Ubuntu");
  ASSERT_TRUE(ubuntu);
  EXPECT_EQ(OrNull(ubuntu->urlString()), "http://www.ubuntulinux.org/");
  EXPECT_EQ(OrNull(ubuntu->theFullPath()), "/Bookmarks Menu/Ubuntu and Free Software links");
  EXPECT_EQ(OrNull(ubuntu->bookMarkUUID()), "");  // no guid column: the creation value stays
  NodePtr headline = FindTitle(h.lists.allbookMarkArray, "Deadly sins");
  ASSERT_TRUE(headline);
  EXPECT_EQ(OrNull(headline->theFullPath()), "/Bookmarks Toolbar/Latest Headlines");
  auto separators = std::count_if(h.lists.FireFoxFolderArray.begin(), h.lists.FireFoxFolderArray.end(),
                                  [](const NodePtr& n) { return !n->thetitle().has_value(); });
  EXPECT_EQ(separators, 2);
}

TEST(FirefoxReaderRealFiles, WindowsFileWithSeparatorsAndRepeatedQueries) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-windows-2020-09_schema54_separators_places.sqlite"));
  ReaderHarness h;
  FirefoxReader(h.ctx).ReadFirefoxBookMark(source);
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 11u);
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 7u);
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
    b.Row(27, 3, 60, "");               // separator: a folder with no children
    b.Exec("insert into moz_bookmarks (id, type, parent, title) values (28, null, 60, 'no type')");
  }
  ReaderHarness h;
  FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places});
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
  NodePtr separator = FindTitle(lists.FireFoxFolderArray, " ");
  EXPECT_EQ(separator, nullptr);  // an empty title leaves a folder's title null
  EXPECT_EQ(lists.FireFoxFolderArray.size(), 6u);
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
  FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places});
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

TEST(FirefoxReader, RemovalFormAndRepeatedReads) {
  TempDir dir;
  auto source = ProfileWith(dir, TestData("firefox_places/firefox-fedora-2020-08_schema53_tags_places.sqlite"));
  NodePtr getFedora = PRBookMarkNode::Create();
  getFedora->setUrlString("https://getfedora.org/");
  NodePtr upper = PRBookMarkNode::Create();
  upper->setUrlString("HTTPS://DOCS.FEDORAPROJECT.ORG/");
  ReaderHarness h;
  FirefoxReader reader(h.ctx);
  reader.ReadFirefoxBookMarkwithRemoveArray(source, {getFedora, upper});
  // getfedora.org is filed under the toolbar once and under five tags.
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 63u - 6u);
  EXPECT_TRUE(FindTitle(h.lists.allbookMarkArray, "Fedora Docs"));
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 39u);
  NodePtr download = FindTitle(h.lists.FireFoxFolderArray, "download");
  EXPECT_TRUE(ChildrenOf(download).empty());

  // Reading again after emptying gives the same tree with new nodes only.
  NodeList firstFolders = h.lists.FireFoxFolderArray;
  h.lists.FireFoxBookMarkArray.clear();
  h.lists.FireFoxFatherArray.clear();
  h.lists.allbookMarkArray.clear();
  reader.ReadFirefoxBookMark(source);
  EXPECT_EQ(h.lists.FireFoxBookMarkArray.size(), 63u);
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 39u);
  for (const auto& folder : h.lists.FireFoxFolderArray) {
    EXPECT_EQ(std::find(firstFolders.begin(), firstFolders.end(), folder), firstFolders.end());
    NodePtr father = folder->fatherItem();
    if (father && !father->isRoot())
      EXPECT_NE(std::find(h.lists.FireFoxFolderArray.begin(), h.lists.FireFoxFolderArray.end(), father),
                h.lists.FireFoxFolderArray.end());
  }
}

TEST(FirefoxReader, NoProfilesNoPlacesAndBadDatabases) {
  TempDir dir;
  ReaderHarness h;
  RootPtr kept = PRRootBookMarkNode::Create();
  h.lists.rootNode = kept;
  h.lists.FireFoxFolderArray.push_back(PRFaBookMarkNode::Create());
  FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "NoProfiles", std::nullopt});
  EXPECT_EQ(h.lists.rootNode, kept);  // no profiles folder: nothing changes
  EXPECT_EQ(h.lists.FireFoxFolderArray.size(), 1u);

  fs::create_directories(dir / "Profiles");
  FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", std::nullopt});
  EXPECT_EQ(h.lists.rootNode, nullptr);
  EXPECT_TRUE(h.lists.FireFoxFolderArray.empty());
  FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", dir / "Profiles" / "p" / "places.sqlite"});
  EXPECT_FALSE(fs::exists(dir / "Profiles" / "p" / "places.sqlite"));  // never created

  WriteText(dir / "Profiles" / "garbage.sqlite", std::string(4096, 'x'));
  WriteText(dir / "Profiles" / "header-only.sqlite", std::string("SQLite format 3\0", 16) + std::string(84, '\0'));
  {
    PlacesBuilder noPlaces(dir / "Profiles" / "no-places.sqlite");
    noPlaces.StandardRoots();
    noPlaces.Row(7, 1, 3, "would have no address", 1);
    noPlaces.Exec("drop table moz_places");
  }
  {
    sqlite3* db = nullptr;
    sqlite3_open((dir / "Profiles" / "other.sqlite").c_str(), &db);
    sqlite3_exec(db, "create table t (x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  const std::string before = FolderFingerprint(dir.path());
  for (const char* name : {"garbage.sqlite", "header-only.sqlite", "no-places.sqlite", "other.sqlite"}) {
    SCOPED_TRACE(name);
    ReaderHarness bad;
    FirefoxReader(bad.ctx).ReadFirefoxBookMark({dir / "Profiles", dir / "Profiles" / name});
    EXPECT_TRUE(bad.lists.allbookMarkArray.empty());
    EXPECT_TRUE(bad.lists.FireFoxFolderArray.empty());
    EXPECT_EQ(bad.lists.rootNode, nullptr);
  }
  EXPECT_EQ(FolderFingerprint(dir.path()), before);
}

TEST(FirefoxReader, LockedDatabaseIsReadImmutableWithoutTouchingFiles) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p1" / "places.sqlite";
  PlacesBuilder b(places);
  b.StandardRoots();
  b.Place(1, "https://locked.example/");
  b.Row(7, 1, 3, "Locked", 1);
  // A running browser holds an exclusive lock on the database.
  b.Exec("pragma locking_mode=exclusive");
  b.Exec("begin exclusive");
  const std::string before = FolderFingerprint(dir.path());
  ReaderHarness h;
  FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places});
  ASSERT_EQ(h.lists.allbookMarkArray.size(), 1u);
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->urlString()), "https://locked.example/");
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->theFullPath()), "/toolbar");
  EXPECT_EQ(FolderFingerprint(dir.path()), before);
  b.Exec("commit");
}

TEST(FirefoxReader, WalDatabaseWithLogIsReadIncludingTheLog) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p1" / "places.sqlite";
  PlacesBuilder b(places);
  b.Exec("pragma journal_mode=wal");
  b.Exec("pragma wal_autocheckpoint=0");
  b.StandardRoots();
  b.Place(1, "https://in-the-log.example/");
  b.Row(7, 1, 5, "Only in the log", 1);
  ASSERT_TRUE(fs::exists(places.string() + "-wal"));
  ReaderHarness h;
  FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places});
  ASSERT_EQ(h.lists.allbookMarkArray.size(), 1u);
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->theFullPath()), "/unfiled");
}

}  // namespace
}  // namespace linvara::testing
