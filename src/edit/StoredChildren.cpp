#include "edit/StoredChildren.h"

namespace linvara {

NodeSet MakeNodeSet(const NodeList& nodes) {
  NodeSet set;
  set.reserve(nodes.size());
  for (const NodePtr& node : nodes)
    if (node) set.insert(node.get());
  return set;
}

bool Holds(const NodeSet& set, const NodePtr& node) { return node && set.count(node.get()) > 0; }

ArrayPtr RebuildStoredChildren(const ArrayPtr& stored, const NodeList& nodes, const BecameNode& becameNode,
                               const EntryOfNode& entryOf) {
  auto out = Array::make();
  out->items().reserve((stored ? stored->size() : 0) + nodes.size());
  std::size_t next = 0;
  auto emitNode = [&](const NodePtr& node) {
    if (std::optional<Value> entry = entryOf(node)) out->append(std::move(*entry));
  };
  if (stored) {
    for (const Value& item : *stored) {
      if (!becameNode(item))
        out->append(item);
      else if (next < nodes.size())
        emitNode(nodes[next++]);
    }
  }
  for (; next < nodes.size(); ++next) emitNode(nodes[next]);
  return out;
}

std::size_t FolderLevel(const NodePtr& folder) {
  std::size_t level = 1;
  NodeSet seen;
  for (NodePtr father = folder ? folder->fatherItem() : nullptr; father && !father->isRoot();
       father = father->fatherItem()) {
    if (!seen.insert(father.get()).second) break;
    ++level;
  }
  return level;
}

void AddFoldersAbove(const NodePtr& node, NodeSet& into) {
  NodeSet seen;
  for (NodePtr father = node ? node->fatherItem() : nullptr; father && !father->isRoot();
       father = father->fatherItem()) {
    if (!seen.insert(father.get()).second) break;
    into.insert(father.get());
  }
}

}  // namespace linvara
