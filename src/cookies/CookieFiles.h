#pragma once
// Cookie files as a whole: telling the two kinds apart, reading either kind,
// removing every cookie of a file and exporting a list as text.
#include <filesystem>
#include <string>

#include "cookies/PRCookFileNode.h"
#include "model/Result.h"

namespace linvara {

enum class CookieFileKind { Unknown, Binary, Database };

// Magics, compared with the hexadecimal text of the file's first bytes without
// regard to the case of the hexadecimal digits.
inline constexpr const char* kBinaryCookieMagicHex = "636f6f6b";                  // "cook", first 4 bytes
inline constexpr const char* kSqliteMagicHex = "53514C69746520666F726D6174203300";  // "SQLite format 3\0", first 16 bytes

// The kind of the file at `path`; Unknown when it cannot be opened or matches neither magic.
CookieFileKind DetectCookieFileKind(const std::filesystem::path& path);

// Appends the cookies of a file of the given kind to `cookArray`.
void ReadCookieFile(const std::filesystem::path& path, CookieFileKind kind, CookieList& cookArray);

// Removes every cookie of the file: a binary cookie file takes the content of
// the "samplecookies" resource in one step; a database loses every row of its
// cookie table and is compacted. A binary file whose layout is not that of a
// cookie file is refused (Malformed) and left unchanged.
Result<void> RemoveCookieData(const std::filesystem::path& path, bool binaryCookie);

// "Website:%@  Name:%@  Secure:%@  Path:%@  Value:%@  ", "(null)" for unset properties.
std::string CookieExportRecord(const PRCookFileNode& node);
// Creates the folder (with its parents) and writes every entry's record,
// each followed by two line feeds, to folder/"cookiedata.txt" in one step.
Result<void> ExportCookieData(const CookieList& cookies, const std::filesystem::path& folder);

}  // namespace linvara
