#include "crypto/EncryptedPage.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "crypto/PageResources.h"
#include "model/FileBytes.h"
#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara {

namespace {

constexpr std::size_t kMaxUuidLength = 64;
constexpr std::uint64_t kPageSizeLimit = std::uint64_t{1} << 20;

struct PageFileSource {
  const char* fileName;
  const char* resourceName;
  const char* resourceType;
};
constexpr std::array<PageFileSource, 3> kPageFiles = {{
    {"encrypt.html", "index", "html"},
    {"encrypt.js", "encrypt", "js"},
    {"style.css", "style", "css"},
}};

bool IsPlainFolder(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() == fs::file_type::directory;
}

std::string ReplaceAll(std::string text, std::string_view what, std::string_view with) {
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

}  // namespace

bool IsSafePageUuid(std::string_view uuid) {
  return !uuid.empty() && uuid.size() <= kMaxUuidLength && std::all_of(uuid.begin(), uuid.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
         });
}

fs::path PageFolder(const fs::path& dataFolder, std::string_view uuid) { return dataFolder / std::string(uuid); }
fs::path PageFile(const fs::path& dataFolder, std::string_view uuid) { return PageFolder(dataFolder, uuid) / "encrypt.html"; }

std::string FileUrlOfPath(const fs::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path.string()) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

Result<void> WritePageFolder(const fs::path& dataFolder, std::string_view uuid, std::string_view payload) {
  if (!IsSafePageUuid(uuid)) return Fail("unsafe bookmark UUID", ErrorKind::Other);
  const fs::path folder = PageFolder(dataFolder, uuid);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!IsPlainFolder(folder)) return Fail("cannot make the page folder " + folder.string(), ErrorKind::WriteFailed);
  for (const PageFileSource& file : kPageFiles) {
    const auto resource = FindPageResource(file.resourceName, file.resourceType);
    if (!resource) continue;  // a missing resource leaves its file unwritten
    const std::string bytes = file.resourceType == std::string_view("html")
                                  ? ReplaceAll(std::string(*resource), kPagePlaceholder, payload)
                                  : std::string(*resource);
    auto written = WriteFileAtomically(folder / file.fileName, bytes);
    if (!written) return written;
  }
  return {};
}

Result<std::string> ReadPagePayload(const fs::path& dataFolder, std::string_view uuid) {
  if (!IsSafePageUuid(uuid)) return Fail("unsafe bookmark UUID", ErrorKind::Other);
  auto page = ReadFileBytes(PageFile(dataFolder, uuid), kPageSizeLimit);
  if (!page) return page.failure();
  const std::size_t field = page->find("id=\"originalContent\"");
  const std::size_t start = field == std::string::npos ? field : page->find('>', field);
  const std::size_t end = start == std::string::npos ? start : page->find('<', start);
  if (end == std::string::npos) return Fail("no payload in the page", ErrorKind::Malformed);
  return page->substr(start + 1, end - start - 1);
}

Result<void> RemovePageFolder(const fs::path& dataFolder, std::string_view uuid) {
  if (!IsSafePageUuid(uuid)) return Fail("unsafe bookmark UUID", ErrorKind::Other);
  const fs::path folder = PageFolder(dataFolder, uuid);
  std::error_code ec;
  if (fs::symlink_status(folder, ec).type() == fs::file_type::not_found) return {};
  if (!IsPlainFolder(folder) || !IsPlainFolder(dataFolder))
    return Fail(folder.string() + " is not a page folder", ErrorKind::Other);
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const bool pageFile = std::any_of(kPageFiles.begin(), kPageFiles.end(),
                                      [&](const PageFileSource& f) { return name == f.fileName; });
    if (!pageFile || it->symlink_status(ec).type() != fs::file_type::regular)
      return Fail(folder.string() + " holds more than the page", ErrorKind::Other);
    files.push_back(it->path());
  }
  if (ec) return Fail("cannot list " + folder.string(), ErrorKind::Unreadable);
  for (const fs::path& file : files) fs::remove(file, ec);
  if (!fs::remove(folder, ec) || ec) return Fail("cannot delete " + folder.string(), ErrorKind::WriteFailed);
  return {};
}

}  // namespace linvara
