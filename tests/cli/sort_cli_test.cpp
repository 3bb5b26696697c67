// linvara-cli sort over the demo profile (nothing written): the unified view's sorts, printed as list prints.
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"

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
           {"sort", "--view", "safari", "--by", "name"}, {"sort", "--by", "colour"}, {"sort"},
           {"sort", "--by", "name", "--folders", "mid"}})
    EXPECT_EQ(Cli(call).code, 2) << call.back();
}

}  // namespace
}  // namespace linvara::testing
