#pragma once
#include "model/Result.h"
#include "platform/Locations.h"

namespace linvara {

// Copies the browsers' files into the backup folder on the first start: Safari,
// the chosen Chrome file, the Firefox places file (when the profiles folder
// exists) and Opera. Each copy that fails is skipped; an existing copy is never
// overwritten; Edge is not copied. Returns the names copied.
std::vector<std::string> TakeFirstStartBackups(const Locations& locations);

// Copies an SQLite database whole (write-ahead log included) with SQLite's
// backup API, into a temporary file that then takes the target's name.
Result<void> CopySqliteDatabase(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace linvara
