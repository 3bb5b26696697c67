#pragma once
// The options linvara-cli takes before its command, declared once for the
// parser, the help text, the manual page and the shell completion.
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandDeclaration.h"
#include "platform/Locations.h"

namespace linvara::cli {

const std::vector<OptionDeclaration>& GlobalOptions();

// What the global options asked for.
struct GlobalChoices {
  std::optional<std::string> home;
  std::optional<Layout> layout;
  ProfileOverrides overrides;
  bool help = false;
  bool version = false;
};

// Reads the global options from the front of `argv`; `next` is left at the
// first word that is none (the command). The problem otherwise.
Result<GlobalChoices> ParseGlobalOptions(const std::vector<std::string>& argv, std::size_t& next);

// The locations the choices name: --home with the layout given (else the
// host's), else the environment's home; then the profile overrides.
Locations LocationsFor(const GlobalChoices& choices);

}  // namespace linvara::cli
