// linvara-cli sort: the unified view's sorts, printed as list prints the view;
// the Safari and Chrome tree sorts, written to the working copy.
#include "cli/Commands.h"
#include "cli/LoadedView.h"
#include "cli/TreeSession.h"

namespace linvara::cli {

namespace {
std::optional<SortKey> ParseSortKey(const std::string& name) {
  if (name == "address") return SortKey::Address;
  if (name == "name") return SortKey::Name;
  if (name == "host") return SortKey::Host;
  if (name == "browser") return SortKey::Browser;
  return std::nullopt;
}

int SortTree(CommandContext& ctx, CliView view, const BookmarkOrder& order) {
  if (order.key != SortKey::Address && order.key != SortKey::Name)
    return ctx.UsageError("a tree is sorted by address or name");
  const bool selectedOnly = ctx.args.Has("--selected");
  if (selectedOnly && ctx.args.positionals.empty()) return ctx.UsageError("--selected needs the uuids of the entries");
  if (!selectedOnly && !ctx.args.positionals.empty()) return ctx.UsageError("uuids are given after --selected");
  if (!RequireHomeFolder(ctx)) return 1;
  TreeSession s(ctx);
  if (int failed = LoadTree(ctx, s, view)) return failed;
  const TreeFormat format = view == CliView::Safari ? TreeFormat::Safari : TreeFormat::Chrome;
  if (!selectedOnly) return Written(ctx, s.sorting.SortTree(format, order, false), view);
  auto named = NodesNamed(ctx, s.session.TopLevel(), ctx.args.positionals);
  if (!named) return 2;
  return Written(ctx, s.sorting.SortTreeSelection(format, order, std::move(*named)), view);
}
}  // namespace

int RunSort(CommandContext& ctx) {
  const std::string viewName = ctx.args.Value("--view").value_or("all");
  const std::optional<CliView> view = ParseCliView(viewName);
  if (!view) return ctx.UsageError("unknown view '" + viewName + "' (use all, safari or chrome)");
  const auto by = ctx.args.Value("--by");
  if (!by) return ctx.UsageError("say what to sort by: --by address|name|host|browser");
  const auto key = ParseSortKey(*by);
  if (!key) return ctx.UsageError("cannot sort by '" + *by + "' (use address, name, host or browser)");
  const std::string folders = ctx.args.Value("--folders").value_or("first");
  if (folders != "first" && folders != "last") return ctx.UsageError("--folders takes first or last");
  const BookmarkOrder order{*key, folders == "first"};
  if (*view != CliView::All) return SortTree(ctx, *view, order);
  if (ctx.args.Has("--selected") || ctx.args.Has("--working-copy") || !ctx.args.positionals.empty())
    return ctx.UsageError("--selected and --working-copy sort a tree (--view safari or chrome)");
  if (!RequireHomeFolder(ctx)) return 1;

  const bool flat = ctx.args.Has("--flat");
  LoadedView loaded = LoadView(ctx, CliView::All);
  PrintAsList(ctx, loaded.SortUnifiedRows(order, flat), flat);
  return loaded.exitCode();
}

}  // namespace linvara::cli
