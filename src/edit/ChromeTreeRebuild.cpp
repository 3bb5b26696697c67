#include "edit/ChromeTreeRebuild.h"

#include <string>
#include <unordered_map>

#include "edit/StoredChildren.h"
#include "readers/ReadReport.h"

namespace linvara {
namespace {

std::optional<std::string> EntryType(const Value& entry) {
  DictPtr dict = entry.asDict();
  return dict ? dict->getString("type") : std::nullopt;
}

bool TopLevelBecameNode(const Value& entry) {
  const std::optional<std::string> type = EntryType(entry);
  return type && (*type == "folder" || *type == "url");
}

BecameNode ChildBecameNode(std::size_t level) {
  return [level](const Value& entry) {
    const std::optional<std::string> type = EntryType(entry);
    return type && (*type == "url" || (*type == "folder" && level < kMaxFolderLevels));
  };
}

// The names Chrome gives its roots, for a "roots" array written by earlier versions.
std::string RootKeyAt(std::size_t index) {
  static const char* const kNames[] = {"bookmark_bar", "other", "synced"};
  return index < 3 ? kNames[index] : "root_" + std::to_string(index + 1);
}

struct ChromeRebuild {
  NodeSet removed;
  NodeSet dirty;
  bool wholeSubtree = false;
  SiblingOrder order;

  NodeList Ordered(NodeList nodes, bool topLevel) const { return order ? order(nodes, topLevel) : nodes; }

  std::optional<Value> Entry(const NodePtr& node, std::size_t level) const {
    if (Holds(removed, node)) return std::nullopt;
    if (FolderPtr folder = AsFolder(node)) {
      DictPtr dict = FolderObject(folder, level + 1);
      if (!dict) return std::nullopt;
      return Value(dict);
    }
    if (!node->isLeaf() || !node->dataDict()) return std::nullopt;
    return Value(node->dataDict());
  }

  DictPtr FolderObject(const FolderPtr& folder, std::size_t level) const {
    DictPtr stored = folder->itemDict();
    if (!stored) return nullptr;
    if (!wholeSubtree && !Holds(dirty, folder)) return stored;
    DictPtr dict = stored->copy();
    dict->set("children", RebuildStoredChildren(stored->getArray("children"), Ordered(folder->childrenSnapshot(), false),
                                                ChildBecameNode(level),
                                                [&](const NodePtr& c) { return Entry(c, level); }));
    return dict;
  }

  Value Roots(const BookmarkLists& lists) const {
    DictPtr rootDict = lists.rootNode ? lists.rootNode->rootDict() : nullptr;
    const Value stored = rootDict ? rootDict->get("roots") : Value();
    // The stored roots as (key, value) pairs; an array gets Chrome's names by position.
    std::vector<std::pair<std::string, Value>> entries;
    if (DictPtr object = stored.asDict()) {
      for (const auto& [key, value] : *object) entries.emplace_back(key, value);
    } else if (ArrayPtr array = stored.asArray()) {
      for (std::size_t i = 0; i < array->size(); ++i) entries.emplace_back(RootKeyAt(i), array->at(i));
    }
    // Each top-level node keeps the key it was read under, wherever the order puts it.
    const NodeList& nodes = lists.ChromeFatherArray;
    std::unordered_map<const PRBookMarkNode*, std::string> keyOf;
    std::size_t next = 0;
    for (const auto& [key, value] : entries)
      if (TopLevelBecameNode(value) && next < nodes.size()) keyOf[nodes[next++].get()] = key;
    for (std::size_t i = entries.size(); next < nodes.size(); ++i) keyOf[nodes[next++].get()] = RootKeyAt(i);
    const NodeList ordered = Ordered(nodes, true);
    auto out = Dictionary::make();
    auto emit = [&](const NodePtr& node) {
      if (std::optional<Value> entry = Entry(node, 0)) out->set(keyOf[node.get()], std::move(*entry));
    };
    next = 0;
    for (const auto& [key, value] : entries) {
      if (!TopLevelBecameNode(value))
        out->set(key, value);
      else if (next < ordered.size())
        emit(ordered[next++]);
    }
    for (; next < ordered.size(); ++next) emit(ordered[next]);
    return Value(out);
  }

  void MarkRemoved(const NodeList& nodes) {
    for (const NodePtr& node : nodes) {
      if (!node) continue;
      removed.insert(node.get());
      AddFoldersAbove(node, dirty);
    }
  }
};

}  // namespace

Value removeManyBookMarkfromChromeBookMarkWithArray(const BookmarkLists& lists, const NodeList& ancestors,
                                                    const NodeList& removeList) {
  ChromeRebuild rebuild;
  rebuild.MarkRemoved(removeList);
  for (const NodePtr& node : ancestors)
    if (AsFolder(node)) rebuild.dirty.insert(node.get());
  return rebuild.Roots(lists);
}

DictPtr getChromeLastFaDictBookNode(const FolderPtr& folder, const NodeList& removeList) {
  if (!folder) return nullptr;
  ChromeRebuild rebuild;
  rebuild.MarkRemoved(removeList);
  rebuild.dirty.insert(folder.get());
  return rebuild.FolderObject(folder, FolderLevel(folder));
}

Value ChromeRootsAsObject(const Value& roots) {
  ArrayPtr array = roots.asArray();
  if (!array) return roots;
  auto object = Dictionary::make();
  for (std::size_t i = 0; i < array->size(); ++i) object->set(RootKeyAt(i), array->at(i));
  return Value(object);
}

Value ChromeRootsOfWholeTree(const BookmarkLists& lists, const SiblingOrder& order) {
  ChromeRebuild rebuild;
  rebuild.wholeSubtree = true;
  rebuild.order = order;
  return rebuild.Roots(lists);
}

}  // namespace linvara
