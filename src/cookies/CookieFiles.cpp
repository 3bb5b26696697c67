#include "cookies/CookieFiles.h"

#include <fstream>
#include <strings.h>

#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieDatabase.h"
#include "cookies/CookieText.h"
#include "export/PRRtfController.h"
#include "model/FileBytes.h"
#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara {

namespace {
bool ContainsIgnoringCase(const std::string& text, const char* needle) {
  const std::size_t n = std::char_traits<char>::length(needle);
  for (std::size_t i = 0; i + n <= text.size(); ++i)
    if (strncasecmp(text.c_str() + i, needle, n) == 0) return true;
  return false;
}
}  // namespace

CookieFileKind DetectCookieFileKind(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) return CookieFileKind::Unknown;
  auto head4 = getHexString(&file, 0, 4);
  if (head4 && ContainsIgnoringCase(GetStringFormChar(*head4), kBinaryCookieMagicHex)) return CookieFileKind::Binary;
  auto head16 = getHexString(&file, 0, 16);
  if (head16 && ContainsIgnoringCase(GetStringFormChar(*head16), kSqliteMagicHex)) return CookieFileKind::Database;
  return CookieFileKind::Unknown;
}

void ReadCookieFile(const fs::path& path, CookieFileKind kind, CookieList& cookArray) {
  std::vector<std::int32_t> pageSizes;
  switch (kind) {
    case CookieFileKind::Binary:
      ReadCookBinaryFileWithPath(path, pageSizes, cookArray);
      break;
    case CookieFileKind::Database:
      ReadCookDatabaseFileWithPath(path, cookArray);
      break;
    case CookieFileKind::Unknown:
      break;
  }
}

Result<void> RemoveCookieData(const fs::path& path, bool binaryCookie) {
  if (!binaryCookie) return RemoveAllDatabaseCookies(path);
  if (path.empty()) return Fail("no cookie file was scanned", ErrorKind::NotFound);
  // Only a file that is laid out as a cookie file is replaced: the magic alone
  // would let any text beginning "cook" be overwritten.
  auto bytes = ReadFileBytes(path);
  if (!bytes) return bytes.failure();
  if (!IsBinaryCookieLayoutConsistent(*bytes))
    return Fail(path.string() + " is not a Safari cookie file; it was left unchanged", ErrorKind::Malformed);
  return WriteFileAtomically(path, SampleCookiesBytes());
}

std::string CookieExportRecord(const PRCookFileNode& node) {
  return "Website:" + OrNullText(node.fileHost) + "  " + "Name:" + OrNullText(node.fileName) + "  " +
         "Secure:" + node.secureValue + "  " + "Path:" + OrNullText(node.filePath) + "  " +
         "Value:" + OrNullText(node.fileValue) + "  ";
}

Result<void> ExportCookieData(const CookieList& cookies, const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return Fail("cannot create " + folder.string() + ": " + ec.message());
  PRRtfController builder;
  for (const auto& node : cookies)
    if (node) builder.addRtfContent(CookieExportRecord(*node));
  return builder.writeRtfInPath(folder, "Note");
}

}  // namespace linvara
