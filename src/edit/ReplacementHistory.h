#pragma once
// Copies of the browser files this program replaced, kept in "Backup/History/"
// as "<browser>-<UTC time>.<ext>" (a counter after the time keeps names made
// within one second apart); the newest kHistoryKept of each browser stay.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "model/Result.h"

namespace linvara {

inline constexpr std::size_t kHistoryKept = 20;

// Copies `file` into `historyFolder` as "<browser>-<time>.<ext>" and prunes that browser's older copies.
// Returns the copy's path.
Result<std::filesystem::path> KeepInHistory(const std::filesystem::path& historyFolder, const std::string& browser,
                                            const std::string& extension, const std::filesystem::path& file,
                                            std::chrono::system_clock::time_point now);
// The browser's copies in `historyFolder`, oldest first.
std::vector<std::filesystem::path> HistoryOf(const std::filesystem::path& historyFolder, const std::string& browser);

}  // namespace linvara
