// linvara-cli sort over the demo profile: the unified view's sorts, printed as list prints.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "sort/TextOrder.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

using Json = nlohmann::ordered_json;

class SortDemoHome : public ::testing::Test {
 protected:
  void SetUp() override {
    auto made = RunCommand({"make-demo", home_.path().string()});
    ASSERT_EQ(made.code, 0) << made.err;
    before_ = FolderFingerprint(home_.path());
  }
  // Sorting writes nothing.
  void TearDown() override { EXPECT_EQ(FolderFingerprint(home_.path()), before_); }
  Json CliJson(std::vector<std::string> args) { return RunInHome(home_.path(), std::move(args)).json(); }
  TempDir home_;
  std::string before_;
};

std::vector<std::string> Of(const Json& rows, const char* key, const std::string& browser = "") {
  std::vector<std::string> out;
  for (const auto& row : rows)
    if (browser.empty() || row["browser"] == browser) out.push_back(row[key].is_null() ? "" : row[key].get<std::string>());
  return out;
}

TEST_F(SortDemoHome, ByBrowserGroupsBrowsersKeepingListOrder) {
  const Json listed = CliJson({"list", "--flat", "--json"});
  const Json sorted = CliJson({"sort", "--by", "browser", "--flat", "--json"});
  ASSERT_EQ(sorted.size(), listed.size());
  std::vector<std::string> browsers = Of(sorted, "browser");
  browsers.erase(std::unique(browsers.begin(), browsers.end()), browsers.end());
  EXPECT_EQ(browsers, (std::vector<std::string>{"Chrome", "Firefox", "Microsoft Edge", "Opera", "Safari"}));
  for (const std::string& browser : browsers) EXPECT_EQ(Of(sorted, "uuid", browser), Of(listed, "uuid", browser));
}

TEST_F(SortDemoHome, ByNameOrdersTitlesIgnoringCase) {
  const Json sorted = CliJson({"sort", "--by", "name", "--flat", "--json"});
  const std::vector<std::string> titles = Of(sorted, "title");
  ASSERT_GT(titles.size(), 10u);
  for (std::size_t i = 1; i < titles.size(); ++i) {
    const std::string &a = titles[i - 1], &b = titles[i];
    const auto punctuation = PunctuationRule(StartsWithPunctuation(a), StartsWithPunctuation(b));
    EXPECT_NE(punctuation.value_or(CompareText(a, b)), Ordering::After) << a << " then " << b;
  }
}

TEST_F(SortDemoHome, TreeModeSortsTheTopLevelFoldersFirstOrLast) {
  for (const auto& [folders, folderFirst] : {std::pair("first", true), std::pair("last", false)}) {
    const std::vector<std::string> kinds = Of(CliJson({"sort", "--by", "address", "--folders", folders, "--json"}), "kind");
    ASSERT_GT(kinds.size(), 2u);
    const auto firstBookmark = std::find(kinds.begin(), kinds.end(), "bookmark");
    const auto firstFolder = std::find(kinds.begin(), kinds.end(), "folder");
    ASSERT_TRUE(firstBookmark != kinds.end() && firstFolder != kinds.end());
    // Every folder on one side of every bookmark.
    if (folderFirst) EXPECT_EQ(std::find(firstBookmark, kinds.end(), "folder"), kinds.end()) << folders;
    else EXPECT_EQ(std::find(firstFolder, kinds.end(), "bookmark"), kinds.end()) << folders;
  }
}

TEST_F(SortDemoHome, RejectsWhatItCannotSort) {
  const std::vector<std::vector<std::string>> calls = {
      {"sort", "--view", "safari", "--by", "name"}, {"sort", "--by", "colour"}, {"sort"},
      {"sort", "--by", "name", "--folders", "middle"}};
  for (const auto& call : calls) EXPECT_EQ(RunInHome(home_.path(), call).code, 2) << call.back();
}

}  // namespace
}  // namespace linvara::testing
