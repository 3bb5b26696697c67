#include "cli/GlobalOptions.h"

#include <algorithm>

namespace linvara::cli {

const std::vector<OptionDeclaration>& GlobalOptions() {
  static const std::vector<OptionDeclaration> options = {
      {"--home", "DIR", "treat DIR as the user's home folder"},
      {"--layout", "macos|linux", "where the browsers keep their files"},
      {"--chrome-profile", "NAME", "read this Chrome profile (its folder name or the name Chrome shows)"},
      {"--firefox-profile", "PATH", "read the Firefox profile in this folder"},
      {"--version", "", "print the version"},
      {"--help", "", "print this help"},
  };
  return options;
}

Result<GlobalChoices> ParseGlobalOptions(const std::vector<std::string>& argv, std::size_t& next) {
  GlobalChoices choices;
  for (next = 0; next < argv.size(); ++next) {
    const std::string& arg = argv[next];
    if (arg == "--help" || arg == "-h") {
      choices.help = true;
      return choices;
    }
    if (arg == "--version") {
      choices.version = true;
      return choices;
    }
    const auto& options = GlobalOptions();
    auto option = std::find_if(options.begin(), options.end(), [&](const auto& o) { return o.name == arg; });
    if (option == options.end() || !option->takesValue()) return choices;
    if (next + 1 >= argv.size()) return Fail(arg + " needs a value");
    const std::string& value = argv[++next];
    if (arg == "--home") {
      choices.home = value;
    } else if (arg == "--layout") {
      if (!(choices.layout = ParseLayout(value))) return Fail("unknown layout '" + value + "' (use macos or linux)");
    } else if (arg == "--chrome-profile") {
      choices.overrides.chromeProfile = value;
    } else if (arg == "--firefox-profile") {
      choices.overrides.firefoxProfile = value;
    }
  }
  return choices;
}

Locations LocationsFor(const GlobalChoices& choices) {
  Locations locations = choices.home ? Locations::ForHome(*choices.home, choices.layout.value_or(HostLayout())) : [&] {
    Locations env = Locations::FromEnvironment();
    return choices.layout ? Locations::ForHome(env.home(), *choices.layout) : env;
  }();
  return locations.WithOverrides(choices.overrides);
}

}  // namespace linvara::cli
