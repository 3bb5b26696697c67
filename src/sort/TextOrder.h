#pragma once
// The text rules every bookmark order shares: the three-way answer, the
// locale-free comparison that ignores case and accents, the punctuation rule
// on the first UTF-16 unit, and the scheme stripping of addresses.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace linvara {

enum class Ordering { Before = -1, Same = 0, After = 1 };

// Collation sort keys of many texts in one buffer: two texts are the same
// exactly when their keys are equal, and plain byte order of the keys is the
// text comparison. A key's first 16 bytes are kept beside it as two numbers,
// which decide most comparisons without reading the buffer.
class SortKeyTable {
 public:
  struct Key {
    std::uint64_t head[2] = {0, 0};  // the first 16 bytes, big-endian, zero-padded
    std::uint32_t offset = 0;        // the whole key in the buffer, when longer than its head
    std::uint32_t length = 0;
  };

  void reserve(std::size_t texts) { bytes_.reserve(texts * 32); }
  Key Add(std::string_view utf8);
  Ordering Compare(const Key& a, const Key& b) const {
    if (a.head[0] != b.head[0]) return a.head[0] < b.head[0] ? Ordering::Before : Ordering::After;
    if (a.head[1] != b.head[1]) return a.head[1] < b.head[1] ? Ordering::Before : Ordering::After;
    return CompareTails(a, b);
  }

 private:
  Ordering CompareTails(const Key& a, const Key& b) const;
  std::string bytes_;
};

// The text comparison of two UTF-8 texts.
Ordering CompareText(std::string_view a, std::string_view b);

// Whether the first UTF-16 unit of the text is a Unicode punctuation
// character (general category P). An empty text has no first unit: false.
bool StartsWithPunctuation(std::string_view utf8);
// Before when only a starts with punctuation, After when only b does, otherwise no answer.
inline std::optional<Ordering> PunctuationRule(bool aPunctuation, bool bPunctuation) {
  if (aPunctuation == bPunctuation) return std::nullopt;
  return aPunctuation ? Ordering::Before : Ordering::After;
}

// Every "http://" removed, then every "https://", wherever they stand.
std::string StripScheme(std::string address);

// Equal when ASCII letters are compared without regard to case, byte for byte otherwise.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace linvara
