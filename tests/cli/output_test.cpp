// What the command line prints: control characters made visible in text,
// JSON that survives bytes that are not UTF-8, failures that end in a message.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/PresenterFixture.h"
#include "cli/CliTestSupport.h"
#include "cli/Output.h"

namespace linvara::testing {
namespace {

constexpr const char* kFffd = "\xef\xbf\xbd";

TEST(CliOutput, PrintableTextEscapesControlsAndReplacesBadBytes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"plain text, tab\tkept", "plain text, tab\tkept"},
      {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
      {"line\nforged\r", "line\\x0aforged\\x0d"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"del\x7f", "del\\x7f"},
      {"csi\xc2\x9b" "31m \xc2\x80", "csi\\x9b" "31m \\x80"},
      {"nbsp\xc2\xa0 caf\xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80", "nbsp\xc2\xa0 caf\xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80"},
      {"caf\xe9!", std::string("caf") + kFffd + "!"},
      {"bare\x9b", std::string("bare") + kFffd},
      {"overlong\xc0\x80", std::string("overlong") + kFffd + kFffd},
      {"surrogate\xed\xa0\x80", std::string("surrogate") + kFffd + kFffd + kFffd},
      {"cut\xe2\x82", std::string("cut") + kFffd + kFffd},
      {"beyond\xf4\x90\x80\x80", std::string("beyond") + kFffd + kFffd + kFffd + kFffd},
  };
  for (const auto& [raw, shown] : cases) EXPECT_EQ(cli::PrintableText(raw), shown) << ::testing::PrintToString(raw);
}

TEST(CliOutput, TitleWithTerminalEscapesCannotForgeLines) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  WriteText(loc.chromeDefaultBookmarks(),
            ChromeFile(ChromeUrl("3", R"(\u001b]0;owned\u0007\nforged)", "https://ok.example/")));
  const std::string shown = "\\x1b]0;owned\\x07\\x0aforged  https://ok.example/";
  CliRun flat = RunInHome(home.path(), {"list", "--view", "chrome", "--flat"});
  EXPECT_EQ(flat.out, shown + "  [Chrome /Bookmarks bar]\n");
  CliRun tree = RunInHome(home.path(), {"list", "--view", "chrome"});
  EXPECT_NE(tree.out.find("\n  " + shown + "\n"), std::string::npos) << tree.out;
  CliRun json = RunInHome(home.path(), {"search", "owned", "--view", "chrome", "--json"});
  EXPECT_EQ(nlohmann::json::parse(json.out)[0]["title"], "\x1b]0;owned\x07\nforged");
}

TEST(CliOutput, AFailureInsideACommandEndsWithAMessage) {
  CliRun r = RunCommand({"--home", "", "paths"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("linvara-cli: unexpected failure: ", 0), 0u) << r.err;
}

}  // namespace
}  // namespace linvara::testing
