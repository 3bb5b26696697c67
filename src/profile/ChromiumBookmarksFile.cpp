#include "profile/ChromiumBookmarksFile.h"

#include <unicode/ustring.h>

#include <map>

#include "model/Json.h"
#include "profile/Md5.h"
#include "profile/ProfileFile.h"

namespace linvara::profile {
namespace {

std::string Utf16Le(const std::string& utf8) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  std::vector<UChar> units(static_cast<std::size_t>(length) + 1);
  status = U_ZERO_ERROR;
  u_strFromUTF8(units.data(), length + 1, nullptr, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  std::string out;
  for (int32_t i = 0; i < length; ++i) {
    out += static_cast<char>(units[static_cast<std::size_t>(i)] & 0xff);
    out += static_cast<char>(units[static_cast<std::size_t>(i)] >> 8);
  }
  return out;
}

// Microseconds since 1601, as Chromium stores times: one day apart per step.
std::string ChromiumTime(int step) { return std::to_string(13350000000000000LL + step * 86400000000LL); }

class ChromiumWriter {
 public:
  Value Entry(const BookmarkEntry& e) {
    const bool folder = e.kind == EntryKind::Folder;
    const int serial = ++serial_;
    const std::string id = e.uuid.empty() ? std::to_string(++lastNumber_) : e.uuid;
    checksum_.Update(id);
    checksum_.Update(Utf16Le(e.title));
    checksum_.Update(folder ? "folder" : "url");
    if (!folder) checksum_.Update(e.url);
    std::map<std::string, Value> keys;
    if (folder) {
      auto children = Array::make();
      for (const auto& c : e.children)
        if (c.kind == EntryKind::Bookmark || c.kind == EntryKind::Folder) children->append(Entry(c));
      keys["children"] = children;
      keys["date_modified"] = ChromiumTime(serial + 2);
    } else {
      keys["url"] = e.url;
    }
    keys["date_added"] = ChromiumTime(serial + 1);
    keys["date_last_used"] = "0";
    keys["guid"] = StableUuid("chromium" + id + e.title, false);
    keys["id"] = id;
    keys["name"] = e.title;
    keys["type"] = folder ? "folder" : "url";
    if (e.extra)
      for (const auto& [key, value] : *e.extra) keys[key] = value;
    auto d = Dictionary::make();
    for (auto& [key, value] : keys) d->set(key, std::move(value));
    return d;
  }
  std::string Checksum() { return checksum_.HexDigest(); }

 private:
  int serial_ = 0;
  int lastNumber_ = 0;
  Md5 checksum_;
};

}  // namespace

std::vector<ChromiumRoot> ChromiumRoots(std::vector<BookmarkEntry> bar, std::vector<BookmarkEntry> other) {
  return {{"bookmark_bar", Folder("Bookmarks bar", std::move(bar))}, {"other", Folder("Other bookmarks", std::move(other))}};
}

Value ChromiumBookmarksValue(const std::vector<ChromiumRoot>& roots) {
  ChromiumWriter writer;
  auto rootsDict = Dictionary::make();
  for (const auto& root : roots) rootsDict->set(root.key, writer.Entry(root.folder));
  auto file = Dictionary::make();
  file->set("checksum", writer.Checksum());
  file->set("roots", rootsDict);
  file->set("version", 1);
  return file;
}

std::string ChromiumBookmarksText(const std::vector<ChromiumRoot>& roots) {
  return SerializeJson(ChromiumBookmarksValue(roots), 3);
}

Result<void> WriteChromiumBookmarks(const std::filesystem::path& file, const std::vector<ChromiumRoot>& roots) {
  return WriteProfileFile(file, ChromiumBookmarksText(roots));
}

}  // namespace linvara::profile
