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
