// The sort keys the orders compare, against the collator comparing the texts
// themselves, and the record sort of SortNodes against a merge that asks the
// order pair by pair.
#include <gtest/gtest.h>

#include <numeric>

#include <unicode/ucol.h>

#include <memory>

#include "sort/BookmarkOrders.h"
#include "sort/MergeSort.h"
#include "sort/SortTestSupport.h"

namespace linvara::testing {
namespace {

// Texts whose keys share long starts, differ past the first 16 key bytes, or
// differ only in case, accents, composition or width.
const char* const kTrickyTexts[] = {
    "", "a", "A", "\xC3\xA1", "ab", "a b", "a-b", "(a", "_a", "9", "10", "\xEF\xAC\x81", "fi", "fj",
    "Stra\xC3\x9F" "e", "strasse", "\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86", "\xED\x95\x9C",
    "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB", "\xE6\x94\xB6\xE8\x97\x8F", "\xE6\x94\xB6\xE8\x97\x8F\xE5\xA4\xB9",
    "\xF0\x9F\x98\x80", "\xEF\xBC\xA1", "International Business Machines A", "international business machines a",
    "International Business Machines B", "International Business Machines", "Internationale Bu",
    "Caf\xC3\xA9 de la Paix, Paris 75009", "Cafe\xCC\x81 de la Paix, Paris 75009", "Cafe de la Paix, Paris 75010",
    "\xD0\x96\xD0\xB8\xD0\xBB\xD0\xBE\xD0\xB9 \xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\xB6\xD0\xB8\xD0\xBB\xD0\xBE\xD0\xB9",
    "\xFF\xFE not UTF-8", "abcdefghij", "abcdefghik", "abcdefgh", "Bookmarks Bar", "Bookmarks Menu", "favourites",
    "Favourites A", "Favourites B",
};

Ordering Sign(int c) { return c < 0 ? Ordering::Before : c > 0 ? Ordering::After : Ordering::Same; }

TEST(SortKeys, KeyedComparisonMatchesTheCollator) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UCollator, void (*)(UCollator*)> collator(ucol_open("", &status), ucol_close);
  ucol_setStrength(collator.get(), UCOL_PRIMARY);
  ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
  ASSERT_TRUE(U_SUCCESS(status));
  for (const char* a : kTrickyTexts) {
    for (const char* b : kTrickyTexts) {
      status = U_ZERO_ERROR;
      const UCollationResult expected = ucol_strcollUTF8(collator.get(), a, -1, b, -1, &status);
      EXPECT_EQ(CompareText(a, b), Sign(expected)) << a << " vs " << b;
    }
  }
}

TEST(SortKeys, SortNodesAgreesWithTheOrderPairByPair) {
  NodeList nodes;
  int n = 0;
  for (const char* text : kTrickyTexts) {
    const std::string s = text;
    nodes.push_back(Mark(s, (n % 3 ? "https://" : "http://") + s + ".example/" + std::to_string(n % 4),
                         n % 2 ? "Safari" : "Chrome"));
    if (n++ % 4 == 0) nodes.push_back(Dir(s));
  }
  nodes.push_back(nullptr);
  NodeList chosen;
  for (std::size_t i = 0; i < nodes.size(); i += 3) chosen.push_back(nodes[i]);
  const NodeSelection selection = MakeSelection(chosen);
  for (const SortKey key : {SortKey::Address, SortKey::Name, SortKey::Host, SortKey::Browser}) {
    for (const bool foldersFirst : {false, true}) {
      for (const NodeSelection* limit : {static_cast<const NodeSelection*>(nullptr), &selection}) {
        const BookmarkOrder order{key, foldersFirst};
        SCOPED_TRACE(std::to_string(static_cast<int>(key)) + (foldersFirst ? " folders first" : "") +
                     (limit ? " selected" : ""));
        // Under a selection only the selected entries move, sorted among themselves into their places.
        std::vector<std::size_t> places;
        for (std::size_t i = 0; i < nodes.size(); ++i)
          if (!limit || limit->count(nodes[i].get())) places.push_back(i);
        std::vector<std::size_t> indices(places.size());
        std::iota(indices.begin(), indices.end(), std::size_t{0});
        StableMergeSort(indices, [&](std::size_t i, std::size_t j) {
          return CompareNodes(order, nodes[places[i]], nodes[places[j]], limit);
        });
        NodeList expected = nodes;
        for (std::size_t k = 0; k < places.size(); ++k) expected[places[k]] = nodes[places[indices[k]]];
        EXPECT_EQ(SortNodes(nodes, order, limit), expected);
      }
    }
  }
}

}  // namespace
}  // namespace linvara::testing
