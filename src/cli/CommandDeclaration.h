#pragma once
// What a linvara-cli command accepts, declared once: the usage text, the help
// text and the argument check are all made from it.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/Result.h"

namespace linvara::cli {

struct CommandContext;

struct OptionDeclaration {
  std::string name;       // "--view"
  std::string valueName;  // "all|safari|chrome"; empty for a flag
  std::string help;
  bool takesValue() const { return !valueName.empty(); }
};

struct CommandDeclaration {
  std::string name;                      // "list", or "cookies export" for one form of a command
  std::string summary;
  std::vector<std::string> positionals;  // the plain arguments; "[NAME]" is optional, "NAME..." one or more (last only)
  std::vector<OptionDeclaration> options;
  int (*run)(CommandContext&) = nullptr;
};

// linvara-cli [--home DIR] [--layout macos|linux] list [--view all|safari|chrome] [--flat] [--json]
std::string UsageLine(const CommandDeclaration& command);

// The usage line, the summary and one line per option.
std::string HelpText(const CommandDeclaration& command);

// The option lines of a help text, aligned: "  --home DIR  treat DIR as ...".
std::string OptionLines(const std::vector<OptionDeclaration>& options);

struct ParsedArguments {
  std::vector<std::string> positionals;
  std::vector<std::pair<std::string, std::string>> values;  // valued options in the order given
  std::set<std::string> flags;
  bool help = false;  // --help or -h

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  // The first value given for `option`.
  std::optional<std::string> Value(const std::string& option) const;
};

// The arguments after the command name, checked against the declaration; the
// problem (unknown option, missing value, missing or extra argument) otherwise.
Result<ParsedArguments> ParseArguments(const CommandDeclaration& command, const std::vector<std::string>& args);

}  // namespace linvara::cli
