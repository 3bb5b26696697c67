#pragma once
// What every browser reader needs from the controller: the node lists it
// appends to, the view being loaded and the address markers of encrypted
// bookmarks. Readers answer with a ReadResult; the caller chooses any alert.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/BookmarkLists.h"
#include "model/Value.h"
#include "readers/ReadAhead.h"
#include "readers/ReadReport.h"

namespace linvara {

struct ReaderContext {
  BookmarkLists& lists;
  // The controller's view: 2 fills the Safari root from the file, 3 the Chromium root.
  std::int32_t bookMarkType = 0;
  // Address prefixes of encrypted bookmarks (Locations::encryptedMarkers): a
  // Safari address containing one of them, letter case ignored, is marked.
  std::vector<std::string> encryptedMarkers;
  // Whether a file can be opened for reading; null uses IsReadableFile.
  std::function<bool(const std::filesystem::path&)> isReadable = nullptr;
  // Called once per kNodesPerResponsivenessTick bookmarks made, so that a window
  // reading a large profile on its own thread can keep painting.
  std::function<void()> keepResponsive = nullptr;
  std::uint32_t nodesMade = 0;

  static constexpr std::uint32_t kNodesPerResponsivenessTick = 2048;
  void NodeMade() {
    if (keepResponsive && ++nodesMade % kNodesPerResponsivenessTick == 0) keepResponsive();
  }
  bool CanRead(const std::filesystem::path& path) const;
  // Runs `work` (reading and parsing a file, no node lists touched) on a
  // thread of its own while this thread keeps calling keepResponsive, so that
  // a long parse never blocks the window; without keepResponsive, inline.
  void RunKeepingResponsive(const std::function<void()>& work);

  // Files parsed ahead by the controller's full read, if any.
  ReadAhead* readAhead = nullptr;
  // A file's parse: the result read ahead under `key` when there is one,
  // otherwise `parse` run now, as RunKeepingResponsive runs work.
  template <class T>
  T ParseFile(const std::string& key, const std::function<T()>& parse) {
    if (readAhead)
      if (std::optional<T> ready = readAhead->Take<T>(key, keepResponsive)) return std::move(*ready);
    std::optional<T> result;
    RunKeepingResponsive([&] { result.emplace(parse()); });
    return std::move(*result);
  }
};

// True when the file exists and this process may open it for reading.
bool IsReadableFile(const std::filesystem::path& path);

// The alert shown when a Chromium bookmark file exists but cannot be read.
inline constexpr const char* kChromeFileBusyMessage =
    "The Chrome bookmark file are using by an app or service, please close it.";

// Entries of a "children" array and all below them that a reader would have
// made nodes of, counted without recursion. `childrenOf` gives an entry's own
// "children" array (null for a bookmark); `counts` says whether an entry would
// have become a node.
std::size_t CountEntriesBelow(const ArrayPtr& children, const std::function<bool(const DictPtr&)>& counts,
                              const std::function<ArrayPtr(const DictPtr&)>& childrenOf);

// True when some node of `list` has exactly the address of `node` (letter case
// included). A node without an address never matches.
bool istheBookMarkNodeintheArray(const NodeList& list, const NodePtr& node);

// The addresses of a removal list, for the readers' removal forms: the same
// answer as istheBookMarkNodeintheArray, in constant time per look-up.
class RemovalSet {
 public:
  explicit RemovalSet(const NodeList& removeList);
  bool Contains(const OptString& url) const { return url && urls_.count(*url) > 0; }

 private:
  std::unordered_set<std::string> urls_;
};

// Typed reads of raw record values: nullopt / null when absent or of another type.
OptString StringOf(const Value& v);
OptString StringAt(const DictPtr& dict, std::string_view key);
DictPtr DictAt(const DictPtr& dict, std::string_view key);
ArrayPtr ArrayAt(const DictPtr& dict, std::string_view key);
bool BoolAt(const DictPtr& dict, std::string_view key);  // absent or not a boolean: false

// Fills a root's fields from a file's top-level dictionary with the given keys
// (Safari: "WebBookmarkUUID", "Children", "Title", "WebBookmarkType"; Chromium:
// "id", "roots", "name", "type").
struct RootKeys {
  const char* uuid;
  const char* children;
  const char* title;
  const char* type;
};
inline constexpr RootKeys kSafariRootKeys{"WebBookmarkUUID", "Children", "Title", "WebBookmarkType"};
inline constexpr RootKeys kChromiumRootKeys{"id", "roots", "name", "type"};
void FillRootFromDict(PRRootBookMarkNode& root, const DictPtr& dict, const RootKeys& keys);

// Installs a new root in ctx.lists.rootNode: filled from `dict` with the Safari
// keys in the Safari view (2), with the Chromium keys in the Chrome view (3),
// empty in any other view.
void InitSafariRootItemwithDict(ReaderContext& ctx, const DictPtr& dict);

}  // namespace linvara
