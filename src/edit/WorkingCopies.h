#pragma once
// The working copies of the Safari and Chrome trees: their text and their one-step write.
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"
#include "model/Value.h"
#include "platform/AtomicFile.h"

namespace linvara {

// The Safari working copy: a copy of `rootDict` (every key read) with "Children" replaced, as an XML property list.
Result<std::string> SafariWorkingCopyText(const DictPtr& rootDict, const ArrayPtr& children);
// The Chrome working copy: a copy of `rootDict` ("checksum" included) with "roots" replaced, pretty-printed JSON.
std::string ChromeWorkingCopyText(const DictPtr& rootDict, const Value& roots);
// Writes a working copy in one step, its folder made first; `writeChunk` replaces the low-level writer.
Result<void> WriteWorkingCopy(const std::filesystem::path& path, std::string_view text,
                              const WriteChunkFn& writeChunk = nullptr);

}  // namespace linvara
