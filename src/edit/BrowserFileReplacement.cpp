#include "edit/BrowserFileReplacement.h"

#include "edit/ChromeTreeRebuild.h"
#include "edit/ReplacementHistory.h"
#include "model/FileBytes.h"
#include "model/Json.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

const char* NameOf(BrowserFile browser) { return browser == BrowserFile::Safari ? "Safari" : "Chrome"; }
const char* ExtensionOf(BrowserFile browser) { return browser == BrowserFile::Safari ? "plist" : "json"; }

fs::path BrowserPath(const Locations& locations, BrowserFile browser) {
  return browser == BrowserFile::Safari ? locations.safariBookmarks() : locations.ChooseChromeBookmarks();
}

Result<std::string> ReadSource(const fs::path& source) {
  if (source.empty() || !fs::exists(source)) return Fail("no file at " + source.string(), ErrorKind::NotFound);
  return ReadFileBytes(source);
}

// Keeps the browser's file in the history, then writes `bytes` over it in one step.
Result<fs::path> Replace(const Locations& locations, BrowserFile browser, const std::string& bytes,
                         const ReplaceOptions& options) {
  const fs::path target = BrowserPath(locations, browser);
  if (target.empty()) return Fail(std::string("this layout has no ") + NameOf(browser) + " bookmark file", ErrorKind::NotFound);
  fs::path kept;
  std::error_code ec;
  if (fs::exists(target, ec)) {
    auto copy = KeepInHistory(HistoryFolder(locations), NameOf(browser), ExtensionOf(browser), target, options.now);
    if (!copy) return copy.failure();
    kept = *copy;
  } else {
    fs::create_directories(target.parent_path(), ec);
  }
  auto written = options.writeChunk ? WriteFileAtomically(target, bytes, options.writeChunk)
                                    : WriteFileAtomically(target, bytes);
  if (!written) return Fail(written.error(), ErrorKind::WriteFailed);
  return kept;
}

}  // namespace

fs::path HistoryFolder(const Locations& locations) { return locations.backupFolder() / "History"; }

Result<fs::path> ReplaceSafariBookMark(const Locations& locations, const ReplaceOptions& options) {
  auto bytes = ReadSource(locations.safariWorkingCopy());
  if (!bytes) return bytes.failure();
  return Replace(locations, BrowserFile::Safari, *bytes, options);
}

Result<fs::path> ReplaceChromeBookMark(const Locations& locations, const ReplaceOptions& options) {
  const fs::path source = locations.chromeWorkingCopy();
  auto bytes = ReadSource(source);
  if (!bytes) return bytes.failure();
  auto parsed = ParseJsonReplacingInvalidText(*bytes);
  DictPtr top = parsed ? parsed->asDict() : nullptr;
  if (!top) return Fail(source.string() + ": not a bookmark file", ErrorKind::Malformed);
  top = top->copy();
  top->remove("checksum");
  top->set("roots", ChromeRootsAsObject(top->get("roots")));
  auto replaced = Replace(locations, BrowserFile::Chrome, SerializeJson(Value(top)), options);
  if (replaced) {
    std::error_code ec;
    fs::remove(BrowserPath(locations, BrowserFile::Chrome).parent_path() / "Bookmarks.bak", ec);
  }
  return replaced;
}

Result<fs::path> RestoreBookMark(const Locations& locations, BrowserFile browser, const ReplaceOptions& options) {
  const char* name = browser == BrowserFile::Safari ? Locations::kSafariBackupName : Locations::kChromeBackupName;
  auto bytes = ReadSource(locations.backupFolder() / name);
  if (!bytes) return bytes.failure();
  return Replace(locations, browser, *bytes, options);
}

std::optional<std::string> RunningBrowserRefusal(PlatformServices& platform, BrowserFile browser, Replacement what) {
  const char* bundle = browser == BrowserFile::Safari ? bundleids::kSafari : bundleids::kChrome;
  if (!platform.IsRunning(bundle)) return std::nullopt;
  return std::string("Quit ") + NameOf(browser) +
         (what == Replacement::Apply ? " before applying the changes." : " before restoring the bookmarks.");
}

}  // namespace linvara
