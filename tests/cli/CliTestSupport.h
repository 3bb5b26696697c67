#pragma once
// Runs linvara-cli in the test process and keeps what it printed.
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/PresenterFixture.h"  // TestHome
#include "cli/Cli.h"
#include "platform/Locations.h"
#include "support/TestSupport.h"

namespace linvara::testing {

struct CliRun {
  int code;
  std::string out;
  std::string err;

  // The output as JSON, once the command has succeeded.
  nlohmann::ordered_json json() const {
    EXPECT_EQ(code, 0) << err;
    return nlohmann::ordered_json::parse(out);
  }
};

// The command with --home HOME --layout LAYOUT before it (none when `home` is empty); commands read `input`.
inline CliRun RunInHome(const std::filesystem::path& home, std::vector<std::string> args,
                        Layout layout = Layout::MacOS, std::shared_ptr<PlatformServices> platform = nullptr,
                        cli::CliInput input = {}) {
  if (!home.empty()) args.insert(args.begin(), {"--home", home.string(), "--layout", LayoutName(layout)});
  std::ostringstream out, err;
  const int code = cli::RunCli(args, out, err, std::move(platform), input);
  return {code, out.str(), err.str()};
}
inline CliRun RunCommand(const std::vector<std::string>& argv) { return RunInHome({}, argv); }

using Json = nlohmann::ordered_json;

// One text field of each object of a JSON array (null as ""), only those of `browser` when one is named.
inline std::vector<std::string> Field(const Json& array, const char* key, const std::string& browser = "") {
  std::vector<std::string> out;
  for (const auto& j : array)
    if (browser.empty() || j["browser"] == browser) out.push_back(j[key].is_null() ? "" : std::string(j[key]));
  return out;
}

// A generated home (see TestHome) whose commands see its fake platform.
struct CliHome : TestHome {
  CliRun Run(std::vector<std::string> args, cli::CliInput input = {}) {
    return RunInHome(home.path(), std::move(args), Layout::MacOS, platform, input);
  }
};

// A demo home made by make-demo; every test also checks that the commands left it as it was.
class DemoHome : public ::testing::Test {
 protected:
  void SetUp() override {
    auto made = RunCommand({"make-demo", home_.path().string()});
    ASSERT_EQ(made.code, 0) << made.err;
    before_ = FolderFingerprint(home_.path());
  }
  void TearDown() override { EXPECT_EQ(FolderFingerprint(home_.path()), before_); }
  CliRun Cli(std::vector<std::string> args) { return RunInHome(home_.path(), std::move(args)); }
  Json CliJson(std::vector<std::string> args) { return Cli(std::move(args)).json(); }
  TempDir home_;
  std::string before_;
};

}  // namespace linvara::testing
