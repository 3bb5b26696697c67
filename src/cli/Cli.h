#pragma once
// linvara-cli's entry: global options, then one command of the table.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/CommandContext.h"

namespace linvara {
class PlatformServices;
}

namespace linvara::cli {

// Runs the whole command line and returns the exit code: 0 done, 1 failed,
// 2 usage error or unexpected failure. Never throws.
// `input` is what commands read (a password, an answer; null: standard input); without a terminal nothing is asked.
int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err,
           std::shared_ptr<PlatformServices> platform = nullptr, CliInput input = {});

}  // namespace linvara::cli
