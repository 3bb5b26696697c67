// linvara-cli sort: the unified view's sorts over the demo profile (nothing written), printed as list
// prints; the tree sorts over real browser files, written to the working copies.
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "model/Json.h"
#include "model/PropertyList.h"
#include "platform/PlatformServices.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

std::vector<std::string> Of(const Json& rows, const char* key, const std::string& browser = "") {
  std::vector<std::string> out;
  for (const auto& row : rows)
    if (browser.empty() || row["browser"] == browser) out.push_back(row[key].is_null() ? "" : std::string(row[key]));
  return out;
}

TEST_F(DemoHome, SortByBrowserGroupsBrowsersKeepingListOrder) {
  const Json listed = CliJson({"list", "--flat", "--json"});
  const Json sorted = CliJson({"sort", "--by", "browser", "--flat", "--json"});
  std::vector<std::string> browsers = Of(sorted, "browser");
  browsers.erase(std::unique(browsers.begin(), browsers.end()), browsers.end());
  EXPECT_EQ(browsers, (std::vector<std::string>{"Chrome", "Firefox", "Microsoft Edge", "Opera", "Safari"}));
  for (const std::string& browser : browsers) EXPECT_EQ(Of(sorted, "uuid", browser), Of(listed, "uuid", browser));
}

TEST_F(DemoHome, SortTopLevelPutsFoldersFirstOrLast) {
  for (const char* folders : {"first", "last"}) {
    std::vector<std::string> kinds = Of(CliJson({"sort", "--by", "name", "--folders", folders, "--json"}), "kind");
    ASSERT_GT(std::count(kinds.begin(), kinds.end(), "bookmark"), 0) << folders;
    kinds.erase(std::unique(kinds.begin(), kinds.end()), kinds.end());
    EXPECT_EQ(kinds, (std::string(folders) == "first" ? std::vector<std::string>{"folder", "bookmark"}
                                                       : std::vector<std::string>{"bookmark", "folder"}));
  }
}

TEST_F(DemoHome, SortRejectsWhatItCannotSort) {
  for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{
           {"sort", "--view", "safari", "--by", "host"}, {"sort", "--by", "colour"}, {"sort"},
           {"sort", "--by", "name", "--selected", "X"}, {"sort", "--view", "chrome", "--by", "name", "X"},
           {"sort", "--by", "name", "--folders", "mid"}})
    EXPECT_EQ(Cli(call).code, 2) << call.back();
}

// A home holding real Safari and Chrome files.
struct TreeHome {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  TreeHome() {
    std::filesystem::create_directories(loc.safariBookmarks().parent_path());
    std::filesystem::create_directories(loc.chromeDefaultBookmarks().parent_path());
    std::filesystem::copy_file(TestData("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist"),
                               loc.safariBookmarks());
    std::filesystem::copy_file(TestData("chromium_bookmarks/chromium-linux-2021-02_Bookmarks"),
                               loc.chromeDefaultBookmarks());
  }
  CliRun Run(std::vector<std::string> args) {
    return RunInHome(home.path(), std::move(args), Layout::MacOS, std::make_shared<FakePlatformServices>());
  }
};

// The top-level titles of the Safari working copy.
std::vector<std::string> SafariTopLevel(const std::filesystem::path& file) {
  std::vector<std::string> out;
  Result<Value> root = ReadPropertyListFile(file);
  if (!root) return out;
  for (const Value& entry : *root->asDict()->getArray("Children")) {
    DictPtr uri = entry.asDict()->getDict("URIDictionary");
    out.push_back(uri ? *uri->getString("title") : *entry.asDict()->getString("Title"));
  }
  return out;
}

// The keys of the Chrome working copy's "roots" object.
std::vector<std::string> ChromeRootKeys(const std::filesystem::path& file) {
  std::vector<std::string> out;
  Result<Value> root = ReadJsonFile(file);
  if (!root) return out;
  for (const auto& [key, value] : *root->asDict()->getDict("roots")) out.push_back(key);
  return out;
}

TEST(SortTreeCommand, SafariWritesTheWorkingCopySorted) {
  const std::string kGoogle = "ECAA8B13-0301-45B7-8ECF-991F1B51F1F1", kHistory = "D1CC91C6-1B18-44E1-AC7A-8643630FAD25";
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{"--folders", "last"},
       {"Bing", "DuckDuckGo", "Google", "BookmarksBar", "BookmarksMenu", "com.apple.ReadingList", "History"}},
      {{"--folders", "last", "--selected", kHistory, kGoogle},
       {"Google", "BookmarksBar", "BookmarksMenu", "Bing", "DuckDuckGo", "History", "com.apple.ReadingList"}},
      {{"--selected", "NO-SUCH-UUID"}, {}},
  };
  for (const auto& [extra, titles] : cases) {
    TreeHome f;
    std::vector<std::string> args = {"sort", "--view", "safari", "--by", "name"};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun run = f.Run(args);
    EXPECT_EQ(run.code, titles.empty() ? 2 : 0) << run.err;
    EXPECT_EQ(SafariTopLevel(f.loc.safariWorkingCopy()), titles) << extra.back();
  }
}

TEST(SortTreeCommand, ChromeWritesRootsInTheSortedOrder) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{}, {"bookmark_bar", "synced", "other"}},
      {{"--selected", "1", "2"}, {"bookmark_bar", "other", "synced"}},  // the unselected root keeps its place
  };
  for (const auto& [extra, keys] : cases) {
    TreeHome f;
    std::vector<std::string> args = {"sort", "--view", "chrome", "--by", "name"};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun run = f.Run(args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ChromeRootKeys(f.loc.chromeWorkingCopy()), keys);
  }
}

}  // namespace
}  // namespace linvara::testing
