#pragma once
// An SQLite connection: the in-memory databases the builders fill, and the
// changes a test makes to a file in place, as a running browser does (locks,
// write-ahead log, schema changes).
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "model/Result.h"

namespace linvara::profile {

class SqlConnection {
 public:
  // A database in memory.
  static Result<SqlConnection> InMemory();
  // The database file, created when missing.
  static Result<SqlConnection> Open(const std::filesystem::path& file);
  SqlConnection(SqlConnection&& other) noexcept;
  SqlConnection& operator=(SqlConnection&&) = delete;
  ~SqlConnection();

  Result<void> Exec(const std::string& sql);
  // The first column of the first row as text; "" when there is no row or it is NULL.
  Result<std::string> QueryText(const std::string& sql);
  sqlite3* handle() const { return db_; }

 private:
  explicit SqlConnection(sqlite3* db) : db_(db) {}
  static Result<SqlConnection> OpenName(const std::string& name);
  sqlite3* db_;
};

}  // namespace linvara::profile
