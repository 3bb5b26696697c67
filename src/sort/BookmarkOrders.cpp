#include "sort/BookmarkOrders.h"

#include <optional>
#include <vector>

#include "sort/MergeSort.h"
#include "sort/UrlHost.h"

namespace linvara {

namespace {

bool Absent(const OptString& s) { return !s || s->empty(); }

// What an order looks at in one node, packed small so that a sort moves the
// records themselves: the kind, the order's emptiness test (address, title,
// host or titleStr empty or absent), whether the compared text starts with
// punctuation, the sort key of that text, and the node's place in the input.
struct Facts {
  SortKeyTable::Key key;
  std::uint32_t index = 0;
  NodeKind kind = NodeKind::Leaf;
  bool empty = true;
  bool punctuation = false;
  bool selected = true;  // in the selection of a selection-limited order
};

bool IsLeaf(const Facts& f) { return f.kind == NodeKind::Leaf; }
bool IsFolder(const Facts& f) { return f.kind == NodeKind::Folder; }

// The rules of the orders, over the facts of two nodes; `keys` holds their sort keys.
class Rules {
 public:
  explicit Rules(const SortKeyTable& keys) : keys_(keys) {}

  Ordering Compare(const BookmarkOrder& order, const Facts& a, const Facts& b) const {
    switch (order.key) {
      case SortKey::Address: return order.foldersFirst ? Address<true>(a, b) : Address<false>(a, b);
      case SortKey::Name: return order.foldersFirst ? Name<true>(a, b) : Name<false>(a, b);
      case SortKey::Host: return Host(a, b);
      case SortKey::Browser: return Browser(a, b);
    }
    return Ordering::Same;
  }

  template <bool foldersFirst>
  Ordering Address(const Facts& a, const Facts& b) const {
    if (IsLeaf(a) && IsLeaf(b)) {
      // Deliberately not symmetric: an empty text is before its partner both ways round.
      if (a.empty || b.empty) return Ordering::Before;
      return Texts(a, b);
    }
    if (IsFolder(a) && IsFolder(b)) return Texts(a, b);
    if (IsLeaf(a) && IsFolder(b)) return !foldersFirst || a.empty ? Ordering::Before : Ordering::After;
    if (IsFolder(a) && IsLeaf(b)) return foldersFirst || b.empty ? Ordering::Before : Ordering::After;
    return Ordering::Same;
  }

  template <bool foldersFirst>
  Ordering Name(const Facts& a, const Facts& b) const {
    if (foldersFirst && (a.empty || b.empty)) return Ordering::Before;
    const bool sameKind = (IsLeaf(a) && IsLeaf(b)) || (IsFolder(a) && IsFolder(b));
    if (!sameKind) {
      if (IsLeaf(a) && IsFolder(b)) return foldersFirst ? Ordering::After : Ordering::Before;
      if (IsFolder(a) && IsLeaf(b)) return foldersFirst ? Ordering::Before : Ordering::After;
      return Ordering::Same;
    }
    if (!foldersFirst && (a.empty || b.empty)) return Ordering::Before;
    return Texts(a, b);
  }

  Ordering Host(const Facts& a, const Facts& b) const {
    if (!IsLeaf(a) || !IsLeaf(b)) return Ordering::Same;
    if (a.empty || b.empty) return Ordering::Before;
    // Hosts equal but for ASCII case have equal keys and the same first character: no separate test.
    return Texts(a, b);
  }

  Ordering Browser(const Facts& a, const Facts& b) const {
    if (IsFolder(a) && IsFolder(b)) {
      // Two folders without titleStr (every folder of the unified list) keep their order.
      if (a.empty && b.empty) return Ordering::Same;
      if (a.empty || b.empty) return Ordering::Before;
      return Texts(a, b);
    }
    if (IsLeaf(a) && IsLeaf(b)) return keys_.Compare(a.key, b.key);
    if (IsLeaf(a) && IsFolder(b)) return Ordering::Before;
    if (IsFolder(a) && IsLeaf(b)) return Ordering::After;
    return Ordering::Same;
  }

 private:
  // The punctuation rule, then the text comparison.
  Ordering Texts(const Facts& a, const Facts& b) const {
    if (auto decided = PunctuationRule(a.punctuation, b.punctuation)) return *decided;
    return keys_.Compare(a.key, b.key);
  }

  const SortKeyTable& keys_;
};

void SetText(Facts& facts, std::string_view text, SortKeyTable& keys) {
  facts.punctuation = StartsWithPunctuation(text);
  facts.key = keys.Add(text);
}

Facts FactsOf(const PRBookMarkNode& node, const BookmarkOrder& order, std::optional<UrlHostReader>& hosts,
              SortKeyTable& keys) {
  Facts facts;
  facts.kind = node.kind();
  const bool leaf = node.isLeaf();
  const auto setTitle = [&](const OptString& title) {
    facts.empty = Absent(title);
    SetText(facts, title ? *title : std::string_view(), keys);
  };
  switch (order.key) {
    case SortKey::Address:
      if (leaf) {
        node.ReadUrlString([&](const OptString& address) {
          facts.empty = Absent(address);
          if (address) SetText(facts, order.foldersFirst ? *address : StripScheme(*address), keys);
          else SetText(facts, {}, keys);
        });
      } else {
        node.ReadThetitle(setTitle);
      }
      break;
    case SortKey::Name:
      node.ReadThetitle(setTitle);
      break;
    case SortKey::Host:
      if (leaf) {
        if (!hosts) hosts.emplace();
        const std::optional<std::string> host = hosts->HostOf(node.urlString().value_or(""));
        facts.empty = Absent(host);
        SetText(facts, host ? *host : std::string_view(), keys);
      }
      break;
    case SortKey::Browser:
      if (leaf) {
        const OptString from = node.bookMarkFrom();
        facts.key = keys.Add(from ? *from : std::string_view());
      } else {
        const OptString titleStr = static_cast<const PRFaBookMarkNode&>(node).titleStr();
        facts.empty = Absent(titleStr);
        SetText(facts, titleStr ? *titleStr : std::string_view(), keys);
      }
      break;
  }
  return facts;
}

std::vector<Facts> FactsOfAll(const NodeList& nodes, const BookmarkOrder& order, const NodeSelection* selection,
                              SortKeyTable& keys) {
  std::optional<UrlHostReader> hosts;  // made for the host order only
  std::vector<Facts> facts;
  facts.reserve(nodes.size());
  keys.reserve(nodes.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const NodePtr& node = nodes[i];
    Facts f;
    if (node) f = FactsOf(*node, order, hosts, keys);
    else f.kind = NodeKind::Root, f.empty = false;  // a missing entry is the same as everything
    f.index = static_cast<std::uint32_t>(i);
    f.selected = !selection || (node && selection->count(node.get()));
    facts.push_back(f);
  }
  return facts;
}

// The facts sorted by the full order, the comparison chosen once per sort.
void SortFacts(std::vector<Facts>& facts, const BookmarkOrder& order, const Rules& rules) {
  const auto sort = [&](auto compare) { StableMergeSort(facts, compare); };
  switch (order.key) {
    case SortKey::Address:
      if (order.foldersFirst) sort([&](const Facts& a, const Facts& b) { return rules.Address<true>(a, b); });
      else sort([&](const Facts& a, const Facts& b) { return rules.Address<false>(a, b); });
      break;
    case SortKey::Name:
      if (order.foldersFirst) sort([&](const Facts& a, const Facts& b) { return rules.Name<true>(a, b); });
      else sort([&](const Facts& a, const Facts& b) { return rules.Name<false>(a, b); });
      break;
    case SortKey::Host: sort([&](const Facts& a, const Facts& b) { return rules.Host(a, b); }); break;
    case SortKey::Browser: sort([&](const Facts& a, const Facts& b) { return rules.Browser(a, b); }); break;
  }
}

}  // namespace

NodeSelection MakeSelection(const NodeList& nodes) {
  NodeSelection selection;
  for (const NodePtr& node : nodes) selection.insert(node.get());
  return selection;
}

Ordering CompareNodes(const BookmarkOrder& order, const NodePtr& a, const NodePtr& b, const NodeSelection* selection) {
  SortKeyTable keys;
  const std::vector<Facts> facts = FactsOfAll({a, b}, order, selection, keys);
  if (!facts[0].selected || !facts[1].selected) return Ordering::Same;
  return Rules(keys).Compare(order, facts[0], facts[1]);
}

NodeList SortNodes(const NodeList& nodes, const BookmarkOrder& order, const NodeSelection* selection) {
  SortKeyTable keys;
  std::vector<Facts> facts = FactsOfAll(nodes, order, selection, keys);
  const Rules rules(keys);
  NodeList sorted;
  if (!selection) {
    SortFacts(facts, order, rules);
    sorted.reserve(nodes.size());
    for (const Facts& f : facts) sorted.push_back(nodes[f.index]);
    return sorted;
  }
  // The selection-limited order calls an unselected entry the same as every
  // other, so where it goes is free: it keeps its place, and the selected
  // entries are sorted among themselves into the places they held.
  std::vector<Facts> chosen;
  for (const Facts& f : facts)
    if (f.selected) chosen.push_back(f);
  SortFacts(chosen, order, rules);
  sorted = nodes;
  std::size_t next = 0;
  for (const Facts& f : facts)
    if (f.selected) sorted[f.index] = nodes[chosen[next++].index];
  return sorted;
}

}  // namespace linvara
