#pragma once
// Safari's Bookmarks.plist from a tree description. Every dictionary has its
// keys in alphabetical order, as Safari writes them; an entry's extra keys are
// laid over the standard ones. Leaves: "URIDictionary" {"title"},
// "URLString", "WebBookmarkType" "WebBookmarkTypeLeaf", "WebBookmarkUUID".
// Folders: "Children", "Title", "WebBookmarkTypeList". Proxies: "Title",
// "WebBookmarkIdentifier", "WebBookmarkTypeProxy". Separators are left out.
#include <filesystem>
#include <string>
#include <vector>

#include "model/Result.h"
#include "model/Value.h"
#include "profile/BookmarkTree.h"

namespace linvara::profile {

enum class PlistFormat { Xml, Binary };

// One entry's dictionary, children included (tests may change it before writing).
DictPtr SafariDictionary(const BookmarkEntry& entry);
// The file's root: an untitled list holding `top`, "WebBookmarkFileVersion" 1.
DictPtr SafariRootDictionary(const std::vector<BookmarkEntry>& top);

Result<std::string> SafariPropertyListBytes(const Value& root, PlistFormat format);
Result<void> WriteSafariPropertyList(const std::filesystem::path& file, const Value& root,
                                     PlistFormat format = PlistFormat::Binary);
Result<void> WriteSafariBookmarks(const std::filesystem::path& file, const std::vector<BookmarkEntry>& top,
                                  PlistFormat format = PlistFormat::Binary);

}  // namespace linvara::profile
