#include "cli/LoadedView.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>

#include "app/AppDelegate.h"
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

// The controller with in-memory preferences, an inline dispatcher and the alert printer.
std::unique_ptr<AppDelegate> MakeAppDelegate(const CommandContext& ctx) {
  AppServices services;
  services.locations = ctx.locations;
  services.preferences = std::make_shared<Preferences>();
  services.platform = ctx.platform ? ctx.platform : std::make_shared<HostPlatformServices>();
  services.dispatcher = std::make_shared<InlineDispatcher>();
  services.screen = std::make_shared<CliScreen>(ctx.err);
  return std::make_unique<AppDelegate>(std::move(services));
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

LoadedView::LoadedView(std::unique_ptr<AppDelegate> app) : app_(std::move(app)) {}
LoadedView::LoadedView(LoadedView&&) noexcept = default;
LoadedView::~LoadedView() = default;

void LoadedView::WaitForScans() {
  while (!app_->linkHealth().WaitForWorkers(std::chrono::seconds(1))) {
  }
}

DuplicateFindings LoadedView::FindDuplicates() {
  app_->linkHealth().StartFindAllDuplicateBookMarkThread();
  WaitForScans();
  return {app_->lists().duplicateArray, app_->linkHealth().dupBookmarkCount};
}

UnreachableFindings LoadedView::FindUnreachable(const ProbeSettings& settings,
                                                std::function<void(std::size_t, std::size_t)> progress) {
  LinkHealthController& health = app_->linkHealth();
  health.deadLinkProbeSettings = settings;
  health.observers.deadScanProgress = std::move(progress);
  health.StartScanDeadURlThread();
  WaitForScans();
  return {app_->lists().deadURLArray, health.deadLinksNotChecked};
}

LoadedView LoadView(const CommandContext& ctx, CliView view) {
  LoadedView loaded(MakeAppDelegate(ctx));
  AppDelegate& app = *loaded.app_;
  const Locations& loc = app.session().locations();
  std::vector<std::string> running = app.RunningBrowsersBlockingFullRead();
  if (view == CliView::All) {
    WarnRunning(running, ctx.err);
    app.EmptyListsForFullRead();
    app.ReadAllBrowsersIgnoringRunning();
    loaded.topLevel_ = app.session().UnifiedTopLevel();
    loaded.flat_ = app.lists().allbookMarkArray;
    return loaded;
  }
  const bool safari = view == CliView::Safari;
  const char* browser = safari ? bundleids::kSafari : bundleids::kChrome;
  if (std::count(running.begin(), running.end(), browser)) WarnRunning({browser}, ctx.err);
  app.session().bookMarkType = safari ? ViewKind::Safari : ViewKind::Chrome;
  app.EmptyListsForFullRead();
  const std::filesystem::path file = safari ? loc.safariBookmarks() : loc.ChooseChromeBookmarks();
  WarnMissingFile(loc, file, safari, ctx.err);
  if (safari)
    app.ReadSafariBookMark(file);
  else
    app.ReadChromeBookMark(file);
  const BookmarkLists& lists = app.lists();
  loaded.topLevel_ = safari ? lists.safariFatherArray : lists.ChromeFatherArray;
  loaded.flat_ = safari ? lists.safariBookMarkArray : lists.chromebookMarkArray;
  return loaded;
}

}  // namespace linvara::cli
