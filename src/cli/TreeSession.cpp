// Loading the Safari or Chrome tree for the commands that change it.
#include "cli/TreeSession.h"

#include <filesystem>
#include <set>

#include "cli/Output.h"

namespace fs = std::filesystem;

namespace linvara::cli {

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
int LoadTree(const CommandContext& ctx, TreeSession& s, CliView view) {
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

int Written(const CommandContext& ctx, const Result<void>& result, CliView view) {
  if (!result) return 1;  // the controller's alert went to stderr
  const Locations& loc = ctx.locations;
  WriteLine(ctx.out, "wrote " + (view == CliView::Safari ? loc.safariWorkingCopy() : loc.chromeWorkingCopy()).string());
  return 0;
}

}  // namespace linvara::cli
