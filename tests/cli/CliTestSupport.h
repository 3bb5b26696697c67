#pragma once
// Runs linvara-cli in the test process and keeps what it printed.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "platform/Locations.h"

namespace linvara::testing {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

inline CliRun RunCommand(const std::vector<std::string>& argv, std::shared_ptr<PlatformServices> platform = nullptr) {
  std::ostringstream out, err;
  const int code = cli::RunCli(argv, out, err, std::move(platform));
  return {code, out.str(), err.str()};
}

// The command with --home HOME --layout LAYOUT before it.
inline CliRun RunInHome(const std::filesystem::path& home, std::vector<std::string> args,
                        Layout layout = Layout::MacOS) {
  args.insert(args.begin(), {"--home", home.string(), "--layout", LayoutName(layout)});
  return RunCommand(args);
}

}  // namespace linvara::testing
