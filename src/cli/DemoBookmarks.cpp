// Demo profile: the bookmark files of every browser under a macOS-layout home.
// Safari's Bookmarks.plist (binary, with the favourites bar, menu, reading
// list, History proxy, nested and empty folders and an encrypted-looking
// address), Chrome, Edge and Opera "Bookmarks" files in Chromium's own form
// (checksum, guid, date_added), and a Firefox places.sqlite with Firefox's
// schema. Duplicates across browsers and unreachable ".invalid" addresses give
// every feature something to show.
#include <sqlite3.h>
#include <unicode/ustring.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/DemoProfile.h"
#include "model/Json.h"
#include "model/PropertyList.h"
#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara::cli {
namespace {

// ---- Shared helpers ----

Result<void> WriteBookmarkFile(const fs::path& target, const std::string& bytes) {
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) return Fail("cannot create " + target.parent_path().string() + ": " + ec.message());
  return WriteFileAtomically(target, bytes);
}

// A fixed, well-formed identifier per name, so the demo is the same on every run.
std::string DemoUuid(const std::string& seed, bool upper) {
  std::uint64_t h1 = 1469598103934665603ULL, h2 = 1099511628211ULL;
  for (unsigned char c : seed) {
    h1 = (h1 ^ c) * 1099511628211ULL;
    h2 = (h2 + c) * 6364136223846793005ULL + 1442695040888963407ULL;
  }
  char out[37];
  std::snprintf(out, sizeof out, "%08x-%04x-4%03x-%04x-%012llx", static_cast<unsigned>(h1 >> 32),
                static_cast<unsigned>(h1 >> 16) & 0xffff, static_cast<unsigned>(h1) & 0xfff,
                (static_cast<unsigned>(h2 >> 48) & 0x3fff) | 0x8000,
                static_cast<unsigned long long>(h2 & 0xffffffffffffULL));
  std::string s(out);
  if (upper)
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// ---- MD5, for the checksum Chromium keeps in its bookmark file ----

class Md5 {
 public:
  void Update(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      buffer_[bufferSize_++] = p[i];
      if (bufferSize_ == 64) {
        Block(buffer_.data());
        bufferSize_ = 0;
      }
    }
    length_ += size;
  }
  void Update(const std::string& s) { Update(s.data(), s.size()); }
  std::string HexDigest() {
    std::uint64_t bits = length_ * 8;
    std::uint8_t pad = 0x80;
    Update(&pad, 1);
    std::uint8_t zero = 0;
    while (bufferSize_ != 56) Update(&zero, 1);
    std::uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    Update(lengthBytes, 8);
    std::string hex;
    static const char* kHex = "0123456789abcdef";
    for (std::uint32_t word : state_)
      for (int i = 0; i < 4; ++i) {
        std::uint8_t b = static_cast<std::uint8_t>(word >> (8 * i));
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
      }
    return hex;
  }

 private:
  static std::uint32_t Rotate(std::uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }
  void Block(const std::uint8_t* block) {
    static const std::uint32_t kK[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
        0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
        0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
        0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
        0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
        0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
        0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
    static const int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                   5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                   4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                   6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i)
      m[i] = static_cast<std::uint32_t>(block[i * 4]) | (static_cast<std::uint32_t>(block[i * 4 + 1]) << 8) |
             (static_cast<std::uint32_t>(block[i * 4 + 2]) << 16) | (static_cast<std::uint32_t>(block[i * 4 + 3]) << 24);
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
      std::uint32_t f;
      int g;
      if (i < 16) {
        f = (b & c) | (~b & d);
        g = i;
      } else if (i < 32) {
        f = (d & b) | (~d & c);
        g = (5 * i + 1) % 16;
      } else if (i < 48) {
        f = b ^ c ^ d;
        g = (3 * i + 5) % 16;
      } else {
        f = c ^ (b | ~d);
        g = (7 * i) % 16;
      }
      std::uint32_t next = d;
      d = c;
      c = b;
      b = b + Rotate(a + f + kK[i] + m[g], kShift[i]);
      a = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
  }
  std::array<std::uint32_t, 4> state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t bufferSize_ = 0;
  std::uint64_t length_ = 0;
};

std::string Utf16Le(const std::string& utf8) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  std::vector<UChar> units(static_cast<std::size_t>(length) + 1);
  status = U_ZERO_ERROR;
  u_strFromUTF8(units.data(), length + 1, nullptr, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  std::string out;
  for (int32_t i = 0; i < length; ++i) {
    out += static_cast<char>(units[static_cast<std::size_t>(i)] & 0xff);
    out += static_cast<char>(units[static_cast<std::size_t>(i)] >> 8);
  }
  return out;
}

// ---- Safari ----

struct SafariEntry {
  enum Kind { Leaf, List, Proxy } kind;
  std::string title;
  std::string url;
  std::vector<SafariEntry> children;
  bool favoritesBar = false;
  bool readingList = false;
};

SafariEntry Leaf(std::string title, std::string url) { return {SafariEntry::Leaf, std::move(title), std::move(url), {}}; }
SafariEntry List(std::string title, std::vector<SafariEntry> children) {
  return {SafariEntry::List, std::move(title), "", std::move(children)};
}

Value SafariValue(const SafariEntry& e, const std::string& where) {
  auto d = Dictionary::make();
  const std::string uuid = DemoUuid("safari" + where + e.title + e.url, true);
  switch (e.kind) {
    case SafariEntry::Leaf: {
      if (e.readingList) {
        auto reading = Dictionary::make();
        reading->set("DateAdded", Date{7.3e8});
        reading->set("PreviewText", "Saved for later: " + e.title);
        d->set("ReadingList", reading);
        auto nonSync = Dictionary::make();
        nonSync->set("neverFetchMetadata", false);
        nonSync->set("siteName", e.title);
        d->set("ReadingListNonSync", nonSync);
      }
      auto uri = Dictionary::make();
      uri->set("title", e.title);
      d->set("URIDictionary", uri);
      d->set("URLString", e.url);
      d->set("WebBookmarkType", "WebBookmarkTypeLeaf");
      d->set("WebBookmarkUUID", uuid);
      break;
    }
    case SafariEntry::List: {
      auto children = Array::make();
      for (const auto& c : e.children) children->append(SafariValue(c, where + "/" + e.title));
      d->set("Children", children);
      if (e.favoritesBar) {
        auto sync = Dictionary::make();
        sync->set("ServerID", "Favorites Bar");
        d->set("Sync", sync);
      }
      d->set("Title", e.title);
      d->set("WebBookmarkType", "WebBookmarkTypeList");
      d->set("WebBookmarkUUID", uuid);
      if (e.readingList) d->set("ShouldOmitFromUI", true);
      break;
    }
    case SafariEntry::Proxy:
      d->set("Title", e.title);
      d->set("WebBookmarkIdentifier", e.title);
      d->set("WebBookmarkType", "WebBookmarkTypeProxy");
      d->set("WebBookmarkUUID", uuid);
      break;
  }
  return d;
}

Result<void> BuildSafari(const Locations& home) {
  SafariEntry bar = List("BookmarksBar", {Leaf("Apple", "https://www.apple.com/"),
                                          Leaf("Wikipedia", "https://www.wikipedia.org/"),
                                          List("News", {Leaf("BBC News", "https://www.bbc.co.uk/news"),
                                                        Leaf("The Guardian", "https://www.theguardian.com/")}),
                                          List("Dev", {List("Docs", {Leaf("cppreference", "https://en.cppreference.com/"),
                                                                     Leaf("SQLite Documentation",
                                                                          "https://www.sqlite.org/docs.html")}),
                                                       Leaf("GitHub", "https://github.com/")})});
  bar.favoritesBar = true;
  SafariEntry menu = List("BookmarksMenu", {Leaf("Old project wiki", "https://old-project.invalid/wiki"),
                                            List("Empty folder", {}),
                                            List("Recipes", {Leaf("Apple pie", "https://recipes.example.com/apple-pie"),
                                                             Leaf("Bread", "https://recipes.example.com/bread")}),
                                            Leaf("DuckDuckGo", "https://duckduckgo.com/")});
  SafariEntry reading = List("com.apple.ReadingList",
                             {Leaf("The SQLite file format", "https://www.sqlite.org/fileformat.html"),
                              Leaf("A long read", "https://longreads.example.com/story")});
  reading.readingList = true;
  for (auto& item : reading.children) item.readingList = true;
  // An address inside the data folder: a bookmark hidden behind a password.
  const std::string encrypted =
      "file://" + home.home().string() + "/Library/Application Support/Linvara/" + DemoUuid("locked", true) +
      "/encrypt.html";
  std::vector<SafariEntry> top = {{SafariEntry::Proxy, "History", "", {}}, bar, menu,
                                  Leaf("DuckDuckGo", "https://duckduckgo.com/"), Leaf("Bank (locked)", encrypted),
                                  Leaf("Intranet", "http://intranet.invalid/"), reading};

  auto root = Dictionary::make();
  auto children = Array::make();
  for (const auto& e : top) children->append(SafariValue(e, ""));
  root->set("Children", children);
  auto sync = Dictionary::make();
  sync->set("CloudKitMigrationState", 0);
  root->set("Sync", sync);
  root->set("Title", "");
  root->set("WebBookmarkFileVersion", 1);
  root->set("WebBookmarkType", "WebBookmarkTypeList");
  root->set("WebBookmarkUUID", DemoUuid("safari-root", true));
  auto bytes = SerializePropertyListBinary(Value(root));
  if (!bytes) return Fail("Safari bookmarks: " + bytes.error());
  return WriteBookmarkFile(home.safariBookmarks(), *bytes);
}

// ---- Chromium family ----

struct ChromiumEntry {
  std::string name;
  std::string url;  // empty: a folder
  std::vector<ChromiumEntry> children;
};

ChromiumEntry Url(std::string name, std::string url) { return {std::move(name), std::move(url), {}}; }
ChromiumEntry Folder(std::string name, std::vector<ChromiumEntry> children) {
  return {std::move(name), "", std::move(children)};
}

// Microseconds since 1601, as Chromium stores times.
std::string ChromiumTime(int step) { return std::to_string(13350000000000000LL + step * 86400000000LL); }

class ChromiumWriter {
 public:
  explicit ChromiumWriter(std::string browser) : browser_(std::move(browser)) {}

  Value Entry(const ChromiumEntry& e) {
    const std::string id = std::to_string(nextId_++);
    const bool folder = e.url.empty();
    md5_.Update(id);
    md5_.Update(Utf16Le(e.name));
    md5_.Update(folder ? "folder" : "url");
    if (!folder) md5_.Update(e.url);
    auto d = Dictionary::make();
    if (folder) {
      auto children = Array::make();
      for (const auto& c : e.children) children->append(Entry(c));
      d->set("children", children);
    }
    d->set("date_added", ChromiumTime(nextId_));
    d->set("date_last_used", "0");
    if (folder) d->set("date_modified", ChromiumTime(nextId_ + 1));
    d->set("guid", DemoUuid(browser_ + id + e.name, false));
    d->set("id", id);
    d->set("name", e.name);
    d->set("type", folder ? "folder" : "url");
    if (!folder) d->set("url", e.url);
    return d;
  }

  std::string File(const ChromiumEntry& bar, const ChromiumEntry& other, const ChromiumEntry& mobile) {
    auto roots = Dictionary::make();
    roots->set("bookmark_bar", Entry(bar));
    roots->set("other", Entry(other));
    roots->set("synced", Entry(mobile));
    auto file = Dictionary::make();
    file->set("checksum", md5_.HexDigest());
    file->set("roots", roots);
    file->set("version", 1);
    return SerializeJson(Value(file), 3);
  }

 private:
  std::string browser_;
  int nextId_ = 1;
  Md5 md5_;
};

Result<void> BuildChrome(const Locations& home) {
  ChromiumWriter writer("chrome");
  std::string text = writer.File(
      Folder("Bookmarks bar",
             {Url("GitHub", "https://github.com/"), Url("Wikipedia", "https://www.wikipedia.org/"),
              Folder("Tools", {Url("Regex tester", "https://regex101.com/"),
                               Folder("Old tools", {Url("Dead link checker", "https://checker.invalid/")})}),
              Folder("Empty", {})}),
      Folder("Other bookmarks", {Url("\xe7\xbb\xb4\xe5\x9f\xba\xe7\x99\xbe\xe7\xa7\x91", "https://zh.wikipedia.org/"),
                                 Url("Apple", "https://www.apple.com/"),
                                 Url("Staging server", "http://staging.invalid/")}),
      Folder("Mobile bookmarks", {Url("Weather", "https://weather.example.com/")}));
  return WriteBookmarkFile(home.chromeDefaultBookmarks(), text);
}

Result<void> BuildEdge(const Locations& home) {
  ChromiumWriter writer("edge");
  std::string text =
      writer.File(Folder("Favorites bar", {Url("Microsoft", "https://www.microsoft.com/"),
                                           Url("GitHub", "https://github.com/"),
                                           Folder("Work", {Url("Team wiki", "https://wiki.invalid/team")})}),
                  Folder("Other favorites", {Url("DuckDuckGo", "https://duckduckgo.com/")}),
                  Folder("Mobile favorites", {}));
  return WriteBookmarkFile(home.edgeBookmarks(), text);
}

Result<void> BuildOpera(const Locations& home) {
  ChromiumWriter writer("opera");
  std::string text = writer.File(
      Folder("Bookmarks bar", {Url("Opera", "https://www.opera.com/"),
                               Folder("Reading", {Url("Wikipedia", "https://www.wikipedia.org/"),
                                                  Folder("Deep", {Url("Archive", "https://archive.invalid/")})})}),
      Folder("Other bookmarks", {Url("Speed dial help", "https://help.opera.com/")}), Folder("Mobile", {}));
  return WriteBookmarkFile(home.operaBookmarks(), text);
}

// ---- Firefox ----

constexpr const char* kFirefoxSchema = R"(
CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL, frecency INTEGER NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, recalc_alt_frecency INTEGER NOT NULL DEFAULT 0, UNIQUE (prefix, host));
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT, preview_image_url TEXT, site_name TEXT, origin_id INTEGER REFERENCES moz_origins(id), recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL, triggeringPlaceId INTEGER);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER, PRIMARY KEY (place_id, input));
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER, lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE TABLE moz_bookmarks_deleted (guid TEXT PRIMARY KEY, dateRemoved INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER, post_data TEXT);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY, item_id INTEGER NOT NULL, anno_attribute_id INTEGER, content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_meta (key TEXT PRIMARY KEY, value NOT NULL) WITHOUT ROWID;
CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);
CREATE INDEX moz_places_hostindex ON moz_places (rev_host);
CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);
PRAGMA user_version = 75;
)";

class PlacesWriter {
 public:
  explicit PlacesWriter(sqlite3* db) : db_(db) {}
  bool ok = true;

  int Place(const std::string& url, const std::string& title) {
    for (const auto& [known, id] : places_)
      if (known == url) return id;
    int id = static_cast<int>(places_.size()) + 1;
    places_.emplace_back(url, id);
    std::string host;
    if (auto start = url.find("://"); start != std::string::npos)
      host = url.substr(start + 3, url.find('/', start + 3) - start - 3);
    std::string revHost(host.rbegin(), host.rend());
    Run("INSERT INTO moz_places (id, url, title, rev_host, guid, foreign_count, frecency) VALUES (?1, ?2, ?3, ?4, ?5, 1, 100)",
        {std::to_string(id), url, title, revHost + ".", DemoUuid("place" + url, false).substr(0, 12)});
    return id;
  }
  int Item(int type, int parent, const std::string& title, int fk, const std::string& guid = "") {
    int id = nextItem_++;
    int position = positions_[parent]++;
    Run("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified, guid, syncStatus) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?7, ?8, 1)",
        {std::to_string(id), std::to_string(type), fk > 0 ? std::to_string(fk) : std::string(), std::to_string(parent),
         std::to_string(position), title, std::to_string(1714557600000000LL + id * 1000000LL),
         guid.empty() ? DemoUuid("item" + std::to_string(id), false).substr(0, 12) : guid},
        /*nullWhenEmpty=*/true, type == 1 && title.empty());
    return id;
  }
  int Bookmark(int parent, const std::string& title, const std::string& url) {
    return Item(1, parent, title, Place(url, title));
  }
  int FolderRow(int parent, const std::string& title, const std::string& guid = "") {
    return Item(2, parent, title, 0, guid);
  }

 private:
  void Run(const std::string& sql, const std::vector<std::string>& args, bool nullWhenEmpty = false,
           bool nullTitle = false) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      ok = false;
      return;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
      const int index = static_cast<int>(i) + 1;
      const bool isTitle = nullTitle && i == 5;
      if ((nullWhenEmpty && args[i].empty() && i == 2) || isTitle)
        sqlite3_bind_null(st, index);
      else
        sqlite3_bind_text(st, index, args[i].c_str(), -1, SQLITE_TRANSIENT);
    }
    if (sqlite3_step(st) != SQLITE_DONE) ok = false;
    sqlite3_finalize(st);
  }
  sqlite3* db_;
  std::vector<std::pair<std::string, int>> places_;
  std::map<int, int> positions_;
  int nextItem_ = 1;
};

Result<void> BuildFirefox(const Locations& home) {
  sqlite3* db = nullptr;
  if (sqlite3_open(":memory:", &db) != SQLITE_OK) {
    sqlite3_close(db);
    return Fail("Firefox places: cannot open a database in memory");
  }
  std::string bytes;
  bool ok = sqlite3_exec(db, kFirefoxSchema, nullptr, nullptr, nullptr) == SQLITE_OK;
  PlacesWriter w(db);
  if (ok) {
    const int root = w.FolderRow(0, "", "root________");
    const int menu = w.FolderRow(root, "menu", "menu________");
    const int toolbar = w.FolderRow(root, "toolbar", "toolbar_____");
    const int tags = w.FolderRow(root, "tags", "tags________");
    const int unfiled = w.FolderRow(root, "unfiled", "unfiled_____");
    const int mobile = w.FolderRow(root, "mobile", "mobile______");

    const int mozilla = w.FolderRow(menu, "Mozilla Firefox");
    w.Bookmark(mozilla, "Get Help", "https://support.mozilla.org/products/firefox");
    w.Bookmark(mozilla, "About Us", "https://www.mozilla.org/about/");
    w.Item(3, menu, "", 0);  // a separator
    w.FolderRow(menu, "Someday");  // empty
    w.Bookmark(menu, "Wikipedia", "https://www.wikipedia.org/");

    w.Bookmark(toolbar, "Getting Started", "https://www.mozilla.org/firefox/central/");
    w.Bookmark(toolbar, "Most Visited", "place:sort=8&maxResults=10");
    const int work = w.FolderRow(toolbar, "Work");
    w.Bookmark(work, "Intranet", "http://intranet.invalid/");
    const int docs = w.FolderRow(work, "Docs");
    w.Bookmark(docs, "MDN Web Docs", "https://developer.mozilla.org/");
    w.Bookmark(docs, "SQLite Documentation", "https://www.sqlite.org/docs.html");

    w.Bookmark(unfiled, "GitHub", "https://github.com/");
    w.Bookmark(unfiled, "Apple", "https://www.apple.com/");
    w.Bookmark(mobile, "Weather", "https://weather.example.com/");

    // A tag: a folder under "tags" holding an untitled entry for each tagged address.
    const int reading = w.FolderRow(tags, "reading");
    w.Item(1, reading, "", w.Place("https://www.wikipedia.org/", "Wikipedia"));
    w.Item(1, reading, "", w.Place("https://developer.mozilla.org/", "MDN Web Docs"));
    ok = w.ok;
  }
  if (ok) {
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
    if (data && size > 20) {
      bytes.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
      bytes[18] = bytes[19] = 2;  // WAL mode, as Firefox keeps it
    } else {
      ok = false;
    }
    sqlite3_free(data);
  }
  sqlite3_close(db);
  if (!ok) return Fail("Firefox places: the demo database could not be built");
  return WriteBookmarkFile(home.firefoxProfilesFolder() / "x7k2m9qa.default-release" / "places.sqlite", bytes);
}

Result<void> BuildDemoBookmarks(const Locations& home) {
  for (auto* build : {&BuildSafari, &BuildChrome, &BuildEdge, &BuildOpera, &BuildFirefox})
    if (auto r = build(home); !r) return r;
  return {};
}

const DemoPartRegistrar kBookmarks{"bookmarks", BuildDemoBookmarks};

}  // namespace
}  // namespace linvara::cli
