#pragma once
// Bookmark nodes: a leaf (PRBookMarkNode), a folder (PRFaBookMarkNode) and the
// invisible root of one browser file (PRRootBookMarkNode).
//
// Every accessor is indivisible: a one-byte per-node lock guards each get and set,
// so a worker reading a field while the main thread sets it sees the old or the
// new value. Strings are stored as copies; dictionaries and lists are shared.
//
// Father links: a link to a root is owning, so top-level entries keep their
// root alive; a link to a folder is weak, because the folder already owns the
// child through its children list and an owning link both ways would never be
// freed.
#include <cstdint>
#include <memory>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/Value.h"

namespace linvara {

class PRBookMarkNode;
class PRFaBookMarkNode;
class PRRootBookMarkNode;
using NodePtr = std::shared_ptr<PRBookMarkNode>;
using FolderPtr = std::shared_ptr<PRFaBookMarkNode>;
using RootPtr = std::shared_ptr<PRRootBookMarkNode>;
using NodeList = std::vector<NodePtr>;
using NodeListPtr = std::shared_ptr<NodeList>;
using OptString = std::optional<std::string>;
// A path string shared by the nodes of one folder; null means no path.
using SharedPath = std::shared_ptr<const std::string>;

// The lock of one node: one byte, held only for a field's get or set.
class NodeFieldLock {
 public:
  void lock() noexcept {
    while (held_.exchange(true, std::memory_order_acquire)) std::this_thread::yield();
  }
  void unlock() noexcept { held_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> held_{false};
};

// The exact kind of a node; no kind test includes derived kinds.
enum class NodeKind { Leaf, Folder, Root };

// Text of an optional string as the system formats a missing object: "(null)".
std::string OrNull(const OptString& s);

class PRBookMarkNode : public std::enable_shared_from_this<PRBookMarkNode> {
 public:
  static NodePtr Create();
  virtual ~PRBookMarkNode() = default;
  PRBookMarkNode(const PRBookMarkNode&) = delete;
  PRBookMarkNode& operator=(const PRBookMarkNode&) = delete;

  NodeKind kind() const { return kind_; }
  bool isLeaf() const { return kind_ == NodeKind::Leaf; }
  bool isFolder() const { return kind_ == NodeKind::Folder; }
  bool isRoot() const { return kind_ == NodeKind::Root; }
  // "PRBookMarkNode", "PRFaBookMarkNode" or "PRRootBookMarkNode".
  const char* className() const;

  NodePtr fatherItem() const;
  void setFatherItem(const NodePtr& father);

  OptString lastAddDate() const;
  void setLastAddDate(OptString v);
  DictPtr dataDict() const;
  void setDataDict(DictPtr v);
  OptString bookMarkUUID() const;
  void setBookMarkUUID(OptString v);
  OptString bookMarkType() const;
  void setBookMarkType(OptString v);
  DictPtr ListNonSyncDict() const;
  void setListNonSyncDict(DictPtr v);
  OptString urlString() const;
  void setUrlString(OptString v);
  DictPtr SyncDict() const;
  void setSyncDict(DictPtr v);
  DictPtr urlDict() const;
  void setUrlDict(DictPtr v);
  OptString thetitle() const;
  void setThetitle(OptString v);
  // Calls `read` with the title, or the address, under the node's lock, without a copy.
  template <class Read>
  void ReadThetitle(Read&& read) const {
    std::lock_guard lock(mutex_);
    read(thetitle_);
  }
  template <class Read>
  void ReadUrlString(Read&& read) const {
    std::lock_guard lock(mutex_);
    read(urlString_);
  }
  DictPtr readlistDict() const;
  void setReadlistDict(DictPtr v);
  bool bDeadURL() const;
  void setBDeadURL(bool v);
  OptString bookMarkFrom() const;
  void setBookMarkFrom(OptString v);
  OptString addDateStr() const;
  void setAddDateStr(OptString v);
  bool bSelect() const;
  void setBSelect(bool v);
  bool bFavBookmark() const;
  void setBFavBookmark(bool v);
  bool bEncrytedBookmark() const;
  void setBEncrytedBookmark(bool v);
  OptString theFullPath() const;
  void setTheFullPath(OptString v);
  // The same path object for every child of a folder, computed once per folder.
  SharedPath sharedFullPath() const;
  void setSharedFullPath(SharedPath v);
  std::int32_t bookmarkID() const;
  void setBookmarkID(std::int32_t v);
  std::int32_t bookmarkParentID() const;
  void setBookmarkParentID(std::int32_t v);

  // The search rule on case-folded text (FoldCase): true when the title
  // contains `foldedText`, or else the address does. The folded forms are made
  // when the title and address are set, not per search.
  bool TitleOrAddressContains(std::string_view foldedText) const;

 protected:
  explicit PRBookMarkNode(NodeKind kind);
  mutable NodeFieldLock mutex_;

 private:
  // Sets the title or the address with its folded form for the search.
  void SetSearchedText(OptString& field, std::string& folded, OptString v);

  NodeKind kind_;
  NodePtr ownedFather_;                       // set when the father is a root
  std::weak_ptr<PRBookMarkNode> weakFather_;  // set when the father is a folder
  OptString lastAddDate_;
  DictPtr dataDict_;
  OptString bookMarkUUID_;
  OptString bookMarkType_;
  DictPtr listNonSyncDict_;
  OptString urlString_;
  std::string foldedUrl_;  // empty when the address is its own folded form
  DictPtr syncDictLeaf_;
  DictPtr urlDict_;
  OptString thetitle_;
  std::string foldedTitle_;  // empty when the title is its own folded form
  DictPtr readlistDict_;
  bool bDeadURL_ = false;
  OptString bookMarkFrom_;
  OptString addDateStr_;
  bool bSelect_ = false;
  bool bFavBookmark_ = false;
  bool bEncrytedBookmark_ = false;
  SharedPath theFullPath_;
  std::int32_t bookmarkID_ = 0;
  std::int32_t bookmarkParentID_ = 0;
};

class PRFaBookMarkNode : public PRBookMarkNode {
 public:
  static FolderPtr Create();
  // Releases the subtree without recursion, however deep it is.
  ~PRFaBookMarkNode() override;

  DictPtr itemDict() const;
  void setItemDict(DictPtr v);
  OptString faBookMarkType() const;
  void setFaBookMarkType(OptString v);
  // The folder's child nodes; shared, so a copy made by CopyContentfromNode sees the same list.
  NodeListPtr childrenArray() const;
  void setChildrenArray(NodeListPtr v);
  DictPtr syncDict() const;
  void setSyncDict(DictPtr v);
  OptString titleStr() const;
  void setTitleStr(OptString v);
  OptString idenetifierStr() const;
  void setIdenetifierStr(OptString v);
  bool shouldOmitUI() const;
  void setShouldOmitUI(bool v);

  // Appends a child to the children list (creating the list when there is none).
  void appendChild(const NodePtr& child);
  // A copy of the children list, taken under the lock.
  NodeList childrenSnapshot() const;

  // Copies the seven folder fields of another folder; the children list is shared, not duplicated.
  void CopyContentfromNode(const PRFaBookMarkNode& other);

 protected:
  explicit PRFaBookMarkNode(NodeKind kind);

 private:
  DictPtr itemDict_;
  OptString faBookMarkType_;
  NodeListPtr childrenArray_;
  DictPtr syncDict_;
  OptString titleStr_;
  OptString idenetifierStr_;
  bool shouldOmitUI_ = false;
};

class PRRootBookMarkNode : public PRFaBookMarkNode {
 public:
  static RootPtr Create();

  DictPtr rootDict() const;
  void setRootDict(DictPtr v);
  OptString rootBookMarkUUID() const;
  void setRootBookMarkUUID(OptString v);
  // The file's "WebBookmarkFileVersion" as read (any value type; null when absent).
  Value rootbmFileVersion() const;
  void setRootbmFileVersion(Value v);
  OptString bmType() const;
  void setBmType(OptString v);
  // A root's children are the file's raw top-level children value ("Children"
  // array of a Safari file, "roots" object or array of a Chromium file), not nodes.
  Value rawChildren() const;
  void setRawChildren(Value v);

 protected:
  PRRootBookMarkNode();

 private:
  DictPtr rootDict_;
  OptString rootBookMarkUUID_;
  Value rootbmFileVersion_;
  OptString bmType_;
  Value rawChildren_;
};

// Exact-kind casts: null unless the node is exactly that kind.
FolderPtr AsFolder(const NodePtr& node);        // folders only, never roots
FolderPtr AsFolderOrRoot(const NodePtr& node);  // anything with folder fields
RootPtr AsRoot(const NodePtr& node);

// Path of the folder that holds a child of `father`: "/" + title below a
// top-level folder, father's path + "/" + title deeper. A null father gives "/".
std::string FullPathBelow(const NodePtr& father);
SharedPath SharedPathBelow(const NodePtr& father);
SharedPath MakeSharedPath(std::string path);
// The path "/" of every top-level entry, one object for all.
const SharedPath& TopLevelPath();

}  // namespace linvara
