#pragma once
// The XML form of property lists, read and written without libplist
// (SerializePropertyListXml, declared in PropertyList.h, is the writer).
#include <cstddef>
#include <string_view>

#include "model/PropertyList.h"
#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

// The tree of an XML property list. Malformed, with what is wrong and where,
// for text that is not one: unclosed or mismatched tags, unknown elements,
// bad base64, dates or numbers, unknown or NUL character references, nesting
// deeper than kMaxPropertyListNesting.
Result<Value> ParsePropertyListXml(std::string_view text);

}  // namespace linvara
