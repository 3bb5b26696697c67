#include "cli/CommandDeclaration.h"

#include <algorithm>

namespace linvara::cli {

namespace {
std::string OptionUsage(const OptionDeclaration& option) {
  return option.takesValue() ? option.name + " " + option.valueName : option.name;
}

const OptionDeclaration* FindOption(const CommandDeclaration& command, const std::string& name) {
  auto it = std::find_if(command.options.begin(), command.options.end(),
                         [&](const OptionDeclaration& option) { return option.name == name; });
  return it == command.options.end() ? nullptr : &*it;
}
}  // namespace

std::string UsageLine(const CommandDeclaration& command) {
  std::string line = "linvara-cli [--home DIR] [--layout macos|linux] " + command.name;
  for (const auto& positional : command.positionals) line += " " + positional;
  for (const auto& option : command.options) line += " [" + OptionUsage(option) + "]";
  return line;
}

std::string HelpText(const CommandDeclaration& command) {
  std::string text = "usage: " + UsageLine(command) + "\n\n" + command.summary + "\n";
  std::size_t width = 0;
  for (const auto& option : command.options) width = std::max(width, OptionUsage(option).size());
  if (!command.options.empty()) text += "\nOptions:\n";
  for (const auto& option : command.options) {
    const std::string usage = OptionUsage(option);
    text += "  " + usage + std::string(width - usage.size() + 2, ' ') + option.help + "\n";
  }
  return text;
}

std::optional<std::string> ParsedArguments::Value(const std::string& option) const {
  for (const auto& [name, value] : values)
    if (name == option) return value;
  return std::nullopt;
}

Result<ParsedArguments> ParseArguments(const CommandDeclaration& command, const std::vector<std::string>& args) {
  ParsedArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (const OptionDeclaration* option = FindOption(command, arg)) {
      if (!option->takesValue()) {
        parsed.flags.insert(arg);
      } else if (i + 1 < args.size()) {
        parsed.values.emplace_back(arg, args[++i]);
      } else {
        return Fail(arg + " needs a value");
      }
    } else if (arg.rfind("--", 0) == 0) {
      return Fail("unknown option '" + arg + "'");
    } else {
      parsed.positionals.push_back(arg);
    }
  }
  if (parsed.help) return parsed;
  const std::size_t required = static_cast<std::size_t>(std::count_if(
      command.positionals.begin(), command.positionals.end(), [](const std::string& name) { return name[0] != '['; }));
  if (parsed.positionals.size() < required)
    return Fail(command.name + " needs " + command.positionals[parsed.positionals.size()]);
  // A last positional "NAME..." takes every further argument.
  const bool repeats = !command.positionals.empty() && command.positionals.back().ends_with("...");
  if (!repeats && parsed.positionals.size() > command.positionals.size())
    return Fail("unexpected argument '" + parsed.positionals[command.positionals.size()] + "'");
  return parsed;
}

}  // namespace linvara::cli
