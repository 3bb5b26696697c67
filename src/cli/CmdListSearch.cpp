#include "cli/Commands.h"
#include "cli/LoadedView.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"
#include "cli/Output.h"
#include "model/SearchMatch.h"

namespace linvara::cli {

void PrintAsList(const CommandContext& ctx, const NodeList& nodes, bool flat) {
  if (ctx.args.Has("--json"))
    WriteNodesJson(ctx.out, nodes, !flat);
  else if (flat)
    PrintNodeLines(ctx.out, nodes);
  else
    PrintNodeTree(ctx.out, nodes);
}

int RunList(CommandContext& ctx) {
  auto view = ViewOption(ctx);
  if (!view) return 2;
  if (!RequireHomeFolder(ctx)) return 1;
  const bool flat = ctx.args.Has("--flat");
  LoadedView loaded = LoadView(ctx, *view);
  PrintAsList(ctx, flat ? loaded.flat() : loaded.topLevel(), flat);
  return loaded.exitCode();
}

int RunSearch(CommandContext& ctx) {
  auto view = ViewOption(ctx);
  if (!view) return 2;
  const std::string& text = ctx.args.positionals.front();
  if (text.empty()) return ctx.UsageError("the search text is empty");
  if (!RequireHomeFolder(ctx)) return 1;
  LoadedView loaded = LoadView(ctx, *view);
  // The table's search: the view's flat list, title first, then address, letter case ignored.
  NodeList matches = FilterBySearch(loaded.flat(), text);
  if (ctx.args.Has("--json"))
    WriteNodesJson(ctx.out, matches);
  else
    PrintNodeLines(ctx.out, matches);
  return loaded.exitCode();
}

}  // namespace linvara::cli
