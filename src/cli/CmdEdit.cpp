// linvara-cli delete, edit, move, apply and restore: the editing commands of
// the Safari and Chrome trees and the replacement of the browsers' files.
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>

#include "cli/Commands.h"
#include "cli/LoadedView.h"
#include "cli/Output.h"
#include "edit/BrowserFileReplacement.h"
#include "edit/EditController.h"
#include "edit/EditTexts.h"
#include "readers/BookmarkReadController.h"

namespace fs = std::filesystem;

namespace linvara::cli {
namespace {

// A session with the controllers the editing commands need.
struct EditSession {
  explicit EditSession(const CommandContext& ctx) : session(CliServices(ctx)), reads(session), editing(session) {}
  BookmarkSession session;
  BookmarkReadController reads;
  EditController editing;
};

// The --view of an editing command: safari, or chrome where allowed; nullopt after saying what is wrong.
std::optional<CliView> TreeView(const CommandContext& ctx, bool chromeAllowed) {
  const std::string name = ctx.args.Value("--view").value_or("safari");
  std::optional<CliView> view = ParseCliView(name);
  if (view == CliView::Safari || (chromeAllowed && view == CliView::Chrome)) return view;
  ctx.UsageError("this command works on " + std::string(chromeAllowed ? "the safari or chrome view" : "the safari view") +
                 ", not '" + name + "'");
  return std::nullopt;
}

// Reads the tree from the browser's own file, or with --working-copy from the working copy. 0, or the exit code.
int LoadTree(const CommandContext& ctx, EditSession& s, CliView view) {
  const bool safari = view == CliView::Safari;
  const Locations& loc = ctx.locations;
  s.session.bookMarkType = safari ? ViewKind::Safari : ViewKind::Chrome;
  s.session.EmptyLists(ListGroup::FullRead);
  const fs::path file = ctx.args.Has("--working-copy") ? (safari ? loc.safariWorkingCopy() : loc.chromeWorkingCopy())
                                                       : (safari ? loc.safariBookmarks() : loc.ChooseChromeBookmarks());
  if (safari)
    s.reads.ReadSafariBookMark(file);
  else
    s.reads.ReadChromeBookMark(file);
  const BrowserReadOutcome* outcome = s.reads.lastReadReport().Find(safari ? "Safari" : "Chrome");
  if (outcome && outcome->error) {
    ErrorLine(ctx.err, outcome->error->message);
    return 1;
  }
  return 0;
}

// The nodes whose uuid was given, in tree order; an unknown uuid is told and gives nullopt.
std::optional<NodeList> NodesNamed(const CommandContext& ctx, const NodeList& topLevel,
                                   const std::vector<std::string>& uuids) {
  const std::set<std::string> wanted(uuids.begin(), uuids.end());
  std::set<std::string> found;
  NodeList nodes;
  std::vector<NodePtr> pending(topLevel.rbegin(), topLevel.rend());
  while (!pending.empty()) {
    NodePtr node = std::move(pending.back());
    pending.pop_back();
    if (OptString uuid = node->bookMarkUUID(); uuid && wanted.count(*uuid)) {
      nodes.push_back(node);
      found.insert(*uuid);
    }
    if (FolderPtr folder = AsFolder(node)) {
      NodeList children = folder->childrenSnapshot();
      pending.insert(pending.end(), children.rbegin(), children.rend());
    }
  }
  for (const std::string& uuid : uuids)
    if (!found.count(uuid)) {
      ErrorLine(ctx.err, "no bookmark or folder has the uuid '" + uuid + "'; nothing was written");
      return std::nullopt;
    }
  return nodes;
}

// Loads the tree and finds the named nodes; 0, or the exit code.
int Prepare(const CommandContext& ctx, EditSession& s, CliView view, NodeList& nodes) {
  if (!RequireHomeFolder(ctx)) return 1;
  if (int failed = LoadTree(ctx, s, view)) return failed;
  auto named = NodesNamed(ctx, s.session.TopLevel(), ctx.args.positionals);
  if (!named) return 2;
  nodes = std::move(*named);
  return 0;
}

int Written(const CommandContext& ctx, const Result<void>& result, CliView view) {
  if (!result) return 1;  // the controller's alert went to stderr
  const Locations& loc = ctx.locations;
  WriteLine(ctx.out, "wrote " + (view == CliView::Safari ? loc.safariWorkingCopy() : loc.chromeWorkingCopy()).string());
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
  EditSession s(ctx);
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
