#include <gtest/gtest.h>

#include <unistd.h>

#include "edit/BrowserFileReplacement.h"
#include "edit/ReplacementHistory.h"
#include "model/Json.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Home {
  TempDir dir;
  Locations loc = Locations::ForHome(dir.path(), Layout::MacOS);
  ReplaceOptions at(int second) const {
    ReplaceOptions o;
    o.now = std::chrono::system_clock::time_point{} + 1'800'000'000s + std::chrono::seconds(second);
    return o;
  }
};

std::vector<std::string> Names(const std::vector<fs::path>& paths) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(p.filename().string());
  return out;
}

TEST(BrowserFileReplacement, ApplyThenRestoreKeepsBothReplacedFiles) {
  Home h;
  WriteText(h.loc.safariBookmarks(), "safari's own");
  WriteText(h.loc.safariWorkingCopy(), "working copy");
  WriteText(h.loc.backupFolder() / Locations::kSafariBackupName, "first start");

  auto applied = ReplaceSafariBookMark(h.loc, h.at(0));
  ASSERT_TRUE(applied.ok()) << applied.error();
  EXPECT_EQ(ReadText(h.loc.safariBookmarks()), "working copy");
  auto restored = RestoreBookMark(h.loc, BrowserFile::Safari, h.at(0));
  ASSERT_TRUE(restored.ok()) << restored.error();
  EXPECT_EQ(ReadText(h.loc.safariBookmarks()), "first start");

  auto history = HistoryOf(HistoryFolder(h.loc), "Safari");
  EXPECT_EQ(Names(history), (std::vector<std::string>{"Safari-20270115T080000Z.plist", "Safari-20270115T080000Z-2.plist"}));
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(ReadText(history[0]), "safari's own");
  EXPECT_EQ(ReadText(history[1]), "working copy");
  EXPECT_EQ(*applied, history[0]);
  EXPECT_EQ(ReadText(h.loc.safariWorkingCopy()), "working copy");
}

TEST(BrowserFileReplacement, FailedWriteLeavesTheBrowserFile) {
  Home h;
  WriteText(h.loc.safariBookmarks(), "safari's own");
  WriteText(h.loc.safariWorkingCopy(), std::string(5000, 'w'));
  ReplaceOptions options = h.at(0);
  auto written = std::make_shared<std::size_t>(0);
  options.writeChunk = [written](int fd, const char* data, std::size_t size) -> long {
    if (*written >= 1000) {
      errno = ENOSPC;
      return -1;
    }
    const std::size_t n = std::min<std::size_t>(size, 1000 - *written);
    *written += n;
    return ::write(fd, data, n);
  };
  auto applied = ReplaceSafariBookMark(h.loc, options);
  ASSERT_FALSE(applied.ok());
  EXPECT_EQ(applied.errorKind(), ErrorKind::WriteFailed);
  EXPECT_EQ(ReadText(h.loc.safariBookmarks()), "safari's own");
}

TEST(BrowserFileReplacement, MissingSourceWritesNothing) {
  const std::vector<std::pair<std::string, std::function<Result<fs::path>(const Locations&)>>> cases = {
      {"apply Safari", [](const Locations& l) { return ReplaceSafariBookMark(l); }},
      {"apply Chrome", [](const Locations& l) { return ReplaceChromeBookMark(l); }},
      {"restore Safari", [](const Locations& l) { return RestoreBookMark(l, BrowserFile::Safari); }},
      {"restore Chrome", [](const Locations& l) { return RestoreBookMark(l, BrowserFile::Chrome); }},
  };
  for (const auto& [name, run] : cases) {
    SCOPED_TRACE(name);
    Home h;
    WriteText(h.loc.safariBookmarks(), "own");
    WriteText(h.loc.chromeDefaultBookmarks(), "own");
    const std::string before = FolderFingerprint(h.dir.path());
    auto result = run(h.loc);
    EXPECT_EQ(result.errorKind(), ErrorKind::NotFound);
    EXPECT_EQ(FolderFingerprint(h.dir.path()), before);
  }
}

TEST(BrowserFileReplacement, ChromeWriteBackHasNoChecksumAndRootsAsAnObject) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"({"checksum": "c", "roots": {"bookmark_bar": {"type": "folder"}, "other": {"type": "folder"}}, "version": 1})",
       R"({"roots": {"bookmark_bar": {"type": "folder"}, "other": {"type": "folder"}}, "version": 1})"},
      {R"({"checksum": "c", "roots": [{"type": "folder"}, {"type": "folder", "name": "o"}]})",
       R"({"roots": {"bookmark_bar": {"type": "folder"}, "other": {"type": "folder", "name": "o"}}})"},
  };
  for (const auto& [workingCopy, expected] : cases) {
    Home h;
    WriteText(h.loc.chromeWorkingCopy(), workingCopy);
    WriteText(h.loc.chromeDefaultBookmarks(), "own");
    WriteText(h.loc.chromeDefaultBookmarks().parent_path() / "Bookmarks.bak", "bak");
    ASSERT_TRUE(ReplaceChromeBookMark(h.loc).ok());
    EXPECT_EQ(*ReadJsonFile(h.loc.chromeDefaultBookmarks()), *ParseJson(expected));
    EXPECT_FALSE(fs::exists(h.loc.chromeDefaultBookmarks().parent_path() / "Bookmarks.bak"));
  }
}

TEST(BrowserFileReplacement, ChromeRestoreGoesToTheProfileInUse) {
  Home h;
  WriteText(h.loc.chromeProfile2Bookmarks(), "profile 2");
  WriteText(h.loc.chromeProfile2Bookmarks().parent_path() / "Bookmarks.bak", "bak");
  WriteText(h.loc.backupFolder() / Locations::kChromeBackupName, "first start");
  ASSERT_TRUE(RestoreBookMark(h.loc, BrowserFile::Chrome).ok());
  EXPECT_EQ(ReadText(h.loc.chromeProfile2Bookmarks()), "first start");
  EXPECT_FALSE(fs::exists(h.loc.chromeDefaultBookmarks()));
  EXPECT_EQ(ReadText(h.loc.chromeProfile2Bookmarks().parent_path() / "Bookmarks.bak"), "bak");
}

TEST(ReplacementHistory, KeepsTheNewestTwentyOfEachBrowser) {
  Home h;
  WriteText(h.dir / "file", "x");
  const fs::path folder = HistoryFolder(h.loc);
  ASSERT_TRUE(KeepInHistory(folder, "Chrome", "json", h.dir / "file", h.at(0).now).ok());
  for (int i = 0; i < 25; ++i) ASSERT_TRUE(KeepInHistory(folder, "Safari", "plist", h.dir / "file", h.at(i / 12).now).ok());
  auto safari = Names(HistoryOf(folder, "Safari"));
  ASSERT_EQ(safari.size(), kHistoryKept);
  EXPECT_EQ(safari.front(), "Safari-20270115T080000Z-6.plist");
  EXPECT_EQ(safari.back(), "Safari-20270115T080002Z.plist");
  EXPECT_EQ(HistoryOf(folder, "Chrome").size(), 1u);
}

TEST(BrowserFileReplacement, RefusedWhileTheBrowserRuns) {
  const std::vector<std::tuple<BrowserFile, Replacement, std::vector<std::string>, std::string>> cases = {
      {BrowserFile::Safari, Replacement::Apply, {bundleids::kSafari}, "Quit Safari before applying the changes."},
      {BrowserFile::Safari, Replacement::Restore, {bundleids::kSafari}, "Quit Safari before restoring the bookmarks."},
      {BrowserFile::Chrome, Replacement::Apply, {bundleids::kChrome}, "Quit Chrome before applying the changes."},
      {BrowserFile::Chrome, Replacement::Restore, {bundleids::kChrome}, "Quit Chrome before restoring the bookmarks."},
      {BrowserFile::Chrome, Replacement::Apply, {bundleids::kSafari}, ""},
  };
  for (const auto& [browser, what, running, expected] : cases) {
    SCOPED_TRACE(expected);
    FakePlatformServices platform;
    platform.running = running;
    EXPECT_EQ(RunningBrowserRefusal(platform, browser, what).value_or(""), expected);
  }
}

}  // namespace
}  // namespace linvara::testing
