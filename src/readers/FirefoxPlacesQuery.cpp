// The SQL side of the Firefox reader: moz_bookmarks with every address, and
// the tags root, read from an open snapshot of places.sqlite.
#include <sqlite3.h>

#include <cstdlib>

#include "readers/FirefoxReader.h"
#include "readers/PlacesRows.h"

namespace fs = std::filesystem;

namespace linvara {

std::int32_t LeadingInt(const OptString& text) {
  if (!text) return 0;
  return static_cast<std::int32_t>(std::strtoll(text->c_str(), nullptr, 10));
}

bool NonEmpty(const OptString& s) { return s && !s->empty(); }

std::int32_t IdOrMinusOne(const OptString& text) { return NonEmpty(text) ? LeadingInt(text) : -1; }

namespace {

constexpr const char* kAddressQuery = "select moz_places.url from moz_places where moz_places.id= ?";

OptString ColumnText(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  if (!text) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

// Finalizes the statement when it goes out of scope.
struct Statement {
  sqlite3_stmt* handle = nullptr;
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(handle); }
};

Error Failure(sqlite3* db, const fs::path& places, const std::string& what) {
  return Fail(places.string() + ": " + what + ": " + sqlite3_errmsg(db), ErrorKind::Malformed);
}

// The bookmark query with the columns this database has; a missing column reads as NULL.
Result<std::string> BookmarkQuery(sqlite3* db, const fs::path& places) {
  Statement info;
  if (sqlite3_prepare_v2(db, "pragma table_info(moz_bookmarks)", -1, &info.handle, nullptr) != SQLITE_OK)
    return Failure(db, places, "not a places database");
  std::vector<std::string> present;
  int rc;
  while ((rc = sqlite3_step(info.handle)) == SQLITE_ROW)
    if (OptString name = ColumnText(info.handle, 1)) present.push_back(*name);
  if (rc != SQLITE_DONE) return Failure(db, places, "moz_bookmarks");
  if (present.empty()) return Fail(places.string() + ": not a places database (no moz_bookmarks)", ErrorKind::Malformed);
  auto column = [&](const char* name) {
    for (const auto& p : present)
      if (sqlite3_stricmp(p.c_str(), name) == 0) return std::string("moz_bookmarks.") + name;
    return std::string("NULL");
  };
  return "select " + column("type") + "," + column("id") + "," + column("parent") + "," + column("fk") + "," +
         column("title") + "," + column("syncStatus") + "," + column("guid") + "," + column("dateAdded") +
         " from moz_bookmarks ";
}

// Files without guids name their tags root in moz_bookmarks_roots.
Result<std::optional<std::int32_t>> TagsRootFromRootsTable(sqlite3* db, const fs::path& places) {
  Statement exists;
  if (sqlite3_prepare_v2(db, "select 1 from sqlite_master where type='table' and name='moz_bookmarks_roots'", -1,
                         &exists.handle, nullptr) != SQLITE_OK)
    return Failure(db, places, "schema");
  const int found = sqlite3_step(exists.handle);
  if (found == SQLITE_DONE) return std::optional<std::int32_t>();
  if (found != SQLITE_ROW) return Failure(db, places, "schema");
  Statement roots;
  if (sqlite3_prepare_v2(db, "select folder_id from moz_bookmarks_roots where root_name='tags'", -1, &roots.handle,
                         nullptr) != SQLITE_OK)
    return Failure(db, places, "moz_bookmarks_roots");
  std::optional<std::int32_t> id;
  int rc;
  while ((rc = sqlite3_step(roots.handle)) == SQLITE_ROW) id = sqlite3_column_int(roots.handle, 0);
  if (rc != SQLITE_DONE) return Failure(db, places, "moz_bookmarks_roots");
  return id;
}

}  // namespace

Result<std::string> FirefoxReader::GetUrlStringwithSqlite(sqlite3* db, std::int32_t fk) {
  if (!urlStatement_ && sqlite3_prepare_v2(db, kAddressQuery, -1, &urlStatement_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(urlStatement_);
    urlStatement_ = nullptr;
    return Fail(std::string("not a places database (no moz_places): ") + sqlite3_errmsg(db), ErrorKind::Malformed);
  }
  sqlite3_reset(urlStatement_);
  sqlite3_bind_int(urlStatement_, 1, fk);
  std::string url;
  int rc;
  while ((rc = sqlite3_step(urlStatement_)) == SQLITE_ROW) {
    OptString text = ColumnText(urlStatement_, 0);
    if (NonEmpty(text)) url = *text;
  }
  sqlite3_reset(urlStatement_);
  if (rc != SQLITE_DONE) return Fail(std::string("moz_places: ") + sqlite3_errmsg(db), ErrorKind::Malformed);
  return url;
}

Result<PlacesRows> FirefoxReader::QueryRows(sqlite3* db, const fs::path& places) {
  struct FinalizeAddressQuery {
    sqlite3_stmt*& statement;
    ~FinalizeAddressQuery() {
      sqlite3_finalize(statement);
      statement = nullptr;
    }
  } finalize{urlStatement_};

  auto query = BookmarkQuery(db, places);
  if (!query) return query.failure();
  // Without moz_places the file is not a places database, even before the first bookmark row.
  if (auto probe = GetUrlStringwithSqlite(db, 0); !probe) return Fail(places.string() + ": " + probe.error(), ErrorKind::Malformed);

  PlacesRows result;
  Statement statement;
  if (sqlite3_prepare_v2(db, query->c_str(), -1, &statement.handle, nullptr) != SQLITE_OK)
    return Failure(db, places, "moz_bookmarks");
  int rc;
  while ((rc = sqlite3_step(statement.handle)) == SQLITE_ROW) {
    PlacesRow row;
    row.type = ColumnText(statement.handle, 0);
    if (!NonEmpty(row.type)) continue;
    row.id = ColumnText(statement.handle, 1);
    row.parent = ColumnText(statement.handle, 2);
    row.fk = ColumnText(statement.handle, 3);
    row.title = ColumnText(statement.handle, 4);
    row.guid = ColumnText(statement.handle, 6);
    if (LeadingInt(row.type) == kPlacesBookmarkType && NonEmpty(row.fk)) {
      auto url = GetUrlStringwithSqlite(db, LeadingInt(row.fk));
      if (!url) return Fail(places.string() + ": " + url.error(), ErrorKind::Malformed);
      row.url = std::move(*url);
    }
    if (row.guid && *row.guid == kTagsRootGuid) result.tagsRootId = IdOrMinusOne(row.id);
    result.rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) return Failure(db, places, "moz_bookmarks");
  if (!result.tagsRootId) {
    auto tags = TagsRootFromRootsTable(db, places);
    if (!tags) return tags.failure();
    result.tagsRootId = *tags;
  }
  return result;
}

}  // namespace linvara
