#pragma once
// Runs linvara-cli in the test process and keeps what it printed.
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

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

inline CliRun RunCommand(const std::vector<std::string>& argv, std::shared_ptr<PlatformServices> platform = nullptr) {
  std::ostringstream out, err;
  const int code = cli::RunCli(argv, out, err, std::move(platform));
  return {code, out.str(), err.str()};
}

// The command with --home HOME --layout LAYOUT before it.
inline CliRun RunInHome(const std::filesystem::path& home, std::vector<std::string> args,
                        Layout layout = Layout::MacOS, std::shared_ptr<PlatformServices> platform = nullptr) {
  args.insert(args.begin(), {"--home", home.string(), "--layout", LayoutName(layout)});
  return RunCommand(args, std::move(platform));
}

using Json = nlohmann::ordered_json;

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
