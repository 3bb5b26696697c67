#include "profile/FirefoxPlaces.h"

#include <algorithm>
#include <utility>

#include "profile/ProfileFile.h"

namespace fs = std::filesystem;

namespace linvara::profile {
namespace {

constexpr const char* kCurrentSchema = R"(
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

constexpr const char* kLegacySchema = R"(
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR, frecency INTEGER DEFAULT -1 NOT NULL);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER, lastModified INTEGER);
)";

std::string ReversedHost(const std::string& url) {
  std::string host;
  if (auto start = url.find("://"); start != std::string::npos)
    host = url.substr(start + 3, url.find('/', start + 3) - start - 3);
  return std::string(host.rbegin(), host.rend()) + ".";
}

std::string ShortGuid(const std::string& seed) { return StableUuid(seed, false).substr(0, 12); }

// Microseconds since 1970, one second apart per row.
std::int64_t RowTime(int id) { return 1714557600000000LL + id * 1000000LL; }

void Bind(sqlite3_stmt* st, int index, const Value& v) {
  if (auto i = v.asInt()) sqlite3_bind_int64(st, index, *i);
  else if (const std::string* s = v.asString()) sqlite3_bind_text(st, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
  else if (auto d = v.asNumber()) sqlite3_bind_double(st, index, *d);
  else sqlite3_bind_null(st, index);
}

}  // namespace

Result<PlacesDatabase> PlacesDatabase::Create(PlacesSchema schema) {
  auto connection = SqlConnection::InMemory();
  if (!connection) return connection.failure();
  PlacesDatabase places(std::move(*connection), schema);
  if (auto made = places.Exec(schema == PlacesSchema::Current ? kCurrentSchema : kLegacySchema); !made)
    return made.failure();
  return places;
}

PlacesDatabase::PlacesDatabase(PlacesDatabase&& other) noexcept
    : connection_(std::move(other.connection_)),
      schema_(other.schema_),
      placeInsert_(std::exchange(other.placeInsert_, nullptr)),
      rowInsert_(std::exchange(other.rowInsert_, nullptr)),
      placeIds_(std::move(other.placeIds_)),
      nextPosition_(std::move(other.nextPosition_)),
      lastPlaceId_(other.lastPlaceId_),
      lastRowId_(other.lastRowId_) {}

PlacesDatabase::~PlacesDatabase() {
  sqlite3_finalize(placeInsert_);
  sqlite3_finalize(rowInsert_);
}

Result<void> PlacesDatabase::Insert(const std::string& sql, const std::vector<Value>& args, sqlite3_stmt** cached) {
  sqlite3_stmt* st = cached ? *cached : nullptr;
  if (!st && sqlite3_prepare_v2(connection_.handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
    return Fail("places: " + std::string(sqlite3_errmsg(connection_.handle())));
  for (std::size_t i = 0; i < args.size(); ++i) Bind(st, static_cast<int>(i) + 1, args[i]);
  const bool done = sqlite3_step(st) == SQLITE_DONE;
  std::string error = done ? "" : sqlite3_errmsg(connection_.handle());
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
  if (cached) *cached = st;
  else sqlite3_finalize(st);
  if (!done) return Fail("places: " + error);
  return {};
}

Result<int> PlacesDatabase::AddPlace(const std::string& url, const std::string& title, int id) {
  if (auto known = placeIds_.find(url); known != placeIds_.end()) return known->second;
  if (id == 0) id = lastPlaceId_ + 1;
  lastPlaceId_ = std::max(lastPlaceId_, id);
  const bool current = schema_ == PlacesSchema::Current;
  auto inserted =
      current ? Insert("INSERT INTO moz_places (id, url, title, rev_host, guid, foreign_count, frecency) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, 1, 100)",
                       {id, url, title, ReversedHost(url), ShortGuid("place" + url)}, &placeInsert_)
              : Insert("INSERT INTO moz_places (id, url, title, rev_host, frecency) VALUES (?1, ?2, ?3, ?4, 100)",
                       {id, url, title, ReversedHost(url)}, &placeInsert_);
  if (!inserted) return inserted.failure();
  placeIds_.emplace(url, id);
  return id;
}

Result<void> PlacesDatabase::AddRow(const FirefoxRow& row) {
  lastRowId_ = std::max(lastRowId_, row.id);
  int& next = nextPosition_[row.parent];
  const int position = row.position >= 0 ? row.position : next;
  next = std::max(next, position + 1);
  const Value fk = row.fk > 0 ? Value(row.fk) : Value();
  const Value title = row.title ? Value(*row.title) : Value();
  if (schema_ == PlacesSchema::Legacy)
    return Insert("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?7)",
                  {row.id, row.type, fk, row.parent, position, title, RowTime(row.id)}, &rowInsert_);
  return Insert("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified, guid, "
                "syncStatus) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?7, ?8, 1)",
                {row.id, row.type, fk, row.parent, position, title, RowTime(row.id),
                 row.guid.empty() ? ShortGuid("item" + std::to_string(row.id)) : row.guid},
                &rowInsert_);
}

Result<void> PlacesDatabase::AddStandardRoots() {
  const std::pair<int, const char*> roots[] = {{kFirefoxMenuId, "menu"}, {kFirefoxToolbarId, "toolbar"},
                                               {kFirefoxTagsId, "tags"}, {kFirefoxUnfiledId, "unfiled"},
                                               {kFirefoxMobileId, "mobile"}};
  auto guid = [](std::string name) { return name + std::string(12 - name.size(), '_'); };
  if (auto r = AddRow({kFirefoxRootId, kFirefoxFolder, 0, "", 0, -1, guid("root")}); !r) return r;
  for (const auto& [id, name] : roots)
    if (auto r = AddRow({id, kFirefoxFolder, kFirefoxRootId, name, 0, -1, guid(name)}); !r) return r;
  return {};
}

Result<int> PlacesDatabase::AddEntry(int parent, const BookmarkEntry& e) {
  FirefoxRow row{lastRowId_ + 1, kFirefoxBookmark, parent, e.title, 0, -1, e.uuid};
  switch (e.kind) {
    case EntryKind::Bookmark: {
      auto place = AddPlace(e.url, e.title);
      if (!place) return place.failure();
      row.fk = *place;
      if (e.title.empty()) row.title.reset();
      break;
    }
    case EntryKind::Folder: row.type = kFirefoxFolder; break;
    case EntryKind::Separator: row.type = kFirefoxSeparator; break;
    case EntryKind::Proxy: return 0;
  }
  if (auto r = AddRow(row); !r) return r.failure();
  if (e.extra)
    for (const auto& [column, value] : *e.extra)
      if (auto r = Insert("UPDATE moz_bookmarks SET \"" + column + "\" = ?1 WHERE id = ?2", {value, row.id}, nullptr);
          !r)
        return r.failure();
  if (auto r = AddEntries(row.id, e.children); !r) return r.failure();
  return row.id;
}

Result<void> PlacesDatabase::AddEntries(int parent, const std::vector<BookmarkEntry>& entries) {
  const bool ownTransaction = sqlite3_get_autocommit(connection_.handle()) != 0;
  if (ownTransaction)
    if (auto r = Exec("BEGIN"); !r) return r;
  for (const auto& e : entries)
    if (auto r = AddEntry(parent, e); !r) {
      if (ownTransaction) (void)Exec("ROLLBACK");
      return r.failure();
    }
  return ownTransaction ? Exec("COMMIT") : Result<void>();
}

Result<void> PlacesDatabase::AddBookmarks(const FirefoxBookmarks& bookmarks) {
  if (auto r = AddStandardRoots(); !r) return r;
  // Tags last: a tag's entries point at addresses the bookmarks brought in.
  const std::pair<int, const std::vector<BookmarkEntry>*> roots[] = {
      {kFirefoxMenuId, &bookmarks.menu}, {kFirefoxToolbarId, &bookmarks.toolbar},
      {kFirefoxUnfiledId, &bookmarks.unfiled}, {kFirefoxMobileId, &bookmarks.mobile}, {kFirefoxTagsId, &bookmarks.tags}};
  for (const auto& [id, entries] : roots)
    if (auto r = AddEntries(id, *entries); !r) return r;
  return {};
}

Result<std::string> PlacesDatabase::Bytes(bool writeAheadLog) const {
  sqlite3_int64 size = 0;
  unsigned char* data = sqlite3_serialize(connection_.handle(), "main", &size, 0);
  if (!data || size < 20) {
    sqlite3_free(data);
    return Fail("places: the database could not be serialised");
  }
  std::string bytes(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
  sqlite3_free(data);
  if (writeAheadLog) bytes[18] = bytes[19] = 2;  // file format read and write versions: WAL
  return bytes;
}

Result<void> PlacesDatabase::Save(const fs::path& file, bool writeAheadLog) const {
  auto bytes = Bytes(writeAheadLog);
  if (!bytes) return bytes.failure();
  return WriteProfileFile(file, *bytes);
}

Result<void> WriteFirefoxProfilesIni(const fs::path& iniFolder, const fs::path& profileFolder) {
  const fs::path relative = profileFolder.lexically_relative(iniFolder);
  const bool isRelative = !relative.empty() && *relative.begin() != "..";
  const std::string name = profileFolder.filename().string();
  const std::string text = "[Profile0]\nName=" + name.substr(name.find('.') + 1) + "\nIsRelative=" +
                           (isRelative ? "1" : "0") + "\nPath=" +
                           (isRelative ? relative.generic_string() : profileFolder.string()) +
                           "\nDefault=1\n\n[General]\nStartWithLastProfile=1\nVersion=2\n";
  return WriteProfileFile(iniFolder / "profiles.ini", text);
}

Result<fs::path> WriteFirefoxProfile(const Locations& home, const std::string& profileName,
                                     const PlacesDatabase& places) {
  const fs::path profile = home.firefoxProfilesFolder() / profileName;
  if (auto r = places.Save(profile / "places.sqlite", /*writeAheadLog=*/true); !r) return r.failure();
  if (auto r = WriteFirefoxProfilesIni(home.firefoxIniFolder(), profile); !r) return r.failure();
  return profile / "places.sqlite";
}

}  // namespace linvara::profile
