#include <ostream>

#include "cli/Commands.h"
#include "cli/FindingsRemoval.h"
#include "cli/LoadedView.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"
#include "cli/Output.h"
#include "health/EmptyFolders.h"

namespace linvara::cli {

int RunEmptyFolders(CommandContext& ctx) {
  auto view = ViewOption(ctx);
  if (!view) return 2;
  if (*view == CliView::Chrome) return ctx.UsageError("empty folders are found in the all and safari views only");
  if (!RequireHomeFolder(ctx)) return 1;
  const bool remove = ctx.args.Has("--remove");
  if (remove)
    if (auto refused = RemovalRefused(ctx, *view, false)) return *refused;

  LoadedView loaded = LoadView(ctx, *view);
  // The unified top level is the browsers' top-level lists one after another:
  // filtering it is filtering each of them.
  const NodeList empty = EmptyTopLevelFolders(loaded.topLevel());
  if (ctx.args.Has("--json"))
    WriteJson(ctx.out, NodesToJson(empty, true));
  else
    PrintNodeLines(ctx.out, empty);
  ctx.err << empty.size() << " empty folder" << (empty.size() == 1 ? "" : "s") << "\n";
  if (!remove || loaded.exitCode() != 0) return loaded.exitCode();
  if (empty.empty()) {
    ctx.err << "nothing to remove\n";
    return 0;
  }
  // Only the working copy changes: Safari's file waits for apply.
  if (!loaded.RemoveEmptySafariFolders()) return 1;
  WriteLine(ctx.args.Has("--json") ? ctx.err : ctx.out, "wrote " + ctx.locations.safariWorkingCopy().string());
  return 0;
}

}  // namespace linvara::cli
