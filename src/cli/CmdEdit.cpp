// linvara-cli delete, edit, move, apply and restore: the editing commands of
// the Safari and Chrome trees and the replacement of the browsers' files.
#include <filesystem>
#include <functional>
#include <ostream>

#include "cli/Commands.h"
#include "cli/LoadedView.h"
#include "cli/Output.h"
#include "cli/TreeSession.h"
#include "edit/BrowserFileReplacement.h"
#include "edit/EditTexts.h"

namespace fs = std::filesystem;

namespace linvara::cli {
namespace {

// Loads the tree and finds the named nodes; 0, or the exit code.
int Prepare(const CommandContext& ctx, TreeSession& s, CliView view, NodeList& nodes) {
  if (!RequireHomeFolder(ctx)) return 1;
  if (int failed = LoadTree(ctx, s, view)) return failed;
  auto named = NodesNamed(ctx, s.session.TopLevel(), ctx.args.positionals);
  if (!named) return 2;
  nodes = std::move(*named);
  return 0;
}

std::optional<BrowserFile> BrowserArgument(const CommandContext& ctx) {
  const std::string& name = ctx.args.positionals.at(0);
  if (name == "safari") return BrowserFile::Safari;
  if (name == "chrome") return BrowserFile::Chrome;
  ctx.UsageError("unknown browser '" + name + "' (use safari or chrome)");
  return std::nullopt;
}

}  // namespace

int ReplaceBrowserFile(const CommandContext& ctx, BrowserFile browser, Replacement what) {
  if (!RequireHomeFolder(ctx)) return 1;
  std::shared_ptr<PlatformServices> platform = ctx.platform ? ctx.platform : std::make_shared<HostPlatformServices>();
  if (!ctx.args.Has("--force"))
    if (auto refusal = RunningBrowserRefusal(*platform, browser, what)) {
      ErrorLine(ctx.err, *refusal + " (--force replaces the file anyway)");
      return 1;
    }
  const Locations& loc = ctx.locations;
  auto kept = what == Replacement::Restore   ? RestoreBookMark(loc, browser)
              : browser == BrowserFile::Safari ? ReplaceSafariBookMark(loc)
                                               : ReplaceChromeBookMark(loc);
  if (!kept) {
    if (kept.errorKind() == ErrorKind::WriteFailed) ErrorLine(ctx.err, edittexts::PermissionProblem());
    ErrorLine(ctx.err, kept.error());
    return 1;
  }
  const fs::path target = browser == BrowserFile::Safari ? loc.safariBookmarks() : loc.ChooseChromeBookmarks();
  WriteLine(ctx.out, "replaced " + target.string());
  WriteLine(ctx.out, kept->empty() ? "there was no file to keep" : "the replaced file was kept at " + kept->string());
  return 0;
}

namespace {
// Loads the tree of the command's view, finds the named nodes and runs `change` on them.
int ChangeTree(CommandContext& ctx, bool chromeAllowed,
               const std::function<Result<void>(EditController&, const NodeList&)>& change) {
  auto view = TreeView(ctx, chromeAllowed);
  if (!view) return 2;
  TreeSession s(ctx);
  NodeList nodes;
  if (int failed = Prepare(ctx, s, *view, nodes)) return failed;
  return Written(ctx, change(s.editing, nodes), *view);
}
}  // namespace

int RunDelete(CommandContext& ctx) {
  return ChangeTree(ctx, true, [](EditController& e, const NodeList& nodes) { return e.DeleteBookmarks(nodes); });
}

int RunEdit(CommandContext& ctx) {
  const std::string title = ctx.args.Value("--title").value_or("");
  const std::string url = ctx.args.Value("--url").value_or("");
  return ChangeTree(ctx, false, [&](EditController& e, const NodeList& nodes) {
    return e.EditBookmark(nodes.empty() ? nullptr : nodes.front(), title, url);
  });
}

int RunMove(CommandContext& ctx) {
  const std::optional<std::string> to = ctx.args.Value("--to");
  if (!to) return ctx.UsageError("move needs --to TITLE");
  return ChangeTree(ctx, false, [&](EditController& e, const NodeList& nodes) { return e.MoveBookmarks(nodes, *to); });
}

int RunApply(CommandContext& ctx) {
  auto browser = BrowserArgument(ctx);
  return browser ? ReplaceBrowserFile(ctx, *browser, Replacement::Apply) : 2;
}

int RunRestore(CommandContext& ctx) {
  auto browser = BrowserArgument(ctx);
  if (!browser) return 2;
  if (!ctx.args.Has("--yes")) {
    ErrorLine(ctx.err, "this puts the first-start backup in place of the browser's bookmarks; add --yes to go ahead");
    return 2;
  }
  return ReplaceBrowserFile(ctx, *browser, Replacement::Restore);
}

}  // namespace linvara::cli
