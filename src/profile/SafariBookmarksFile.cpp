#include "profile/SafariBookmarksFile.h"

#include <map>

#include "model/PropertyList.h"
#include "profile/ProfileFile.h"

namespace linvara::profile {
namespace {

// `where` is the path of titles above the entry; it seeds the made-up UUIDs.
DictPtr EntryDictionary(const BookmarkEntry& e, const std::string& where);

ArrayPtr ChildrenArray(const std::vector<BookmarkEntry>& children, const std::string& where) {
  auto array = Array::make();
  for (const auto& child : children)
    if (child.kind != EntryKind::Separator) array->append(EntryDictionary(child, where));
  return array;
}

DictPtr Sorted(std::map<std::string, Value> keys, const DictPtr& extra) {
  if (extra)
    for (const auto& [key, value] : *extra) keys[key] = value;
  auto d = Dictionary::make();
  for (auto& [key, value] : keys) d->set(key, std::move(value));
  return d;
}

DictPtr EntryDictionary(const BookmarkEntry& e, const std::string& where) {
  std::map<std::string, Value> keys;
  keys["WebBookmarkUUID"] = e.uuid.empty() ? StableUuid("safari" + where + e.title + e.url, true) : e.uuid;
  switch (e.kind) {
    case EntryKind::Bookmark: {
      auto uri = Dictionary::make();
      uri->set("title", e.title);
      keys["URIDictionary"] = uri;
      keys["URLString"] = e.url;
      keys["WebBookmarkType"] = "WebBookmarkTypeLeaf";
      break;
    }
    case EntryKind::Folder:
    case EntryKind::Separator:
      keys["Children"] = ChildrenArray(e.children, where + "/" + e.title);
      keys["Title"] = e.title;
      keys["WebBookmarkType"] = "WebBookmarkTypeList";
      break;
    case EntryKind::Proxy:
      keys["Title"] = e.title;
      keys["WebBookmarkIdentifier"] = e.title;
      keys["WebBookmarkType"] = "WebBookmarkTypeProxy";
      break;
  }
  return Sorted(std::move(keys), e.extra);
}

}  // namespace

DictPtr SafariDictionary(const BookmarkEntry& entry) { return EntryDictionary(entry, ""); }

DictPtr SafariRootDictionary(const std::vector<BookmarkEntry>& top) {
  std::map<std::string, Value> keys;
  keys["Children"] = ChildrenArray(top, "");
  keys["Title"] = "";
  keys["WebBookmarkFileVersion"] = 1;
  keys["WebBookmarkType"] = "WebBookmarkTypeList";
  keys["WebBookmarkUUID"] = StableUuid("safari-root", true);
  return Sorted(std::move(keys), nullptr);
}

Result<std::string> SafariPropertyListBytes(const Value& root, PlistFormat format) {
  return format == PlistFormat::Binary ? SerializePropertyListBinary(root) : SerializePropertyListXml(root);
}

Result<void> WriteSafariPropertyList(const std::filesystem::path& file, const Value& root, PlistFormat format) {
  auto bytes = SafariPropertyListBytes(root, format);
  if (!bytes) return Fail("Safari bookmarks: " + bytes.error(), ErrorKind::Malformed);
  return WriteProfileFile(file, *bytes);
}

Result<void> WriteSafariBookmarks(const std::filesystem::path& file, const std::vector<BookmarkEntry>& top,
                                  PlistFormat format) {
  return WriteSafariPropertyList(file, SafariRootDictionary(top), format);
}

}  // namespace linvara::profile
