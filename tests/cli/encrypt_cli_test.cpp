// linvara-cli encrypt and decrypt: the password on stdin, and what a refusal leaves.
#include <sstream>

#include "cli/CliTestSupport.h"
#include "profile/SafariBookmarksFile.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

TEST(EncryptCli, PasswordFromStdinAndRefusalsWriteNothingWrong) {
  TempDir home;
  const Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  ASSERT_TRUE(profile::WriteSafariBookmarks(loc.safariBookmarks(), {profile::Leaf("Weather", "https://weather.example/", "W-1")}));
  const auto run = [&](std::vector<std::string> args, const std::string& input) {
    args.insert(args.begin(), {"--home", home.path().string(), "--layout", "macos"});
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err, nullptr, cli::CliInput{&in, false});
    return std::pair(code, err.str());
  };
  const struct {
    std::vector<std::string> args;
    const char* input;
    int code;
    bool workingCopyChanges;
  } steps[] = {
      {{"encrypt", "W-1"}, "pw\n", 2, false},
      {{"encrypt", "--view", "chrome", "W-1"}, "pw\n", 2, false},
      {{"encrypt", "--view", "safari", "NO-SUCH"}, "pw\n", 1, false},
      {{"encrypt", "--view", "safari", "W-1"}, "", 1, false},  // no line: no password is set
      {{"encrypt", "--view", "safari", "W-1"}, "pw\r\n", 0, true},  // the first line sets the password
      {{"encrypt", "--view", "safari", "W-1", "--working-copy"}, "pw\n", 1, false},  // encrypted already
      {{"decrypt", "--view", "safari", "W-1", "--working-copy"}, "PW\n", 1, false},
      {{"decrypt", "--view", "safari", "W-1"}, "pw\n", 1, false},  // Safari's own file: not encrypted
      {{"decrypt", "--view", "safari", "W-1", "--working-copy"}, "pw\n", 0, true},
  };
  std::string before;
  for (const auto& step : steps) {
    const auto [code, err] = run(step.args, step.input);
    EXPECT_EQ(code, step.code) << step.args[0] << " " << step.args.back() << ": " << err;
    const std::string now = fs::exists(loc.safariWorkingCopy()) ? ReadText(loc.safariWorkingCopy()) : "";
    EXPECT_EQ(now != before, step.workingCopyChanges) << step.args.back();
    before = now;
  }
  EXPECT_NE(before.find("https://weather.example/"), std::string::npos);
  EXPECT_EQ(ReadText(loc.preferencesFile()).find(">pw<"), std::string::npos);
}

}  // namespace
}  // namespace linvara::testing
