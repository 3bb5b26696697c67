#include "cli/FindingsRemoval.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "health/LinkHealthRemoval.h"

namespace linvara::cli {

namespace {
std::string Lowered(std::string text) {
  text.erase(0, text.find_first_not_of(" \t\r"));
  text.erase(text.find_last_not_of(" \t\r") + 1);
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string Bookmarks(std::size_t count) { return std::to_string(count) + (count == 1 ? " bookmark" : " bookmarks"); }
}  // namespace

std::optional<int> RemovalRefused(const CommandContext& ctx, CliView view, bool findings) {
  if (view == CliView::All) {
    ErrorLine(ctx.err, "removals in the all view do not reach the browsers; nothing was removed (use --view safari or chrome)");
    return 2;
  }
  if (!findings) return std::nullopt;
  if (!ctx.args.Has("--yes") && !ctx.input.terminal) {
    ErrorLine(ctx.err, "not asking without a terminal; nothing was removed (add --yes to remove without asking)");
    return 2;
  }
  if (view == CliView::Safari) {
    std::shared_ptr<PlatformServices> platform = ctx.platform ? ctx.platform : std::make_shared<HostPlatformServices>();
    if (auto refusal = RunningBrowserRefusal(*platform, BrowserFile::Safari, Replacement::Apply)) {
      ErrorLine(ctx.err, *refusal + " Nothing was removed.");
      return 1;
    }
  }
  return std::nullopt;
}

bool RemovalConfirmed(const CommandContext& ctx, const std::string& question) {
  if (ctx.args.Has("--yes")) return true;
  if (!ctx.input.terminal || !ctx.input.in) return false;
  ctx.err << question << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(*ctx.input.in, answer)) return false;
  answer = Lowered(answer);
  return answer == "y" || answer == "yes";
}

int RemoveFindings(const CommandContext& ctx, LoadedView& loaded, CliView view, const NodeList& nodes) {
  if (nodes.empty()) {
    ctx.err << "nothing to remove\n";
    return loaded.exitCode();
  }
  const bool safari = view == CliView::Safari;
  const std::string question = safari ? healthtexts::SafariRemovalQuestion(nodes.size())
                                      : "Remove " + Bookmarks(nodes.size()) + " from the Chrome working copy?";
  if (!RemovalConfirmed(ctx, question)) {
    ErrorLine(ctx.err, "nothing was removed");
    return 1;
  }
  if (!loaded.RemoveFromTree(nodes)) return 1;  // the reason went to stderr
  // What was written goes where it does not spoil the JSON on stdout.
  std::ostream& report = ctx.args.Has("--json") ? ctx.err : ctx.out;
  const Locations& loc = ctx.locations;
  WriteLine(report, "wrote " + (safari ? loc.safariWorkingCopy() : loc.chromeWorkingCopy()).string());
  ctx.err << "removed " << Bookmarks(nodes.size()) << "\n";
  if (!safari) return 0;
  const CommandContext replacing{ctx.command, ctx.locations, ctx.args, report, ctx.err, ctx.platform, ctx.input};
  return ReplaceBrowserFile(replacing, BrowserFile::Safari, Replacement::Apply);
}

}  // namespace linvara::cli
