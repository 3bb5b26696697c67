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

bool IsValidUtf8(std::string_view bytes) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  return status == U_BUFFER_OVERFLOW_ERROR || status == U_STRING_NOT_TERMINATED_WARNING || U_SUCCESS(status);
}

// The file's top-level object, or why the text is not a bookmark file.
Result<DictPtr> ParseTopLevel(const fs::path& file, std::string_view bytes) {
  auto parsed = ParseJsonReplacingInvalidText(bytes);
  if (!parsed) return Fail(file.string() + ": " + parsed.error(), ErrorKind::Malformed);
  DictPtr top = parsed->asDict();
  if (!top) return Fail(file.string() + ": not a bookmark file (the top level is not an object)", ErrorKind::Malformed);
  const Value roots = top->get("roots");
  if (!roots.isDict() && !roots.isArray())
    return Fail(file.string() + ": not a bookmark file (no \"roots\")", ErrorKind::Malformed);
  return top;
}

// The file read and parsed: a missing or unreadable file keeps its error kind,
// text that is not a bookmark file (or, when required, not UTF-8) is Malformed.
Result<DictPtr> ReadTopLevel(const fs::path& file, bool requireUtf8 = false) {
  auto bytes = ReadFileBuffer(file);
  if (!bytes) return bytes.failure();
  if (requireUtf8 && !IsValidUtf8(bytes->view())) return Fail(file.string() + ": not UTF-8 text", ErrorKind::Malformed);
  return ParseTopLevel(file, bytes->view());
}

std::string ParseKey(const fs::path& file, bool requireUtf8) {
  return (requireUtf8 ? "json-utf8:" : "json:") + file.string();
}

void QueueParse(ReadAhead& ahead, const fs::path& file, bool requireUtf8) {
  if (!file.empty())
    ahead.Add<Result<DictPtr>>(ParseKey(file, requireUtf8), [file, requireUtf8] { return ReadTopLevel(file, requireUtf8); });
}

Result<DictPtr> ParseFile(ReaderContext& ctx, const fs::path& file, bool requireUtf8) {
  return ctx.ParseFile<Result<DictPtr>>(ParseKey(file, requireUtf8), [&] { return ReadTopLevel(file, requireUtf8); });
}
}  // namespace

fs::path ChromiumReader::FileToRead(const fs::path& path) {
  std::error_code ec;
  if (path.empty() || fs::exists(path, ec)) return path;
  fs::path backup = path.parent_path() / "Bookmarks.bak";
  return fs::exists(backup, ec) ? backup : fs::path();
}

void ChromiumReader::QueueReadAhead(ReadAhead& ahead, const fs::path& path) { QueueParse(ahead, FileToRead(path), false); }

void ChromiumReader::QueueOperaReadAhead(ReadAhead& ahead, const fs::path& path) { QueueParse(ahead, path, true); }

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

ReadResult ChromiumReader::ReadChromeBookMark(const fs::path& path) { return ReadTree(path, ChromeFlavor(), nullptr); }

ReadResult ChromiumReader::ReadChromeBookMark(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  return ReadTree(path, ChromeFlavor(), &removal);
}

void ChromiumReader::ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father) {
  ScanTreeChildren(children, father, ChromeFlavor(), nullptr, 1);
}

void ChromiumReader::ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father,
                                           const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanTreeChildren(children, father, ChromeFlavor(), &removal, 1);
}

ReadResult ChromiumReader::ReadEdgeBookMark(const fs::path& path) { return ReadTree(path, EdgeFlavor(), nullptr); }

ReadResult ChromiumReader::ReadEdgeBookMarkwithRemoveArray(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  return ReadTree(path, EdgeFlavor(), &removal);
}

void ChromiumReader::ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father) {
  ScanTreeChildren(children, father, EdgeFlavor(), nullptr, 1);
}

void ChromiumReader::ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father,
                                               const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanTreeChildren(children, father, EdgeFlavor(), &removal, 1);
}

ReadResult ChromiumReader::ReadOperaBookMark(const fs::path& path) { return ReadOpera(path, nullptr); }

ReadResult ChromiumReader::ReadOperaBookMarkWithRemoveArray(const fs::path& path, const NodeList& removeList) {
  RemovalSet removal(removeList);
  return ReadOpera(path, &removal);
}

void ChromiumReader::ScanOperaChildItemWithDict(const ArrayPtr& children) {
  ScanOperaLevel(children, nullptr, true, 1);
}

void ChromiumReader::ScanOperaChildItemWithDict(const ArrayPtr& children, const NodeList& removeList) {
  RemovalSet removal(removeList);
  ScanOperaLevel(children, &removal, true, 1);
}

void ChromiumReader::ScanChildItemWithDict(const ArrayPtr& children) { ScanOperaLevel(children, nullptr, false, 2); }

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

void ChromiumReader::LeaveOut(const DictPtr& folder, const RemovalSet* removal, bool foldersCount) {
  auto counts = [&](const DictPtr& e) {
    switch (TypeOf(e)) {
      case EntryType::Folder: return foldersCount;
      case EntryType::Url: return !(removal && removal->Contains(StringAt(e, "url")));
      case EntryType::Other: return false;
    }
    return false;
  };
  auto childrenOf = [](const DictPtr& e) { return TypeOf(e) == EntryType::Folder ? ArrayAt(e, "children") : nullptr; };
  auto holder = Array::make();
  holder->append(folder);
  leftOut_ += CountEntriesBelow(holder, counts, childrenOf);
}

ReadResult ChromiumReader::ReadTree(const fs::path& path, const TreeFlavor& flavor, const RemovalSet* removal) {
  if (path.empty()) return Fail("this layout has no such bookmark file", ErrorKind::NotFound);
  const fs::path file = FileToRead(path);
  if (file.empty()) return Fail("no bookmark file at " + path.string(), ErrorKind::NotFound);
  if (!ctx_.CanRead(file)) return Fail(file.string() + ": the file cannot be read", ErrorKind::Unreadable);
  Result<DictPtr> parsed = ParseFile(ctx_, file, false);
  if (!parsed && parsed.errorKind() != ErrorKind::Malformed) return parsed.failure();
  DictPtr top = parsed ? *parsed : Dictionary::make();

  InitSafariRootItemwithDict(ctx_, top);
  if (flavor.ownRoot) {
    RootPtr own = PRRootBookMarkNode::Create();
    FillRootFromDict(*own, top, kChromiumRootKeys);
    ctx_.lists.rootNode = own;
  }
  if (!parsed) return parsed.failure();
  RootPtr root = ctx_.lists.rootNode;

  leftOut_ = 0;
  ForEachChromiumRootEntry(top->get("roots"), [&](const DictPtr& entry) {
    switch (TypeOf(entry)) {
      case EntryType::Folder: {
        FolderPtr folder = MakeFolder(entry, flavor.browser);
        folder->setSharedFullPath(TopLevelPath());
        folder->setFatherItem(root);
        flavor.fatherList->push_back(folder);
        ScanTreeChildren(ArrayAt(entry, "children"), folder, flavor, removal, 1);
        break;
      }
      case EntryType::Url: {
        NodePtr leaf = MakeUrlLeaf(entry, flavor.browser);
        if (removal && removal->Contains(leaf->urlString())) break;
        leaf->setSharedFullPath(TopLevelPath());
        flavor.fatherList->push_back(leaf);
        flavor.leafList->push_back(leaf);
        ctx_.lists.allbookMarkArray.push_back(leaf);
        break;
      }
      case EntryType::Other:
        break;
    }
  });
  return ReadStats{leftOut_};
}

void ChromiumReader::ScanTreeChildren(const ArrayPtr& children, const FolderPtr& father, const TreeFlavor& flavor,
                                      const RemovalSet* removal, std::size_t level) {
  if (!children || !father) return;
  const SharedPath path = SharedPathBelow(father);
  for (const Value& item : *children) {
    DictPtr entry = item.asDict();
    if (!entry) continue;
    switch (TypeOf(entry)) {
      case EntryType::Folder: {
        if (level >= kMaxFolderLevels) {
          LeaveOut(entry, removal, true);
          break;
        }
        FolderPtr folder = MakeFolder(entry, flavor.browser);
        folder->setSharedFullPath(path);
        father->appendChild(folder);
        folder->setFatherItem(father);
        ScanTreeChildren(ArrayAt(entry, "children"), folder, flavor, removal, level + 1);
        break;
      }
      case EntryType::Url: {
        NodePtr leaf = MakeUrlLeaf(entry, flavor.browser);
        if (removal && removal->Contains(leaf->urlString())) break;
        leaf->setSharedFullPath(path);
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

ReadResult ChromiumReader::ReadOpera(const fs::path& path, const RemovalSet* removal) {
  if (path.empty()) return Fail("this layout has no Opera bookmark file", ErrorKind::NotFound);
  Result<DictPtr> top = ParseFile(ctx_, path, /*requireUtf8=*/true);
  if (!top) return top.failure();

  leftOut_ = 0;
  ForEachChromiumRootEntry((*top)->get("roots"), [&](const DictPtr& entry) {
    switch (TypeOf(entry)) {
      case EntryType::Folder:
        ScanOperaLevel(ArrayAt(entry, "children"), removal, true, 1);
        break;
      case EntryType::Url:
        AddOperaLeaf(entry, removal, true);
        break;
      case EntryType::Other:
        break;
    }
  });
  return ReadStats{leftOut_};
}

void ChromiumReader::AddOperaLeaf(const DictPtr& entry, const RemovalSet* removal, bool inFatherList) {
  NodePtr leaf = MakeUrlLeaf(entry, kOpera);
  if (removal && removal->Contains(leaf->urlString())) return;
  ctx_.lists.allbookMarkArray.push_back(leaf);
  if (inFatherList) ctx_.lists.OperaFatherArray.push_back(leaf);
}

void ChromiumReader::ScanOperaLevel(const ArrayPtr& children, const RemovalSet* removal, bool secondLevel,
                                    std::size_t level) {
  if (!children) return;
  for (const Value& item : *children) {
    DictPtr entry = item.asDict();
    if (!entry) continue;
    switch (TypeOf(entry)) {
      case EntryType::Folder:
        if (level >= kMaxFolderLevels)
          LeaveOut(entry, removal, false);
        else
          ScanOperaLevel(ArrayAt(entry, "children"), removal, false, level + 1);
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
