#include "model/PRBookMarkNode.h"

#include "model/SearchMatch.h"

namespace linvara {

std::string OrNull(const OptString& s) { return s ? *s : std::string("(null)"); }

#define LINVARA_GUARDED_FIELD(Class, Type, getter, setter, member) \
  Type Class::getter() const {                                     \
    std::lock_guard lock(mutex_);                                  \
    return member;                                                 \
  }                                                                \
  void Class::setter(Type v) {                                     \
    std::lock_guard lock(mutex_);                                  \
    member = std::move(v);                                         \
  }

namespace {
// The folded form of a text, or "" when folding leaves it as it is.
std::string FoldedFormIfDifferent(const OptString& text) {
  if (!text) return {};
  bool plain = true;
  for (unsigned char c : *text) plain &= c < 0x80 && !(c >= 'A' && c <= 'Z');
  if (plain) return {};
  std::string folded = FoldCase(*text);
  return folded == *text ? std::string() : folded;
}

const SharedPath& EmptyPath() {
  static const SharedPath empty = std::make_shared<const std::string>();
  return empty;
}
}  // namespace

SharedPath MakeSharedPath(std::string path) { return std::make_shared<const std::string>(std::move(path)); }

const SharedPath& TopLevelPath() {
  static const SharedPath top = MakeSharedPath("/");
  return top;
}

PRBookMarkNode::PRBookMarkNode(NodeKind kind) : kind_(kind) {
  if (kind == NodeKind::Leaf) {
    theFullPath_ = EmptyPath();
    bookMarkFrom_ = "Safari";
    bookMarkUUID_ = "";
    bookMarkType_ = "";
    urlString_ = "";
    thetitle_ = " ";
    lastAddDate_ = "";
    bookmarkID_ = -1;
    bookmarkParentID_ = -1;
  }
}

namespace {
// Gives make_shared the protected constructors, so that a node and its
// reference count are one allocation.
template <class Node>
struct Made final : Node {
  template <class... Args>
  explicit Made(Args... args) : Node(args...) {}
};
}  // namespace

NodePtr PRBookMarkNode::Create() { return std::make_shared<Made<PRBookMarkNode>>(NodeKind::Leaf); }

const char* PRBookMarkNode::className() const {
  switch (kind_) {
    case NodeKind::Leaf:
      return "PRBookMarkNode";
    case NodeKind::Folder:
      return "PRFaBookMarkNode";
    case NodeKind::Root:
      return "PRRootBookMarkNode";
  }
  return "PRBookMarkNode";
}

NodePtr PRBookMarkNode::fatherItem() const {
  std::lock_guard lock(mutex_);
  if (ownedFather_) return ownedFather_;
  return weakFather_.lock();
}

void PRBookMarkNode::setFatherItem(const NodePtr& father) {
  std::lock_guard lock(mutex_);
  ownedFather_.reset();
  weakFather_.reset();
  if (!father) return;
  if (father->isRoot())
    ownedFather_ = father;
  else
    weakFather_ = father;
}

LINVARA_GUARDED_FIELD(PRBookMarkNode, OptString, lastAddDate, setLastAddDate, lastAddDate_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, DictPtr, dataDict, setDataDict, dataDict_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, OptString, bookMarkUUID, setBookMarkUUID, bookMarkUUID_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, OptString, bookMarkType, setBookMarkType, bookMarkType_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, DictPtr, ListNonSyncDict, setListNonSyncDict, listNonSyncDict_)
OptString PRBookMarkNode::urlString() const {
  std::lock_guard lock(mutex_);
  return urlString_;
}
void PRBookMarkNode::setUrlString(OptString v) { SetSearchedText(urlString_, foldedUrl_, std::move(v)); }
LINVARA_GUARDED_FIELD(PRBookMarkNode, DictPtr, SyncDict, setSyncDict, syncDictLeaf_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, DictPtr, urlDict, setUrlDict, urlDict_)
OptString PRBookMarkNode::thetitle() const {
  std::lock_guard lock(mutex_);
  return thetitle_;
}
void PRBookMarkNode::setThetitle(OptString v) { SetSearchedText(thetitle_, foldedTitle_, std::move(v)); }

void PRBookMarkNode::SetSearchedText(OptString& field, std::string& folded, OptString v) {
  std::string foldedForm = FoldedFormIfDifferent(v);  // folded before the lock is taken
  std::lock_guard lock(mutex_);
  field = std::move(v);
  folded = std::move(foldedForm);
}
LINVARA_GUARDED_FIELD(PRBookMarkNode, DictPtr, readlistDict, setReadlistDict, readlistDict_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, bool, bDeadURL, setBDeadURL, bDeadURL_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, OptString, bookMarkFrom, setBookMarkFrom, bookMarkFrom_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, OptString, addDateStr, setAddDateStr, addDateStr_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, bool, bSelect, setBSelect, bSelect_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, bool, bFavBookmark, setBFavBookmark, bFavBookmark_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, bool, bEncrytedBookmark, setBEncrytedBookmark, bEncrytedBookmark_)
LINVARA_GUARDED_FIELD(PRBookMarkNode, SharedPath, sharedFullPath, setSharedFullPath, theFullPath_)

OptString PRBookMarkNode::theFullPath() const {
  SharedPath path = sharedFullPath();
  return path ? OptString(*path) : std::nullopt;
}

void PRBookMarkNode::setTheFullPath(OptString v) { setSharedFullPath(v ? MakeSharedPath(std::move(*v)) : nullptr); }
LINVARA_GUARDED_FIELD(PRBookMarkNode, std::int32_t, bookmarkID, setBookmarkID, bookmarkID_)

bool PRBookMarkNode::TitleOrAddressContains(std::string_view foldedText) const {
  if (foldedText.empty()) return false;
  const auto contains = [&](const OptString& field, const std::string& folded) {
    if (!field) return false;
    const std::string_view text = folded.empty() ? std::string_view(*field) : std::string_view(folded);
    return text.find(foldedText) != std::string_view::npos;
  };
  std::lock_guard lock(mutex_);
  return contains(thetitle_, foldedTitle_) || contains(urlString_, foldedUrl_);
}
LINVARA_GUARDED_FIELD(PRBookMarkNode, std::int32_t, bookmarkParentID, setBookmarkParentID, bookmarkParentID_)

PRFaBookMarkNode::PRFaBookMarkNode(NodeKind kind) : PRBookMarkNode(kind) {
  if (kind == NodeKind::Folder) childrenArray_ = std::make_shared<NodeList>();
}

FolderPtr PRFaBookMarkNode::Create() { return std::make_shared<Made<PRFaBookMarkNode>>(NodeKind::Folder); }

PRFaBookMarkNode::~PRFaBookMarkNode() {
  // Children this folder owns alone hand their own children over before they
  // go, so releasing a chain of any depth takes no recursion.
  NodeListPtr list = std::move(childrenArray_);
  if (!list || list.use_count() != 1) return;
  NodeList pending = std::move(*list);
  list.reset();
  while (!pending.empty()) {
    NodePtr node = std::move(pending.back());
    pending.pop_back();
    if (node.use_count() != 1 || node->isLeaf()) continue;
    NodeListPtr children = std::move(static_cast<PRFaBookMarkNode&>(*node).childrenArray_);
    if (children && children.use_count() == 1)
      for (NodePtr& child : *children) pending.push_back(std::move(child));
  }
}

LINVARA_GUARDED_FIELD(PRFaBookMarkNode, DictPtr, itemDict, setItemDict, itemDict_)
LINVARA_GUARDED_FIELD(PRFaBookMarkNode, OptString, faBookMarkType, setFaBookMarkType, faBookMarkType_)
LINVARA_GUARDED_FIELD(PRFaBookMarkNode, NodeListPtr, childrenArray, setChildrenArray, childrenArray_)
LINVARA_GUARDED_FIELD(PRFaBookMarkNode, DictPtr, syncDict, setSyncDict, syncDict_)
LINVARA_GUARDED_FIELD(PRFaBookMarkNode, OptString, titleStr, setTitleStr, titleStr_)
LINVARA_GUARDED_FIELD(PRFaBookMarkNode, OptString, idenetifierStr, setIdenetifierStr, idenetifierStr_)
LINVARA_GUARDED_FIELD(PRFaBookMarkNode, bool, shouldOmitUI, setShouldOmitUI, shouldOmitUI_)

void PRFaBookMarkNode::appendChild(const NodePtr& child) {
  std::lock_guard lock(mutex_);
  if (!childrenArray_) childrenArray_ = std::make_shared<NodeList>();
  childrenArray_->push_back(child);
}

NodeList PRFaBookMarkNode::childrenSnapshot() const {
  std::lock_guard lock(mutex_);
  return childrenArray_ ? *childrenArray_ : NodeList{};
}

void PRFaBookMarkNode::CopyContentfromNode(const PRFaBookMarkNode& other) {
  if (&other == this) return;
  // Read the source under its own lock, then write under ours; never both at once.
  DictPtr item, sync;
  OptString type, title, identifier;
  NodeListPtr children;
  bool omit = false;
  {
    std::lock_guard lock(other.mutex_);
    item = other.itemDict_;
    type = other.faBookMarkType_;
    children = other.childrenArray_;
    sync = other.syncDict_;
    title = other.titleStr_;
    identifier = other.idenetifierStr_;
    omit = other.shouldOmitUI_;
  }
  std::lock_guard lock(mutex_);
  itemDict_ = std::move(item);
  faBookMarkType_ = std::move(type);
  childrenArray_ = std::move(children);
  syncDict_ = std::move(sync);
  titleStr_ = std::move(title);
  idenetifierStr_ = std::move(identifier);
  shouldOmitUI_ = omit;
}

PRRootBookMarkNode::PRRootBookMarkNode() : PRFaBookMarkNode(NodeKind::Root) {}

RootPtr PRRootBookMarkNode::Create() { return std::make_shared<Made<PRRootBookMarkNode>>(); }

LINVARA_GUARDED_FIELD(PRRootBookMarkNode, DictPtr, rootDict, setRootDict, rootDict_)
LINVARA_GUARDED_FIELD(PRRootBookMarkNode, OptString, rootBookMarkUUID, setRootBookMarkUUID, rootBookMarkUUID_)
LINVARA_GUARDED_FIELD(PRRootBookMarkNode, Value, rootbmFileVersion, setRootbmFileVersion, rootbmFileVersion_)
LINVARA_GUARDED_FIELD(PRRootBookMarkNode, OptString, bmType, setBmType, bmType_)
LINVARA_GUARDED_FIELD(PRRootBookMarkNode, Value, rawChildren, setRawChildren, rawChildren_)

#undef LINVARA_GUARDED_FIELD

FolderPtr AsFolder(const NodePtr& node) {
  if (!node || !node->isFolder()) return nullptr;
  return std::static_pointer_cast<PRFaBookMarkNode>(node);
}

FolderPtr AsFolderOrRoot(const NodePtr& node) {
  if (!node || node->isLeaf()) return nullptr;
  return std::static_pointer_cast<PRFaBookMarkNode>(node);
}

RootPtr AsRoot(const NodePtr& node) {
  if (!node || !node->isRoot()) return nullptr;
  return std::static_pointer_cast<PRRootBookMarkNode>(node);
}

SharedPath SharedPathBelow(const NodePtr& father) { return MakeSharedPath(FullPathBelow(father)); }

std::string FullPathBelow(const NodePtr& father) {
  if (!father || father->isRoot()) return "/";
  SharedPath path = father->sharedFullPath();
  if (path && *path == "/") return "/" + OrNull(father->thetitle());
  return (path ? *path : std::string("(null)")) + "/" + OrNull(father->thetitle());
}

}  // namespace linvara
