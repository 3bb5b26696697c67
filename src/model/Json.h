#pragma once
// JSON codec: keeps the file's key order; writes pretty-printed UTF-8.
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

Result<Value> ParseJson(std::string_view text);
Result<Value> ReadJsonFile(const std::filesystem::path& path);
// Pretty-printed text (Chromium writes three spaces). Dates become seconds
// since 2001 as a number and data becomes an array of byte values, since JSON
// has neither type.
std::string SerializeJson(const Value& root, int indent = 3);

}  // namespace linvara
