#pragma once
// Reader of the binary property-list form ("bplist00"): the object table is
// read straight into a Value tree, every access checked against the bytes.
#include <cstddef>
#include <string_view>

#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

bool IsBinaryPropertyList(std::string_view bytes);

// The tree of a binary property list. An object referred to from several
// places becomes a copy at each place, as separate values in the tree.
// Malformed, with a message naming the fault, for a trailer that does not fit,
// offsets or references out of range, an object that holds itself, containers
// nested deeper than `maxNesting`, counts that run past the object table,
// shared objects that would expand beyond the file's size, a key that is not a
// string or holds a NUL character, and object types a property list cannot hold.
Result<Value> ParseBinaryPropertyList(std::string_view bytes, std::size_t maxNesting);

}  // namespace linvara
