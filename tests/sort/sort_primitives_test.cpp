// The text rules of the bookmark orders and the stable merge sort.
#include <gtest/gtest.h>

#include <curl/curl.h>

#include <random>

#include "sort/MergeSort.h"
#include "sort/TextOrder.h"
#include "sort/UrlHost.h"

namespace linvara::testing {
namespace {

TEST(TextOrder, ComparesIgnoringCaseAccentsAndCanonicalForm) {
  const std::tuple<const char*, const char*, Ordering> cases[] = {
      {"\xC3\x89", "e", Ordering::Same},                                           // É, e
      {"Cafe\xCC\x81", "caf\xC3\xA9", Ordering::Same},                             // decomposed, precomposed é
      {"\xEF\xAC\x81", "fi", Ordering::Same},                                      // the ligature ﬁ, f i
      {"\xEF\xAC\x81x", "fj", Ordering::Before},                                   // ﬁ sorts as f i
      {"\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86", Ordering::Same},    // ΣΟΦ, σοφ
      {"\xD0\x96\xD0\x98\xD0\x9B", "\xD0\xB6\xD0\xB8\xD0\xBB", Ordering::Same},    // ЖИЛ, жил
      {"\xED\x95\x9C", "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB", Ordering::Same},    // 한 composed, as jamo
      {"apple", "Banana", Ordering::Before}, {"http://b", "https://a", Ordering::Before}, {"", "a", Ordering::Before},
  };
  for (const auto& [a, b, expected] : cases) {
    EXPECT_EQ(CompareText(a, b), expected) << a << " vs " << b;
    EXPECT_EQ(CompareText(b, a), static_cast<Ordering>(-static_cast<int>(expected))) << b << " vs " << a;
  }
}

TEST(TextOrder, PunctuationRuleLooksAtTheFirstUnitOnly) {
  for (const char* text : {"(paren", "_under", "\xE3\x80\x8C" "x"}) EXPECT_TRUE(StartsWithPunctuation(text)) << text;
  // "$" is a symbol; an emoji starts with a surrogate unit; an empty text has no first unit.
  for (const char* text : {"a(", "9", "$", " x", "\xF0\x9F\x98\x80", ""})
    EXPECT_FALSE(StartsWithPunctuation(text)) << text;
  EXPECT_EQ(PunctuationRule(true, false), Ordering::Before);
  EXPECT_EQ(PunctuationRule(false, true), Ordering::After);
  EXPECT_FALSE(PunctuationRule(true, true));
}

TEST(TextOrder, StripSchemeRemovesEveryOccurrence) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://a.com/https://b", "a.com/b"}, {"http://a/?u=http://b", "a/?u=b"}, {"HTTP://a", "HTTP://a"},
      {"http://", ""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(StripScheme(in), out) << in;
}

// The host as curl's URL parser alone gives it.
std::optional<std::string> CurlHost(const std::string& address) {
  CURLU* url = curl_url();
  char* host = nullptr;
  std::optional<std::string> out;
  if (curl_url_set(url, CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
      curl_url_get(url, CURLUPART_HOST, &host, 0) == CURLUE_OK && host)
    out = host;
  curl_free(host);
  curl_url_cleanup(url);
  return out;
}

TEST(UrlHost, ReadsTheHostCurlReads) {
  UrlHostReader reader;
  for (const char* address :
       {"https://www.example.com/a?b#c", "HTTP://WWW.Example.COM", "http://under_score.example/", "chrome://settings",
        "ftp://ftp.example.org/pub", "https://xn--bcher-kva.example/", "http://user:pw@host.example/",
        "http://host.example:8080/", "http://host.example:99999/", "http://127.1/", "http://0x7f.1/", "http://[::1]/",
        "http://1.2.3.4/", "http://a.b.3/", "file://host.example/x", "file:///Users/me/x", "http://a b/",
        "http://ex%41mple.com/", "http://.dot.example/", "http://dot.example./", "http:/one/slash", "://nohost",
        "mailto:me@example.com", "javascript:void(0)", "http://caf\xC3\xA9.example/", "http:///path", "x:/"}) {
    EXPECT_EQ(reader.HostOf(address), CurlHost(address)) << address;
  }
}

TEST(StableMergeSort, AnyAnswersGiveAPermutation) {
  std::mt19937 random(7);
  for (std::size_t count : {0u, 1u, 3u, 17u, 1000u}) {
    auto indices = StableMergeSortIndices(
        count, [&](std::size_t, std::size_t) { return static_cast<Ordering>(static_cast<int>(random() % 3) - 1); });
    std::sort(indices.begin(), indices.end());
    std::vector<std::size_t> all(count);
    std::iota(all.begin(), all.end(), std::size_t{0});
    EXPECT_EQ(indices, all);
  }
}

TEST(StableMergeSort, EqualElementsKeepTheirOrder) {
  const std::vector<std::string> items = {"b1", "a1", "c1", "b2", "a2", "b3", "c2", "a3", "b4"};  // by letter only
  const auto indices = StableMergeSortIndices(items.size(), [&](std::size_t i, std::size_t j) {
    return static_cast<Ordering>((items[i][0] > items[j][0]) - (items[i][0] < items[j][0]));
  });
  EXPECT_EQ(Permuted(items, indices), (std::vector<std::string>{"a1", "a2", "a3", "b1", "b2", "b3", "b4", "c1", "c2"}));
}

}  // namespace
}  // namespace linvara::testing
