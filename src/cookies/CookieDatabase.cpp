#include "cookies/CookieDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string>

#include "cookies/CookieText.h"

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

// "file:" URI for a path, every byte outside the unreserved set escaped.
std::string FileUri(const fs::path& path, bool immutable) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : path.string()) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri.push_back(static_cast<char>(c));
    } else {
      uri.push_back('%');
      uri.push_back(kHex[c >> 4]);
      uri.push_back(kHex[c & 0x0f]);
    }
  }
  uri += immutable ? "?mode=ro&immutable=1" : "?mode=ro";
  return uri;
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

// One read attempt; the SQLite result code of the first failure, SQLITE_OK otherwise.
int ReadRows(const fs::path& path, bool immutable, CookieList& rows) {
  Connection conn;
  int rc = sqlite3_open_v2(FileUri(path, immutable).c_str(), &conn.db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  if (rc != SQLITE_OK) return rc;
  auto query = BuildCookieQuery(conn.db, &rc);
  if (!query) return rc;
  Statement select;
  rc = sqlite3_prepare_v2(conn.db, query->c_str(), -1, &select.stmt, nullptr);
  if (rc != SQLITE_OK) return rc;
  while ((rc = sqlite3_step(select.stmt)) == SQLITE_ROW) rows.push_back(RowToNode(select.stmt));
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Failures that another process's lock or a folder we may not write can cause.
bool WorthReadingImmutable(int rc) {
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_PROTOCOL:
      return true;
    default:
      return false;
  }
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
  commitDB(path);
  CookieList rows;
  int rc = ReadRows(path, false, rows);
  if (rc != SQLITE_OK && WorthReadingImmutable(rc)) {
    rows.clear();
    rc = ReadRows(path, true, rows);
  }
  if (rc != SQLITE_OK) return;
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
