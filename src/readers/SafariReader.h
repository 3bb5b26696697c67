#pragma once
// Safari's Bookmarks.plist (XML or binary property list) into nodes and the
// lists safariFatherArray, safariBookMarkArray and allbookMarkArray.
#include <filesystem>

#include "readers/ReaderContext.h"

namespace linvara {

class SafariReader {
 public:
  explicit SafariReader(ReaderContext& ctx);

  // Reads the file and appends to the lists. A missing file changes nothing,
  // not even the root; a file that does not parse installs a root and adds no node.
  void ReadSafariBookMark(const std::filesystem::path& path);
  // The same, leaving out every leaf whose address is the address of a node of `removeList`.
  void ReadSafariBookMark(const std::filesystem::path& path, const NodeList& removeList);

  void InitSafariRootItemwithDict(const DictPtr& rootDict) { linvara::InitSafariRootItemwithDict(ctx_, rootDict); }
  // Reads one "Children" array below `father`.
  void ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father);
  void ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father, const NodeList& removeList);

 private:
  void Read(const std::filesystem::path& path, const RemovalSet* removal);
  void ScanChildren(const ArrayPtr& children, const FolderPtr& father, const RemovalSet* removal);
  FolderPtr MakeFolder(const DictPtr& entry);  // the fields lists and proxies share
  FolderPtr MakeListFolder(const DictPtr& entry);
  FolderPtr MakeProxyFolder(const DictPtr& entry);
  NodePtr MakeLeaf(const DictPtr& entry);

  ReaderContext& ctx_;
  std::string foldedMarker_;  // the encrypted marker, case-folded once
};

}  // namespace linvara
