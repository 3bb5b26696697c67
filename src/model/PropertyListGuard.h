#pragma once
// Checks run on property-list bytes before they reach libplist, which descends
// recursively (deep input overflows the stack), copies every shared object
// (a few shared arrays expand beyond memory) and asserts that no key holds a
// NUL character (the process aborts).
#include <cstddef>
#include <string_view>

#include "model/Result.h"

namespace linvara {

inline constexpr std::size_t kMaxPropertyListNesting = 2048;

// Malformed when arrays and dictionaries nest deeper than `maxNesting`; in
// the XML form also for a NUL character, raw or as a reference (XML allows
// none); in the binary form also for objects that hold themselves, shared
// containers that would expand to more objects than the file could hold, and
// dictionary keys with a NUL character. Bytes the check cannot make sense of
// pass, and are left to the parser to refuse.
Result<void> CheckPropertyListForParser(std::string_view bytes, std::size_t maxNesting = kMaxPropertyListNesting);

}  // namespace linvara
