#pragma once
// The orders every sort of bookmarks uses: address and name, each with
// folders first or bookmarks first, the host order and the browser order, and
// their forms limited to a selection. An order answers Before, Same or After
// for two nodes; what it looks at in a node is taken once per sort.
#include <unordered_set>

#include "model/PRBookMarkNode.h"
#include "sort/TextOrder.h"

namespace linvara {

enum class SortKey { Address, Name, Host, Browser };

struct BookmarkOrder {
  SortKey key = SortKey::Name;
  bool foldersFirst = false;  // address and name: the folders-first form; host and browser ignore it
};

// Membership is by node identity.
using NodeSelection = std::unordered_set<const PRBookMarkNode*>;
NodeSelection MakeSelection(const NodeList& nodes);

// Two nodes compared directly; with a selection, the selection-limited form.
Ordering CompareNodes(const BookmarkOrder& order, const NodePtr& a, const NodePtr& b,
                      const NodeSelection* selection = nullptr);

// The nodes in the order (stable merge sort); with a selection, by the
// selection-limited form, under which every unselected entry keeps its place
// and the selected ones are ordered among themselves. Null entries are the
// same as everything.
NodeList SortNodes(const NodeList& nodes, const BookmarkOrder& order, const NodeSelection* selection = nullptr);

}  // namespace linvara
