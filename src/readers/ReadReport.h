#pragma once
// What a read of browser files has to tell besides the nodes: a file that
// could not be read and why, and entries left out below the folder limit.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/Result.h"

namespace linvara {

// Folder levels every reader builds; entries inside more folders than this are
// left out and counted.
inline constexpr std::size_t kMaxFolderLevels = 512;

// What a read that succeeded has to tell.
struct ReadStats {
  std::size_t entriesBelowFolderLimit = 0;
};
// A reader's answer: the stats, or why the file could not be read (NotFound,
// Unreadable or Malformed; the message names the file).
using ReadResult = Result<ReadStats>;

// "17 bookmarks below 512 folder levels were not read".
std::string EntriesBelowFolderLimitMessage(std::size_t count);

// The last read of one browser's file.
struct BrowserReadOutcome {
  std::string browser;         // "Safari", "Chrome", "Microsoft Edge", "Firefox" or "Opera"
  std::filesystem::path file;  // the file asked for (may be empty when the layout has none)
  std::optional<Error> error;  // set when the file could not be read
  std::size_t entriesBelowFolderLimit = 0;

  static BrowserReadOutcome Of(std::string browser, std::filesystem::path file, const ReadResult& result);
  // Something the user should hear of: an error other than a missing file, or entries left out.
  bool worthTelling() const;
  // One line naming the browser, the file and the reason; empty when not worth telling.
  std::string Describe() const;
};

// The outcomes of the last read, one per browser, in reading order.
struct ReadReport {
  std::vector<BrowserReadOutcome> outcomes;

  // Replaces the browser's earlier outcome, or appends the first one.
  void Record(BrowserReadOutcome outcome);
  const BrowserReadOutcome* Find(const std::string& browser) const;
  bool worthTelling() const;
  // The lines of every outcome worth telling, joined by newlines.
  std::string Describe() const;
};

}  // namespace linvara
