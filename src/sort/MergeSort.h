#pragma once
// The stable merge sort every sort uses. The bookmark orders are not
// consistent (an empty title is before its partner both ways round, an entry
// outside a selection is the same as everything), which std::sort and
// std::stable_sort do not allow. This bottom-up merge only ever moves items
// between two buffers, so it ends and keeps every element exactly once
// whatever the order answers; an element moves ahead of one on its left only
// when the order puts the left one after it, so elements the order calls the
// same keep their relative order.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "sort/TextOrder.h"

namespace linvara {

// Sorts the items in place; `order(a, b)` compares two items. The items
// move between two buffers, so small records sort without reaching elsewhere.
template <class T, class Order>
void StableMergeSort(std::vector<T>& items, Order&& order) {
  const std::size_t count = items.size();
  // The second buffer is kept for the thread's next sort: fresh pages of a
  // large list cost more than the merge itself. Emptied after each sort, so
  // it holds no item.
  thread_local std::vector<T> merged;
  merged.resize(count);
  for (std::size_t width = 1; width < count; width *= 2) {
    for (std::size_t lo = 0; lo < count; lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, count), hi = std::min(lo + 2 * width, count);
      std::size_t left = lo, right = mid, out = lo;
      while (left < mid && right < hi)
        merged[out++] = order(items[left], items[right]) == Ordering::After ? items[right++] : items[left++];
      while (left < mid) merged[out++] = items[left++];
      while (right < hi) merged[out++] = items[right++];
    }
    items.swap(merged);
  }
  merged.clear();
}

}  // namespace linvara
