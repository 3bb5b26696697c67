#pragma once
// Property-list codec: reads XML and binary property lists, writes XML.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

// Arrays and dictionaries nest no deeper than this in a property list that is read.
inline constexpr std::size_t kMaxPropertyListNesting = 2048;

Result<Value> ParsePropertyList(std::string_view bytes);
Result<Value> ReadPropertyListFile(const std::filesystem::path& path);
// XML property list text for a tree (Null values are left out of dictionaries and arrays).
Result<std::string> SerializePropertyListXml(const Value& root);
// Binary ("bplist00") form, for the few files that must be binary.
Result<std::string> SerializePropertyListBinary(const Value& root);

}  // namespace linvara
