#pragma once
// Helpers for the reader tests: a context over fresh lists, what the node
// lists hold, and the browser-file builders of src/profile.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "profile/FirefoxPlaces.h"
#include "profile/SafariBookmarksFile.h"
#include "readers/ReaderContext.h"
#include "support/TestSupport.h"

namespace linvara::testing {

using profile::BookmarkEntry;
using profile::Folder;
using profile::Leaf;

struct ReaderHarness {
  BookmarkLists lists;
  ReaderContext ctx{lists, 1, {"file:///Users/tester/Library/Application"}};
};

// Stops the test when a file builder fails.
template <class R>
R&& Must(R&& result) {
  if (!result.ok()) throw std::runtime_error(result.error());
  return std::forward<R>(result);
}

inline std::vector<std::string> Each(const NodeList& nodes, OptString (PRBookMarkNode::*field)() const) {
  std::vector<std::string> out;
  for (const auto& n : nodes) out.push_back(OrNull(((*n).*field)()));
  return out;
}
inline std::vector<std::string> Paths(const NodeList& nodes) { return Each(nodes, &PRBookMarkNode::theFullPath); }

// A bookmark node with only an address, as removal lists hold.
inline NodePtr WithAddress(const std::string& url) {
  NodePtr node = PRBookMarkNode::Create();
  node->setUrlString(url);
  return node;
}

inline NodeList ChildrenOf(const NodePtr& node) {
  if (auto folder = AsFolderOrRoot(node)) return folder->childrenSnapshot();
  return {};
}

inline std::string BookmarkUrl(int n) { return "https://" + std::to_string(n) + ".example/"; }

// A chain of `depth` folders "L1" > "L2" > ..., each holding a bookmark "B<level>" first.
inline BookmarkEntry FolderChain(int depth) {
  BookmarkEntry inner;
  for (int level = depth; level >= 1; --level) {
    auto folder = Folder("L" + std::to_string(level), {Leaf("B" + std::to_string(level), BookmarkUrl(level))});
    if (level < depth) folder.children.push_back(std::move(inner));
    inner = std::move(folder);
  }
  return inner;
}

// A small Chromium file: a separator and a string among children, a url and a string directly in "roots", the
// same address twice, and keys no reader reads ("x", "guid").
inline const char* const kSmallChromiumFile = R"({"checksum": "0123", "version": 1, "roots": {
  "bookmark_bar": {"id": "1", "name": "Bar", "type": "folder", "x": "bar-extra", "children": [
    {"date_added": "13245", "id": "4", "name": "Tools", "type": "folder", "x": "tools-extra", "children": [
      {"date_added": "13246", "guid": "g5", "id": "5", "name": "Hammer", "type": "url", "url": "https://h.example/"},
      {"id": "6", "name": "Odd", "type": "separator"}, "text"]},
    {"date_added": "13247", "id": "7", "name": "Shared", "type": "url", "url": "https://shared.example/"}]},
  "loose": {"date_added": "1", "id": "8", "name": "Loose", "type": "url", "url": "https://loose.example/"},
  "other": {"id": "2", "name": "Other", "type": "folder", "children": [
    {"id": "9", "name": "Deep", "type": "folder", "children": [
      {"id": "10", "name": "Shared again", "type": "url", "url": "https://shared.example/"},
      {"id": "11", "name": "Deeper", "type": "folder", "children": [
        {"id": "12", "name": "Bottom", "type": "url", "url": "https://bottom.example/"}]}]}]},
  "sync_transaction_version": "3"}})";

// Chromium's file with `top` as "bookmark_bar". Written here: the profile
// builder's JSON output takes seconds for deep chains in a debug build.
inline std::string ChromiumEntryJson(const BookmarkEntry& e) {
  if (e.kind != profile::EntryKind::Folder)
    return R"({"type":"url","name":")" + e.title + R"(","url":")" + e.url + "\"}";
  std::string children;
  for (const auto& child : e.children) children += (children.empty() ? "" : ",") + ChromiumEntryJson(child);
  return R"({"type":"folder","name":")" + e.title + R"(","children":[)" + children + "]}";
}
inline void WriteChromiumFile(const std::filesystem::path& file, const BookmarkEntry& top) {
  WriteText(file, R"({"roots":{"bookmark_bar":)" + ChromiumEntryJson(top) + "}}");
}

// A places database holding `rows`, after Firefox's standard roots (ids 1 to 6) when asked.
inline profile::PlacesDatabase PlacesWith(const std::vector<profile::FirefoxRow>& rows, bool standardRoots = true) {
  auto places = Must(profile::PlacesDatabase::Create());
  if (standardRoots) Must(places->AddStandardRoots());
  for (const auto& row : rows) Must(places->AddRow(row));
  return std::move(*places);
}

}  // namespace linvara::testing
