#pragma once
// Checks run on XML property-list text before it reaches libplist, which
// descends recursively (deep input overflows the stack) and asserts that no
// key holds a NUL character (the process aborts). The binary form has a
// reader of its own (BinaryPropertyList.h) that makes these checks as it reads.
#include <cstddef>
#include <string_view>

#include "model/Result.h"

namespace linvara {

inline constexpr std::size_t kMaxPropertyListNesting = 2048;

// Malformed when arrays and dictionaries nest deeper than `maxNesting`, and
// for a NUL character, raw or as a reference (XML allows none). Text the check
// cannot make sense of passes, and is left to the parser to refuse.
Result<void> CheckPropertyListForParser(std::string_view bytes, std::size_t maxNesting = kMaxPropertyListNesting);

}  // namespace linvara
