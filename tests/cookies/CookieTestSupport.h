#pragma once
// Helpers for the cookie tests (also used by the cookie tests of the CLI):
// the real cookie files, a fixed time zone, a cookie's fields in one list and
// small SQLite fixtures.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "cookies/PRCookFileNode.h"
#include "support/TestSupport.h"

namespace linvara::testing {

inline constexpr const char* kSafari2014 =
    "safari_binarycookies/safari-macos-2014_29pages-91cookies_Cookies.binarycookies";
inline constexpr const char* kSafari2017 = "safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies";
inline constexpr const char* kChromeSecure = "chrome_cookies/chrome-macos-2017_meta-v9_secure-encrypted_Cookies";
inline constexpr const char* kChrome68 = "chrome_cookies/chrome-68_meta-v10_is_secure_Cookies";
inline constexpr const char* kChromePlain = "chrome_cookies/chrome-old_meta-v5_no-encrypted_value_560cookies_Cookies";

// Sets TZ for the life of the object, so date texts are predictable.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old, hadOld_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (hadOld_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::string saved_;
  bool hadOld_ = false;
};

// Host, name, path, value, secure and expiry date; "<unset>" for a property without a value.
inline std::vector<std::string> Fields(const PRCookFileNode& c) {
  auto text = [](const std::optional<std::string>& s) { return s ? *s : std::string("<unset>"); };
  return {text(c.fileHost), text(c.fileName), text(c.filePath), text(c.fileValue), c.secureValue, text(c.expiredDate)};
}

// A copy of a real file (the code under test must never touch tests/data).
inline std::filesystem::path CopyTestFile(const char* name, const std::filesystem::path& to) {
  std::filesystem::create_directories(to.parent_path());
  std::filesystem::copy_file(TestData(name), to, std::filesystem::copy_options::overwrite_existing);
  return to;
}

// Runs SQL on a database (created when missing); fails the test on error.
inline void ExecSql(const std::filesystem::path& db, const std::string& sql) {
  sqlite3* conn = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &conn), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(conn, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
      << (message ? message : "") << "\n" << sql;
  sqlite3_free(message);
  sqlite3_close(conn);
}

// The first column of the first row as text ("" when there is none).
inline std::string QuerySql(const std::filesystem::path& db, const std::string& sql) {
  sqlite3* conn = nullptr;
  std::string out;
  if (sqlite3_open_v2(db.c_str(), &conn, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(conn, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
      if (const unsigned char* text = sqlite3_column_text(stmt, 0)) out = reinterpret_cast<const char*>(text);
    sqlite3_finalize(stmt);
  }
  sqlite3_close(conn);
  return out;
}

}  // namespace linvara::testing
