#pragma once
// Sorting a Safari or Chrome tree in memory: the new order of the top level
// and the records to write, each folder's record a copy of its stored
// dictionary with its children sorted at every depth. Nothing is written and
// no node or stored dictionary changes.
#include "model/PRBookMarkNode.h"
#include "model/Value.h"
#include "sort/BookmarkOrders.h"

namespace linvara {

enum class TreeFormat { Safari, Chrome };
// The key of a folder's children: "Children" (Safari) or "children" (Chrome).
const char* ChildrenKey(TreeFormat format);

struct SortedTree {
  NodeList topLevel;  // the top-level entries in their new order
  ArrayPtr records;   // one record per entry of topLevel: a folder's sorted record, anything else its dataDict
};

// The whole tree sorted by `order`. With a selection, only the selected
// top-level entries are ordered among themselves (the selection-limited form);
// the children of every folder, at every depth, are still sorted fully.
SortedTree SortBookmarkTree(const NodeList& topLevel, TreeFormat format, const BookmarkOrder& order,
                            const NodeSelection* selection = nullptr);

// A copy of the folder's itemDict whose children list holds its children in
// the order, each folder among them sorted the same way, recursively.
DictPtr SortedFolderRecord(const PRFaBookMarkNode& folder, TreeFormat format, const BookmarkOrder& order);

}  // namespace linvara
