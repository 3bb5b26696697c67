#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

TEST(PathsCommand, PrintsEveryLocationAsJson) {
  CliRun r = RunInHome("/tmp/demo-home", {"paths", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["layout"], "macos");
  EXPECT_EQ(j["home"], "/tmp/demo-home");
  EXPECT_EQ(j["safariBookmarks"], "/tmp/demo-home/Library/Safari/Bookmarks.plist");
  EXPECT_EQ(j["dataFolder"], "/tmp/demo-home/Library/Application Support/Linvara");
  EXPECT_EQ(j["firefoxPlaces"], "");
}

TEST(PathsCommand, BytesThatAreNotUtf8PrintAsReplacements) {
  TempDir dir;
  CliRun json = RunInHome(dir.path() / "caf\xe9", {"paths", "--json"});
  ASSERT_EQ(json.code, 0) << json.err;
  const std::string shownHome = (dir.path() / "caf").string() + "\xef\xbf\xbd";
  EXPECT_EQ(nlohmann::json::parse(json.out)["home"], shownHome);
  CliRun text = RunInHome(dir.path() / "caf\xe9", {"paths"});
  EXPECT_EQ(text.out.rfind("home: " + shownHome + "\n", 0), 0u) << text.out;
}

}  // namespace
}  // namespace linvara::testing
