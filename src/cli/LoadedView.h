#pragma once
// The bookmarks of one view as a command sees them, and the link-health scans
// over them. LoadView is the one place that reads bookmarks for a command.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/BookmarkSession.h"
#include "cli/CommandContext.h"
#include "health/LinkProber.h"
#include "model/PRBookMarkNode.h"
#include "sort/BookmarkOrders.h"


namespace linvara::cli {

enum class CliView { All, Safari, Chrome };
// "all", "safari" or "chrome".
std::optional<CliView> ParseCliView(const std::string& name);

// The --view option of a command (default all); nullopt after printing what is wrong.
std::optional<CliView> ViewOption(const CommandContext& ctx);

// The services a command's session gets: in-memory preferences, an inline
// dispatcher and a screen that prints every alert to stderr and answers its default button.
AppServices CliServices(const CommandContext& ctx);

// True when the home folder exists; otherwise says so on stderr.
bool RequireHomeFolder(const CommandContext& ctx);

struct DuplicateFindings {
  NodeList groups;  // one node per group, in the order found
  std::size_t bookmarkCount = 0;
};

struct UnreachableFindings {
  NodeList dead;               // in list order
  std::size_t notChecked = 0;  // bookmarks whose addresses are not web addresses
};

class LoadedView {
 public:
  LoadedView(LoadedView&&) noexcept;
  ~LoadedView();

  // all: the unified top level; safari, chrome: the browser's top level.
  const NodeList& topLevel() const { return topLevel_; }
  // Every bookmark of the view in list order.
  const NodeList& flat() const { return flat_; }

  // Every file the view needs was damaged or unreadable (a missing file is no
  // failure): the command exits 1.
  bool nothingCouldBeRead() const { return nothingRead_; }
  // The exit code of a command that printed this view.
  int exitCode() const { return nothingRead_ ? 1 : 0; }

  // The rows of the unified view (the flat list or the top level) sorted as
  // its sort menu sorts them.
  NodeList SortUnifiedRows(const BookmarkOrder& order, bool flat);

  DuplicateFindings FindDuplicates();
  // The unreachable bookmarks in list order; `progress` gets (probed, total).
  UnreachableFindings FindUnreachable(const ProbeSettings& settings,
                           std::function<void(std::size_t probed, std::size_t total)> progress);

  // Safari and Chrome views: the nodes leave the tree and its working copy is
  // written; a failure has been told on stderr.
  Result<void> RemoveFromTree(const NodeList& nodes);
  // Safari view: the empty top-level folders leave the tree and the working copy is written.
  Result<void> RemoveEmptySafariFolders();

 private:
  friend LoadedView LoadView(const CommandContext& ctx, CliView view);
  struct Session;
  explicit LoadedView(std::unique_ptr<Session> session);
  void WaitForScans();

  std::unique_ptr<Session> session_;
  NodeList topLevel_;
  NodeList flat_;
  bool nothingRead_ = false;
  bool leftToProcessExit_ = false;
};

// Reads the view's browsers as the window does. A running browser does not
// stop the read: a warning goes to stderr; so do a missing bookmark file and
// every file that could not be read, with the reason.
LoadedView LoadView(const CommandContext& ctx, CliView view);

}  // namespace linvara::cli
