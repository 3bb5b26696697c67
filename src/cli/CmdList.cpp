#include <ostream>

#include "cli/CliApp.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"

namespace linvara::cli {
namespace {

constexpr const char* kListUsage = "linvara-cli [--home DIR] [--layout macos|linux] list [--view all|safari|chrome] "
                                   "[--flat] [--json]";

int RunList(CliContext& ctx) {
  if (!CheckArguments(ctx, {"--flat", "--json"}, {"--view"}, 0, kListUsage)) return 2;
  auto view = ViewOption(ctx);
  if (!view) return 2;
  if (!RequireHomeFolder(ctx)) return 1;
  const bool flat = HasFlag(ctx.args, "--flat");
  auto app = MakeCliAppDelegate(ctx);
  LoadedView loaded = LoadView(*app, *view, ctx.err);
  const NodeList& nodes = flat ? loaded.flat : loaded.topLevel;
  if (HasFlag(ctx.args, "--json")) {
    ctx.out << DumpJson(NodesToJson(nodes, !flat)) << "\n";
  } else if (flat) {
    PrintNodeLines(ctx.out, nodes);
  } else {
    PrintNodeTree(ctx.out, nodes);
  }
  return 0;
}

const CommandRegistrar kList{"list",
                             "print the bookmarks of every browser (--view all|safari|chrome, --flat, --json)",
                             RunList};

}  // namespace
}  // namespace linvara::cli
