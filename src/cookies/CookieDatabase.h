#pragma once
// Chrome's cookie database (SQLite, table "cookies").
#include <filesystem>

#include "cookies/PRCookFileNode.h"
#include "model/Result.h"

namespace linvara {

// Folds the write-ahead log into the main file when the database already uses
// one. A database in rollback-journal mode is left exactly as it is.
void commitDB(const std::filesystem::path& path);

// Appends the cookies of the database to `cookArray`, in the order the
// database returns them. The query is built from the columns the table has:
// "is_secure" or "secure" (secure when 1), "encrypted_value" as described
// bytes, else the plain "value", "expires_utc" as a date when not 0. Read
// through a read-only connection (immutable when the file is locked); a
// missing file, a file that is no database or has no cookie table adds nothing.
void ReadCookDatabaseFileWithPath(const std::filesystem::path& path, CookieList& cookArray);

// "delete from cookies", then "VACUUM;". Fails for a missing file or any
// failing statement.
Result<void> RemoveAllDatabaseCookies(const std::filesystem::path& path);

}  // namespace linvara
