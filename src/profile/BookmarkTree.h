#pragma once
// The tree description every browser-file builder takes: one struct for a
// bookmark, a folder and the few special entries, shared by Safari, the
// Chromium family and Firefox.
#include <functional>
#include <string>
#include <vector>

#include "model/Value.h"

namespace linvara::profile {

enum class EntryKind {
  Bookmark,
  Folder,
  Separator,  // Firefox only; the other builders leave it out
  Proxy,      // Safari only ("History"); the other builders leave it out
};

struct BookmarkEntry {
  EntryKind kind = EntryKind::Bookmark;
  std::string title;
  std::string url;
  std::vector<BookmarkEntry> children;
  // The identifier the readers show as the bookmark's UUID: Safari's
  // "WebBookmarkUUID", Chromium's "id", Firefox's "guid". Made up when empty.
  std::string uuid;
  // Raw keys laid over the record as written: Safari dictionary keys,
  // Chromium JSON keys, Firefox moz_bookmarks columns.
  DictPtr extra;
};

BookmarkEntry Leaf(std::string title, std::string url, std::string uuid = "");
BookmarkEntry Folder(std::string title, std::vector<BookmarkEntry> children = {}, std::string uuid = "");
BookmarkEntry Separator();
BookmarkEntry Proxy(std::string title);
// The entry with one more raw key.
BookmarkEntry WithKey(BookmarkEntry entry, const std::string& key, Value value);

// `depth` folders named "<title> 1" to "<title> depth", each inside the one
// before, the innermost holding `innermost`.
BookmarkEntry NestedFolders(int depth, BookmarkEntry innermost, const std::string& title = "Level");

// `count` bookmarks in `folders` folders "Folder 0", "Folder 1", ...: each
// folder gets count / folders of them, the last one the rest as well.
// `make(folder, index)` makes the index-th bookmark of a folder.
std::vector<BookmarkEntry> FoldersOfBookmarks(int count, int folders,
                                              const std::function<BookmarkEntry(int folder, int index)>& make);

// A well-formed UUID that depends only on `seed`, so generated files are the
// same on every run.
std::string StableUuid(const std::string& seed, bool upperCase);

}  // namespace linvara::profile
