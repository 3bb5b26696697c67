#include "cookies/CookieDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string>

#include "cookies/CookieText.h"
#include "platform/DatabaseSnapshot.h"

namespace fs = std::filesystem;

namespace linvara {

namespace {

// Closes the connection when it goes out of scope.
struct Connection {
  sqlite3* db = nullptr;
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() {
    if (db) sqlite3_close(db);
  }
};

struct Statement {
  sqlite3_stmt* stmt = nullptr;
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() {
    if (stmt) sqlite3_finalize(stmt);
  }
};

bool FileExists(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

std::optional<std::string> ColumnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  const int length = sqlite3_column_bytes(stmt, column);
  if (text == nullptr || length <= 0 || text[0] == '\0') return std::nullopt;
  return GetStringFormChar(std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length)));
}

// Builds the select from the columns the table has; nothing when there is no table.
std::optional<std::string> BuildCookieQuery(sqlite3* db, int* errorCode) {
  Statement info;
  *errorCode = sqlite3_prepare_v2(db, "PRAGMA table_info(cookies)", -1, &info.stmt, nullptr);
  if (*errorCode != SQLITE_OK) return std::nullopt;
  std::set<std::string> columns;
  int rc;
  while ((rc = sqlite3_step(info.stmt)) == SQLITE_ROW) {
    const unsigned char* name = sqlite3_column_text(info.stmt, 1);
    if (name) {
      std::string lower(reinterpret_cast<const char*>(name));
      std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
      columns.insert(lower);
    }
  }
  if (rc != SQLITE_DONE) {
    *errorCode = rc;
    return std::nullopt;
  }
  *errorCode = SQLITE_OK;
  if (columns.empty()) return std::nullopt;
  auto pick = [&](std::initializer_list<const char*> names, const char* fallback) -> std::string {
    for (const char* name : names)
      if (columns.count(name)) return name;
    return fallback;
  };
  return "select " + pick({"host_key"}, "NULL") + "," + pick({"name"}, "NULL") + "," + pick({"path"}, "NULL") + "," +
         pick({"expires_utc"}, "0") + "," + pick({"is_secure", "secure"}, "0") + "," + pick({"has_expires"}, "0") +
         "," + pick({"encrypted_value"}, "NULL") + "," + pick({"value"}, "NULL") + " from cookies";
}

CookieNodePtr RowToNode(sqlite3_stmt* stmt) {
  auto node = std::make_shared<PRCookFileNode>();
  node->fileHost = ColumnText(stmt, 0);
  node->fileName = ColumnText(stmt, 1);
  node->filePath = ColumnText(stmt, 2);
  const sqlite3_int64 expires = sqlite3_column_int64(stmt, 3);
  if (expires != 0)
    node->expiredDate = GetNSStringDate(GetDateTime(ChromeTimeToUnixSeconds(expires), kDateSecondsSince1970));
  if (sqlite3_column_int64(stmt, 4) == 1) node->secureValue = "YES";
  node->hasExpired = sqlite3_column_int64(stmt, 5) == 1;
  const void* blob = sqlite3_column_blob(stmt, 6);
  const int blobSize = sqlite3_column_bytes(stmt, 6);
  if (blob != nullptr && blobSize > 0) {
    node->fileValue = DescribeBytes(std::string_view(static_cast<const char*>(blob), static_cast<std::size_t>(blobSize)));
  } else {
    node->fileValue = ColumnText(stmt, 7);
  }
  return node;
}

// The rows of a private snapshot of the database, opened normally so that a
// log is replayed and a cut-off transaction rolled back in the copy only.
int ReadRows(const fs::path& path, CookieList& rows) {
  auto snapshot = DatabaseSnapshot::Take(path);
  if (!snapshot) return SQLITE_CANTOPEN;
  Connection conn;
  int rc = sqlite3_open_v2(snapshot->database().c_str(), &conn.db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) return rc;
  auto query = BuildCookieQuery(conn.db, &rc);
  if (!query) return rc;
  Statement select;
  rc = sqlite3_prepare_v2(conn.db, query->c_str(), -1, &select.stmt, nullptr);
  if (rc != SQLITE_OK) return rc;
  while ((rc = sqlite3_step(select.stmt)) == SQLITE_ROW) rows.push_back(RowToNode(select.stmt));
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

}  // namespace

void commitDB(const fs::path& path) {
  if (!FileExists(path)) return;
  Connection conn;
  if (sqlite3_open_v2(path.c_str(), &conn.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return;
  Statement mode;
  if (sqlite3_prepare_v2(conn.db, "PRAGMA journal_mode;", -1, &mode.stmt, nullptr) != SQLITE_OK) return;
  if (sqlite3_step(mode.stmt) != SQLITE_ROW) return;
  const unsigned char* text = sqlite3_column_text(mode.stmt, 0);
  std::string journal = text ? reinterpret_cast<const char*>(text) : "";
  std::transform(journal.begin(), journal.end(), journal.begin(), [](unsigned char c) { return std::tolower(c); });
  sqlite3_finalize(mode.stmt);
  mode.stmt = nullptr;
  if (journal == "wal") sqlite3_wal_checkpoint(conn.db, nullptr);
}

void ReadCookDatabaseFileWithPath(const fs::path& path, CookieList& cookArray) {
  if (!FileExists(path)) return;
  CookieList rows;
  if (ReadRows(path, rows) != SQLITE_OK) return;
  cookArray.insert(cookArray.end(), rows.begin(), rows.end());
}

Result<void> RemoveAllDatabaseCookies(const fs::path& path) {
  if (!FileExists(path)) return Fail("no cookie database at " + path.string());
  commitDB(path);
  Connection conn;
  if (sqlite3_open_v2(path.c_str(), &conn.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
    return Fail("cannot open " + path.string() + (conn.db ? std::string(": ") + sqlite3_errmsg(conn.db) : ""));
  sqlite3_busy_timeout(conn.db, 1000);
  {
    Statement del;
    if (sqlite3_prepare_v2(conn.db, "delete from cookies", -1, &del.stmt, nullptr) != SQLITE_OK)
      return Fail(std::string("delete from cookies: ") + sqlite3_errmsg(conn.db));
    if (sqlite3_step(del.stmt) != SQLITE_DONE) return Fail(std::string("delete from cookies: ") + sqlite3_errmsg(conn.db));
  }
  if (sqlite3_exec(conn.db, "VACUUM;", nullptr, nullptr, nullptr) != SQLITE_OK)
    return Fail(std::string("VACUUM: ") + sqlite3_errmsg(conn.db));
  return {};
}

}  // namespace linvara

namespace linvara {

namespace {
constexpr const char* kChromeCookieSchema =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "CREATE TABLE cookies(creation_utc INTEGER NOT NULL,host_key TEXT NOT NULL,top_frame_site_key TEXT NOT NULL,"
    "name TEXT NOT NULL,value TEXT NOT NULL,encrypted_value BLOB NOT NULL,path TEXT NOT NULL,"
    "expires_utc INTEGER NOT NULL,is_secure INTEGER NOT NULL,is_httponly INTEGER NOT NULL,"
    "last_access_utc INTEGER NOT NULL,has_expires INTEGER NOT NULL,is_persistent INTEGER NOT NULL,"
    "priority INTEGER NOT NULL,samesite INTEGER NOT NULL,source_scheme INTEGER NOT NULL,"
    "source_port INTEGER NOT NULL,last_update_utc INTEGER NOT NULL,source_type INTEGER NOT NULL,"
    "has_cross_site_ancestor INTEGER NOT NULL);"
    "CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, has_cross_site_ancestor, "
    "name, path, source_scheme, source_port);"
    "INSERT INTO meta VALUES('mmap_status','-1');"
    "INSERT INTO meta VALUES('version','24');"
    "INSERT INTO meta VALUES('last_compatible_version','24');";
}  // namespace

Result<std::string> BuildChromeCookieDatabase(const std::vector<ChromeCookieRow>& rows) {
  Connection conn;
  if (sqlite3_open_v2(":memory:", &conn.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
    return Fail("cannot create an in-memory database");
  auto failed = [&](const char* what) { return Fail(std::string(what) + ": " + sqlite3_errmsg(conn.db)); };
  if (sqlite3_exec(conn.db, kChromeCookieSchema, nullptr, nullptr, nullptr) != SQLITE_OK) return failed("schema");
  {
    Statement insert;
    if (sqlite3_prepare_v2(conn.db,
                           "INSERT INTO cookies VALUES(?1,?2,'',?3,?4,?5,?6,?7,?8,?9,?1,?10,?10,1,-1,2,443,?1,0,0)",
                           -1, &insert.stmt, nullptr) != SQLITE_OK)
      return failed("insert");
    for (const auto& row : rows) {
      sqlite3_reset(insert.stmt);
      sqlite3_bind_int64(insert.stmt, 1, row.creationUtc);
      sqlite3_bind_text(insert.stmt, 2, row.host.data(), static_cast<int>(row.host.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(insert.stmt, 3, row.name.data(), static_cast<int>(row.name.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(insert.stmt, 4, row.value.data(), static_cast<int>(row.value.size()), SQLITE_TRANSIENT);
      sqlite3_bind_blob(insert.stmt, 5, row.encryptedValue.data(), static_cast<int>(row.encryptedValue.size()),
                        SQLITE_TRANSIENT);
      sqlite3_bind_text(insert.stmt, 6, row.path.data(), static_cast<int>(row.path.size()), SQLITE_TRANSIENT);
      sqlite3_bind_int64(insert.stmt, 7, row.expiresUtc);
      sqlite3_bind_int(insert.stmt, 8, row.secure ? 1 : 0);
      sqlite3_bind_int(insert.stmt, 9, row.httpOnly ? 1 : 0);
      sqlite3_bind_int(insert.stmt, 10, row.expiresUtc != 0 ? 1 : 0);
      if (sqlite3_step(insert.stmt) != SQLITE_DONE) return failed("insert");
    }
  }
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(conn.db, "main", &size, 0);
  if (bytes == nullptr) return failed("serialize");
  std::string out(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
  sqlite3_free(bytes);
  return out;
}

}  // namespace linvara
