#pragma once
// The Chromium-family "Bookmarks" JSON files of Chrome, Edge and Opera into
// nodes. Chrome and Edge build a tree below their top-level list; Opera is
// read flat, leaves only.
#include <filesystem>

#include "readers/ReaderContext.h"

namespace linvara {

class ChromiumReader {
 public:
  explicit ChromiumReader(ReaderContext& ctx) : ctx_(ctx) {}

  // Chrome's own file or the Chrome working copy. A missing file is replaced by
  // "Bookmarks.bak" in the same folder. Missing (NotFound) or unreadable
  // (Unreadable): nothing changes. Not a bookmark file (Malformed): the root is
  // installed and no node added. Invalid UTF-8 and lone surrogates read as U+FFFD.
  ReadResult ReadChromeBookMark(const std::filesystem::path& path);
  ReadResult ReadChromeBookMark(const std::filesystem::path& path, const NodeList& removeList);
  void ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father);
  void ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father, const NodeList& removeList);

  // Edge: as Chrome, into edgeFatherArray / edgebookMarkArray, and always installs its own root.
  ReadResult ReadEdgeBookMark(const std::filesystem::path& path);
  ReadResult ReadEdgeBookMarkwithRemoveArray(const std::filesystem::path& path, const NodeList& removeList);
  void ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father);
  void ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father, const NodeList& removeList);

  // The file a read of `path` opens: `path`, or "Bookmarks.bak" beside it when
  // `path` is missing; empty when neither exists.
  static std::filesystem::path FileToRead(const std::filesystem::path& path);
  // Queue the parse of the file a read of `path` opens, for a full read that reads it ahead.
  static void QueueReadAhead(ReadAhead& ahead, const std::filesystem::path& path);
  static void QueueOperaReadAhead(ReadAhead& ahead, const std::filesystem::path& path);

  // Opera: leaves of the first two levels go to allbookMarkArray and
  // OperaFatherArray, deeper leaves to allbookMarkArray only. No root, no folders.
  // Text that is not UTF-8 is Malformed; no backup name is tried.
  ReadResult ReadOperaBookMark(const std::filesystem::path& path);
  ReadResult ReadOperaBookMarkWithRemoveArray(const std::filesystem::path& path, const NodeList& removeList);
  void ScanOperaChildItemWithDict(const ArrayPtr& children);
  void ScanOperaChildItemWithDict(const ArrayPtr& children, const NodeList& removeList);
  // Opera levels below the second.
  void ScanChildItemWithDict(const ArrayPtr& children);

 private:
  struct TreeFlavor {
    const char* browser;
    NodeList* fatherList;
    NodeList* leafList;
    bool ownRoot;  // Edge replaces the root with one filled from its file in every view
  };
  TreeFlavor ChromeFlavor();
  TreeFlavor EdgeFlavor();

  ReadResult ReadTree(const std::filesystem::path& path, const TreeFlavor& flavor, const RemovalSet* removal);
  // `level`: the number of folders around the children, `father` included.
  void ScanTreeChildren(const ArrayPtr& children, const FolderPtr& father, const TreeFlavor& flavor,
                        const RemovalSet* removal, std::size_t level);
  ReadResult ReadOpera(const std::filesystem::path& path, const RemovalSet* removal);
  // The second level (leaves also go to OperaFatherArray) or a deeper one.
  void ScanOperaLevel(const ArrayPtr& children, const RemovalSet* removal, bool secondLevel, std::size_t level);
  // Counts a folder entry below the folder limit with everything in it; Opera counts bookmarks only.
  void LeaveOut(const DictPtr& folder, const RemovalSet* removal, bool foldersCount);
  void AddOperaLeaf(const DictPtr& entry, const RemovalSet* removal, bool inFatherList);
  NodePtr MakeUrlLeaf(const DictPtr& entry, const char* browser);
  FolderPtr MakeFolder(const DictPtr& entry, const char* browser);

  ReaderContext& ctx_;
  std::size_t leftOut_ = 0;
};

// Calls `visit` for each root entry of a "roots" value that is an object: the
// values of an object in their order, or the elements of an array.
void ForEachChromiumRootEntry(const Value& roots, const std::function<void(const DictPtr&)>& visit);

}  // namespace linvara
