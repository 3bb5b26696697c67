// The argument checks and help texts that every command gets from its declaration.
#include <gtest/gtest.h>

#include "cli/Commands.h"
#include "cli/CliTestSupport.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

std::vector<std::string> Words(const std::string& name) {
  std::vector<std::string> words;
  std::istringstream split(name);
  for (std::string word; split >> word;) words.push_back(word);
  return words;
}

// The usage lines a command's help starts with, without "usage: ".
std::vector<std::string> HelpUsageLines(const std::string& command) {
  std::vector<std::string> args = Words(command);
  args.push_back("--help");
  std::istringstream help(RunCommand(args).out);
  std::vector<std::string> lines;
  for (std::string line; std::getline(help, line);)
    if (line.rfind("usage: ", 0) == 0) lines.push_back(line.substr(7));
  return lines;
}

struct UsageCase {
  std::vector<std::string> args;
  std::string problem;
  std::string command;  // whose usage follows the problem; empty for none
};

TEST(CliArguments, UsageErrorsNameTheProblemAndTheUsage) {
  const std::vector<UsageCase> cases = {
      {{"list", "--bogus"}, "unknown option '--bogus'", "list"},
      {{"list", "extra"}, "unexpected argument 'extra'", "list"},
      {{"list", "--view"}, "--view needs a value", "list"},
      {{"list", "--view", "firefox"}, "unknown view 'firefox' (use all, safari or chrome)", ""},
      {{"search"}, "search needs TEXT", "search"},
      {{"search", "a", "b"}, "unexpected argument 'b'", "search"},
      {{"search", ""}, "the search text is empty", "search"},
      {{"duplicates", "--flat"}, "unknown option '--flat'", "duplicates"},
      {{"dead-links", "--concurrency", "0"}, "--concurrency '0' is not a whole number of at least 1", "dead-links"},
      {{"dead-links", "--per-host", "two"}, "--per-host 'two' is not a whole number of at least 1", "dead-links"},
      {{"dead-links", "--timeout", "0"}, "--timeout '0' is not a number of seconds above 0", "dead-links"},
      {{"dead-links", "--timeout", "soon"}, "--timeout 'soon' is not a number of seconds above 0", "dead-links"},
      {{"dead-links", "--timeout"}, "--timeout needs a value", "dead-links"},
      {{"cookies"}, "cookies needs safari|chrome|PATH", "cookies"},
      {{"cookies", "safari", "chrome"}, "unexpected argument 'chrome'", "cookies"},
      {{"cookies", "safari", "--out", "x"}, "unknown option '--out'", "cookies"},
      {{"cookies", "export"}, "cookies export needs safari|chrome", "cookies export"},
      {{"cookies", "export", "firefox"}, "cookies export takes safari or chrome", "cookies export"},
      {{"cookies", "export", "chrome", "--out"}, "--out needs a value", "cookies export"},
      {{"cookies", "clear", "opera", "--yes"}, "cookies clear takes safari or chrome", "cookies clear"},
      {{"paths", "--bogus"}, "unknown option '--bogus'", "paths"},
      {{"make-demo"}, "make-demo needs DIR", "make-demo"},
      {{"help", "nothing"}, "unknown command 'nothing'", ""},
      {{"no-such-command"}, "unknown command 'no-such-command'", ""},
      {{"--layout", "windows", "paths"}, "unknown layout 'windows' (use macos or linux)", ""},
      {{"--home"}, "--home needs a value", ""},
  };
  TempDir home;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    CliRun r = RunInHome(home.path(), c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("linvara-cli: " + c.problem + "\n", 0), 0u) << r.err;
    if (c.command.empty()) continue;
    const auto usage = HelpUsageLines(c.command);
    ASSERT_FALSE(usage.empty());
    for (const auto& line : usage) EXPECT_NE(r.err.find(line + "\n"), std::string::npos) << r.err;
  }
}

TEST(CliArguments, EveryCommandPrintsItsHelpByNameOrOption) {
  const std::string general = RunCommand({"--help"}).out;
  EXPECT_EQ(RunCommand({"help"}).out, general);
  CliRun bare = RunCommand({});
  EXPECT_EQ(bare.code, 2);
  EXPECT_EQ(bare.err, general);
  for (const auto& spec : cli::CommandTable()) {
    SCOPED_TRACE(spec.name);
    EXPECT_NE(general.find("  " + spec.name + " "), std::string::npos);
    EXPECT_NE(general.find(spec.summary), std::string::npos);
    CliRun byName = RunCommand({"help", spec.name});
    std::vector<std::string> args = Words(spec.name);
    args.push_back("--help");
    CliRun byOption = RunCommand(args);
    EXPECT_EQ(byName.code, 0);
    EXPECT_EQ(byOption.code, 0);
    EXPECT_EQ(byOption.out, byName.out);
    EXPECT_EQ(byName.out.rfind("usage: " + cli::UsageLine(spec) + "\n", 0), 0u) << byName.out;
    for (const auto& option : spec.options) EXPECT_NE(byName.out.find(option.name), std::string::npos);
  }
}

}  // namespace
}  // namespace linvara::testing
