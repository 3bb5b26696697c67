#include "profile/BookmarkTree.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

namespace linvara::profile {

BookmarkEntry Leaf(std::string title, std::string url, std::string uuid) {
  return {EntryKind::Bookmark, std::move(title), std::move(url), {}, std::move(uuid), nullptr};
}

BookmarkEntry Folder(std::string title, std::vector<BookmarkEntry> children, std::string uuid) {
  return {EntryKind::Folder, std::move(title), "", std::move(children), std::move(uuid), nullptr};
}

BookmarkEntry Separator() { return {EntryKind::Separator, "", "", {}, "", nullptr}; }

BookmarkEntry Proxy(std::string title) { return {EntryKind::Proxy, std::move(title), "", {}, "", nullptr}; }

BookmarkEntry WithKey(BookmarkEntry entry, const std::string& key, Value value) {
  entry.extra = entry.extra ? entry.extra->copy() : Dictionary::make();
  entry.extra->set(key, std::move(value));
  return entry;
}

BookmarkEntry NestedFolders(int depth, BookmarkEntry innermost, const std::string& title) {
  BookmarkEntry inside = std::move(innermost);
  for (int level = depth; level >= 1; --level)
    inside = Folder(title + " " + std::to_string(level), {std::move(inside)});
  return inside;
}

std::vector<BookmarkEntry> FoldersOfBookmarks(int count, int folders,
                                              const std::function<BookmarkEntry(int folder, int index)>& make) {
  std::vector<BookmarkEntry> out;
  if (folders <= 0) return out;
  const int perFolder = count / folders;
  for (int f = 0; f < folders; ++f) {
    const int size = f == folders - 1 ? count - perFolder * (folders - 1) : perFolder;
    BookmarkEntry folder = Folder("Folder " + std::to_string(f));
    folder.children.reserve(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) folder.children.push_back(make(f, i));
    out.push_back(std::move(folder));
  }
  return out;
}

std::string StableUuid(const std::string& seed, bool upperCase) {
  std::uint64_t h1 = 1469598103934665603ULL, h2 = 1099511628211ULL;
  for (unsigned char c : seed) {
    h1 = (h1 ^ c) * 1099511628211ULL;
    h2 = (h2 + c) * 6364136223846793005ULL + 1442695040888963407ULL;
  }
  char out[37];
  std::snprintf(out, sizeof out, "%08x-%04x-4%03x-%04x-%012llx", static_cast<unsigned>(h1 >> 32),
                static_cast<unsigned>(h1 >> 16) & 0xffff, static_cast<unsigned>(h1) & 0xfff,
                (static_cast<unsigned>(h2 >> 48) & 0x3fff) | 0x8000,
                static_cast<unsigned long long>(h2 & 0xffffffffffffULL));
  std::string s(out);
  if (upperCase)
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace linvara::profile
