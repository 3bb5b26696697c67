// linvara-cli sort: the unified view's sorts over the demo profile (nothing written), printed as list
// prints; the tree sorts over real browser files, written to the working copies.
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "model/Json.h"
#include "model/PropertyList.h"

namespace linvara::testing {
namespace {

TEST_F(DemoHome, SortByBrowserGroupsBrowsersKeepingListOrder) {
  const Json listed = CliJson({"list", "--flat", "--json"});
  const Json sorted = CliJson({"sort", "--by", "browser", "--flat", "--json"});
  std::vector<std::string> browsers = Field(sorted, "browser");
  browsers.erase(std::unique(browsers.begin(), browsers.end()), browsers.end());
  EXPECT_EQ(browsers, (std::vector<std::string>{"Chrome", "Firefox", "Microsoft Edge", "Opera", "Safari"}));
  for (const std::string& browser : browsers) EXPECT_EQ(Field(sorted, "uuid", browser), Field(listed, "uuid", browser));
}

TEST_F(DemoHome, SortTopLevelPutsFoldersFirstOrLast) {
  for (const char* folders : {"first", "last"}) {
    std::vector<std::string> kinds = Field(CliJson({"sort", "--by", "name", "--folders", folders, "--json"}), "kind");
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

// Real Safari and Chrome files sorted by name: the working copy's top level (none written: a refusal).
TEST(SortTreeCommand, WritesTheWorkingCopySorted) {
  const std::string kGoogle = "ECAA8B13-0301-45B7-8ECF-991F1B51F1F1", kHistory = "D1CC91C6-1B18-44E1-AC7A-8643630FAD25";
  const struct {
    const char* view;
    std::vector<std::string> extra, topLevel;
  } cases[] = {
      {"safari", {"--folders", "last"},
       {"Bing", "DuckDuckGo", "Google", "BookmarksBar", "BookmarksMenu", "com.apple.ReadingList", "History"}},
      {"safari", {"--folders", "last", "--selected", kHistory, kGoogle},
       {"Google", "BookmarksBar", "BookmarksMenu", "Bing", "DuckDuckGo", "History", "com.apple.ReadingList"}},
      {"safari", {"--selected", "NO-SUCH-UUID"}, {}},
      {"chrome", {}, {"bookmark_bar", "synced", "other"}},
      {"chrome", {"--selected", "1", "2"}, {"bookmark_bar", "other", "synced"}},  // the unselected root keeps its place
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.view) + " " + ::testing::PrintToString(c.extra));
    CliHome h;
    CopyTestFile("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist", h.loc.safariBookmarks());
    CopyTestFile("chromium_bookmarks/chromium-linux-2021-02_Bookmarks", h.loc.chromeDefaultBookmarks());
    std::vector<std::string> args = {"sort", "--view", c.view, "--by", "name"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const CliRun run = h.Run(args);
    EXPECT_EQ(run.code, c.topLevel.empty() ? 2 : 0) << run.err;
    const bool safari = std::string(c.view) == "safari";
    EXPECT_EQ(safari ? SafariTopLevel(h.loc.safariWorkingCopy()) : ChromeRootKeys(h.loc.chromeWorkingCopy()), c.topLevel);
  }
}

}  // namespace
}  // namespace linvara::testing
