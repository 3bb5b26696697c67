#include "platform/Locations.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include "model/FileBytes.h"

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

fs::path Locations::chromeFolder() const {
  if (options_.layout == Layout::MacOS) return options_.home / "Library" / "Application Support" / "Google" / "Chrome";
  return xdgConfig() / "google-chrome";
}

fs::path Locations::chromeDefaultBookmarks() const { return chromeFolder() / "Default" / "Bookmarks"; }

fs::path Locations::chromeProfile2Bookmarks() const {
  if (options_.layout == Layout::MacOS) return chromeFolder() / "Profile 2" / "Default" / "Bookmarks";
  return chromeFolder() / "Profile 2" / "Bookmarks";
}

fs::path Locations::ChooseChromeBookmarks() const {
  std::error_code ec;
  fs::path first = chromeDefaultBookmarks();
  if (fs::exists(first, ec)) return first;
  fs::path second = chromeProfile2Bookmarks();
  if (fs::exists(second, ec)) return second;
  return first;
}

fs::path Locations::edgeBookmarks() const {
  if (options_.layout == Layout::MacOS)
    return options_.home / "Library" / "Application Support" / "Microsoft Edge" / "Default" / "Bookmarks";
  return xdgConfig() / "microsoft-edge" / "Default" / "Bookmarks";
}

fs::path Locations::operaBookmarks() const {
  if (options_.layout == Layout::MacOS)
    return options_.home / "Library" / "Application Support" / "com.operasoftware.Opera" / "Bookmarks";
  return xdgConfig() / "opera" / "Bookmarks";
}

fs::path Locations::firefoxProfilesFolder() const {
  if (options_.layout == Layout::MacOS)
    return options_.home / "Library" / "Application Support" / "Firefox" / "Profiles";
  return options_.home / ".mozilla" / "firefox";
}

fs::path Locations::firefoxIniFolder() const {
  if (options_.layout == Layout::MacOS) return firefoxProfilesFolder().parent_path();
  return firefoxProfilesFolder();
}

std::optional<fs::path> Locations::ChooseFirefoxPlaces() const {
  auto profile = ChooseFirefoxProfile(firefoxProfilesFolder(), firefoxIniFolder());
  if (!profile) return std::nullopt;
  return *profile / "places.sqlite";
}

fs::path Locations::safariCookies() const {
  if (options_.layout == Layout::MacOS) return options_.home / "Library" / "Cookies" / "Cookies.binarycookies";
  return {};
}

fs::path Locations::chromeCookies() const {
  std::error_code ec;
  fs::path classic = chromeFolder() / "Default" / "Cookies";
  fs::path network = chromeFolder() / "Default" / "Network" / "Cookies";
  if (!fs::exists(classic, ec) && fs::exists(network, ec)) return network;
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

std::vector<std::pair<std::string, std::string>> Locations::Describe() const {
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
  };
}

namespace {

using IniSection = std::map<std::string, std::string>;
struct NamedSection {
  std::string name;
  IniSection values;
};

std::vector<NamedSection> ParseIni(const fs::path& file) {
  std::vector<NamedSection> sections;
  auto bytes = ReadFileBytes(file, kProfilesIniSizeLimit);
  if (!bytes) return sections;
  std::istringstream in(*bytes);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == ';' || line[first] == '#') continue;
    line = line.substr(first);
    if (line.front() == '[') {
      auto close = line.find(']');
      sections.push_back({line.substr(1, close == std::string::npos ? std::string::npos : close - 1), {}});
      continue;
    }
    auto eq = line.find('=');
    if (eq == std::string::npos || sections.empty()) continue;
    sections.back().values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return sections;
}

std::optional<fs::path> ResolveProfilePath(const fs::path& iniFolder, const std::string& relativeOrAbsolute,
                                           bool isRelative) {
  fs::path p = isRelative ? iniFolder / relativeOrAbsolute : fs::path(relativeOrAbsolute);
  std::error_code ec;
  if (fs::is_directory(p, ec)) return p;
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> ChooseFirefoxProfile(const fs::path& profilesFolder, const fs::path& iniFolder) {
  std::error_code ec;
  if (!fs::is_directory(profilesFolder, ec)) return std::nullopt;

  auto sections = ParseIni(iniFolder / "profiles.ini");
  // An [Install…] section names the profile the installed Firefox uses.
  for (const auto& s : sections) {
    if (s.name.rfind("Install", 0) != 0) continue;
    auto it = s.values.find("Default");
    if (it == s.values.end() || it->second.empty()) continue;
    // Install sections name the path; it is relative unless it is absolute.
    bool relative = !fs::path(it->second).is_absolute();
    if (auto p = ResolveProfilePath(iniFolder, it->second, relative)) return p;
  }
  for (const auto& s : sections) {
    if (s.name.rfind("Profile", 0) != 0) continue;
    auto d = s.values.find("Default");
    auto path = s.values.find("Path");
    if (d == s.values.end() || d->second != "1" || path == s.values.end()) continue;
    auto rel = s.values.find("IsRelative");
    bool relative = rel == s.values.end() || rel->second != "0";
    if (auto p = ResolveProfilePath(iniFolder, path->second, relative)) return p;
  }

  // Where profiles.ini sits in the profiles folder itself (Linux), the folder also
  // holds "Crash Reports" and the ini files: only profile folders count there.
  const bool sharedFolder = fs::equivalent(profilesFolder, iniFolder, ec);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(profilesFolder, ec)) {
    std::string name = entry.path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    if (sharedFolder && !fs::exists(entry.path() / "places.sqlite", ec)) continue;
    names.push_back(name);
  }
  if (names.empty()) return std::nullopt;
  std::sort(names.begin(), names.end());
  return profilesFolder / names.front();
}

}  // namespace linvara
