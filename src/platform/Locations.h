#pragma once
// Every path Linvara reads or writes, computed from a home folder and a layout.
// Layout MacOS uses the browsers' macOS locations under the home folder;
// Layout Linux uses the XDG folders and, for each browser, the first of its
// places (its own package, snap, Flatpak) that holds the user's bookmarks.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/BrowserChoice.h"
#include "platform/ProfileLocks.h"

namespace linvara {

enum class Layout { MacOS, Linux };

std::optional<Layout> ParseLayout(const std::string& name);  // "macos" / "linux"
std::string LayoutName(Layout layout);
Layout HostLayout();

// Profiles the user names instead of the automatic choice.
struct ProfileOverrides {
  std::string chromeProfile;             // a Chrome profile folder name, or the name Chrome shows for it
  std::filesystem::path firefoxProfile;  // a Firefox profile folder; relative: to the working folder, else
                                         // to the Firefox folder chosen
};

struct LocationsOptions {
  std::filesystem::path home;
  Layout layout = HostLayout();
  // XDG folders (Linux layout); empty means home/.local/share and home/.config.
  std::filesystem::path xdgDataHome;
  std::filesystem::path xdgConfigHome;
  ProfileOverrides overrides;
};

class Locations {
 public:
  explicit Locations(LocationsOptions options);
  // From the process environment: $HOME, the host layout and $XDG_* variables.
  static Locations FromEnvironment();
  // For an explicit --home: the XDG folders are taken below that home, never from the environment.
  static Locations ForHome(const std::filesystem::path& home, Layout layout);

  const std::filesystem::path& home() const { return options_.home; }
  Layout layout() const { return options_.layout; }
  Locations WithOverrides(ProfileOverrides overrides) const;

  // Data folder, its "Backup" folder and the two working copies.
  std::filesystem::path dataFolder() const;
  std::filesystem::path backupFolder() const;
  std::filesystem::path safariWorkingCopy() const;
  std::filesystem::path chromeWorkingCopy() const;

  // Browser files. An empty path means the layout has no such browser file (Safari off macOS).
  std::filesystem::path safariBookmarks() const;
  // "Default" and "Profile 2" in the Chrome folder (on Linux: the one chosen).
  std::filesystem::path chromeDefaultBookmarks() const;
  std::filesystem::path chromeProfile2Bookmarks() const;
  // macOS: "Default" when a file is there; else "Profile 2" when only it exists; else "Default".
  // Linux: the file of ChromeChoice(). An override names the profile in either layout.
  std::filesystem::path ChooseChromeBookmarks() const;
  std::filesystem::path edgeBookmarks() const;
  std::filesystem::path operaBookmarks() const;
  std::filesystem::path firefoxProfilesFolder() const;
  // The folder holding profiles.ini (beside or equal to the profiles folder).
  std::filesystem::path firefoxIniFolder() const;
  // The places file of the chosen profile, or nullopt when there is no profile.
  std::optional<std::filesystem::path> ChooseFirefoxPlaces() const;

  // Each browser's folder and profile with the reason for the choice. On
  // macOS one folder per browser; on Linux the first of the candidates that
  // holds bookmarks: Chrome from Google Chrome, Flatpak Chrome, Chromium, snap
  // Chromium, Flatpak Chromium; Firefox from ~/.mozilla/firefox, snap,
  // Flatpak, ~/.config/mozilla/firefox; Edge and Opera from theirs and Flatpak.
  BrowserChoice ChromeChoice() const;
  BrowserChoice FirefoxChoice() const;
  BrowserChoice EdgeChoice() const;
  BrowserChoice OperaChoice() const;

  // Linux: the locks a running browser holds on the profiles chosen.
  std::vector<ProfileLock> ProfileLocks() const;

  std::filesystem::path safariCookies() const;
  // Chrome's cookie database: "Default/Cookies", else "Default/Network/Cookies" when only it exists.
  std::filesystem::path chromeCookies() const;

  std::filesystem::path preferencesFile() const;
  std::filesystem::path cookieExportFolder() const;
  std::filesystem::path downloadsFolder() const;

  // Backup file names inside backupFolder().
  static constexpr const char* kSafariBackupName = "Bookmarks.plist";
  static constexpr const char* kChromeBackupName = "Chrome_Bookmarks";
  static constexpr const char* kFirefoxBackupName = "places.sqlite";
  static constexpr const char* kOperaBackupName = "Opera_Bookmarks";

  // Address prefixes that mark a bookmark replaced by a local encrypted page
  // (compared without regard to case): the layout's own first, built from its
  // data folder ("file://" + home + "/Library/Application" on macOS,
  // "file://" + dataFolder() on Linux), then the macOS form, which a Safari
  // file brought over from a Mac carries.
  std::vector<std::string> encryptedMarkers() const;

  // Every resolved location, named, in a fixed order (for `linvara-cli paths`),
  // then "chrome", "firefox", "edge" and "opera": the folder chosen and why.
  std::vector<std::pair<std::string, std::string>> Describe() const;

 private:
  std::filesystem::path xdgData() const;
  std::filesystem::path xdgConfig() const;
  std::filesystem::path chromeFolder() const;
  BrowserChoice AutomaticFirefoxChoice() const;
  std::optional<std::filesystem::path> FirefoxOverrideFolder() const;
  LocationsOptions options_;
};

// Firefox's default-profile rule (PickFirefoxProfile), the profile folder only.
std::optional<std::filesystem::path> ChooseFirefoxProfile(const std::filesystem::path& profilesFolder,
                                                          const std::filesystem::path& iniFolder);

}  // namespace linvara
