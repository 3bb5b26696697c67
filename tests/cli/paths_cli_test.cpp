#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "cli/CommandRegistry.h"

using linvara::cli::RunCli;

TEST(PathsCommand, PrintsEveryLocationAsJson) {
  std::ostringstream out, err;
  ASSERT_EQ(RunCli({"--home", "/tmp/demo-home", "--layout", "macos", "paths", "--json"}, out, err), 0) << err.str();
  auto j = nlohmann::json::parse(out.str());
  EXPECT_EQ(j["layout"], "macos");
  EXPECT_EQ(j["home"], "/tmp/demo-home");
  EXPECT_EQ(j["safariBookmarks"], "/tmp/demo-home/Library/Safari/Bookmarks.plist");
  EXPECT_EQ(j["dataFolder"], "/tmp/demo-home/Library/Application Support/Linvara");
  EXPECT_EQ(j["firefoxPlaces"], "");
}

TEST(PathsCommand, RejectsBadGlobalOptions) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"--layout", "windows", "paths"}, out, err), 2);
  EXPECT_NE(err.str().find("unknown layout"), std::string::npos);
  EXPECT_EQ(RunCli({"--home"}, out, err), 2);
  EXPECT_EQ(RunCli({"no-such-command"}, out, err), 2);
  std::ostringstream help;
  EXPECT_EQ(RunCli({"--help"}, help, err), 0);
  EXPECT_NE(help.str().find("paths"), std::string::npos);
}
