#include "CookieTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace linvara::testing {

void ExecSql(const std::filesystem::path& db, const std::string& sql) {
  sqlite3* conn = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &conn), SQLITE_OK);
  char* message = nullptr;
  const int rc = sqlite3_exec(conn, sql.c_str(), nullptr, nullptr, &message);
  EXPECT_EQ(rc, SQLITE_OK) << (message ? message : "") << "\n" << sql;
  sqlite3_free(message);
  sqlite3_close(conn);
}

std::string QuerySql(const std::filesystem::path& db, const std::string& sql) {
  sqlite3* conn = nullptr;
  std::string out;
  if (sqlite3_open_v2(db.c_str(), &conn, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(conn, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
      if (const unsigned char* text = sqlite3_column_text(stmt, 0)) out = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(conn);
  return out;
}

}  // namespace linvara::testing
