// The stable merge sort under consistent and inconsistent orders.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "sort/MergeSort.h"

namespace linvara::testing {
namespace {

TEST(StableMergeSort, AnyAnswersGiveAPermutation) {
  std::mt19937 random(7);
  for (std::size_t count : {0u, 1u, 2u, 3u, 17u, 64u, 1000u}) {
    const auto indices = StableMergeSortIndices(count, [&](std::size_t, std::size_t) {
      return static_cast<Ordering>(static_cast<int>(random() % 3) - 1);
    });
    std::vector<std::size_t> seen(indices);
    std::sort(seen.begin(), seen.end());
    for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(seen.at(i), i) << "count " << count;
    EXPECT_EQ(indices.size(), count);
  }
}

TEST(StableMergeSort, EqualElementsKeepTheirOrder) {
  // Sorted by the first letter only; the digits tell the original order.
  const std::vector<std::string> items = {"b1", "a1", "c1", "b2", "a2", "b3", "c2", "a3", "b4"};
  const auto indices = StableMergeSortIndices(items.size(), [&](std::size_t i, std::size_t j) {
    return items[i][0] < items[j][0] ? Ordering::Before : items[i][0] > items[j][0] ? Ordering::After : Ordering::Same;
  });
  EXPECT_EQ(Permuted(items, indices),
            (std::vector<std::string>{"a1", "a2", "a3", "b1", "b2", "b3", "b4", "c1", "c2"}));
}

}  // namespace
}  // namespace linvara::testing
