#pragma once
// linvara-cli commands register themselves here, one command per Cmd*.cpp file:
//   static CommandRegistrar reg{"paths", "print every location Linvara uses", &RunPaths};
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Locations.h"

namespace linvara::cli {

struct CliContext {
  Locations locations;
  std::vector<std::string> args;  // arguments after the command name
  std::ostream& out;
  std::ostream& err;
};

using CommandFn = std::function<int(CliContext&)>;

struct CommandInfo {
  std::string name;
  std::string summary;
  CommandFn run;
};

std::map<std::string, CommandInfo>& Commands();

struct CommandRegistrar {
  CommandRegistrar(std::string name, std::string summary, CommandFn run);
};

// Small argument helpers shared by the commands.
bool HasFlag(const std::vector<std::string>& args, const std::string& flag);
// Value after `--name`, or nullopt.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, const std::string& name);
// Arguments that are neither options nor option values (options listed in `valued` take one value).
std::vector<std::string> Positionals(const std::vector<std::string>& args, const std::vector<std::string>& valued);

// Runs the whole command line (global options, then a command); returns the exit code.
int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

}  // namespace linvara::cli
