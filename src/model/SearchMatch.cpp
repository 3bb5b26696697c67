#include "model/SearchMatch.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace linvara {

std::string FoldCase(std::string_view utf8) {
  // ASCII text folds to its lower case; only other text needs ICU.
  bool ascii = true;
  for (unsigned char c : utf8) ascii &= c < 0x80;
  if (ascii) {
    std::string out(utf8);
    for (char& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
  }
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  text.foldCase(U_FOLD_CASE_DEFAULT);
  std::string out;
  text.toUTF8String(out);
  return out;
}

bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return false;
  return FoldCase(haystack).find(FoldCase(needle)) != std::string::npos;
}

SearchMatcher::SearchMatcher(std::string_view text) : foldedText_(FoldCase(text)) {}

bool SearchMatcher::Contains(const OptString& field) const {
  if (!field || foldedText_.empty()) return false;
  return FoldCase(*field).find(foldedText_) != std::string::npos;
}

bool SearchMatcher::MatchesText(const OptString& title, const OptString& url) const {
  return Contains(title) || Contains(url);
}

bool SearchMatcher::Matches(const PRBookMarkNode& node) const { return node.TitleOrAddressContains(foldedText_); }

NodeList FilterBySearch(const NodeList& snapshot, std::string_view text) {
  SearchMatcher matcher(text);
  NodeList matches;
  for (const auto& node : snapshot)
    if (node && matcher.Matches(*node)) matches.push_back(node);
  return matches;
}

}  // namespace linvara
