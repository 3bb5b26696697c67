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
  // "Bookmarks.bak" in the same folder; an unreadable one raises the busy alert.
  void ReadChromeBookMark(const std::filesystem::path& path);
  void ReadChromeBookMark(const std::filesystem::path& path, const NodeList& removeList);
  void ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father);
  void ScanChildItemWithDict(const ArrayPtr& children, const FolderPtr& father, const NodeList& removeList);

  // Edge: as Chrome, into edgeFatherArray / edgebookMarkArray, and always installs its own root.
  void ReadEdgeBookMark(const std::filesystem::path& path);
  void ReadEdgeBookMarkwithRemoveArray(const std::filesystem::path& path, const NodeList& removeList);
  void ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father);
  void ScanEdgeChildItemWithDict(const ArrayPtr& children, const FolderPtr& father, const NodeList& removeList);

  // Opera: leaves of the first two levels go to allbookMarkArray and
  // OperaFatherArray, deeper leaves to allbookMarkArray only. No root, no folders.
  void ReadOperaBookMark(const std::filesystem::path& path);
  void ReadOperaBookMarkWithRemoveArray(const std::filesystem::path& path, const NodeList& removeList);
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

  void ReadTree(const std::filesystem::path& path, const TreeFlavor& flavor, const RemovalSet* removal);
  void ScanTreeChildren(const ArrayPtr& children, const FolderPtr& father, const TreeFlavor& flavor,
                        const RemovalSet* removal);
  void ReadOpera(const std::filesystem::path& path, const RemovalSet* removal);
  // The second level (leaves also go to OperaFatherArray) or a deeper one.
  void ScanOperaLevel(const ArrayPtr& children, const RemovalSet* removal, bool secondLevel);
  void AddOperaLeaf(const DictPtr& entry, const RemovalSet* removal, bool inFatherList);
  NodePtr MakeUrlLeaf(const DictPtr& entry, const char* browser);
  FolderPtr MakeFolder(const DictPtr& entry, const char* browser);

  ReaderContext& ctx_;
};

// Calls `visit` for each root entry of a "roots" value that is an object: the
// values of an object in their order, or the elements of an array.
void ForEachChromiumRootEntry(const Value& roots, const std::function<void(const DictPtr&)>& visit);

}  // namespace linvara
