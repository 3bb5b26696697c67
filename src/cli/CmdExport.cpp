// linvara-cli export: the HTML bookmark file of a view's top-level rows, or of the Chrome tree.
#include <ostream>

#include "cli/Commands.h"
#include "cli/LoadedView.h"
#include "cli/Output.h"
#include "export/ExportOutline.h"

namespace linvara::cli {

int RunExport(CommandContext& ctx) {
  const bool chromeTree = ctx.args.Has("--chrome-tree");
  if (chromeTree && ctx.args.Value("--view")) return ctx.UsageError("--chrome-tree and --view exclude each other");
  auto view = chromeTree ? std::optional<CliView>(CliView::Chrome) : ViewOption(ctx);
  if (!view) return 2;
  if (!RequireHomeFolder(ctx)) return 1;

  LoadedView loaded = LoadView(ctx, *view);
  if (loaded.nothingCouldBeRead()) return 1;
  const ExportOutline outline = AddSubBoomarkFolderandBookmarkUrlwith(loaded.topLevel());
  auto written = WriteBookmarkHtml(ctx.args.positionals[0], outline,
                                   chromeTree ? ExportFile::ChromeTree : ExportFile::Shown);
  if (!written) {
    ErrorLine(ctx.err, "failed to export the bookmarks: " + written.error());
    return 1;
  }
  WriteLine(ctx.out, "exported " + std::to_string(outline.bookmarkCount()) + " bookmarks to " + written->string());
  return 0;
}

}  // namespace linvara::cli
