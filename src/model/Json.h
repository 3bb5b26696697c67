#pragma once
// JSON codec: keeps the file's key order; writes pretty-printed UTF-8.
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

// Malformed for anything that is not strict JSON in UTF-8. Arrays and objects
// nested deeper than 2,048 levels read as null.
Result<Value> ParseJson(std::string_view text);
// As Chromium reads its own files: bytes that are not UTF-8 and \u escapes of
// lone surrogates read as U+FFFD instead of failing the whole text.
Result<Value> ParseJsonReplacingInvalidText(std::string_view text);
Result<Value> ReadJsonFile(const std::filesystem::path& path);
// Pretty-printed text (Chromium writes three spaces). Dates become seconds
// since 2001 as a number and data becomes an array of byte values, since JSON
// has neither type.
std::string SerializeJson(const Value& root, int indent = 3);

}  // namespace linvara
