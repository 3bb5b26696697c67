#pragma once
// Nesting check run on property-list bytes before they reach the parser,
// which descends recursively and would overflow the stack on deep input.
#include <cstddef>
#include <string_view>

#include "model/Result.h"

namespace linvara {

inline constexpr std::size_t kMaxPropertyListNesting = 2048;

// Malformed when arrays and dictionaries nest deeper than `maxNesting`; for
// the binary form also when objects refer to themselves in a cycle or shared
// containers would expand to more objects than the file could hold. Bytes
// the check cannot make sense of pass, and are left to the parser to refuse.
Result<void> CheckPropertyListNesting(std::string_view bytes, std::size_t maxNesting = kMaxPropertyListNesting);

}  // namespace linvara
