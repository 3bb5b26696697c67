#include "cli/Cli.h"

#include <exception>
#include <ostream>

#include "cli/Commands.h"
#include "cli/GlobalOptions.h"
#include "cli/Output.h"
#include "core/Version.h"

namespace linvara::cli {

namespace {
const CommandDeclaration* FindCommand(const std::string& name) {
  for (const auto& command : CommandTable())
    if (command.name == name) return &command;
  return nullptr;
}

int Run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err,
        std::shared_ptr<PlatformServices> platform, CliInput input) {
  std::size_t i = 0;
  auto global = ParseGlobalOptions(argv, i);
  if (!global) {
    ErrorLine(err, global.error());
    return 2;
  }
  if (global->help) {
    out << GeneralHelp();
    return 0;
  }
  if (global->version) {
    out << "linvara-cli " << ApplicationVersion() << "\n";
    return 0;
  }
  if (i >= argv.size()) {
    err << GeneralHelp();
    return 2;
  }
  // A form of a command ("cookies export") before the command itself.
  const CommandDeclaration* command = i + 1 < argv.size() ? FindCommand(argv[i] + " " + argv[i + 1]) : nullptr;
  const std::size_t firstArgument = i + (command ? 2 : 1);
  if (!command) command = FindCommand(argv[i]);
  if (!command) {
    ErrorLine(err, "unknown command '" + argv[i] + "'");
    return 2;
  }
  auto parsed = ParseArguments(*command, {argv.begin() + static_cast<std::ptrdiff_t>(firstArgument), argv.end()});
  if (!parsed) return UsageError(*command, err, parsed.error());
  if (parsed->help) return PrintCommandHelp(command->name, out, err);
  CommandContext ctx{*command, LocationsFor(*global), std::move(*parsed), out, err, std::move(platform), input};
  return command->run(ctx);
}
}  // namespace

int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err,
           std::shared_ptr<PlatformServices> platform, CliInput input) {
  try {
    return Run(argv, out, err, std::move(platform), input);
  } catch (const std::exception& e) {
    ErrorLine(err, std::string("unexpected failure: ") + e.what());
  } catch (...) {
    ErrorLine(err, "unexpected failure");
  }
  return 2;
}

}  // namespace linvara::cli
