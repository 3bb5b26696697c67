// The dispatcher: argument checks and help texts that every command gets from
// its declaration, failures that end in a message; the paths, export and
// update-check commands.
#include <gtest/gtest.h>

#include <iterator>

#include "cli/CliDocs.h"
#include "cli/CliTestSupport.h"
#include "cli/Commands.h"
#include "cli/GlobalOptions.h"
#include "health/LoopbackHttpServer.h"
#include "support/TestSupport.h"
#include "update/PRUpdateController.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Words(const std::string& name) {
  std::istringstream split(name);
  return {std::istream_iterator<std::string>(split), std::istream_iterator<std::string>()};
}

struct UsageCase {
  std::vector<std::string> args;
  std::string problem, command;  // command: whose usage follows the problem; empty for none
};

TEST(CliArguments, BadCommandLinesExitTwoNamingTheProblem) {
  const std::vector<UsageCase> cases = {
      {{"list", "--bogus"}, "unknown option '--bogus'", "list"},
      {{"list", "extra"}, "unexpected argument 'extra'", "list"},
      {{"list", "--view"}, "--view needs a value", "list"},
      {{"list", "--view", "firefox"}, "unknown view 'firefox' (use all, safari or chrome)", ""},
      {{"search"}, "search needs TEXT", "search"},
      {{"search", ""}, "the search text is empty", "search"},
      {{"dead-links", "--concurrency", "0"}, "--concurrency '0' is not a whole number of at least 1", "dead-links"},
      {{"dead-links", "--timeout", "soon"}, "--timeout 'soon' is not a number of seconds above 0", "dead-links"},
      {{"cookies"}, "cookies needs safari|chrome|PATH", "cookies"},
      {{"cookies", "safari", "chrome"}, "unexpected argument 'chrome'", "cookies"},
      {{"cookies", "safari", "--out", "x"}, "unknown option '--out'", "cookies"},
      {{"cookies", "export"}, "cookies export needs safari|chrome", "cookies export"},
      {{"cookies", "export", "firefox"}, "cookies export takes safari or chrome", "cookies export"},
      {{"cookies", "export", "chrome", "--out"}, "--out needs a value", "cookies export"},
      {{"cookies", "clear", "opera", "--yes"}, "cookies clear takes safari or chrome", "cookies clear"},
      {{"make-demo"}, "make-demo needs DIR", "make-demo"},
      {{"help", "nothing"}, "unknown command 'nothing'", ""},
      {{"no-such-command"}, "unknown command 'no-such-command'", ""},
      {{"--layout", "windows", "paths"}, "unknown layout 'windows' (use macos or linux)", ""},
      {{"--home"}, "--home needs a value", ""},
      {{"--home", "", "paths"}, "unexpected failure: ", ""},  // a failure inside ends in a message too
  };
  TempDir home;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    CliRun r = RunInHome(home.path(), c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("linvara-cli: " + c.problem, 0), 0u) << r.err;
    if (c.command.empty()) continue;
    for (const auto* form : cli::CommandForms(c.command))
      EXPECT_NE(r.err.find(cli::UsageLine(*form) + "\n"), std::string::npos) << r.err;
  }
}

TEST(PathsCommand, PrintsEveryLocationAsJson) {
  auto j = RunInHome("/tmp/demo-home", {"paths", "--json"}).json();
  EXPECT_EQ(std::tuple(j["layout"], j["home"], j["safariBookmarks"], j["dataFolder"], j["firefoxPlaces"]),
            std::tuple("macos", "/tmp/demo-home", "/tmp/demo-home/Library/Safari/Bookmarks.plist",
                       "/tmp/demo-home/Library/Application Support/Linvara", ""));
}

TEST(PathsCommand, BytesThatAreNotUtf8PrintAsReplacements) {
  TempDir dir;
  const std::string shownHome = (dir.path() / "caf").string() + "\xef\xbf\xbd";
  EXPECT_EQ(RunInHome(dir.path() / "caf\xe9", {"paths", "--json"}).json()["home"], shownHome);
  CliRun text = RunInHome(dir.path() / "caf\xe9", {"paths"});
  EXPECT_EQ(text.out.rfind("home: " + shownHome + "\n", 0), 0u) << text.out;
}

TEST(PathsCommand, NamesTheFolderChosenForEachBrowserAndWhy) {
  TempDir home;
  WriteText(home / ".config/chromium/Default/Bookmarks", "{}");
  CliRun text = RunInHome(home.path(), {"paths"}, Layout::Linux);
  EXPECT_NE(text.out.find("\nchrome: ~/.config/chromium (Chromium; Google Chrome not present, Flatpak Chrome not "
                          "present; profile \"Default\": the default profile)\n"),
            std::string::npos)
      << text.out;
}

TEST(GlobalOptions, ProfilesAskedForReplaceTheChoice) {
  TempDir home;
  WriteText(home / ".config/google-chrome/Default/Bookmarks", "{}");
  WriteText(home / ".config/google-chrome/Profile 4/Bookmarks", "{}");
  WriteText(home / "ff/places.sqlite", "");
  auto j = RunInHome(home.path(),
                     {"--chrome-profile", "Profile 4", "--firefox-profile", (home / "ff").string(), "paths", "--json"},
                     Layout::Linux)
               .json();
  EXPECT_EQ(j["chromeBookmarks"], (home / ".config/google-chrome/Profile 4/Bookmarks").string());
  EXPECT_EQ(j["firefoxPlaces"], (home / "ff/places.sqlite").string());
}

// Help, manual page and completion are made from the declarations: nothing
// declared is left out; each command's help comes by name or by option.
TEST(CliDocs, EveryDeclarationIsDocumented) {
  const std::string general = RunCommand({"--help"}).out, man = cli::ManPage(), completion = cli::BashCompletion();
  EXPECT_EQ(RunCommand({"help"}).out, general);
  CliRun bare = RunCommand({});
  EXPECT_EQ(bare.code, 2);
  EXPECT_EQ(bare.err, general);
  auto roff = [](std::string text) {
    for (std::size_t at = text.find('-'); at != std::string::npos; at = text.find('-', at + 2)) text.insert(at, "\\");
    return text;
  };
  for (const auto& option : cli::GlobalOptions()) {
    EXPECT_NE(man.find(roff(option.name)), std::string::npos) << option.name;
    EXPECT_NE(completion.find(option.name), std::string::npos) << option.name;
  }
  for (const auto& command : cli::CommandTable()) {
    SCOPED_TRACE(command.name);
    EXPECT_NE(general.find("  " + command.name + "  "), std::string::npos);
    EXPECT_NE(general.find(command.summary + "\n"), std::string::npos);
    EXPECT_NE(man.find(".SS \"" + roff(command.name) + "\"\n"), std::string::npos);
    EXPECT_NE(man.find(roff(command.summary)), std::string::npos);
    EXPECT_NE(completion.find("'" + command.name + "') options="), std::string::npos);
    CliRun byName = RunCommand({"help", command.name});
    std::vector<std::string> args = Words(command.name);
    args.push_back("--help");
    EXPECT_EQ(std::pair(byName.code, byName.out), std::pair(0, RunCommand(args).out));
    EXPECT_EQ(byName.out.rfind("usage: " + cli::UsageLine(command) + "\n", 0), 0u) << byName.out;
    for (const auto& option : command.options) {
      EXPECT_NE(byName.out.find("  " + option.name), std::string::npos) << option.name;
      EXPECT_NE(man.find(roff(option.help)), std::string::npos) << option.name;
      EXPECT_NE(completion.find(option.name), std::string::npos) << option.name;
    }
  }
}

TEST(ExportCli, WritesTheFileOfTheChosenForm) {
  TempDir dir;
  ASSERT_EQ(RunCommand({"make-demo", (dir / "home").string()}).code, 0);
  // Arguments before DIR, exit code, file written inside DIR (null: DIR is not even made).
  const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
      {{"export"}, 0, "Linvara.html"},
      {{"export", "--chrome-tree"}, 0, "Chrome BookMark.html"},
      {{"export", "--chrome-tree", "--view", "all"}, 2, nullptr}};
  for (auto [args, code, file] : cases) {
    const fs::path out = dir / "out" / std::to_string(args.size()) / "nested";
    args.push_back(out.string());
    const CliRun run = RunInHome(dir / "home", args);
    EXPECT_EQ(run.code, code) << run.err;
    EXPECT_EQ(fs::exists(out), file != nullptr) << args.size();
    if (file) {
      EXPECT_EQ(ReadText(out / file).rfind("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n", 0), 0u);
    }
  }
}

TEST(UpdateCheckCli, PrintsTheComparisonOrFails) {
  LoopbackHttpServer server;
  server.Answer("/newer", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>lastestVersion</key>"
                          "<string>999.0</string><key>WhatsNew</key><string>a*b</string></dict></plist>");
  const std::string current = PRUpdateController::ProjectVersion();
  EXPECT_EQ(RunCommand({"update-check", "--update-url", server.url("/newer"), "--json"}).json(),
            nlohmann::ordered_json({{"current", current}, {"latest", "999.0"}, {"newer", true}, {"whatsNew", "a*b"}}));
  EXPECT_EQ(RunCommand({"update-check", "--update-url", server.url("/newer")}).out,
            "Linvara 999.0 is available (this is " + current + ").\n  a\n  b\n");
  for (const std::string& url : {server.url("/missing"), std::string("http://update.example.com/m")}) {
    const CliRun failed = RunCommand({"update-check", "--update-url", url, "--json"});
    EXPECT_EQ(std::make_pair(failed.code, failed.out), std::make_pair(1, std::string())) << url;
    EXPECT_EQ(failed.err.rfind("linvara-cli: could not check for updates: ", 0), 0u) << failed.err;
  }
}

}  // namespace
}  // namespace linvara::testing
