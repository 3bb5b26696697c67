#pragma once
// What a command body gets: its declaration, the checked arguments, the
// locations and the two streams.
#include <iosfwd>
#include <memory>
#include <string>

#include "cli/CommandDeclaration.h"
#include "platform/Locations.h"

namespace linvara {
class PlatformServices;
}

namespace linvara::cli {

// Where a command reads the user's answers; only a terminal is asked.
struct CliInput {
  std::istream* in = nullptr;
  bool terminal = false;
  // The process exits once the command returns: what it read is left to the
  // exit instead of being released node by node.
  bool processEndsAfterCommand = false;
};

struct CommandContext {
  const CommandDeclaration& command;
  Locations locations;
  ParsedArguments args;
  std::ostream& out;
  std::ostream& err;
  std::shared_ptr<PlatformServices> platform;  // running browsers and the like; null: the host's
  CliInput input;

  // Prints "linvara-cli: PROBLEM" and the command's usage to err; returns the usage exit code 2.
  int UsageError(const std::string& problem) const;
};

}  // namespace linvara::cli
