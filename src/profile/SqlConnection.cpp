#include "profile/SqlConnection.h"

#include <utility>

namespace linvara::profile {

Result<SqlConnection> SqlConnection::OpenName(const std::string& name) {
  sqlite3* db = nullptr;
  if (sqlite3_open(name.c_str(), &db) != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return Fail("cannot open " + name + ": " + message, ErrorKind::Unreadable);
  }
  return SqlConnection(db);
}

Result<SqlConnection> SqlConnection::InMemory() { return OpenName(":memory:"); }

Result<SqlConnection> SqlConnection::Open(const std::filesystem::path& file) { return OpenName(file.string()); }

SqlConnection::SqlConnection(SqlConnection&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

SqlConnection::~SqlConnection() { sqlite3_close(db_); }

Result<void> SqlConnection::Exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return Fail(text + " in " + sql);
  }
  return {};
}

Result<std::string> SqlConnection::QueryText(const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
    return Fail(std::string(sqlite3_errmsg(db_)) + " in " + sql);
  std::string out;
  const int step = sqlite3_step(st);
  if (step == SQLITE_ROW) {
    if (const unsigned char* text = sqlite3_column_text(st, 0)) out = reinterpret_cast<const char*>(text);
  }
  sqlite3_finalize(st);
  if (step != SQLITE_ROW && step != SQLITE_DONE) return Fail(std::string(sqlite3_errmsg(db_)) + " in " + sql);
  return out;
}

}  // namespace linvara::profile
