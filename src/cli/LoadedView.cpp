#include "cli/LoadedView.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>

#include "edit/EditController.h"
#include "edit/UnifiedListEditor.h"
#include "health/LinkHealthController.h"
#include "health/LinkHealthRemoval.h"
#include "readers/BookmarkReadController.h"
#include "sort/SortController.h"
#include "cli/Output.h"

namespace linvara::cli {

namespace {
// Prints every alert to stderr and answers its default button.
class CliScreen : public ScreenInterface {
 public:
  explicit CliScreen(std::ostream& err) : err_(err) {}
  void ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) override {
    ErrorLine(err_, alert.informativeText.empty() ? alert.message
                                                  : alert.message + " (" + alert.informativeText + ")");
    if (done) done(AlertResponse{AlertButton::Default, false});
  }

 private:
  std::ostream& err_;
};

std::string BrowserName(const std::string& bundleIdentifier) {
  if (bundleIdentifier == bundleids::kSafari) return "Safari";
  if (bundleIdentifier == bundleids::kChrome) return "Chrome";
  if (bundleIdentifier == bundleids::kFirefox) return "Firefox";
  if (bundleIdentifier == bundleids::kOpera) return "Opera";
  if (bundleIdentifier == bundleids::kEdge) return "Microsoft Edge";
  return bundleIdentifier;
}

void WarnRunning(const std::vector<std::string>& running, std::ostream& err) {
  for (const auto& id : running)
    ErrorLine(err, "warning: " + BrowserName(id) + " is running; its bookmarks are read as they are on disk now");
}

void WarnMissingFile(const Locations& loc, const std::filesystem::path& file, bool safari, std::ostream& err) {
  std::error_code ec;
  if (file.empty())
    ErrorLine(err, "the " + LayoutName(loc.layout()) + " layout has no Safari bookmark file");
  else if (!std::filesystem::exists(file, ec) &&
           (safari || !std::filesystem::exists(file.parent_path() / "Bookmarks.bak", ec)))
    ErrorLine(err, "no bookmark file at " + file.string());
}
}  // namespace

AppServices CliServices(const CommandContext& ctx) {
  AppServices services;
  services.locations = ctx.locations;
  services.preferences = std::make_shared<Preferences>();
  services.platform = ctx.platform ? ctx.platform : std::make_shared<HostPlatformServices>(ctx.locations);
  services.dispatcher = std::make_shared<InlineDispatcher>();
  services.screen = std::make_shared<CliScreen>(ctx.err);
  return services;
}

std::optional<CliView> ParseCliView(const std::string& name) {
  if (name == "all") return CliView::All;
  if (name == "safari") return CliView::Safari;
  if (name == "chrome") return CliView::Chrome;
  return std::nullopt;
}

std::optional<CliView> ViewOption(const CommandContext& ctx) {
  auto name = ctx.args.Value("--view");
  if (!name) return CliView::All;
  auto view = ParseCliView(*name);
  if (!view) ErrorLine(ctx.err, "unknown view '" + *name + "' (use all, safari or chrome)");
  return view;
}

bool RequireHomeFolder(const CommandContext& ctx) {
  std::error_code ec;
  if (std::filesystem::is_directory(ctx.locations.home(), ec)) return true;
  ErrorLine(ctx.err, "home folder " + ctx.locations.home().string() + " does not exist");
  return false;
}

// The session a command works on, with the controllers the commands need.
struct LoadedView::Session {
  explicit Session(AppServices services)
      : session(std::move(services)),
        reads(session),
        health(session),
        sorting(session),
        editing(session),
        unified(session, reads),
        removal(session, health, editing, unified) {}
  BookmarkSession session;
  BookmarkReadController reads;
  LinkHealthController health;
  SortController sorting;
  EditController editing;
  UnifiedListEditor unified;
  LinkHealthRemoval removal;
};

LoadedView::LoadedView(std::unique_ptr<Session> session) : session_(std::move(session)) {}
LoadedView::LoadedView(LoadedView&&) noexcept = default;
LoadedView::~LoadedView() {
  if (!leftToProcessExit_ || !session_) return;
  // Kept reachable and never destroyed: a leak checker does not count it, and the exit frees it at once.
  static auto* keptUntilExit = new std::vector<Session*>();
  keptUntilExit->push_back(session_.release());
}

void LoadedView::WaitForScans() {
  while (!session_->health.WaitForWorkers(std::chrono::seconds(1))) {
  }
}

NodeList LoadedView::SortUnifiedRows(const BookmarkOrder& order, bool flat) {
  BookmarkSession& session = session_->session;
  session.SetBookmarkTableContent(flat ? flat_ : topLevel_);
  session_->sorting.SortAllRows(order);
  return session.viewState().bookmarkTable.content;
}

DuplicateFindings LoadedView::FindDuplicates() {
  session_->health.StartFindAllDuplicateBookMarkThread();
  WaitForScans();
  return {session_->session.lists().duplicateArray, session_->health.dupBookmarkCount};
}

UnreachableFindings LoadedView::FindUnreachable(const ProbeSettings& settings,
                                                std::function<void(std::size_t, std::size_t)> progress) {
  LinkHealthController& health = session_->health;
  health.deadLinkProbeSettings = settings;
  health.observers.deadScanProgress = std::move(progress);
  health.StartScanDeadURlThread();
  WaitForScans();
  return {session_->session.lists().deadURLArray, health.deadLinksNotChecked};
}

Result<void> LoadedView::RemoveFromTree(const NodeList& nodes) { return session_->editing.DeleteBookmarks(nodes); }

Result<void> LoadedView::RemoveEmptySafariFolders() { return session_->removal.RemoveSafariEmptyBookMarkFolderAction(); }

LoadedView LoadView(const CommandContext& ctx, CliView view) {
  LoadedView loaded(std::make_unique<LoadedView::Session>(CliServices(ctx)));
  loaded.leftToProcessExit_ = ctx.input.processEndsAfterCommand;
  BookmarkSession& session = loaded.session_->session;
  BookmarkReadController& reads = loaded.session_->reads;
  const Locations& loc = session.locations();
  const BookmarkLists& lists = session.lists();
  std::vector<std::string> running = reads.RunningBrowsersBlockingFullRead();
  if (view == CliView::All) {
    WarnRunning(running, ctx.err);
    session.bookMarkType = ViewKind::All;
    session.EmptyLists(ListGroup::FullRead);
    reads.ReadAllBrowsers();
    loaded.topLevel_ = session.UnifiedTopLevel();
    loaded.flat_ = lists.allbookMarkArray;
  } else {
    const bool safari = view == CliView::Safari;
    const char* browser = safari ? bundleids::kSafari : bundleids::kChrome;
    if (std::count(running.begin(), running.end(), browser)) WarnRunning({browser}, ctx.err);
    session.bookMarkType = safari ? ViewKind::Safari : ViewKind::Chrome;
    session.EmptyLists(ListGroup::FullRead);
    const std::filesystem::path file = safari ? loc.safariBookmarks() : loc.ChooseChromeBookmarks();
    WarnMissingFile(loc, file, safari, ctx.err);
    if (safari)
      reads.ReadSafariBookMark(file);
    else
      reads.ReadChromeBookMark(file);
    loaded.topLevel_ = safari ? lists.safariFatherArray : lists.ChromeFatherArray;
    loaded.flat_ = safari ? lists.safariBookMarkArray : lists.chromebookMarkArray;
  }
  // Every file that could not be read, and why; nothing read at all is a failure.
  bool anyRead = false, anyFailed = false;
  for (const BrowserReadOutcome& outcome : reads.lastReadReport().outcomes) {
    if (outcome.worthTelling()) ErrorLine(ctx.err, outcome.Describe());
    anyRead |= !outcome.error;
    anyFailed |= outcome.error && outcome.error->kind != ErrorKind::NotFound;
  }
  loaded.nothingRead_ = anyFailed && !anyRead;
  return loaded;
}

}  // namespace linvara::cli
