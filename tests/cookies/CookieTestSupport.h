#pragma once
// Helpers for the cookie tests (also used by the cookie tests of the CLI):
// the real cookie files, a fixed time zone, a cookie's fields in one list and
// SQL run on a database file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "cookies/PRCookFileNode.h"
#include "profile/SqlConnection.h"
#include "support/TestSupport.h"

namespace linvara::testing {

inline constexpr const char* kSafari2014 =
    "safari_binarycookies/safari-macos-2014_29pages-91cookies_Cookies.binarycookies";
inline constexpr const char* kSafari2017 = "safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies";
inline constexpr const char* kChromeSecure = "chrome_cookies/chrome-macos-2017_meta-v9_secure-encrypted_Cookies";
inline constexpr const char* kChrome68 = "chrome_cookies/chrome-68_meta-v10_is_secure_Cookies";
inline constexpr const char* kChromePlain = "chrome_cookies/chrome-old_meta-v5_no-encrypted_value_560cookies_Cookies";

// Sets TZ for the life of the object, so date texts are predictable.
struct ScopedTimeZone {
  explicit ScopedTimeZone(const char* zone) : saved(std::getenv("TZ") ? std::getenv("TZ") : "") {
    setenv("TZ", zone, 1), tzset();
  }
  ~ScopedTimeZone() { saved.empty() ? unsetenv("TZ") : setenv("TZ", saved.c_str(), 1), tzset(); }
  std::string saved;
};

// Host, name, path, value, secure and expiry date; "<unset>" for a property without a value.
inline std::vector<std::string> Fields(const PRCookFileNode& c) {
  auto text = [](const std::optional<std::string>& s) { return s ? *s : std::string("<unset>"); };
  return {text(c.fileHost), text(c.fileName), text(c.filePath), text(c.fileValue), c.secureValue, text(c.expiredDate)};
}

// Runs SQL on a database (created when missing); fails the test on error.
inline void ExecSql(const std::filesystem::path& db, const std::string& sql) {
  auto conn = profile::SqlConnection::Open(db);
  ASSERT_TRUE(conn.ok()) << conn.error();
  auto done = conn->Exec(sql);
  EXPECT_TRUE(done.ok()) << done.error();
}

// The first column of the first row as text ("" when there is none).
inline std::string QuerySql(const std::filesystem::path& db, const std::string& sql) {
  auto conn = profile::SqlConnection::Open(db);
  auto text = conn.ok() ? conn->QueryText(sql) : Result<std::string>(conn.failure());
  return text.ok() ? *text : "";
}

}  // namespace linvara::testing
