#include "cli/CommandSpec.h"

#include <algorithm>

namespace linvara::cli {

namespace {
std::string OptionUsage(const OptionSpec& option) {
  return option.takesValue() ? option.name + " " + option.valueName : option.name;
}

const OptionSpec* FindOption(const CommandSpec& spec, const std::string& name) {
  auto it = std::find_if(spec.options.begin(), spec.options.end(),
                         [&](const OptionSpec& option) { return option.name == name; });
  return it == spec.options.end() ? nullptr : &*it;
}
}  // namespace

std::string UsageLine(const CommandSpec& spec) {
  std::string line = "linvara-cli [--home DIR] [--layout macos|linux] " + spec.name;
  for (const auto& positional : spec.positionals) line += " " + positional;
  for (const auto& option : spec.options) line += " [" + OptionUsage(option) + "]";
  return line;
}

std::string HelpText(const CommandSpec& spec) {
  std::string text = "usage: " + UsageLine(spec) + "\n\n" + spec.summary + "\n";
  std::size_t width = 0;
  for (const auto& option : spec.options) width = std::max(width, OptionUsage(option).size());
  if (!spec.options.empty()) text += "\nOptions:\n";
  for (const auto& option : spec.options) {
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

Result<ParsedArguments> ParseArguments(const CommandSpec& spec, const std::vector<std::string>& args) {
  ParsedArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (const OptionSpec* option = FindOption(spec, arg)) {
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
      spec.positionals.begin(), spec.positionals.end(), [](const std::string& name) { return name[0] != '['; }));
  if (parsed.positionals.size() < required)
    return Fail(spec.name + " needs " + spec.positionals[parsed.positionals.size()]);
  if (parsed.positionals.size() > spec.positionals.size())
    return Fail("unexpected argument '" + parsed.positionals[spec.positionals.size()] + "'");
  return parsed;
}

}  // namespace linvara::cli
