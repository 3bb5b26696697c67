#pragma once
// The orders every sort of bookmarks uses: address and name, each with
// folders first or bookmarks first, the host order and the browser order, and
// their forms limited to a selection. An order answers Before, Same or After
// for two nodes; what it looks at in a node is taken once per sort (OrderFacts).
#include <string>
#include <unordered_set>

#include "model/PRBookMarkNode.h"
#include "sort/TextOrder.h"

namespace linvara {

class UrlHostReader;

enum class SortKey { Address, Name, Host, Browser };

struct BookmarkOrder {
  SortKey key = SortKey::Name;
  bool foldersFirst = false;  // address and name: the folders-first form; host and browser ignore it
};

// Membership is by node identity.
using NodeSelection = std::unordered_set<const PRBookMarkNode*>;
NodeSelection MakeSelection(const NodeList& nodes);

// What an order looks at in one node.
struct OrderFacts {
  NodeKind kind = NodeKind::Leaf;
  bool empty = true;         // the order's emptiness test: address, title, host or titleStr empty or absent
  bool punctuation = false;  // the compared text starts with punctuation
  std::string key;           // sort key of the compared text
  bool selected = true;      // in the selection of a selection-limited order
};

OrderFacts FactsOf(const PRBookMarkNode& node, const BookmarkOrder& order, UrlHostReader& hosts);
// The full order.
Ordering Compare(const BookmarkOrder& order, const OrderFacts& a, const OrderFacts& b);
// With a selection: Same unless both are selected, otherwise the full order.
Ordering CompareLimited(const BookmarkOrder& order, const OrderFacts& a, const OrderFacts& b);

// Two nodes compared directly; with a selection, the selection-limited form.
Ordering CompareNodes(const BookmarkOrder& order, const NodePtr& a, const NodePtr& b,
                      const NodeSelection* selection = nullptr);

// The nodes in the order (stable merge sort); with a selection, by the
// selection-limited form, under which every unselected entry keeps its place
// and the selected ones are ordered among themselves. Null entries are the
// same as everything.
NodeList SortNodes(const NodeList& nodes, const BookmarkOrder& order, const NodeSelection* selection = nullptr);

}  // namespace linvara
