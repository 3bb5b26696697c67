#pragma once
// Which of the places a browser may keep its files (its own package, snap,
// Flatpak) holds the user's bookmarks, which profile in it, and why.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace linvara {

// One place a browser may keep its data.
struct BrowserFolder {
  std::string label;             // "Chromium", "snap Firefox"
  std::filesystem::path folder;  // the user-data folder, or for Firefox the folder holding profiles.ini
};

struct BrowserChoice {
  std::string label;
  std::filesystem::path folder;
  std::string profile;         // profile folder name; empty where the browser keeps one profile at the top
  std::filesystem::path file;  // the bookmark file to read
  bool found = false;          // some candidate holds a bookmark file
  std::string reason;          // "Chromium; Google Chrome not present; profile \"Default\": last used"
};

struct ProfilePick {
  std::string name;  // folder name
  std::string why;
};

// The Chromium-family profile to read in a user-data folder: `requested` (a
// folder name, or the name the browser shows for it) when given; otherwise
// the profile Local State names as last used, else "Default", else the first
// profile folder by name. Only a profile holding "Bookmarks" counts; nullopt
// when none does.
std::optional<ProfilePick> PickChromiumProfile(const std::filesystem::path& userData,
                                               const std::string& requested = {});

// The first candidate with a profile holding "Bookmarks". When none holds one:
// the first candidate that exists (else the first), with `requested` or
// "Default"; no file for a requested name that is not a folder name.
BrowserChoice ChooseChromiumFolder(const std::vector<BrowserFolder>& candidates, const std::string& requested = {});

// For a browser that keeps its one profile at the top of its folder (Opera).
BrowserChoice ChooseSingleProfileFolder(const std::vector<BrowserFolder>& candidates);

// Firefox's default-profile rule inside one folder: the default named by
// profiles.ini (an [Install…] section's Default=, else the [Profile…] with
// Default=1); otherwise the first entry, sorted by name, of `profilesFolder`
// not starting with "." (where the two folders are one, only folders holding
// places.sqlite count). nullopt: no profile.
struct FirefoxProfilePick {
  std::filesystem::path folder;
  std::string why;
};
std::optional<FirefoxProfilePick> PickFirefoxProfile(const std::filesystem::path& profilesFolder,
                                                     const std::filesystem::path& iniFolder);

// The first candidate with a profiles.ini whose chosen profile holds
// places.sqlite. When none does: the first candidate that exists (else the
// first), with whatever profile the rule gives there.
BrowserChoice ChooseFirefoxFolder(const std::vector<BrowserFolder>& candidates);

}  // namespace linvara
