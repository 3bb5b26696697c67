// linvara-cli sort: the unified view's sorts, printed as list prints the view.
#include "cli/Commands.h"
#include "cli/LoadedView.h"

namespace linvara::cli {

namespace {
std::optional<SortKey> ParseSortKey(const std::string& name) {
  if (name == "address") return SortKey::Address;
  if (name == "name") return SortKey::Name;
  if (name == "host") return SortKey::Host;
  if (name == "browser") return SortKey::Browser;
  return std::nullopt;
}
}  // namespace

int RunSort(CommandContext& ctx) {
  const std::string view = ctx.args.Value("--view").value_or("all");
  if (view != "all") return ctx.UsageError("only the bookmarks of every browser (--view all) are sorted here");
  const auto by = ctx.args.Value("--by");
  if (!by) return ctx.UsageError("say what to sort by: --by address|name|host|browser");
  const auto key = ParseSortKey(*by);
  if (!key) return ctx.UsageError("cannot sort by '" + *by + "' (use address, name, host or browser)");
  const std::string folders = ctx.args.Value("--folders").value_or("first");
  if (folders != "first" && folders != "last") return ctx.UsageError("--folders takes first or last");
  if (!RequireHomeFolder(ctx)) return 1;

  const bool flat = ctx.args.Has("--flat");
  LoadedView loaded = LoadView(ctx, CliView::All);
  PrintAsList(ctx, loaded.SortUnifiedRows({*key, folders == "first"}, flat), flat);
  return loaded.exitCode();
}

}  // namespace linvara::cli
