#include <ostream>

#include "cli/Commands.h"
#include "cli/Output.h"

namespace linvara::cli {

int RunPaths(CommandContext& ctx) {
  auto described = ctx.locations.Describe();
  if (ctx.args.Has("--json")) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const auto& [name, value] : described) j[name] = value;
    WriteJson(ctx.out, j);
    return 0;
  }
  for (const auto& [name, value] : described) WriteLine(ctx.out, name + ": " + (value.empty() ? "(none)" : value));
  return 0;
}

}  // namespace linvara::cli
