#pragma once
// Every file this program writes goes through WriteFileAtomically: the bytes
// go to a temporary file in the target's folder, are flushed and synced, and
// the temporary file is renamed over the target. On any failure the old file
// is untouched and the temporary file is removed.
#include <filesystem>
#include <functional>
#include <string_view>

#include "model/Result.h"

namespace linvara {

// Low-level writer used by WriteFileAtomically; tests swap in one that fails
// after N bytes to prove that a failed save loses nothing.
using WriteChunkFn = std::function<long(int fd, const char* data, std::size_t size)>;

Result<void> WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);
Result<void> WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                 const WriteChunkFn& writeChunk);

// Copies a file in one step (read whole, then WriteFileAtomically). When
// `overwrite` is false an existing target is left alone and an error returned.
Result<void> CopyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target,
                                bool overwrite);

}  // namespace linvara
