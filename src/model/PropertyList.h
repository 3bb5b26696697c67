#pragma once
// Property-list codec: reads XML and binary property lists, writes XML.
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

Result<Value> ParsePropertyList(std::string_view bytes);
Result<Value> ReadPropertyListFile(const std::filesystem::path& path);
// XML property list text for a tree (Null values are left out of dictionaries and arrays).
Result<std::string> SerializePropertyListXml(const Value& root);
// Binary ("bplist00") form, for the few files that must be binary.
Result<std::string> SerializePropertyListBinary(const Value& root);

}  // namespace linvara
