#pragma once
// The link between a folder's stored "Children" array and its child nodes.
// A reader makes nodes of some entries only (typed dictionaries); the others
// (non-dictionaries, unknown types, folders below the folder limit) have no
// node and must pass through a rebuild unchanged and in place.
#include <functional>
#include <optional>
#include <unordered_set>

#include "model/PRBookMarkNode.h"

namespace linvara {

// Node identities, for the "very same node object" tests of the rebuilds.
using NodeSet = std::unordered_set<const PRBookMarkNode*>;
NodeSet MakeNodeSet(const NodeList& nodes);
bool Holds(const NodeSet& set, const NodePtr& node);

// Whether the reader made a node of a stored entry.
using BecameNode = std::function<bool(const Value& entry)>;
// The entry written for a node; nullopt leaves the node out.
using EntryOfNode = std::function<std::optional<Value>(const NodePtr& node)>;

// Gives a list of siblings (the top level, or a folder's children) in the order
// to write; a whole-tree rebuild with one writes the tree reordered while the
// nodes keep their order.
using SiblingOrder = std::function<NodeList(const NodeList& siblings, bool topLevel)>;

// The rebuilt children: each stored entry without a node stays where it was;
// the node places are filled by `nodes` in their order; nodes beyond the
// stored places follow at the end. A null `stored` writes the nodes only.
ArrayPtr RebuildStoredChildren(const ArrayPtr& stored, const NodeList& nodes, const BecameNode& becameNode,
                               const EntryOfNode& entryOf);

// Folder levels from the top: 1 for a top-level folder (its father is a root or
// none). Ends for father chains that loop.
std::size_t FolderLevel(const NodePtr& folder);
// Adds every folder above `node` (up to, not including, a root) to `into`.
void AddFoldersAbove(const NodePtr& node, NodeSet& into);

}  // namespace linvara
