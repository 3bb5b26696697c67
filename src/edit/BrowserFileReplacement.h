#pragma once
// A browser's own bookmark file replaced by a working copy (Apply Changes, the
// Chrome write-back) or by its first-start backup (restore). Each replacement
// is one step (the file is never removed first), and the file it replaces is
// kept in "Backup/History/" before. Each returns where that copy was kept
// (empty when the browser had no file): NotFound without a source,
// Malformed for a Chrome working copy that is no JSON, WriteFailed otherwise.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "model/Result.h"
#include "platform/AtomicFile.h"
#include "platform/Locations.h"
#include "platform/PlatformServices.h"

namespace linvara {

enum class BrowserFile { Safari, Chrome };
enum class Replacement { Apply, Restore };

struct ReplaceOptions {
  std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
  WriteChunkFn writeChunk;  // null: the ordinary writer
};

// The Safari working copy replaces Safari's file.
Result<std::filesystem::path> ReplaceSafariBookMark(const Locations& locations, const ReplaceOptions& options = {});
// The Chrome working copy, without "checksum" and with "roots" an object, replaces Chrome's file; "Bookmarks.bak" goes.
Result<std::filesystem::path> ReplaceChromeBookMark(const Locations& locations, const ReplaceOptions& options = {});
// The first-start backup replaces the browser's file, unchanged.
Result<std::filesystem::path> RestoreBookMark(const Locations& locations, BrowserFile browser,
                                              const ReplaceOptions& options = {});

// "Quit Safari before applying the changes." (or restoring the bookmarks) while the browser runs; else nullopt.
std::optional<std::string> RunningBrowserRefusal(PlatformServices& platform, BrowserFile browser, Replacement what);
// The folder where replaced browser files are kept.
std::filesystem::path HistoryFolder(const Locations& locations);

}  // namespace linvara
