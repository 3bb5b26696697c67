#include "platform/Locations.h"

#include <cstdlib>

#include "platform/BundleIds.h"

namespace fs = std::filesystem;

namespace linvara {

std::optional<Layout> ParseLayout(const std::string& name) {
  if (name == "macos") return Layout::MacOS;
  if (name == "linux") return Layout::Linux;
  return std::nullopt;
}

std::string LayoutName(Layout layout) { return layout == Layout::MacOS ? "macos" : "linux"; }

Layout HostLayout() {
#ifdef __APPLE__
  return Layout::MacOS;
#else
  return Layout::Linux;
#endif
}

Locations::Locations(LocationsOptions options) : options_(std::move(options)) {}

Locations Locations::FromEnvironment() {
  LocationsOptions o;
  const char* home = std::getenv("HOME");
  o.home = home && *home ? fs::path(home) : fs::current_path();
  if (const char* d = std::getenv("XDG_DATA_HOME"); d && *d) o.xdgDataHome = d;
  if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && *c) o.xdgConfigHome = c;
  return Locations(o);
}

Locations Locations::ForHome(const fs::path& home, Layout layout) {
  LocationsOptions o;
  o.home = fs::absolute(home).lexically_normal();
  if (o.home.has_filename() == false && o.home.has_parent_path()) o.home = o.home.parent_path();
  o.layout = layout;
  return Locations(o);
}

fs::path Locations::xdgData() const {
  return options_.xdgDataHome.empty() ? options_.home / ".local" / "share" : options_.xdgDataHome;
}
fs::path Locations::xdgConfig() const {
  return options_.xdgConfigHome.empty() ? options_.home / ".config" : options_.xdgConfigHome;
}

fs::path Locations::dataFolder() const {
  if (options_.layout == Layout::MacOS) return options_.home / "Library" / "Application Support" / "Linvara";
  return xdgData() / "Linvara";
}
fs::path Locations::backupFolder() const { return dataFolder() / "Backup"; }
fs::path Locations::safariWorkingCopy() const { return dataFolder() / "Bookmarks.plist"; }
fs::path Locations::chromeWorkingCopy() const { return dataFolder() / "Bookmarks"; }

fs::path Locations::safariBookmarks() const {
  if (options_.layout == Layout::MacOS) return options_.home / "Library" / "Safari" / "Bookmarks.plist";
  return {};
}

namespace {

// Where the Linux packages of each browser keep its files, in the order they are tried.
std::vector<BrowserFolder> ChromeCandidates(const fs::path& home, const fs::path& config) {
  return {{"Google Chrome", config / "google-chrome"},
          {"Flatpak Chrome", home / ".var/app/com.google.Chrome/config/google-chrome"},
          {"Chromium", config / "chromium"},
          {"snap Chromium", home / "snap/chromium/common/chromium"},
          {"Flatpak Chromium", home / ".var/app/org.chromium.Chromium/config/chromium"}};
}
std::vector<BrowserFolder> EdgeCandidates(const fs::path& home, const fs::path& config) {
  return {{"Microsoft Edge", config / "microsoft-edge"},
          {"Flatpak Edge", home / ".var/app/com.microsoft.Edge/config/microsoft-edge"}};
}
std::vector<BrowserFolder> OperaCandidates(const fs::path& home, const fs::path& config) {
  return {{"Opera", config / "opera"}, {"Flatpak Opera", home / ".var/app/com.opera.Opera/config/opera"}};
}
std::vector<BrowserFolder> FirefoxCandidates(const fs::path& home, const fs::path& config) {
  return {{"Firefox", home / ".mozilla/firefox"},
          {"snap Firefox", home / "snap/firefox/common/.mozilla/firefox"},
          {"Flatpak Firefox", home / ".var/app/org.mozilla.firefox/.mozilla/firefox"},
          {"Firefox (XDG)", config / "mozilla/firefox"}};
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

}  // namespace

Locations Locations::WithOverrides(ProfileOverrides overrides) const {
  LocationsOptions o = options_;
  o.overrides = std::move(overrides);
  return Locations(o);
}

fs::path Locations::chromeFolder() const {
  if (options_.layout == Layout::MacOS) return options_.home / "Library" / "Application Support" / "Google" / "Chrome";
  return ChromeChoice().folder;
}

fs::path Locations::chromeDefaultBookmarks() const { return chromeFolder() / "Default" / "Bookmarks"; }

fs::path Locations::chromeProfile2Bookmarks() const {
  if (options_.layout == Layout::MacOS) return chromeFolder() / "Profile 2" / "Default" / "Bookmarks";
  return chromeFolder() / "Profile 2" / "Bookmarks";
}

fs::path Locations::ChooseChromeBookmarks() const { return ChromeChoice().file; }

BrowserChoice Locations::ChromeChoice() const {
  if (options_.layout == Layout::Linux)
    return ChooseChromiumFolder(ChromeCandidates(options_.home, xdgConfig()), options_.overrides.chromeProfile);
  const fs::path folder = chromeFolder();
  if (!options_.overrides.chromeProfile.empty())
    return ChooseChromiumFolder({{"Chrome", folder}}, options_.overrides.chromeProfile);
  const fs::path first = chromeDefaultBookmarks(), second = chromeProfile2Bookmarks();
  if (Exists(first)) return {"Chrome", folder, "Default", first, true, "profile \"Default\""};
  if (Exists(second))
    return {"Chrome", folder, "Profile 2/Default", second, true, "profile \"Profile 2\": nothing in \"Default\""};
  return {"Chrome", folder, "Default", first, false, "nothing found"};
}

BrowserChoice Locations::EdgeChoice() const {
  if (options_.layout == Layout::Linux) return ChooseChromiumFolder(EdgeCandidates(options_.home, xdgConfig()));
  const fs::path folder = options_.home / "Library" / "Application Support" / "Microsoft Edge";
  const bool found = Exists(folder / "Default" / "Bookmarks");
  return {"Microsoft Edge", folder, "Default", folder / "Default" / "Bookmarks", found,
          found ? "profile \"Default\"" : "nothing found"};
}

BrowserChoice Locations::OperaChoice() const {
  if (options_.layout == Layout::Linux) return ChooseSingleProfileFolder(OperaCandidates(options_.home, xdgConfig()));
  return ChooseSingleProfileFolder(
      {{"Opera", options_.home / "Library" / "Application Support" / "com.operasoftware.Opera"}});
}

fs::path Locations::edgeBookmarks() const { return EdgeChoice().file; }

fs::path Locations::operaBookmarks() const { return OperaChoice().file; }

BrowserChoice Locations::AutomaticFirefoxChoice() const {
  if (options_.layout == Layout::Linux) return ChooseFirefoxFolder(FirefoxCandidates(options_.home, xdgConfig()));
  const fs::path profiles = options_.home / "Library" / "Application Support" / "Firefox" / "Profiles";
  const auto pick = PickFirefoxProfile(profiles, profiles.parent_path());
  if (!pick) return {"Firefox", profiles, "", {}, false, "nothing found"};
  const std::string profile = pick->folder.filename().string();
  return {"Firefox", profiles, profile, pick->folder / "places.sqlite", Exists(pick->folder / "places.sqlite"),
          "profile \"" + profile + "\": " + pick->why};
}

std::optional<fs::path> Locations::FirefoxOverrideFolder() const {
  const fs::path& asked = options_.overrides.firefoxProfile;
  if (asked.empty()) return std::nullopt;
  auto normal = [](const fs::path& p) {  // without a trailing "/", so that the last part names the profile
    fs::path n = p.lexically_normal();
    return n.has_filename() || !n.has_parent_path() ? n : n.parent_path();
  };
  std::error_code ec;
  if (asked.is_absolute()) return normal(asked);
  const fs::path fromWorkingFolder = normal(fs::absolute(asked, ec));
  if (Exists(fromWorkingFolder)) return fromWorkingFolder;
  const fs::path inFirefoxFolder = normal(AutomaticFirefoxChoice().folder / asked);
  return Exists(inFirefoxFolder) ? inFirefoxFolder : fromWorkingFolder;
}

BrowserChoice Locations::FirefoxChoice() const {
  const auto asked = FirefoxOverrideFolder();
  if (!asked) return AutomaticFirefoxChoice();
  const bool found = Exists(*asked / "places.sqlite");
  return {"Firefox", asked->parent_path(), asked->filename().string(), *asked / "places.sqlite", found,
          found ? "profile asked for" : "profile asked for; no places.sqlite in it"};
}

fs::path Locations::firefoxProfilesFolder() const { return FirefoxChoice().folder; }

fs::path Locations::firefoxIniFolder() const {
  if (options_.layout == Layout::MacOS && !FirefoxOverrideFolder()) return firefoxProfilesFolder().parent_path();
  return firefoxProfilesFolder();
}

std::optional<fs::path> Locations::ChooseFirefoxPlaces() const {
  fs::path places = FirefoxChoice().file;
  if (places.empty()) return std::nullopt;
  return places;
}

std::vector<ProfileLock> Locations::ProfileLocks() const {
  if (options_.layout != Layout::Linux) return {};
  std::vector<ProfileLock> locks = {
      {bundleids::kChrome, ChromeChoice().folder / "SingletonLock", ProfileLockKind::ChromiumSingleton},
      {bundleids::kEdge, EdgeChoice().folder / "SingletonLock", ProfileLockKind::ChromiumSingleton},
      {bundleids::kOpera, OperaChoice().folder / "SingletonLock", ProfileLockKind::ChromiumSingleton},
  };
  if (auto places = ChooseFirefoxPlaces()) {
    locks.push_back({bundleids::kFirefox, places->parent_path() / "lock", ProfileLockKind::FirefoxLink});
    locks.push_back({bundleids::kFirefox, places->parent_path() / ".parentlock", ProfileLockKind::FirefoxFileLock});
  }
  return locks;
}

fs::path Locations::safariCookies() const {
  if (options_.layout == Layout::MacOS) return options_.home / "Library" / "Cookies" / "Cookies.binarycookies";
  return {};
}

fs::path Locations::chromeCookies() const {
  fs::path profile = chromeFolder() / "Default";
  if (options_.layout == Layout::Linux || !options_.overrides.chromeProfile.empty()) {
    const BrowserChoice chrome = ChromeChoice();
    profile = chrome.folder / chrome.profile;
  }
  const fs::path classic = profile / "Cookies";
  const fs::path network = profile / "Network" / "Cookies";
  if (!Exists(classic) && Exists(network)) return network;
  return classic;
}

fs::path Locations::preferencesFile() const {
  if (options_.layout == Layout::MacOS)
    return options_.home / "Library" / "Preferences" / "com.zelvane.linvara.plist";
  return xdgConfig() / "linvara" / "preferences.plist";
}

fs::path Locations::downloadsFolder() const { return options_.home / "Downloads"; }
fs::path Locations::cookieExportFolder() const { return downloadsFolder() / "com.Zelvane.Crumbscope"; }

std::vector<std::string> Locations::encryptedMarkers() const {
  // The macOS page lives in "Application Support/Linvara"; its marker stops at "Application".
  std::string macOS = "file://" + options_.home.string() + "/Library/Application";
  if (options_.layout == Layout::MacOS) return {macOS};
  return {"file://" + dataFolder().string(), macOS};
}

namespace {
// "~/.config/chromium (Chromium; Google Chrome not present)"
std::string ExplainChoice(const BrowserChoice& choice, const fs::path& home) {
  std::string folder = choice.folder.string();
  const std::string homeText = home.string();
  if (folder.rfind(homeText + "/", 0) == 0) folder = "~" + folder.substr(homeText.size());
  return folder + " (" + choice.reason + ")";
}
}  // namespace

std::vector<std::pair<std::string, std::string>> Locations::Describe() const {
  auto explained = [this](const BrowserChoice& choice) { return ExplainChoice(choice, options_.home); };
  auto places = ChooseFirefoxPlaces();
  return {
      {"home", options_.home.string()},
      {"layout", LayoutName(options_.layout)},
      {"dataFolder", dataFolder().string()},
      {"backupFolder", backupFolder().string()},
      {"safariWorkingCopy", safariWorkingCopy().string()},
      {"chromeWorkingCopy", chromeWorkingCopy().string()},
      {"preferences", preferencesFile().string()},
      {"safariBookmarks", safariBookmarks().string()},
      {"chromeBookmarks", ChooseChromeBookmarks().string()},
      {"chromeDefaultBookmarks", chromeDefaultBookmarks().string()},
      {"chromeProfile2Bookmarks", chromeProfile2Bookmarks().string()},
      {"edgeBookmarks", edgeBookmarks().string()},
      {"operaBookmarks", operaBookmarks().string()},
      {"firefoxProfiles", firefoxProfilesFolder().string()},
      {"firefoxPlaces", places ? places->string() : std::string()},
      {"safariCookies", safariCookies().string()},
      {"chromeCookies", chromeCookies().string()},
      {"cookieExportFolder", cookieExportFolder().string()},
      {"chrome", explained(ChromeChoice())},
      {"firefox", explained(FirefoxChoice())},
      {"edge", explained(EdgeChoice())},
      {"opera", explained(OperaChoice())},
  };
}

std::optional<fs::path> ChooseFirefoxProfile(const fs::path& profilesFolder, const fs::path& iniFolder) {
  auto pick = PickFirefoxProfile(profilesFolder, iniFolder);
  if (!pick) return std::nullopt;
  return pick->folder;
}

}  // namespace linvara
