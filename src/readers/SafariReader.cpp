#include "readers/SafariReader.h"

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

SafariReader::SafariReader(ReaderContext& ctx) : ctx_(ctx), foldedMarker_(FoldCase(ctx.encryptedMarker)) {}

void SafariReader::ReadSafariBookMark(const fs::path& path) { Read(path, nullptr); }

void SafariReader::ReadSafariBookMark(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  Read(path, &removal);
}

void SafariReader::ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father) {
  ScanChildren(children, father, nullptr);
}

void SafariReader::ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father,
                                               const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanChildren(children, father, &removal);
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
  leaf->setUrlString(url);
  leaf->setBEncrytedBookmark(url && !foldedMarker_.empty() && FoldCase(*url).find(foldedMarker_) != std::string::npos);
  leaf->setBookMarkFrom(kSafari);
  if (OptString title = StringAt(uriDict, "title")) leaf->setThetitle(title);
  return leaf;
}

void SafariReader::Read(const fs::path& path, const RemovalSet* removal) {
  std::error_code ec;
  if (path.empty() || !fs::exists(path, ec)) return;

  auto parsed = ReadPropertyListFile(path);
  DictPtr rootDict = parsed ? parsed->asDict() : nullptr;
  if (!rootDict) rootDict = Dictionary::make();
  InitSafariRootItemwithDict(rootDict);
  RootPtr root = ctx_.lists.rootNode;

  ArrayPtr children = ArrayAt(rootDict, "Children");
  if (!children) return;
  BookmarkLists& lists = ctx_.lists;
  for (const Value& item : *children) {
    auto typed = AsTypedEntry(item);
    if (!typed) continue;
    const DictPtr& entry = typed->dict;
    const std::string& type = typed->type;
    if (type == kTypeList) {
      FolderPtr folder = MakeListFolder(entry);
      folder->setTheFullPath("/");
      DictPtr sync = DictAt(entry, "Sync");
      if (OptString server = StringAt(sync, "ServerID"); server && *server == kFavoritesBar) {
        folder->setThetitle(kFavoritesBar);
        folder->setBFavBookmark(true);
      }
      folder->setFatherItem(root);
      lists.safariFatherArray.push_back(folder);
      ScanChildren(ArrayAt(entry, "Children"), folder, removal);
    } else if (type == kTypeProxy) {
      FolderPtr folder = MakeProxyFolder(entry);
      folder->setTheFullPath("/");
      lists.safariFatherArray.push_back(folder);
    } else if (type == kTypeLeaf) {
      NodePtr leaf = MakeLeaf(entry);
      if (removal && removal->Contains(leaf->urlString())) continue;
      leaf->setTheFullPath("/");
      leaf->setFatherItem(root);
      leaf->setBFavBookmark(false);
      lists.safariFatherArray.push_back(leaf);
      lists.safariBookMarkArray.push_back(leaf);
      lists.allbookMarkArray.push_back(leaf);
    }
  }
}

void SafariReader::ScanChildren(const ArrayPtr& children, const FolderPtr& father, const RemovalSet* removal) {
  if (!children || !father) return;
  BookmarkLists& lists = ctx_.lists;
  const std::string path = FullPathBelow(father);
  const bool favorite = father->bFavBookmark();
  for (const Value& item : *children) {
    auto typed = AsTypedEntry(item);
    if (!typed) continue;
    const DictPtr& entry = typed->dict;
    const std::string& type = typed->type;
    if (type == kTypeList) {
      FolderPtr folder = MakeListFolder(entry);
      folder->setTheFullPath(path);
      folder->setBFavBookmark(favorite);
      folder->setFatherItem(father);
      father->appendChild(folder);
      ScanChildren(ArrayAt(entry, "Children"), folder, removal);
    } else if (type == kTypeLeaf) {
      NodePtr leaf = MakeLeaf(entry);
      if (removal && removal->Contains(leaf->urlString())) continue;
      leaf->setTheFullPath(path);
      leaf->setBFavBookmark(favorite);
      father->appendChild(leaf);
      leaf->setFatherItem(father);
      lists.safariBookMarkArray.push_back(leaf);
      lists.allbookMarkArray.push_back(leaf);
    } else if (type == kTypeProxy) {
      // A proxy entry inside a folder stays in that folder, as it is in the file.
      FolderPtr folder = MakeProxyFolder(entry);
      folder->setTheFullPath(path);
      folder->setBFavBookmark(favorite);
      folder->setFatherItem(father);
      father->appendChild(folder);
    }
  }
}

}  // namespace linvara
