#include "sort/BookmarkOrders.h"

#include <vector>

#include "sort/MergeSort.h"
#include "sort/UrlHost.h"

namespace linvara {

namespace {

bool Absent(const OptString& s) { return !s || s->empty(); }

void SetText(OrderFacts& facts, const std::string& text) {
  facts.punctuation = StartsWithPunctuation(text);
  facts.key = TextSortKey(text);
}

// The punctuation rule, then the text comparison.
Ordering CompareTexts(const OrderFacts& a, const OrderFacts& b) {
  if (auto decided = PunctuationRule(a.punctuation, b.punctuation)) return *decided;
  return CompareSortKeys(a.key, b.key);
}

bool IsLeaf(const OrderFacts& f) { return f.kind == NodeKind::Leaf; }
bool IsFolder(const OrderFacts& f) { return f.kind == NodeKind::Folder; }

Ordering EmptyFirst(const OrderFacts& a, const OrderFacts& b) {
  // Deliberately not symmetric: an empty text is before its partner both ways round.
  return a.empty || b.empty ? Ordering::Before : Ordering::Same;
}

Ordering AddressOrder(bool foldersFirst, const OrderFacts& a, const OrderFacts& b) {
  if (IsLeaf(a) && IsLeaf(b)) {
    if (a.empty || b.empty) return Ordering::Before;
    return CompareTexts(a, b);
  }
  if (IsFolder(a) && IsFolder(b)) return CompareTexts(a, b);
  if (IsLeaf(a) && IsFolder(b)) return !foldersFirst || a.empty ? Ordering::Before : Ordering::After;
  if (IsFolder(a) && IsLeaf(b)) return foldersFirst || b.empty ? Ordering::Before : Ordering::After;
  return Ordering::Same;
}

Ordering NameOrder(bool foldersFirst, const OrderFacts& a, const OrderFacts& b) {
  if (foldersFirst && EmptyFirst(a, b) == Ordering::Before) return Ordering::Before;
  const bool sameKind = (IsLeaf(a) && IsLeaf(b)) || (IsFolder(a) && IsFolder(b));
  if (!sameKind) {
    if (IsLeaf(a) && IsFolder(b)) return foldersFirst ? Ordering::After : Ordering::Before;
    if (IsFolder(a) && IsLeaf(b)) return foldersFirst ? Ordering::Before : Ordering::After;
    return Ordering::Same;
  }
  if (!foldersFirst && EmptyFirst(a, b) == Ordering::Before) return Ordering::Before;
  return CompareTexts(a, b);
}

Ordering HostOrder(const OrderFacts& a, const OrderFacts& b) {
  if (!IsLeaf(a) || !IsLeaf(b)) return Ordering::Same;
  if (a.empty || b.empty) return Ordering::Before;
  // Hosts equal but for ASCII case have equal keys and the same first character: no separate test.
  return CompareTexts(a, b);
}

Ordering BrowserOrder(const OrderFacts& a, const OrderFacts& b) {
  if (IsFolder(a) && IsFolder(b)) {
    // Two folders without titleStr (every folder of the unified list) keep their order.
    if (a.empty && b.empty) return Ordering::Same;
    if (a.empty || b.empty) return Ordering::Before;
    return CompareTexts(a, b);
  }
  if (IsLeaf(a) && IsLeaf(b)) return CompareSortKeys(a.key, b.key);
  if (IsLeaf(a) && IsFolder(b)) return Ordering::Before;
  if (IsFolder(a) && IsLeaf(b)) return Ordering::After;
  return Ordering::Same;
}

}  // namespace

NodeSelection MakeSelection(const NodeList& nodes) {
  NodeSelection selection;
  for (const NodePtr& node : nodes) selection.insert(node.get());
  return selection;
}

OrderFacts FactsOf(const PRBookMarkNode& node, const BookmarkOrder& order, UrlHostReader& hosts) {
  OrderFacts facts;
  facts.kind = node.kind();
  const bool leaf = node.isLeaf();
  switch (order.key) {
    case SortKey::Address:
      if (leaf) {
        const std::string address = node.urlString().value_or("");
        facts.empty = address.empty();
        SetText(facts, order.foldersFirst ? address : StripScheme(address));
      } else {
        const OptString title = node.thetitle();
        facts.empty = Absent(title);
        SetText(facts, title.value_or(""));
      }
      break;
    case SortKey::Name: {
      const OptString title = node.thetitle();
      facts.empty = Absent(title);
      SetText(facts, title.value_or(""));
      break;
    }
    case SortKey::Host:
      if (leaf) {
        const std::optional<std::string> host = hosts.HostOf(node.urlString().value_or(""));
        facts.empty = Absent(host);
        SetText(facts, host.value_or(""));
      }
      break;
    case SortKey::Browser:
      if (leaf) {
        facts.key = TextSortKey(node.bookMarkFrom().value_or(""));
      } else {
        const auto& folder = static_cast<const PRFaBookMarkNode&>(node);
        const OptString titleStr = folder.titleStr();
        facts.empty = Absent(titleStr);
        SetText(facts, titleStr.value_or(""));
      }
      break;
  }
  return facts;
}

Ordering Compare(const BookmarkOrder& order, const OrderFacts& a, const OrderFacts& b) {
  switch (order.key) {
    case SortKey::Address: return AddressOrder(order.foldersFirst, a, b);
    case SortKey::Name: return NameOrder(order.foldersFirst, a, b);
    case SortKey::Host: return HostOrder(a, b);
    case SortKey::Browser: return BrowserOrder(a, b);
  }
  return Ordering::Same;
}

Ordering CompareLimited(const BookmarkOrder& order, const OrderFacts& a, const OrderFacts& b) {
  if (!a.selected || !b.selected) return Ordering::Same;
  return Compare(order, a, b);
}

namespace {
std::vector<OrderFacts> FactsOfAll(const NodeList& nodes, const BookmarkOrder& order, const NodeSelection* selection) {
  UrlHostReader hosts;
  std::vector<OrderFacts> facts;
  facts.reserve(nodes.size());
  for (const NodePtr& node : nodes) {
    OrderFacts f;
    if (node) f = FactsOf(*node, order, hosts);
    else f.kind = NodeKind::Root, f.empty = false;  // a missing entry is the same as everything
    f.selected = !selection || (node && selection->count(node.get()));
    facts.push_back(std::move(f));
  }
  return facts;
}
}  // namespace

Ordering CompareNodes(const BookmarkOrder& order, const NodePtr& a, const NodePtr& b, const NodeSelection* selection) {
  const std::vector<OrderFacts> facts = FactsOfAll({a, b}, order, selection);
  return CompareLimited(order, facts[0], facts[1]);
}

NodeList SortNodes(const NodeList& nodes, const BookmarkOrder& order, const NodeSelection* selection) {
  const std::vector<OrderFacts> facts = FactsOfAll(nodes, order, selection);
  if (!selection) {
    const auto indices = StableMergeSortIndices(
        nodes.size(), [&](std::size_t i, std::size_t j) { return Compare(order, facts[i], facts[j]); });
    return Permuted(nodes, indices);
  }
  // The selection-limited order calls an unselected entry the same as every
  // other, so where it goes is free: it keeps its place, and the selected
  // entries are merged among themselves into the places they held.
  std::vector<std::size_t> places;
  for (std::size_t i = 0; i < nodes.size(); ++i)
    if (facts[i].selected) places.push_back(i);
  const auto indices = StableMergeSortIndices(places.size(), [&](std::size_t i, std::size_t j) {
    return CompareLimited(order, facts[places[i]], facts[places[j]]);
  });
  NodeList sorted = nodes;
  for (std::size_t k = 0; k < places.size(); ++k) sorted[places[k]] = nodes[places[indices[k]]];
  return sorted;
}

}  // namespace linvara
