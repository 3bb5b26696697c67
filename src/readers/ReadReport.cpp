#include "readers/ReadReport.h"

#include <algorithm>

namespace linvara {

std::string EntriesBelowFolderLimitMessage(std::size_t count) {
  return std::to_string(count) + " bookmarks below " + std::to_string(kMaxFolderLevels) +
         " folder levels were not read";
}

BrowserReadOutcome BrowserReadOutcome::Of(std::string browser, std::filesystem::path file, const ReadResult& result) {
  BrowserReadOutcome outcome{std::move(browser), std::move(file), std::nullopt, 0};
  if (result)
    outcome.entriesBelowFolderLimit = result->entriesBelowFolderLimit;
  else
    outcome.error = result.failure();
  return outcome;
}

bool BrowserReadOutcome::worthTelling() const {
  if (error) return error->kind != ErrorKind::NotFound;
  return entriesBelowFolderLimit > 0;
}

std::string BrowserReadOutcome::Describe() const {
  if (!worthTelling()) return {};
  if (error) return browser + ": " + error->message;
  return browser + " (" + file.string() + "): " + EntriesBelowFolderLimitMessage(entriesBelowFolderLimit);
}

void ReadReport::Record(BrowserReadOutcome outcome) {
  auto same = std::find_if(outcomes.begin(), outcomes.end(),
                           [&](const BrowserReadOutcome& o) { return o.browser == outcome.browser; });
  if (same != outcomes.end())
    *same = std::move(outcome);
  else
    outcomes.push_back(std::move(outcome));
}

const BrowserReadOutcome* ReadReport::Find(const std::string& browser) const {
  for (const auto& o : outcomes)
    if (o.browser == browser) return &o;
  return nullptr;
}

bool ReadReport::worthTelling() const {
  return std::any_of(outcomes.begin(), outcomes.end(), [](const BrowserReadOutcome& o) { return o.worthTelling(); });
}

std::string ReadReport::Describe() const {
  std::string text;
  for (const auto& o : outcomes) {
    if (!o.worthTelling()) continue;
    if (!text.empty()) text += "\n";
    text += o.Describe();
  }
  return text;
}

}  // namespace linvara
