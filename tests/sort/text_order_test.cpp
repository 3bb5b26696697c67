// The text rules of the bookmark orders.
#include <gtest/gtest.h>

#include "sort/TextOrder.h"

namespace linvara::testing {
namespace {

TEST(TextOrder, ComparesIgnoringCaseAccentsAndCanonicalForm) {
  struct Case {
    const char* a;
    const char* b;
    Ordering expected;
  };
  const Case cases[] = {
      {"\xC3\x89", "e", Ordering::Same},                       // É and e
      {"Cafe\xCC\x81", "caf\xC3\xA9", Ordering::Same},         // decomposed and precomposed é
      {"\xEF\xAC\x81", "fi", Ordering::Same},                  // the ligature ﬁ and f, i
      {"\xEF\xAC\x81x", "fj", Ordering::Before},               // the ligature still sorts as f, i
      {"\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86", Ordering::Same},  // ΣΟΦ and σοφ
      {"\xCE\x86", "\xCE\xB1", Ordering::Same},                // Ά and α
      {"\xD0\x96\xD0\x98\xD0\x9B", "\xD0\xB6\xD0\xB8\xD0\xBB", Ordering::Same},  // ЖИЛ and жил
      {"\xD0\x81", "\xD0\xB5", Ordering::Same},                // Ё and е
      {"\xED\x95\x9C", "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB", Ordering::Same},  // 한 composed and as jamo
      {"apple", "Banana", Ordering::Before},
      {"Zebra", "apple", Ordering::After},
      {"http://b", "https://a", Ordering::Before},
      {"", "a", Ordering::Before},
      {"", "", Ordering::Same},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareText(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareText(c.b, c.a), static_cast<Ordering>(-static_cast<int>(c.expected))) << c.b << " vs " << c.a;
  }
}

TEST(TextOrder, PunctuationLooksAtTheFirstUnitOnly) {
  const std::pair<const char*, bool> cases[] = {
      {"(paren", true},  {"_under", true}, {"\xE3\x80\x8C" "bracket", true},  // 「
      {"letter(", false}, {"9", false},    {"$dollar", false},  // $ is a symbol, not punctuation
      {"", false},        {" space", false}, {"\xF0\x9F\x98\x80", false},  // an emoji starts with a surrogate
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(StartsWithPunctuation(text), expected) << text;
  EXPECT_EQ(PunctuationRule(true, false), Ordering::Before);
  EXPECT_EQ(PunctuationRule(false, true), Ordering::After);
  EXPECT_FALSE(PunctuationRule(true, true));
  EXPECT_FALSE(PunctuationRule(false, false));
}

TEST(TextOrder, StripSchemeRemovesEveryOccurrence) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://a.com/x", "a.com/x"},
      {"http://a.com/?next=http://b.com", "a.com/?next=b.com"},
      {"https://a.com/https://b", "a.com/b"},
      {"ftp://a.com", "ftp://a.com"},
      {"HTTP://a.com", "HTTP://a.com"},
      {"http://", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(StripScheme(in), out) << in;
}

TEST(TextOrder, AsciiCaseInsensitiveEqualityFoldsOnlyAscii) {
  EXPECT_TRUE(EqualIgnoringAsciiCase("Example.COM", "example.com"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("example.com", "example.co"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("\xC3\x89", "\xC3\xA9"));  // É and é differ beyond ASCII
}

}  // namespace
}  // namespace linvara::testing
