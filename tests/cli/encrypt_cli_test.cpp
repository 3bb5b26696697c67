// linvara-cli encrypt and decrypt: the password on stdin, and what a refusal leaves.
#include <sstream>

#include "cli/CliTestSupport.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

TEST(EncryptCli, PasswordFromStdinAndRefusalsWriteNothingWrong) {
  CliHome h;
  h.WriteSafari({profile::Leaf("Weather", "https://weather.example/", "W-1")});
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
    std::istringstream in(step.input);
    const CliRun r = h.Run(step.args, cli::CliInput{&in, false});
    EXPECT_EQ(r.code, step.code) << step.args[0] << " " << step.args.back() << ": " << r.err;
    const std::string now = fs::exists(h.loc.safariWorkingCopy()) ? ReadText(h.loc.safariWorkingCopy()) : "";
    EXPECT_EQ(now != before, step.workingCopyChanges) << step.args.back();
    before = now;
  }
  EXPECT_NE(before.find("https://weather.example/"), std::string::npos);
  EXPECT_EQ(ReadText(h.loc.preferencesFile()).find(">pw<"), std::string::npos);
}

}  // namespace
}  // namespace linvara::testing
