#pragma once
// Chrome's cookie database (SQLite, table "cookies").
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cookies/PRCookFileNode.h"
#include "model/Result.h"

namespace linvara {

// Folds the write-ahead log into the main file when the database already uses
// one. A database in rollback-journal mode is left exactly as it is.
void commitDB(const std::filesystem::path& path);

// Appends the cookies of the database to `cookArray`, in the order the
// database returns them. The query is built from the columns the table has:
// "is_secure" or "secure" (secure when 1), "encrypted_value" as described
// bytes, else the plain "value", "expires_utc" as a date when not 0. Read from
// a private snapshot (platform/DatabaseSnapshot): the committed rows, the log
// included, without writing or locking the browser's files. A missing file, a
// file that is no database or has no cookie table adds nothing.
void ReadCookDatabaseFileWithPath(const std::filesystem::path& path, CookieList& cookArray);

// "delete from cookies", then "VACUUM;". Fails for a missing file or any
// failing statement.
Result<void> RemoveAllDatabaseCookies(const std::filesystem::path& path);

// ---- Writing (demo profile, tests) ----

// One row of Chrome's cookie table.
struct ChromeCookieRow {
  std::string host;
  std::string name;
  std::string value;           // plain value; current Chrome leaves it empty
  std::string encryptedValue;  // stored bytes ("v10" + ciphertext on macOS)
  std::string path = "/";
  std::int64_t creationUtc = 0;  // microseconds since 1601-01-01 UTC
  std::int64_t expiresUtc = 0;   // 0: a session cookie
  bool secure = false;
  bool httpOnly = false;
};

// The bytes of a cookie database with Chrome's current schema (meta version 24:
// "is_secure", "encrypted_value", "top_frame_site_key", ...) holding the rows.
Result<std::string> BuildChromeCookieDatabase(const std::vector<ChromeCookieRow>& rows);

}  // namespace linvara
