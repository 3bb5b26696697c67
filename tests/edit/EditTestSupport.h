#pragma once
// Helpers for the editing tests: trees read from generated or real files, and
// entries of a rebuilt tree found by their path of titles.
#include <sstream>
#include <string>
#include <vector>

#include "model/Json.h"
#include "model/PropertyList.h"
#include "profile/SafariBookmarksFile.h"
#include "readers/ChromiumReader.h"
#include "readers/ReaderTestSupport.h"
#include "readers/SafariReader.h"

namespace linvara::testing {

// A tree read the way the Safari (2) or Chrome (3) view reads it.
struct TreeHarness {
  TempDir dir;
  BookmarkLists lists;
  ReaderContext ctx;
  explicit TreeHarness(int view) : ctx{lists, view, {}} {}
  void ReadSafari(const std::filesystem::path& file) { Must(SafariReader(ctx).ReadSafariBookMark(file)); }
  void ReadSafari(const DictPtr& root) {
    Must(profile::WriteSafariPropertyList(dir / "in.plist", root, profile::PlistFormat::Xml));
    ReadSafari(dir / "in.plist");
  }
  void ReadChrome(const std::filesystem::path& file) { Must(ChromiumReader(ctx).ReadChromeBookMark(file)); }
  void ReadChrome(const std::string& json) {
    WriteText(dir / "Bookmarks", json);
    ReadChrome(dir / "Bookmarks");
  }
};

inline std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  std::istringstream in(path);
  for (std::string part; std::getline(in, part, '/');) parts.push_back(part);
  return parts;
}

// The node at a path of titles ("Top/Mid/X") below a top-level list.
inline NodePtr FindNode(const NodeList& top, const std::string& path) {
  NodeList level = top;
  NodePtr found;
  for (const std::string& title : Split(path)) {
    found = nullptr;
    for (const NodePtr& n : level)
      if (OrNull(n->thetitle()) == title) found = n;
    if (!found) return nullptr;
    level = ChildrenOf(found);
  }
  return found;
}

// A raw entry's label: its text, folder title, bookmark title (Safari or Chromium) or "Note".
inline std::string Label(const Value& entry) {
  if (const std::string* s = entry.asString()) return *s;
  DictPtr d = entry.asDict();
  if (!d) return "?";
  for (const char* key : {"Title", "name", "Note"})
    if (auto s = d->getString(key)) return *s;
  if (DictPtr uri = d->getDict("URIDictionary"))
    if (auto s = uri->getString("title")) return *s;
  return "?";
}

// A value as the tables write it: "-" absent, text, a dictionary's text keys as "k=v,...", children labels
// joined by "|".
inline std::string Render(const Value& v) {
  if (v.isNull()) return "-";
  if (const std::string* s = v.asString()) return *s;
  if (DictPtr d = v.asDict()) {
    std::string out;
    for (const auto& [key, value] : *d)
      if (const std::string* text = value.asString()) out += (out.empty() ? "" : ",") + key + "=" + *text;
    return out;
  }
  if (ArrayPtr a = v.asArray()) {
    std::string out;
    for (const Value& item : *a) out += (out.empty() ? "" : "|") + Label(item);
    return out;
  }
  return "?";
}

// The raw entry at a path of labels in a children array ("children" or "Children" below).
inline DictPtr EntryAt(const ArrayPtr& children, const std::string& path) {
  ArrayPtr level = children;
  DictPtr found;
  for (const std::string& label : Split(path)) {
    found = nullptr;
    for (const Value& item : level ? level->items() : std::vector<Value>{})
      if (Label(item) == label) found = item.asDict();
    if (!found) return nullptr;
    level = found->getArray("Children") ? found->getArray("Children") : found->getArray("children");
  }
  return found;
}

// Rows of expectations on a rebuilt tree: the entry at a path, one of its keys, the rendered value. The
// empty path stands for the top-level list itself.
struct KeyRow {
  std::string path;
  std::string key;
  std::string expected;
};
inline void ExpectRows(const ArrayPtr& children, const std::vector<KeyRow>& rows) {
  for (const auto& [path, key, expected] : rows) {
    SCOPED_TRACE(path + " " + key);
    if (path.empty()) {
      EXPECT_EQ(Render(Value(children)), expected);
      continue;
    }
    DictPtr entry = EntryAt(children, path);
    ASSERT_TRUE(entry) << "no entry";
    EXPECT_EQ(Render(entry->get(key)), expected);
  }
}

}  // namespace linvara::testing
