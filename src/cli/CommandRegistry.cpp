#include "cli/CommandRegistry.h"

#include <algorithm>
#include <ostream>

#include "core/Version.h"

namespace linvara::cli {

std::map<std::string, CommandInfo>& Commands() {
  static std::map<std::string, CommandInfo> commands;
  return commands;
}

CommandRegistrar::CommandRegistrar(std::string name, std::string summary, CommandFn run) {
  Commands()[name] = CommandInfo{name, std::move(summary), std::move(run)};
}

bool HasFlag(const std::vector<std::string>& args, const std::string& flag) {
  return std::find(args.begin(), args.end(), flag) != args.end();
}

std::optional<std::string> OptionValue(const std::vector<std::string>& args, const std::string& name) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == name) return args[i + 1];
  return std::nullopt;
}

std::vector<std::string> Positionals(const std::vector<std::string>& args, const std::vector<std::string>& valued) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (std::find(valued.begin(), valued.end(), args[i]) != valued.end()) {
      ++i;
      continue;
    }
    if (args[i].rfind("--", 0) == 0) continue;
    out.push_back(args[i]);
  }
  return out;
}

namespace {
void PrintHelp(std::ostream& out) {
  out << "Usage: linvara-cli [--home DIR] [--layout macos|linux] COMMAND [ARGS]\n\n"
         "Options:\n"
         "  --home DIR       treat DIR as the user's home folder\n"
         "  --layout NAME    macos or linux: where the browsers keep their files\n"
         "  --version        print the version\n"
         "  --help           print this help\n\nCommands:\n";
  for (const auto& [name, info] : Commands()) out << "  " << name << std::string(name.size() < 14 ? 14 - name.size() : 1, ' ') << info.summary << "\n";
}
}  // namespace

int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  std::optional<std::string> home;
  std::optional<Layout> layout;
  std::size_t i = 0;
  for (; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (a == "--help" || a == "-h") {
      PrintHelp(out);
      return 0;
    }
    if (a == "--version") {
      out << "linvara-cli " << ApplicationVersion() << "\n";
      return 0;
    }
    if (a == "--home" || a == "--layout") {
      if (i + 1 >= argv.size()) {
        err << "linvara-cli: " << a << " needs a value\n";
        return 2;
      }
      if (a == "--home") {
        home = argv[++i];
      } else {
        layout = ParseLayout(argv[++i]);
        if (!layout) {
          err << "linvara-cli: unknown layout '" << argv[i] << "' (use macos or linux)\n";
          return 2;
        }
      }
      continue;
    }
    break;
  }
  if (i >= argv.size()) {
    PrintHelp(err);
    return 2;
  }
  const std::string command = argv[i];
  auto it = Commands().find(command);
  if (it == Commands().end()) {
    err << "linvara-cli: unknown command '" << command << "'\n";
    return 2;
  }
  Locations locations = home ? Locations::ForHome(*home, layout.value_or(HostLayout())) : [&] {
    Locations env = Locations::FromEnvironment();
    if (!layout) return env;
    return Locations::ForHome(env.home(), *layout);
  }();
  CliContext ctx{locations, {argv.begin() + static_cast<std::ptrdiff_t>(i) + 1, argv.end()}, out, err};
  return it->second.run(ctx);
}

}  // namespace linvara::cli
