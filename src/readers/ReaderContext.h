#pragma once
// What every browser reader needs from the controller: the node lists it
// appends to, the view being loaded, the address marker of encrypted
// bookmarks and a way to tell the user that a bookmark file is in use.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_set>

#include "model/BookmarkLists.h"
#include "model/Value.h"

namespace linvara {

struct ReaderContext {
  BookmarkLists& lists;
  // The controller's view: 2 fills the Safari root from the file, 3 the Chromium root.
  std::int32_t bookMarkType = 0;
  // "file://" + home + "/Library/Application": a Safari address containing it
  // (letter case ignored) marks an encrypted bookmark.
  std::string encryptedMarker;
  // Shows a modal alert with the given message and the single button " Ok ".
  std::function<void(const std::string& message)> showAlert;
  // Whether a file can be opened for reading; null uses IsReadableFile.
  std::function<bool(const std::filesystem::path&)> isReadable;
  // Called once per kNodesPerResponsivenessTick bookmarks made, so that a window
  // reading a large profile on its own thread can keep painting.
  std::function<void()> keepResponsive;
  std::uint32_t nodesMade = 0;

  static constexpr std::uint32_t kNodesPerResponsivenessTick = 2048;
  void NodeMade() {
    if (keepResponsive && ++nodesMade % kNodesPerResponsivenessTick == 0) keepResponsive();
  }
  bool CanRead(const std::filesystem::path& path) const;
  void Alert(const std::string& message) const {
    if (showAlert) showAlert(message);
  }
};

// True when the file exists and this process may open it for reading.
bool IsReadableFile(const std::filesystem::path& path);

// The alert shown when a Chromium bookmark file exists but cannot be read.
inline constexpr const char* kChromeFileBusyMessage =
    "The Chrome bookmark file are using by an app or service, please close it.";

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
