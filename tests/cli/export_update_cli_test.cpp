// linvara-cli export and update-check.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliTestSupport.h"
#include "health/LoopbackHttpServer.h"
#include "support/TestSupport.h"
#include "update/PRUpdateController.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

TEST(ExportCli, WritesTheFileOfTheChosenForm) {
  TempDir dir;
  ASSERT_EQ(RunCommand({"make-demo", (dir / "home").string()}).code, 0);
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* file;  // written into dir/out/N, null: nothing
  } cases[] = {
      {{"export"}, 0, "Linvara.html"},
      {{"export", "--view", "chrome"}, 0, "Linvara.html"},
      {{"export", "--chrome-tree"}, 0, "Chrome BookMark.html"},
      {{"export", "--chrome-tree", "--view", "all"}, 2, nullptr},
      {{"export", "--view", "firefox"}, 2, nullptr},
  };
  int n = 0;
  for (Case& c : cases) {
    const fs::path out = dir / "out" / std::to_string(n++) / "nested";
    c.args.push_back(out.string());
    const CliRun run = RunInHome(dir / "home", c.args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(fs::exists(out), c.file != nullptr) << c.args[1];
    if (c.file) EXPECT_EQ(ReadText(out / c.file).rfind("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n", 0), 0u);
  }
}

TEST(UpdateCheckCli, PrintsTheComparisonOrFails) {
  LoopbackHttpServer server;
  const std::string plist = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>lastestVersion</key>"
                            "<string>999.0</string><key>WhatsNew</key><string>a*b</string></dict></plist>";
  server.Answer("/newer", plist);
  server.Answer("/broken", "{not a plist");
  const std::string current = PRUpdateController::ProjectVersion();

  const CliRun newer = RunCommand({"update-check", "--update-url", server.url("/newer"), "--json"});
  EXPECT_EQ(newer.json(), nlohmann::ordered_json({{"current", current}, {"latest", "999.0"}, {"newer", true},
                                                  {"whatsNew", "a*b"}}));
  const CliRun text = RunCommand({"update-check", "--update-url", server.url("/newer")});
  EXPECT_EQ(text.out, "Linvara 999.0 is available (this is " + current + ").\n  a\n  b\n");
  for (const std::string& url : {server.url("/broken"), std::string("http://update.example.com/m")}) {
    const CliRun failed = RunCommand({"update-check", "--update-url", url, "--json"});
    EXPECT_EQ(failed.code, 1) << url;
    EXPECT_EQ(failed.err.rfind("linvara-cli: could not check for updates: ", 0), 0u) << failed.err;
    EXPECT_EQ(failed.out, "");
  }
}

}  // namespace
}  // namespace linvara::testing
