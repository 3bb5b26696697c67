#pragma once
// How a sort of the Safari or Chrome tree orders each list of siblings. The
// tree rebuilds of the working copies take it and write the tree in this
// order; no node and no stored dictionary changes.
#include "model/PRBookMarkNode.h"
#include "sort/BookmarkOrders.h"

namespace linvara {

enum class TreeFormat { Safari, Chrome };

struct TreeSortOrder {
  BookmarkOrder order;
  // With a selection, only the selected top-level entries are ordered among
  // themselves (the selection-limited form); the children of every folder,
  // at every depth, are sorted fully either way.
  const NodeSelection* selection = nullptr;

  NodeList operator()(const NodeList& siblings, bool topLevel) const {
    return SortNodes(siblings, order, topLevel ? selection : nullptr);
  }
};

}  // namespace linvara
