#include <ostream>

#include "cli/CliApp.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"
#include "model/SearchMatch.h"

namespace linvara::cli {
namespace {

constexpr const char* kSearchUsage =
    "linvara-cli [--home DIR] [--layout macos|linux] search TEXT [--view all|safari|chrome] [--json]";

int RunSearch(CliContext& ctx) {
  if (!CheckArguments(ctx, {"--json"}, {"--view"}, 1, kSearchUsage)) return 2;
  auto view = ViewOption(ctx);
  if (!view) return 2;
  const std::string text = Positionals(ctx.args, {"--view"}).front();
  if (text.empty()) {
    ctx.err << "linvara-cli: the search text is empty\nusage: " << kSearchUsage << "\n";
    return 2;
  }
  if (!RequireHomeFolder(ctx)) return 1;
  auto app = MakeCliAppDelegate(ctx);
  LoadedView loaded = LoadView(*app, *view, ctx.err);
  // The table's search: the view's flat list, title first, then address, letter case ignored.
  NodeList matches = FilterBySearch(loaded.flat, text);
  if (HasFlag(ctx.args, "--json"))
    ctx.out << DumpJson(NodesToJson(matches)) << "\n";
  else
    PrintNodeLines(ctx.out, matches);
  return 0;
}

const CommandRegistrar kSearch{"search", "print the bookmarks whose title or address contains TEXT (--view, --json)",
                               RunSearch};

}  // namespace
}  // namespace linvara::cli
