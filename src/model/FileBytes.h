#pragma once
#include <filesystem>
#include <string>

#include "model/Result.h"

namespace linvara {
// Whole file contents; an error for a missing or unreadable file.
Result<std::string> ReadFileBytes(const std::filesystem::path& path);
}
