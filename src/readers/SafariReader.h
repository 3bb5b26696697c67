#pragma once
// Safari's Bookmarks.plist (XML or binary property list) into nodes and the
// lists safariFatherArray, safariBookMarkArray and allbookMarkArray.
#include <filesystem>

#include "readers/ReaderContext.h"

namespace linvara {

class SafariReader {
 public:
  explicit SafariReader(ReaderContext& ctx);

  // Reads the file and appends to the lists. A missing or unreadable file
  // changes nothing, not even the root; a file that is not a Safari property
  // list installs a root, adds no node and is Malformed.
  ReadResult ReadSafariBookMark(const std::filesystem::path& path);
  // The same, leaving out every leaf whose address is the address of a node of `removeList`.
  ReadResult ReadSafariBookMark(const std::filesystem::path& path, const NodeList& removeList);

  // Queues the parse of `path` for a full read that reads it ahead.
  static void QueueReadAhead(ReadAhead& ahead, const std::filesystem::path& path);

  void InitSafariRootItemwithDict(const DictPtr& rootDict) { linvara::InitSafariRootItemwithDict(ctx_, rootDict); }
  // Reads one "Children" array below `father`, a top-level folder.
  void ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father);
  void ScanSafariChildItemWithDict(const ArrayPtr& children, const FolderPtr& father, const NodeList& removeList);

 private:
  ReadResult Read(const std::filesystem::path& path, const RemovalSet* removal);
  // `level`: the number of folders around the children, `father` included.
  void ScanChildren(const ArrayPtr& children, const FolderPtr& father, const RemovalSet* removal, std::size_t level);
  // Counts a folder entry that lies below the folder limit, with everything in it.
  void LeaveOut(const DictPtr& entry, const RemovalSet* removal);
  bool IsEncrypted(const OptString& url) const;
  FolderPtr MakeFolder(const DictPtr& entry);  // the fields lists and proxies share
  FolderPtr MakeListFolder(const DictPtr& entry);
  FolderPtr MakeProxyFolder(const DictPtr& entry);
  NodePtr MakeLeaf(const DictPtr& entry);

  ReaderContext& ctx_;
  std::vector<std::string> foldedMarkers_;  // the encrypted markers, case-folded once
  std::size_t leftOut_ = 0;
};

}  // namespace linvara
