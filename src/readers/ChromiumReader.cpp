#include "readers/ChromiumReader.h"

#include <unicode/ustring.h>

#include "model/FileBytes.h"
#include "model/Json.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {
constexpr const char* kChrome = "Chrome";
constexpr const char* kEdge = "Microsoft Edge";
constexpr const char* kOpera = "Opera";

enum class EntryType { Folder, Url, Other };

EntryType TypeOf(const DictPtr& entry) {
  OptString type = StringAt(entry, "type");
  if (!type) return EntryType::Other;
  if (*type == "folder") return EntryType::Folder;
  if (*type == "url") return EntryType::Url;
  return EntryType::Other;
}

bool IsValidUtf8(const std::string& bytes) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  return status == U_BUFFER_OVERFLOW_ERROR || status == U_STRING_NOT_TERMINATED_WARNING || U_SUCCESS(status);
}

DictPtr ParseTopLevel(const std::string& bytes) {
  auto parsed = ParseJson(bytes);
  DictPtr top = parsed ? parsed->asDict() : nullptr;
  return top ? top : Dictionary::make();
}
}  // namespace

void ForEachChromiumRootEntry(const Value& roots, const std::function<void(const DictPtr&)>& visit) {
  if (DictPtr object = roots.asDict()) {
    for (const auto& [key, value] : *object)
      if (DictPtr entry = value.asDict()) visit(entry);
  } else if (ArrayPtr array = roots.asArray()) {
    for (const Value& value : *array)
      if (DictPtr entry = value.asDict()) visit(entry);
  }
}

ChromiumReader::TreeFlavor ChromiumReader::ChromeFlavor() {
  return {kChrome, &ctx_.lists.ChromeFatherArray, &ctx_.lists.chromebookMarkArray, false};
}

ChromiumReader::TreeFlavor ChromiumReader::EdgeFlavor() {
  return {kEdge, &ctx_.lists.edgeFatherArray, &ctx_.lists.edgebookMarkArray, true};
}

void ChromiumReader::ReadChromeBookMark(const fs::path& path) { ReadTree(path, ChromeFlavor(), nullptr); }

void ChromiumReader::ReadChromeBookMark(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  ReadTree(path, ChromeFlavor(), &removal);
}

void ChromiumReader::ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father) {
  ScanTreeChildren(children, father, ChromeFlavor(), nullptr);
}

void ChromiumReader::ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father,
                                           const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanTreeChildren(children, father, ChromeFlavor(), &removal);
}

void ChromiumReader::ReadEdgeBookMark(const fs::path& path) { ReadTree(path, EdgeFlavor(), nullptr); }

void ChromiumReader::ReadEdgeBookMarkwithRemoveArray(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  ReadTree(path, EdgeFlavor(), &removal);
}

void ChromiumReader::ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father) {
  ScanTreeChildren(children, father, EdgeFlavor(), nullptr);
}

void ChromiumReader::ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father,
                                               const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanTreeChildren(children, father, EdgeFlavor(), &removal);
}

void ChromiumReader::ReadOperaBookMark(const fs::path& path) { ReadOpera(path, nullptr); }

void ChromiumReader::ReadOperaBookMarkWithRemoveArray(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  ReadOpera(path, &removal);
}

void ChromiumReader::ScanOperaChildItemWithDict(const ArrayPtr& children) { ScanOperaLevel(children, nullptr, true); }

void ChromiumReader::ScanOperaChildItemWithDict(const ArrayPtr& children, const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanOperaLevel(children, &removal, true);
}

void ChromiumReader::ScanChildItemWithDict(const ArrayPtr& children) { ScanOperaLevel(children, nullptr, false); }

NodePtr ChromiumReader::MakeUrlLeaf(const DictPtr& entry, const char* browser) {
  ctx_.NodeMade();
  NodePtr leaf = PRBookMarkNode::Create();
  leaf->setDataDict(entry->copy());
  leaf->setBookMarkUUID(StringAt(entry, "id"));
  leaf->setBookMarkType(StringAt(entry, "type"));
  leaf->setUrlString(StringAt(entry, "url"));
  leaf->setThetitle(StringAt(entry, "name"));
  leaf->setAddDateStr(StringAt(entry, "date_added"));
  leaf->setBookMarkFrom(browser);
  return leaf;
}

FolderPtr ChromiumReader::MakeFolder(const DictPtr& entry, const char* browser) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setItemDict(entry->copy());
  folder->setBookMarkUUID(StringAt(entry, "id"));
  folder->setSyncDict(DictAt(entry, "Sync"));
  folder->setThetitle(StringAt(entry, "name"));
  folder->setFaBookMarkType(StringAt(entry, "type"));
  folder->setShouldOmitUI(BoolAt(entry, "ShouldOmitFromUI"));
  folder->setBookMarkFrom(browser);
  return folder;
}

void ChromiumReader::ReadTree(const fs::path& path, const TreeFlavor& flavor, const RemovalSet* removal) {
  std::error_code ec;
  fs::path file = path;
  if (file.empty()) return;
  if (!fs::exists(file, ec)) {
    file = path.parent_path() / "Bookmarks.bak";
    if (!fs::exists(file, ec)) return;
  }
  if (!ctx_.CanRead(file)) {
    ctx_.Alert(kChromeFileBusyMessage);
    return;
  }
  auto bytes = ReadFileBytes(file);
  if (!bytes) return;
  DictPtr top = ParseTopLevel(*bytes);

  InitSafariRootItemwithDict(ctx_, top);
  if (flavor.ownRoot) {
    RootPtr own = PRRootBookMarkNode::Create();
    FillRootFromDict(*own, top, kChromiumRootKeys);
    ctx_.lists.rootNode = own;
  }
  RootPtr root = ctx_.lists.rootNode;

  ForEachChromiumRootEntry(top->get("roots"), [&](const DictPtr& entry) {
    switch (TypeOf(entry)) {
      case EntryType::Folder: {
        FolderPtr folder = MakeFolder(entry, flavor.browser);
        folder->setTheFullPath("/");
        folder->setFatherItem(root);
        flavor.fatherList->push_back(folder);
        ScanTreeChildren(ArrayAt(entry, "children"), folder, flavor, removal);
        break;
      }
      case EntryType::Url: {
        NodePtr leaf = MakeUrlLeaf(entry, flavor.browser);
        if (removal && removal->Contains(leaf->urlString())) break;
        leaf->setTheFullPath("/");
        flavor.fatherList->push_back(leaf);
        flavor.leafList->push_back(leaf);
        ctx_.lists.allbookMarkArray.push_back(leaf);
        break;
      }
      case EntryType::Other:
        break;
    }
  });
}

void ChromiumReader::ScanTreeChildren(const ArrayPtr& children, const FolderPtr& father, const TreeFlavor& flavor,
                                      const RemovalSet* removal) {
  if (!children || !father) return;
  const std::string path = FullPathBelow(father);
  for (const Value& item : *children) {
    DictPtr entry = item.asDict();
    if (!entry) continue;
    switch (TypeOf(entry)) {
      case EntryType::Folder: {
        FolderPtr folder = MakeFolder(entry, flavor.browser);
        folder->setTheFullPath(path);
        father->appendChild(folder);
        folder->setFatherItem(father);
        ScanTreeChildren(ArrayAt(entry, "children"), folder, flavor, removal);
        break;
      }
      case EntryType::Url: {
        NodePtr leaf = MakeUrlLeaf(entry, flavor.browser);
        if (removal && removal->Contains(leaf->urlString())) break;
        leaf->setTheFullPath(path);
        father->appendChild(leaf);
        leaf->setFatherItem(father);
        flavor.leafList->push_back(leaf);
        ctx_.lists.allbookMarkArray.push_back(leaf);
        break;
      }
      case EntryType::Other:
        break;
    }
  }
}

void ChromiumReader::ReadOpera(const fs::path& path, const RemovalSet* removal) {
  std::error_code ec;
  if (path.empty() || !fs::exists(path, ec)) return;
  auto bytes = ReadFileBytes(path);
  if (!bytes || !IsValidUtf8(*bytes)) return;
  DictPtr top = ParseTopLevel(*bytes);

  ForEachChromiumRootEntry(top->get("roots"), [&](const DictPtr& entry) {
    switch (TypeOf(entry)) {
      case EntryType::Folder:
        ScanOperaLevel(ArrayAt(entry, "children"), removal, true);
        break;
      case EntryType::Url:
        AddOperaLeaf(entry, removal, true);
        break;
      case EntryType::Other:
        break;
    }
  });
}

void ChromiumReader::AddOperaLeaf(const DictPtr& entry, const RemovalSet* removal, bool inFatherList) {
  NodePtr leaf = MakeUrlLeaf(entry, kOpera);
  if (removal && removal->Contains(leaf->urlString())) return;
  ctx_.lists.allbookMarkArray.push_back(leaf);
  if (inFatherList) ctx_.lists.OperaFatherArray.push_back(leaf);
}

void ChromiumReader::ScanOperaLevel(const ArrayPtr& children, const RemovalSet* removal, bool secondLevel) {
  if (!children) return;
  for (const Value& item : *children) {
    DictPtr entry = item.asDict();
    if (!entry) continue;
    switch (TypeOf(entry)) {
      case EntryType::Folder:
        ScanOperaLevel(ArrayAt(entry, "children"), removal, false);
        break;
      case EntryType::Url:
        AddOperaLeaf(entry, removal, secondLevel);
        break;
      case EntryType::Other:
        break;
    }
  }
}

}  // namespace linvara
