#pragma once
// The bookmark search rule: a node matches when its title contains the text,
// or failing that its address does. Letter case is ignored through Unicode
// case folding; nothing else is normalised.
#include <string>
#include <string_view>

#include "model/PRBookMarkNode.h"

namespace linvara {

// UTF-8 text with Unicode full case folding applied (invalid bytes become U+FFFD).
std::string FoldCase(std::string_view utf8);

// True when `haystack` contains `needle`, letter case ignored. An empty needle
// is contained nowhere, as the platform's substring search answers.
bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle);

// Matches nodes against one search text; the folded text is computed once.
class SearchMatcher {
 public:
  explicit SearchMatcher(std::string_view text);
  bool Matches(const PRBookMarkNode& node) const;
  // A node without a title or address does not match on that field.
  bool MatchesText(const OptString& title, const OptString& url) const;

 private:
  bool Contains(const OptString& field) const;
  std::string foldedText_;
};

// The nodes of `snapshot` that match, in the snapshot's order.
NodeList FilterBySearch(const NodeList& snapshot, std::string_view text);

}  // namespace linvara
