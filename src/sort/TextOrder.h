#pragma once
// The text rules every bookmark order shares: the three-way answer, the
// locale-free comparison that ignores case and accents, the punctuation rule
// on the first UTF-16 unit, and the scheme stripping of addresses.
#include <optional>
#include <string>
#include <string_view>

namespace linvara {

enum class Ordering { Before = -1, Same = 0, After = 1 };

// A byte string whose plain byte order is the text comparison: two texts are
// the same exactly when their keys are equal. Computing the key once per entry
// keeps a sort from folding the same text at every comparison.
std::string TextSortKey(std::string_view utf8);
Ordering CompareSortKeys(const std::string& a, const std::string& b);
// The text comparison of two UTF-8 texts.
Ordering CompareText(std::string_view a, std::string_view b);

// Whether the first UTF-16 unit of the text is a Unicode punctuation
// character (general category P). An empty text has no first unit: false.
bool StartsWithPunctuation(std::string_view utf8);
// Before when only a starts with punctuation, After when only b does, otherwise no answer.
std::optional<Ordering> PunctuationRule(bool aPunctuation, bool bPunctuation);

// Every "http://" removed, then every "https://", wherever they stand.
std::string StripScheme(std::string address);

// Equal when ASCII letters are compared without regard to case, byte for byte otherwise.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace linvara
