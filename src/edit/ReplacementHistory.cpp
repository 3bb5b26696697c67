#include "edit/ReplacementHistory.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <tuple>

#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

std::string UtcStamp(std::chrono::system_clock::time_point now) {
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

// (time, counter) of a name "<browser>-<time>[-<counter>].<ext>"; nullopt for other files.
std::optional<std::tuple<std::string, int>> SortKey(const fs::path& file, const std::string& browser) {
  const std::string stem = file.stem().string();
  const std::string prefix = browser + "-";
  if (stem.rfind(prefix, 0) != 0) return std::nullopt;
  const std::string rest = stem.substr(prefix.size());
  if (rest.size() < 16 || rest[8] != 'T' || rest[15] != 'Z') return std::nullopt;
  int counter = 1;
  if (rest.size() > 16) {
    if (rest[16] != '-') return std::nullopt;
    try {
      counter = std::stoi(rest.substr(17));
    } catch (...) {
      return std::nullopt;
    }
  }
  return std::make_tuple(rest.substr(0, 16), counter);
}

}  // namespace

std::vector<fs::path> HistoryOf(const fs::path& historyFolder, const std::string& browser) {
  std::vector<std::pair<std::tuple<std::string, int>, fs::path>> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(historyFolder, ec))
    if (auto key = SortKey(entry.path(), browser)) found.emplace_back(*key, entry.path());
  std::sort(found.begin(), found.end());
  std::vector<fs::path> out;
  for (auto& [key, path] : found) out.push_back(std::move(path));
  return out;
}

Result<fs::path> KeepInHistory(const fs::path& historyFolder, const std::string& browser, const std::string& extension,
                               const fs::path& file, std::chrono::system_clock::time_point now) {
  std::error_code ec;
  fs::create_directories(historyFolder, ec);
  if (ec) return Fail("cannot make " + historyFolder.string() + ": " + ec.message(), ErrorKind::WriteFailed);
  const std::string base = browser + "-" + UtcStamp(now);
  fs::path copy = historyFolder / (base + "." + extension);
  for (int counter = 2; fs::exists(copy, ec); ++counter)
    copy = historyFolder / (base + "-" + std::to_string(counter) + "." + extension);
  if (auto copied = CopyFileAtomically(file, copy, false); !copied)
    return Fail("cannot keep " + file.string() + " in " + historyFolder.string() + ": " + copied.error(),
                ErrorKind::WriteFailed);
  std::vector<fs::path> kept = HistoryOf(historyFolder, browser);
  for (std::size_t i = 0; i + kHistoryKept < kept.size(); ++i) fs::remove(kept[i], ec);
  return copy;
}

}  // namespace linvara
