// Each builder's file read back by the product's own readers: the tree
// described is the tree read, for every browser, format and layout.
#include <gtest/gtest.h>

#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieTestSupport.h"
#include "cookies/CookieDatabase.h"
#include "model/Json.h"
#include "profile/ChromiumBookmarksFile.h"
#include "profile/CookieStores.h"
#include "profile/DemoProfile.h"
#include "profile/FirefoxPlaces.h"
#include "profile/SafariBookmarksFile.h"
#include "readers/ChromiumReader.h"
#include "readers/FirefoxReader.h"

namespace fs = std::filesystem;

namespace linvara::profile {
namespace {

using testing::TempDir;
using Rows = std::vector<std::vector<std::string>>;

// Title, folder path, address and UUID of every bookmark read, in file order.
Rows Bookmarks(const BookmarkLists& lists) {
  Rows rows;
  for (const NodePtr& n : lists.allbookMarkArray)
    rows.push_back({OrNull(n->thetitle()), OrNull(n->theFullPath()), OrNull(n->urlString()), OrNull(n->bookMarkUUID())});
  return rows;
}

// What a reader made of a file.
template <class ReadFn>
BookmarkLists ReadWith(ReadFn read) {
  BookmarkLists lists;
  ReaderContext ctx{lists, 1, {}};
  EXPECT_TRUE(read(ctx));
  return lists;
}

// News > Paper, a proxy the readers pass over, and a top-level bookmark with its own UUID. The Safari
// builder's files are read back throughout the reader tests (safari_reader_test, reader_contract_test).
const std::vector<BookmarkEntry> kTree = {Folder("News", {Leaf("Paper", "https://paper.example/")}), Proxy("History"),
                                          Leaf("Top", "https://top.example/", "UUID-TOP")};

// The tree of a real file, ids kept, to rebuild it with the builder.
BookmarkEntry EntryOf(const DictPtr& d) {
  BookmarkEntry e = d->getString("type") == "folder" ? Folder(*d->getString("name")) : Leaf(*d->getString("name"), *d->getString("url"));
  e.uuid = *d->getString("id");
  if (auto children = d->getArray("children"))
    for (const Value& c : *children) e.children.push_back(EntryOf(c.asDict()));
  return e;
}

// Chromium computes the same MD5 over the same tree: the builder's checksum is the real file's.
TEST(ChromiumBookmarksFile, ChecksumIsChromiumsForRealFiles) {
  for (const char* name : {"chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks",
                           "chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks"}) {
    const Value real = ReadJsonFile(testing::TestData(name)).value();
    std::vector<ChromiumRoot> roots;
    for (const char* key : {"bookmark_bar", "other", "synced"})
      roots.push_back({key, EntryOf(real.asDict()->getDict("roots")->getDict(key))});
    EXPECT_EQ(ChromiumBookmarksValue(roots).asDict()->getString("checksum"), real.asDict()->getString("checksum"))
        << name;
  }
}

TEST(ChromiumBookmarksFile, ReaderReadsTheRootsWithNumberedOrGivenIds) {
  TempDir dir;
  ASSERT_TRUE(WriteChromiumBookmarks(dir / "Bookmarks", ChromiumRoots(kTree, {Leaf("Loose", "https://loose.example/")}))
                  .ok());
  const BookmarkLists lists =
      ReadWith([&](ReaderContext& ctx) { return ChromiumReader(ctx).ReadChromeBookMark(dir / "Bookmarks").ok(); });
  EXPECT_EQ(Bookmarks(lists), (Rows{{"Paper", "/Bookmarks bar/News", "https://paper.example/", "3"},
                                    {"Top", "/Bookmarks bar", "https://top.example/", "UUID-TOP"},
                                    {"Loose", "/Other bookmarks", "https://loose.example/", "5"}}));
}

TEST(FirefoxPlaces, ProfilesIniNamesTheProfileTheReaderReads) {
  for (const auto& [layout, schema] : {std::pair{Layout::MacOS, PlacesSchema::Current},
                                       std::pair{Layout::Linux, PlacesSchema::Legacy}}) {
    TempDir dir;
    const Locations home = Locations::ForHome(dir.path(), layout);
    fs::create_directories(home.firefoxProfilesFolder() / "0first.unused");  // first by name: only the ini picks ours
    auto places = PlacesDatabase::Create(schema);
    ASSERT_TRUE(places.ok());
    FirefoxBookmarks bookmarks;
    bookmarks.toolbar = {Folder("Work", {Leaf("Intranet", "http://intranet.invalid/"), Separator()}),
                         Leaf("", "https://untitled.example/")};
    bookmarks.unfiled = {Leaf("Intranet again", "http://intranet.invalid/")};
    ASSERT_TRUE(places->AddBookmarks(bookmarks).ok());
    auto file = WriteFirefoxProfile(home, "ab12.default-release", *places);
    ASSERT_TRUE(file.ok()) << file.error();
    ASSERT_EQ(home.ChooseFirefoxPlaces(), *file);

    const BookmarkLists lists = ReadWith([&](ReaderContext& ctx) {
      return FirefoxReader(ctx).ReadFirefoxBookMark({home.firefoxProfilesFolder(), home.ChooseFirefoxPlaces()}).ok();
    });
    Rows rows = Bookmarks(lists);
    for (auto& row : rows) row.pop_back();
    EXPECT_EQ(rows, (Rows{{"Intranet", "/toolbar/Work", "http://intranet.invalid/"},
                          {" ", "/toolbar", "https://untitled.example/"},  // a NULL title reads as a blank
                          {"Intranet again", "/unfiled", "http://intranet.invalid/"}}))
        << LayoutName(layout);
  }
}

TEST(FirefoxPlaces, RowsAreStoredAsGiven) {
  auto places = PlacesDatabase::Create();
  ASSERT_TRUE(places.ok());
  ASSERT_TRUE(places->AddStandardRoots().ok());
  ASSERT_TRUE(places->AddRow({.id = 40, .type = kFirefoxFolder, .parent = 41, .title = "Child before its folder"}).ok());
  ASSERT_TRUE(places->AddRow({.id = 41, .type = kFirefoxFolder, .parent = kFirefoxMenuId, .title = "Folder"}).ok());
  ASSERT_TRUE(places->AddEntries(41, {WithKey(Leaf("Tagged", "https://t.example/"), "keyword_id", 7)}).ok());
  EXPECT_EQ(places->AddPlace("https://t.example/").value(), 1);  // an address has one place
  TempDir dir;
  ASSERT_TRUE(places->Save(dir / "places.sqlite").ok());
  auto db = SqlConnection::Open(dir / "places.sqlite");
  ASSERT_TRUE(db.ok());
  EXPECT_EQ(db->QueryText("select group_concat(id || ':' || parent || ':' || position, ' ') from moz_bookmarks "
                          "where id > 6").value(),
            "40:41:0 41:2:0 42:41:1");
  EXPECT_EQ(db->QueryText("select keyword_id || fk from moz_bookmarks where id = 42").value(), "71");
}

TEST(CookieStores, ReadersReadBothStores) {
  testing::ScopedTimeZone utc("UTC");
  TempDir dir;
  const CookieEntry cookie{".example.com", "sid", "/account", "abc", true, false, 1714557600, 1767225600};
  ASSERT_TRUE(WriteSafariCookies(dir / "Cookies.binarycookies", {{SafariCookieRecord(cookie)}}).ok());
  ASSERT_TRUE(WriteChromeCookies(dir / "Cookies", {ChromeCookieRowOf(cookie)}).ok());
  CookieList safari, chrome;
  std::vector<std::int32_t> pageSizes;
  ReadCookBinaryFileWithPath(dir / "Cookies.binarycookies", pageSizes, safari);
  ReadCookDatabaseFileWithPath(dir / "Cookies", chrome);
  for (const CookieList* list : {&safari, &chrome}) {
    ASSERT_EQ(list->size(), 1u);
    const PRCookFileNode& c = *list->front();
    EXPECT_EQ(std::tuple(OrNull(c.fileHost), OrNull(c.fileName), OrNull(c.filePath), OrNull(c.fileValue),
                         c.secureValue, OrNull(c.expiredDate)),
              std::tuple(".example.com", "sid", "/account", "abc", "YES", "01-01-2026 00:00"));
  }
}

TEST(DemoProfile, LinuxLayoutHasEveryBrowserButSafari) {
  TempDir dir;
  const Locations home = Locations::ForHome(dir.path(), Layout::Linux);
  ASSERT_TRUE(MakeDemoProfile(home).ok());
  for (const fs::path& file : {home.chromeDefaultBookmarks(), home.edgeBookmarks(), home.operaBookmarks(),
                               home.chromeCookies(), home.ChooseFirefoxPlaces().value_or("")})
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
  EXPECT_FALSE(fs::exists(dir / "Library"));
}

}  // namespace
}  // namespace linvara::profile
