// Demo profile: the bookmark files of every browser. Safari's Bookmarks.plist
// (binary, with the favourites bar, menu, reading list, History proxy, nested
// and empty folders and an encrypted-looking address), Chrome, Edge and Opera
// "Bookmarks" files, and a Firefox profile with Firefox's schema. Duplicates
// across browsers and unreachable ".invalid" addresses give every feature
// something to show.
#include "profile/ChromiumBookmarksFile.h"
#include "profile/DemoProfile.h"
#include "profile/FirefoxPlaces.h"
#include "profile/SafariBookmarksFile.h"

namespace linvara::profile {
namespace {

BookmarkEntry ReadingListItem(std::string title, std::string url) {
  auto reading = Dictionary::make();
  reading->set("DateAdded", Date{7.3e8});
  reading->set("PreviewText", "Saved for later: " + title);
  auto nonSync = Dictionary::make();
  nonSync->set("neverFetchMetadata", false);
  nonSync->set("siteName", title);
  BookmarkEntry leaf = WithKey(Leaf(title, std::move(url)), "ReadingList", reading);
  return WithKey(std::move(leaf), "ReadingListNonSync", nonSync);
}

Result<void> WriteSafari(const Locations& home) {
  auto favouritesBar = Dictionary::make();
  favouritesBar->set("ServerID", "Favorites Bar");
  BookmarkEntry bar = WithKey(
      Folder("BookmarksBar",
             {Leaf("Apple", "https://www.apple.com/"), Leaf("Wikipedia", "https://www.wikipedia.org/"),
              Folder("News", {Leaf("BBC News", "https://www.bbc.co.uk/news"),
                              Leaf("The Guardian", "https://www.theguardian.com/")}),
              Folder("Dev", {Folder("Docs", {Leaf("cppreference", "https://en.cppreference.com/"),
                                             Leaf("SQLite Documentation", "https://www.sqlite.org/docs.html")}),
                             Leaf("GitHub", "https://github.com/")})}),
      "Sync", favouritesBar);
  BookmarkEntry menu = Folder("BookmarksMenu", {Leaf("Old project wiki", "https://old-project.invalid/wiki"),
                                                Folder("Empty folder"),
                                                Folder("Recipes", {Leaf("Apple pie", "https://recipes.example.com/apple-pie"),
                                                                   Leaf("Bread", "https://recipes.example.com/bread")}),
                                                Leaf("DuckDuckGo", "https://duckduckgo.com/")});
  BookmarkEntry reading = WithKey(
      Folder("com.apple.ReadingList", {ReadingListItem("The SQLite file format", "https://www.sqlite.org/fileformat.html"),
                                       ReadingListItem("A long read", "https://longreads.example.com/story")}),
      "ShouldOmitFromUI", true);
  // An address inside the data folder: a bookmark hidden behind a password.
  const std::string locked = "file://" + (home.dataFolder() / StableUuid("locked", true) / "encrypt.html").string();
  auto root = SafariRootDictionary({Proxy("History"), bar, menu, Leaf("DuckDuckGo", "https://duckduckgo.com/"),
                                    Leaf("Bank (locked)", locked), Leaf("Intranet", "http://intranet.invalid/"),
                                    reading});
  auto sync = Dictionary::make();
  sync->set("CloudKitMigrationState", 0);
  root->set("Sync", sync);
  return WriteSafariPropertyList(home.safariBookmarks(), root, PlistFormat::Binary);
}

Result<void> WriteChromium(const Locations& home) {
  const std::vector<ChromiumRoot> chrome{
      {"bookmark_bar",
       Folder("Bookmarks bar",
              {Leaf("GitHub", "https://github.com/"), Leaf("Wikipedia", "https://www.wikipedia.org/"),
               Folder("Tools", {Leaf("Regex tester", "https://regex101.com/"),
                                Folder("Old tools", {Leaf("Dead link checker", "https://checker.invalid/")})}),
               Folder("Empty")})},
      {"other", Folder("Other bookmarks", {Leaf("\xe7\xbb\xb4\xe5\x9f\xba\xe7\x99\xbe\xe7\xa7\x91", "https://zh.wikipedia.org/"),
                                           Leaf("Apple", "https://www.apple.com/"),
                                           Leaf("Staging server", "http://staging.invalid/")})},
      {"synced", Folder("Mobile bookmarks", {Leaf("Weather", "https://weather.example.com/")})}};
  const std::vector<ChromiumRoot> edge{
      {"bookmark_bar", Folder("Favorites bar", {Leaf("Microsoft", "https://www.microsoft.com/"),
                                                Leaf("GitHub", "https://github.com/"),
                                                Folder("Work", {Leaf("Team wiki", "https://wiki.invalid/team")})})},
      {"other", Folder("Other favorites", {Leaf("DuckDuckGo", "https://duckduckgo.com/")})},
      {"synced", Folder("Mobile favorites")}};
  const std::vector<ChromiumRoot> opera{
      {"bookmark_bar",
       Folder("Bookmarks bar", {Leaf("Opera", "https://www.opera.com/"),
                                Folder("Reading", {Leaf("Wikipedia", "https://www.wikipedia.org/"),
                                                   Folder("Deep", {Leaf("Archive", "https://archive.invalid/")})})})},
      {"other", Folder("Other bookmarks", {Leaf("Speed dial help", "https://help.opera.com/")})},
      {"synced", Folder("Mobile")}};
  for (const auto& [file, roots] : {std::pair(home.chromeDefaultBookmarks(), &chrome),
                                    std::pair(home.edgeBookmarks(), &edge), std::pair(home.operaBookmarks(), &opera)})
    if (auto r = WriteChromiumBookmarks(file, *roots); !r) return r;
  return {};
}

Result<void> WriteFirefox(const Locations& home) {
  FirefoxBookmarks bookmarks;
  bookmarks.menu = {Folder("Mozilla Firefox", {Leaf("Get Help", "https://support.mozilla.org/products/firefox"),
                                               Leaf("About Us", "https://www.mozilla.org/about/")}),
                    Separator(), Folder("Someday"), Leaf("Wikipedia", "https://www.wikipedia.org/")};
  bookmarks.toolbar = {Leaf("Getting Started", "https://www.mozilla.org/firefox/central/"),
                       Leaf("Most Visited", "place:sort=8&maxResults=10"),
                       Folder("Work", {Leaf("Intranet", "http://intranet.invalid/"),
                                       Folder("Docs", {Leaf("MDN Web Docs", "https://developer.mozilla.org/"),
                                                       Leaf("SQLite Documentation", "https://www.sqlite.org/docs.html")})})};
  // A tag: a folder under "tags" holding an untitled entry for each tagged address.
  bookmarks.tags = {Folder("reading", {Leaf("", "https://www.wikipedia.org/"), Leaf("", "https://developer.mozilla.org/")})};
  bookmarks.unfiled = {Leaf("GitHub", "https://github.com/"), Leaf("Apple", "https://www.apple.com/")};
  bookmarks.mobile = {Leaf("Weather", "https://weather.example.com/")};
  auto places = PlacesDatabase::Create();
  if (!places) return places.failure();
  if (auto r = places->AddBookmarks(bookmarks); !r) return r;
  auto written = WriteFirefoxProfile(home, "x7k2m9qa.default-release", *places);
  if (!written) return written.failure();
  return {};
}

}  // namespace

Result<void> WriteDemoBookmarks(const Locations& home) {
  if (!home.safariBookmarks().empty())
    if (auto r = WriteSafari(home); !r) return r;
  if (auto r = WriteChromium(home); !r) return r;
  return WriteFirefox(home);
}

}  // namespace linvara::profile
