#include "readers/SafariReader.h"

#include <algorithm>

#include "model/PropertyList.h"
#include "model/SearchMatch.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {
constexpr const char* kSafari = "Safari";
constexpr const char* kTypeList = "WebBookmarkTypeList";
constexpr const char* kTypeProxy = "WebBookmarkTypeProxy";
constexpr const char* kTypeLeaf = "WebBookmarkTypeLeaf";
constexpr const char* kFavoritesBar = "Favorites Bar";

// An entry of a "Children" array and its "WebBookmarkType"; null when it is not a typed dictionary.
struct TypedEntry {
  DictPtr dict;
  std::string type;
};
std::optional<TypedEntry> AsTypedEntry(const Value& item) {
  DictPtr entry = item.asDict();
  if (!entry) return std::nullopt;
  OptString type = StringAt(entry, "WebBookmarkType");
  if (!type) return std::nullopt;
  return TypedEntry{std::move(entry), std::move(*type)};
}
}  // namespace

SafariReader::SafariReader(ReaderContext& ctx) : ctx_(ctx) {
  for (const std::string& marker : ctx.encryptedMarkers)
    if (!marker.empty()) foldedMarkers_.push_back(FoldCase(marker));
}

ReadResult SafariReader::ReadSafariBookMark(const fs::path& path) { return Read(path, nullptr); }

ReadResult SafariReader::ReadSafariBookMark(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  return Read(path, &removal);
}

void SafariReader::ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father) {
  ScanChildren(children, father, nullptr, 1);
}

void SafariReader::ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father,
                                               const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanChildren(children, father, &removal, 1);
}

FolderPtr SafariReader::MakeFolder(const DictPtr& entry) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setItemDict(entry->copy());
  folder->setBookMarkUUID(StringAt(entry, "WebBookmarkUUID"));
  folder->setFaBookMarkType(StringAt(entry, "WebBookmarkType"));
  folder->setThetitle(StringAt(entry, "Title"));
  folder->setBookMarkFrom(kSafari);
  return folder;
}

FolderPtr SafariReader::MakeListFolder(const DictPtr& entry) {
  FolderPtr folder = MakeFolder(entry);
  folder->setSyncDict(DictAt(entry, "Sync"));
  folder->setShouldOmitUI(BoolAt(entry, "ShouldOmitFromUI"));
  return folder;
}

FolderPtr SafariReader::MakeProxyFolder(const DictPtr& entry) {
  FolderPtr folder = MakeFolder(entry);
  folder->setIdenetifierStr(StringAt(entry, "WebBookmarkIdentifier"));
  return folder;
}

bool SafariReader::IsEncrypted(const OptString& url) const {
  if (!url || foldedMarkers_.empty()) return false;
  const std::string folded = FoldCase(*url);
  return std::any_of(foldedMarkers_.begin(), foldedMarkers_.end(),
                     [&](const std::string& marker) { return folded.find(marker) != std::string::npos; });
}

NodePtr SafariReader::MakeLeaf(const DictPtr& entry) {
  ctx_.NodeMade();
  NodePtr leaf = PRBookMarkNode::Create();
  leaf->setDataDict(entry->copy());
  leaf->setReadlistDict(DictAt(entry, "ReadingList"));
  leaf->setSyncDict(DictAt(entry, "Sync"));
  DictPtr uriDict = DictAt(entry, "URIDictionary");
  leaf->setUrlDict(uriDict);
  leaf->setListNonSyncDict(DictAt(entry, "ReadingListNonSync"));
  leaf->setBookMarkUUID(StringAt(entry, "WebBookmarkUUID"));
  leaf->setBookMarkType(StringAt(entry, "WebBookmarkType"));
  OptString url = StringAt(entry, "URLString");
  leaf->setBEncrytedBookmark(IsEncrypted(url));
  leaf->setUrlString(std::move(url));
  leaf->setBookMarkFrom(kSafari);
  if (OptString title = StringAt(uriDict, "title")) leaf->setThetitle(title);
  return leaf;
}

void SafariReader::LeaveOut(const DictPtr& entry, const RemovalSet* removal) {
  auto counts = [&](const DictPtr& e) {
    OptString type = StringAt(e, "WebBookmarkType");
    if (!type) return false;
    if (*type == kTypeLeaf) return !(removal && removal->Contains(StringAt(e, "URLString")));
    return *type == kTypeList || *type == kTypeProxy;
  };
  auto childrenOf = [](const DictPtr& e) {
    OptString type = StringAt(e, "WebBookmarkType");
    return type && *type == kTypeList ? ArrayAt(e, "Children") : nullptr;
  };
  auto holder = Array::make();
  holder->append(entry);
  leftOut_ += CountEntriesBelow(holder, counts, childrenOf);
}

namespace {
std::string ParseKey(const fs::path& path) { return "plist:" + path.string(); }
}  // namespace

void SafariReader::QueueReadAhead(ReadAhead& ahead, const fs::path& path) {
  if (!path.empty()) ahead.Add<Result<Value>>(ParseKey(path), [path] { return ReadPropertyListFile(path); });
}

ReadResult SafariReader::Read(const fs::path& path, const RemovalSet* removal) {
  if (path.empty()) return Fail("this layout has no Safari bookmark file", ErrorKind::NotFound);
  Result<Value> parsed = ctx_.ParseFile<Result<Value>>(ParseKey(path), [&] { return ReadPropertyListFile(path); });
  // Missing or unreadable: nothing changes, not even the root.
  if (!parsed && parsed.errorKind() != ErrorKind::Malformed) return parsed.failure();
  DictPtr rootDict = parsed ? parsed->asDict() : nullptr;
  InitSafariRootItemwithDict(rootDict ? rootDict : Dictionary::make());
  if (!parsed) return parsed.failure();
  ArrayPtr children = ArrayAt(rootDict, "Children");
  if (!children)
    return Fail(path.string() + ": not a Safari bookmark file (no \"Children\" list at the top)", ErrorKind::Malformed);

  leftOut_ = 0;
  RootPtr root = ctx_.lists.rootNode;
  BookmarkLists& lists = ctx_.lists;
  for (const Value& item : *children) {
    auto typed = AsTypedEntry(item);
    if (!typed) continue;
    const DictPtr& entry = typed->dict;
    const std::string& type = typed->type;
    if (type == kTypeList) {
      FolderPtr folder = MakeListFolder(entry);
      folder->setSharedFullPath(TopLevelPath());
      DictPtr sync = DictAt(entry, "Sync");
      if (OptString server = StringAt(sync, "ServerID"); server && *server == kFavoritesBar) {
        folder->setThetitle(kFavoritesBar);
        folder->setBFavBookmark(true);
      }
      folder->setFatherItem(root);
      lists.safariFatherArray.push_back(folder);
      ScanChildren(ArrayAt(entry, "Children"), folder, removal, 1);
    } else if (type == kTypeProxy) {
      FolderPtr folder = MakeProxyFolder(entry);
      folder->setSharedFullPath(TopLevelPath());
      lists.safariFatherArray.push_back(folder);
    } else if (type == kTypeLeaf) {
      NodePtr leaf = MakeLeaf(entry);
      if (removal && removal->Contains(leaf->urlString())) continue;
      leaf->setSharedFullPath(TopLevelPath());
      leaf->setFatherItem(root);
      leaf->setBFavBookmark(false);
      lists.safariFatherArray.push_back(leaf);
      lists.safariBookMarkArray.push_back(leaf);
      lists.allbookMarkArray.push_back(leaf);
    }
  }
  return ReadStats{leftOut_};
}

void SafariReader::ScanChildren(const ArrayPtr& children, const FolderPtr& father, const RemovalSet* removal,
                                std::size_t level) {
  if (!children || !father) return;
  BookmarkLists& lists = ctx_.lists;
  const SharedPath path = SharedPathBelow(father);
  const bool favorite = father->bFavBookmark();
  const bool foldersFit = level < kMaxFolderLevels;
  for (const Value& item : *children) {
    auto typed = AsTypedEntry(item);
    if (!typed) continue;
    const DictPtr& entry = typed->dict;
    const std::string& type = typed->type;
    if ((type == kTypeList || type == kTypeProxy) && !foldersFit) {
      LeaveOut(entry, removal);
    } else if (type == kTypeList) {
      FolderPtr folder = MakeListFolder(entry);
      folder->setSharedFullPath(path);
      folder->setBFavBookmark(favorite);
      folder->setFatherItem(father);
      father->appendChild(folder);
      ScanChildren(ArrayAt(entry, "Children"), folder, removal, level + 1);
    } else if (type == kTypeLeaf) {
      NodePtr leaf = MakeLeaf(entry);
      if (removal && removal->Contains(leaf->urlString())) continue;
      leaf->setSharedFullPath(path);
      leaf->setBFavBookmark(favorite);
      father->appendChild(leaf);
      leaf->setFatherItem(father);
      lists.safariBookMarkArray.push_back(leaf);
      lists.allbookMarkArray.push_back(leaf);
    } else if (type == kTypeProxy) {
      // A proxy entry inside a folder stays in that folder, as it is in the file.
      FolderPtr folder = MakeProxyFolder(entry);
      folder->setSharedFullPath(path);
      folder->setBFavBookmark(favorite);
      folder->setFatherItem(father);
      father->appendChild(folder);
    }
  }
}

}  // namespace linvara
