#pragma once
// The XML form of property lists, read and written without libplist
// (SerializePropertyListXml, declared in PropertyList.h, is the writer).
#include <cstddef>
#include <string_view>

#include "model/PropertyList.h"
#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

// Arrays and dictionaries nest at most this deep, in either direction.
inline constexpr std::size_t kMaxPlistXmlNesting = kMaxPropertyListNesting;

// The tree of an XML property list. Malformed, with what is wrong and where,
// for text that is not one: unclosed or mismatched tags, unknown elements,
// bad base64, dates or numbers, unknown or NUL character references, nesting
// deeper than kMaxPlistXmlNesting.
Result<Value> ParsePropertyListXml(std::string_view text);

}  // namespace linvara
