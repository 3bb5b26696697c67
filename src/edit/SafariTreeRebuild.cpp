#include "edit/SafariTreeRebuild.h"

#include "edit/StoredChildren.h"
#include "readers/ReadReport.h"

namespace linvara {
namespace {

constexpr const char* kTypeList = "WebBookmarkTypeList";
constexpr const char* kTypeProxy = "WebBookmarkTypeProxy";
constexpr const char* kTypeLeaf = "WebBookmarkTypeLeaf";

std::optional<std::string> EntryType(const Value& entry) {
  DictPtr dict = entry.asDict();
  return dict ? dict->getString("WebBookmarkType") : std::nullopt;
}

bool IsFolderType(const std::string& type) { return type == kTypeList || type == kTypeProxy; }

// As the Safari reader decides: top-level entries of the three types, and below, folders above the limit.
bool TopLevelBecameNode(const Value& entry) {
  const std::optional<std::string> type = EntryType(entry);
  return type && (*type == kTypeLeaf || IsFolderType(*type));
}
BecameNode ChildBecameNode(std::size_t level) {
  return [level](const Value& entry) {
    const std::optional<std::string> type = EntryType(entry);
    if (!type) return false;
    if (*type == kTypeLeaf) return true;
    return IsFolderType(*type) && level < kMaxFolderLevels;
  };
}

bool IsTopLevel(const NodePtr& node) {
  NodePtr father = node->fatherItem();
  return !father || father->isRoot();
}

void SetOrRemove(Dictionary& dict, std::string_view key, const OptString& value) {
  if (value)
    dict.set(key, *value);
  else
    dict.remove(key);
}

DictPtr FreshFolderDictionary(const PRBookMarkNode& folder) {
  DictPtr dict = Dictionary::make();
  dict->set("WebBookmarkType", kTypeList);
  if (OptString title = folder.thetitle()) dict->set("Title", *title);
  if (OptString uuid = folder.bookMarkUUID()) dict->set("WebBookmarkUUID", *uuid);
  return dict;
}

// One rebuild: which nodes changed and which folders are therefore written anew.
struct Rebuild {
  NodeSet removed;
  NodeSet edited;
  NodeSet dirty;         // folders holding a change at some depth
  NodeSet parentRule;    // nested folders written from their parent's dictionary
  FolderPtr target;      // the move's target folder
  NodeList appended;     // the moved bookmarks, in order
  bool wholeSubtree = false;
  SiblingOrder order;

  NodeList Ordered(NodeList nodes, bool topLevel) const { return order ? order(nodes, topLevel) : nodes; }

  std::optional<Value> ChildEntry(const NodePtr& child, std::size_t level) const {
    if (Holds(removed, child)) return std::nullopt;
    if (child->isLeaf()) {
      DictPtr dict = Holds(edited, child) ? EditedBookmarkDictionary(child) : child->dataDict();
      if (!dict) return std::nullopt;
      return Value(dict);
    }
    if (FolderPtr folder = AsFolder(child)) return Value(FolderEntry(folder, level + 1));
    return std::nullopt;
  }

  ArrayPtr Children(const FolderPtr& folder, std::size_t level, const DictPtr& stored) const {
    ArrayPtr children = RebuildStoredChildren(stored ? stored->getArray("Children") : nullptr,
                                              Ordered(folder->childrenSnapshot(), false), ChildBecameNode(level),
                                              [&](const NodePtr& c) { return ChildEntry(c, level); });
    if (target && folder == target)
      for (const NodePtr& node : appended)
        if (DictPtr dict = node->dataDict()) children->append(dict);
    return children;
  }

  DictPtr ParentRuleDictionary(const FolderPtr& folder) const {
    FolderPtr father = AsFolder(folder->fatherItem());
    DictPtr fatherDict = father ? father->itemDict() : nullptr;
    DictPtr stored = folder->itemDict();
    DictPtr dict = fatherDict ? fatherDict->copy() : stored ? stored->copy() : FreshFolderDictionary(*folder);
    SetOrRemove(*dict, "Title", folder->thetitle());
    SetOrRemove(*dict, "WebBookmarkUUID", folder->bookMarkUUID());
    if (DictPtr sync = folder->syncDict())
      dict->set("Sync", sync);
    else
      dict->remove("Sync");
    return dict;
  }

  DictPtr FolderEntry(const FolderPtr& folder, std::size_t level) const {
    const bool isDirty = wholeSubtree || Holds(dirty, folder);
    const bool isEdited = Holds(edited, folder);
    DictPtr stored = folder->itemDict();
    if (!isDirty && !isEdited && stored) return stored;
    const bool topLevel = IsTopLevel(folder);
    DictPtr dict;
    if (target && folder == target && topLevel) {
      dict = FreshFolderDictionary(*folder);
    } else if (!topLevel && Holds(parentRule, folder)) {
      dict = ParentRuleDictionary(folder);
    } else if (stored) {
      dict = stored->copy();
    } else {
      dict = FreshFolderDictionary(*folder);
      if (wholeSubtree) folder->setItemDict(dict);
      dict = dict->copy();
    }
    if (isDirty || !stored) dict->set("Children", Children(folder, level, stored));
    if (isEdited) {
      if (OptString title = folder->thetitle()) dict->set("Title", *title);
      if (OptString url = folder->urlString()) dict->set("URLString", *url);
    }
    return dict;
  }

  std::optional<Value> TopLevelEntry(const NodePtr& node) const {
    if (Holds(removed, node)) return std::nullopt;  // a removed top-level folder goes with its subtree
    if (FolderPtr folder = AsFolder(node)) return Value(FolderEntry(folder, 1));
    return ChildEntry(node, 0);
  }

  ArrayPtr TopLevelChildren(const BookmarkLists& lists) const {
    DictPtr rootDict = lists.rootNode ? lists.rootNode->rootDict() : nullptr;
    return RebuildStoredChildren(rootDict ? rootDict->getArray("Children") : nullptr, Ordered(lists.safariFatherArray, true),
                                 TopLevelBecameNode, [&](const NodePtr& n) { return TopLevelEntry(n); });
  }

  void MarkChanged(const NodeList& nodes, NodeSet& set, bool parentRuleToo) {
    for (const NodePtr& node : nodes) {
      if (!node) continue;
      set.insert(node.get());
      AddFoldersAbove(node, dirty);
      if (parentRuleToo) AddFoldersAbove(node, parentRule);
    }
  }
  // Top-level entries the caller names as ancestors are written anew too (equal to their dictionary when clean).
  void MarkAncestors(const NodeList& ancestors) {
    for (const NodePtr& node : ancestors)
      if (AsFolder(node)) dirty.insert(node.get());
  }
};

}  // namespace

NodePtr getLastFaBookNode(const NodePtr& node, const NodePtr& root) {
  if (!node) return nullptr;
  NodePtr father = node->fatherItem();
  if (!father || father == root) return father;
  NodeSet seen{node.get()};
  for (NodePtr above = father->fatherItem(); above && above != root; above = father->fatherItem()) {
    if (!seen.insert(father.get()).second) return father;
    father = above;
  }
  return father;
}

NodeList AncestorsOf(const NodeList& nodes, const NodePtr& root) {
  NodeList out;
  out.reserve(nodes.size());
  for (const NodePtr& node : nodes) out.push_back(getLastFaBookNode(node, root));
  return out;
}

namespace {
enum class Change { Removed, Edited };

ArrayPtr TopLevelWith(const BookmarkLists& lists, const NodeList& ancestors, const NodeList& changed, Change change) {
  Rebuild rebuild;
  rebuild.MarkChanged(changed, change == Change::Removed ? rebuild.removed : rebuild.edited, true);
  rebuild.MarkAncestors(ancestors);
  return rebuild.TopLevelChildren(lists);
}

DictPtr FolderWith(const FolderPtr& folder, const NodeList& changed, Change change) {
  if (!folder) return nullptr;
  Rebuild rebuild;
  rebuild.MarkChanged(changed, change == Change::Removed ? rebuild.removed : rebuild.edited, true);
  rebuild.dirty.insert(folder.get());
  rebuild.parentRule.insert(folder.get());
  return rebuild.FolderEntry(folder, FolderLevel(folder));
}
}  // namespace

ArrayPtr removeManyBookMarkfromSafariBookMarkWithArray(const BookmarkLists& lists, const NodeList& ancestors,
                                                       const NodeList& removeList) {
  return TopLevelWith(lists, ancestors, removeList, Change::Removed);
}

DictPtr getLastFaDictBookNode(const FolderPtr& folder, const NodeList& removeList) {
  return FolderWith(folder, removeList, Change::Removed);
}

ArrayPtr EditManyBookMarkfromSafariBookMarkWithArray(const BookmarkLists& lists, const NodeList& ancestors,
                                                     const NodeList& edited) {
  return TopLevelWith(lists, ancestors, edited, Change::Edited);
}

DictPtr getEidtLastFaDictBookNode(const FolderPtr& folder, const NodeList& edited) {
  return FolderWith(folder, edited, Change::Edited);
}

DictPtr EditedBookmarkDictionary(const NodePtr& bookmark) {
  DictPtr stored = bookmark ? bookmark->dataDict() : nullptr;
  if (!stored) return nullptr;
  DictPtr dict = stored->copy();
  if (OptString title = bookmark->thetitle()) {
    DictPtr uri = Dictionary::make();
    uri->set("title", *title);
    dict->set("URIDictionary", uri);
  }
  if (OptString url = bookmark->urlString()) dict->set("URLString", *url);
  return dict;
}

DictPtr getTheChildArrayDictionary(const FolderPtr& folder) {
  if (!folder) return nullptr;
  Rebuild rebuild;
  rebuild.wholeSubtree = true;
  return rebuild.FolderEntry(folder, FolderLevel(folder));
}

ArrayPtr SafariChildrenOfWholeTree(const BookmarkLists& lists, const SiblingOrder& order) {
  Rebuild rebuild;
  rebuild.wholeSubtree = true;
  rebuild.order = order;
  return rebuild.TopLevelChildren(lists);
}

FolderPtr getMovedBookFolderItemwithSelectMenuItemTitle(const NodeList& topLevel, const std::string& title) {
  // Depth first without recursion: a folder, then everything inside it, then its next sibling.
  std::vector<NodePtr> pending(topLevel.rbegin(), topLevel.rend());
  while (!pending.empty()) {
    NodePtr node = std::move(pending.back());
    pending.pop_back();
    FolderPtr folder = AsFolder(node);
    if (!folder) continue;
    if (OptString t = folder->thetitle(); t && *t == title) return folder;
    NodeList children = folder->childrenSnapshot();
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return nullptr;
}

ArrayPtr MovedSafariChildren(const BookmarkLists& lists, const NodeList& moved, const FolderPtr& target) {
  Rebuild rebuild;
  NodeList bookmarks;
  for (const NodePtr& node : moved)
    if (node && node->isLeaf()) bookmarks.push_back(node);
  rebuild.MarkChanged(bookmarks, rebuild.removed, true);
  if (target) {
    rebuild.target = target;
    rebuild.appended = bookmarks;
    rebuild.dirty.insert(target.get());
    AddFoldersAbove(target, rebuild.dirty);
  }
  return rebuild.TopLevelChildren(lists);
}

}  // namespace linvara
