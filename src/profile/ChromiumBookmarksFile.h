#pragma once
// The "Bookmarks" file of Chrome, Edge and Opera from a tree description, in
// Chromium's own form: every entry has "date_added", "date_last_used", "guid",
// "id", "name", "type" (and "url", or "children" and "date_modified"); ids
// are numbered in file order unless the entry has a uuid; "checksum" is the
// MD5 Chromium computes over ids, names, types and addresses. Keys in
// alphabetical order, an entry's extra keys laid over them; three-space indent.
#include <filesystem>
#include <string>
#include <vector>

#include "model/Result.h"
#include "model/Value.h"
#include "profile/BookmarkTree.h"

namespace linvara::profile {

// One entry of "roots": "bookmark_bar", "other", "synced", or any other key.
struct ChromiumRoot {
  std::string key;
  BookmarkEntry folder;
};

// "bookmark_bar" ("Bookmarks bar") and "other" ("Other bookmarks") holding these entries.
std::vector<ChromiumRoot> ChromiumRoots(std::vector<BookmarkEntry> bar, std::vector<BookmarkEntry> other = {});

Value ChromiumBookmarksValue(const std::vector<ChromiumRoot>& roots);
std::string ChromiumBookmarksText(const std::vector<ChromiumRoot>& roots);
Result<void> WriteChromiumBookmarks(const std::filesystem::path& file, const std::vector<ChromiumRoot>& roots);

}  // namespace linvara::profile
