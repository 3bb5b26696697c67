#pragma once
// Writes one generated file: its folders are made first, then the bytes go
// through WriteFileAtomically.
#include <filesystem>
#include <string_view>

#include "model/Result.h"

namespace linvara::profile {

Result<void> WriteProfileFile(const std::filesystem::path& target, std::string_view bytes);

}  // namespace linvara::profile
