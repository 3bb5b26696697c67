#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CommandRegistry.h"

namespace linvara::cli {
namespace {

int RunPaths(CliContext& ctx) {
  auto described = ctx.locations.Describe();
  if (HasFlag(ctx.args, "--json")) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const auto& [name, value] : described) j[name] = value;
    ctx.out << j.dump(2) << "\n";
    return 0;
  }
  for (const auto& [name, value] : described) ctx.out << name << ": " << (value.empty() ? "(none)" : value) << "\n";
  return 0;
}

const CommandRegistrar kPaths{"paths", "print every location Linvara reads or writes (--json)", RunPaths};

}  // namespace
}  // namespace linvara::cli
