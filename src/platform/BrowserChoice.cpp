#include "platform/BrowserChoice.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/FileBytes.h"

namespace fs = std::filesystem;

namespace linvara {

namespace {

constexpr std::uint64_t kLocalStateSizeLimit = std::uint64_t{16} << 20;

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

bool HoldsChromiumBookmarks(const fs::path& profileFolder) { return Exists(profileFolder / "Bookmarks"); }

// Local State's last-used profile and the names shown for each profile folder.
struct LocalState {
  std::string lastUsed;
  std::map<std::string, std::string> shownNames;  // folder -> name
};

LocalState ReadLocalState(const fs::path& userData) {
  LocalState state;
  auto bytes = ReadFileBytes(userData / "Local State", kLocalStateSizeLimit);
  if (!bytes) return state;
  const auto json = nlohmann::json::parse(*bytes, nullptr, false);
  if (!json.is_object() || !json.contains("profile") || !json["profile"].is_object()) return state;
  const auto& profile = json["profile"];
  if (auto it = profile.find("last_used"); it != profile.end() && it->is_string()) state.lastUsed = *it;
  if (auto cache = profile.find("info_cache"); cache != profile.end() && cache->is_object())
    for (const auto& [folder, info] : cache->items())
      if (info.is_object() && info.contains("name") && info["name"].is_string()) state.shownNames[folder] = info["name"];
  return state;
}

// A name that is a single folder name inside its parent, never a path out of it.
bool IsPlainFolderName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// "A not present, B has no bookmarks" for the candidates passed over.
std::string PassedOver(const std::vector<BrowserFolder>& candidates, std::size_t count, const std::string& lacking) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i)
    text += (i ? ", " : "") + candidates[i].label + (Exists(candidates[i].folder) ? " has no " + lacking : " not present");
  return text;
}

std::string FoundReason(const std::vector<BrowserFolder>& candidates, std::size_t chosen, const std::string& lacking,
                        const std::string& profile, const std::string& why) {
  std::string reason = candidates[chosen].label;
  if (chosen > 0) reason += "; " + PassedOver(candidates, chosen, lacking);
  if (!profile.empty()) reason += "; profile " + Quoted(profile) + ": " + why;
  return reason;
}

const BrowserFolder& FallbackFolder(const std::vector<BrowserFolder>& candidates) {
  auto present = std::find_if(candidates.begin(), candidates.end(), [](const auto& c) { return Exists(c.folder); });
  return present != candidates.end() ? *present : candidates.front();
}

std::string NotFoundReason(const std::vector<BrowserFolder>& candidates, const std::string& lacking) {
  return "nothing found: " + PassedOver(candidates, candidates.size(), lacking);
}

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

std::optional<fs::path> ExistingProfileFolder(const fs::path& iniFolder, const std::string& path, bool isRelative) {
  fs::path p = isRelative ? iniFolder / path : fs::path(path);
  std::error_code ec;
  if (fs::is_directory(p, ec)) return p;
  return std::nullopt;
}

}  // namespace

std::optional<ProfilePick> PickChromiumProfile(const fs::path& userData, const std::string& requested) {
  const LocalState state = ReadLocalState(userData);
  if (!requested.empty()) {
    if (IsPlainFolderName(requested) && HoldsChromiumBookmarks(userData / requested)) return ProfilePick{requested, "asked for"};
    for (const auto& [folder, shown] : state.shownNames)
      if (shown == requested && IsPlainFolderName(folder) && HoldsChromiumBookmarks(userData / folder))
        return ProfilePick{folder, "asked for as " + Quoted(requested)};
    return std::nullopt;
  }
  if (IsPlainFolderName(state.lastUsed) && HoldsChromiumBookmarks(userData / state.lastUsed))
    return ProfilePick{state.lastUsed, "last used"};
  if (HoldsChromiumBookmarks(userData / "Default")) return ProfilePick{"Default", "the default profile"};
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(userData, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(ec) && HoldsChromiumBookmarks(entry.path())) names.push_back(name);
  }
  if (names.empty()) return std::nullopt;
  return ProfilePick{*std::min_element(names.begin(), names.end()), "the first profile with bookmarks"};
}

BrowserChoice ChooseChromiumFolder(const std::vector<BrowserFolder>& candidates, const std::string& requested) {
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const auto pick = PickChromiumProfile(candidates[i].folder, requested);
    if (!pick) continue;
    return {candidates[i].label, candidates[i].folder, pick->name, candidates[i].folder / pick->name / "Bookmarks", true,
            FoundReason(candidates, i, "bookmarks", pick->name, pick->why)};
  }
  const BrowserFolder& fallback = FallbackFolder(candidates);
  if (requested.empty())
    return {fallback.label, fallback.folder, "Default", fallback.folder / "Default" / "Bookmarks", false,
            NotFoundReason(candidates, "bookmarks")};
  // A profile asked for is never swapped for another; a name that is no folder name reads nothing.
  const std::string profile = IsPlainFolderName(requested) ? requested : "";
  return {fallback.label, fallback.folder, profile, profile.empty() ? fs::path() : fallback.folder / profile / "Bookmarks",
          false, "profile " + Quoted(requested) + " asked for; " + NotFoundReason(candidates, "bookmarks")};
}

BrowserChoice ChooseSingleProfileFolder(const std::vector<BrowserFolder>& candidates) {
  for (std::size_t i = 0; i < candidates.size(); ++i)
    if (Exists(candidates[i].folder / "Bookmarks"))
      return {candidates[i].label, candidates[i].folder, "", candidates[i].folder / "Bookmarks", true,
              FoundReason(candidates, i, "bookmarks", "", "")};
  const BrowserFolder& fallback = FallbackFolder(candidates);
  return {fallback.label, fallback.folder, "", fallback.folder / "Bookmarks", false,
          NotFoundReason(candidates, "bookmarks")};
}

std::optional<FirefoxProfilePick> PickFirefoxProfile(const fs::path& profilesFolder, const fs::path& iniFolder) {
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
    if (auto p = ExistingProfileFolder(iniFolder, it->second, relative))
      return FirefoxProfilePick{*p, "the installation's default"};
  }
  for (const auto& s : sections) {
    if (s.name.rfind("Profile", 0) != 0) continue;
    auto d = s.values.find("Default");
    auto path = s.values.find("Path");
    if (d == s.values.end() || d->second != "1" || path == s.values.end()) continue;
    auto rel = s.values.find("IsRelative");
    bool relative = rel == s.values.end() || rel->second != "0";
    if (auto p = ExistingProfileFolder(iniFolder, path->second, relative))
      return FirefoxProfilePick{*p, "the default profile"};
  }

  // Where profiles.ini sits in the profiles folder itself (Linux), the folder also
  // holds "Crash Reports" and the ini files: only profile folders count there.
  const bool sharedFolder = fs::equivalent(profilesFolder, iniFolder, ec);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(profilesFolder, ec)) {
    std::string name = entry.path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    if (sharedFolder && !Exists(entry.path() / "places.sqlite")) continue;
    names.push_back(name);
  }
  if (names.empty()) return std::nullopt;
  return FirefoxProfilePick{profilesFolder / *std::min_element(names.begin(), names.end()), "the first profile by name"};
}

BrowserChoice ChooseFirefoxFolder(const std::vector<BrowserFolder>& candidates) {
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const fs::path& folder = candidates[i].folder;
    if (!Exists(folder / "profiles.ini")) continue;
    const auto pick = PickFirefoxProfile(folder, folder);
    if (!pick || !Exists(pick->folder / "places.sqlite")) continue;
    const std::string profile = pick->folder.lexically_relative(folder).string();
    return {candidates[i].label, folder, profile, pick->folder / "places.sqlite", true,
            FoundReason(candidates, i, "usable profile", profile, pick->why)};
  }
  const BrowserFolder& fallback = FallbackFolder(candidates);
  const auto pick = PickFirefoxProfile(fallback.folder, fallback.folder);
  return {fallback.label, fallback.folder, pick ? pick->folder.lexically_relative(fallback.folder).string() : "",
          pick ? pick->folder / "places.sqlite" : fs::path(), false, NotFoundReason(candidates, "usable profile")};
}

}  // namespace linvara
