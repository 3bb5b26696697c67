#include "cli/CliApp.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace linvara::cli {

namespace {
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
    err << "linvara-cli: warning: " << BrowserName(id)
        << " is running; its bookmarks are read as they are on disk now\n";
}
}  // namespace

void CliScreen::ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) {
  err_ << "linvara-cli: " << alert.message;
  if (!alert.informativeText.empty()) err_ << " (" << alert.informativeText << ")";
  err_ << "\n";
  if (done) done(AlertResponse{AlertButton::Default, false});
}

std::unique_ptr<AppDelegate> MakeCliAppDelegate(const CliContext& ctx, std::shared_ptr<PlatformServices> platform) {
  AppServices services;
  services.locations = ctx.locations;
  services.preferences = std::make_shared<Preferences>();
  services.platform = platform ? std::move(platform) : std::make_shared<HostPlatformServices>();
  services.dispatcher = std::make_shared<InlineDispatcher>();
  services.screen = std::make_shared<CliScreen>(ctx.err);
  return std::make_unique<AppDelegate>(std::move(services));
}

std::optional<CliView> ParseCliView(const std::string& name) {
  if (name == "all") return CliView::All;
  if (name == "safari") return CliView::Safari;
  if (name == "chrome") return CliView::Chrome;
  return std::nullopt;
}

std::optional<CliView> ViewOption(const CliContext& ctx) {
  auto name = OptionValue(ctx.args, "--view");
  if (!name) return CliView::All;
  auto view = ParseCliView(*name);
  if (!view) ctx.err << "linvara-cli: unknown view '" << *name << "' (use all, safari or chrome)\n";
  return view;
}

bool RequireHomeFolder(const CliContext& ctx) {
  std::error_code ec;
  if (std::filesystem::is_directory(ctx.locations.home(), ec)) return true;
  ctx.err << "linvara-cli: home folder " << ctx.locations.home().string() << " does not exist\n";
  return false;
}

bool CheckArguments(const CliContext& ctx, const std::vector<std::string>& flags,
                    const std::vector<std::string>& valued, std::size_t positionals, const std::string& usage) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
      if (i + 1 >= ctx.args.size()) {
        ctx.err << "linvara-cli: " << a << " needs a value\nusage: " << usage << "\n";
        return false;
      }
      ++i;
    } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      continue;
    } else if (a.rfind("--", 0) == 0) {
      ctx.err << "linvara-cli: unknown option '" << a << "'\nusage: " << usage << "\n";
      return false;
    } else {
      ++plain;
    }
  }
  if (plain != positionals) {
    ctx.err << "usage: " << usage << "\n";
    return false;
  }
  return true;
}

LoadedView LoadView(AppDelegate& app, CliView view, std::ostream& err) {
  const Locations& loc = app.session().locations();
  std::vector<std::string> running = app.RunningBrowsersBlockingFullRead();
  LoadedView loaded;
  switch (view) {
    case CliView::All:
      WarnRunning(running, err);
      app.EmptyListsForFullRead();
      app.ReadAllBrowsersIgnoringRunning();
      loaded.topLevel = app.session().UnifiedTopLevel();
      loaded.flat = app.lists().allbookMarkArray;
      break;
    case CliView::Safari:
    case CliView::Chrome: {
      const bool safari = view == CliView::Safari;
      const char* browser = safari ? bundleids::kSafari : bundleids::kChrome;
      if (std::count(running.begin(), running.end(), browser)) WarnRunning({browser}, err);
      app.session().bookMarkType = safari ? ViewKind::Safari : ViewKind::Chrome;
      app.EmptyListsForFullRead();
      const std::filesystem::path file = safari ? loc.safariBookmarks() : loc.ChooseChromeBookmarks();
      std::error_code ec;
      if (file.empty())
        err << "linvara-cli: the " << LayoutName(loc.layout()) << " layout has no Safari bookmark file\n";
      else if (!std::filesystem::exists(file, ec) &&
               (safari || !std::filesystem::exists(file.parent_path() / "Bookmarks.bak", ec)))
        err << "linvara-cli: no bookmark file at " << file.string() << "\n";
      if (safari)
        app.ReadSafariBookMark(file);
      else
        app.ReadChromeBookMark(file);
      const BookmarkLists& l = app.lists();
      loaded.topLevel = safari ? l.safariFatherArray : l.ChromeFatherArray;
      loaded.flat = safari ? l.safariBookMarkArray : l.chromebookMarkArray;
      break;
    }
  }
  return loaded;
}

}  // namespace linvara::cli
