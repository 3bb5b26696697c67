#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Locations.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::TempDir;
using linvara::testing::WriteText;

TEST(Locations, MacOSLayoutUnderHome) {
  Locations loc = Locations::ForHome("/tmp/h", Layout::MacOS);
  EXPECT_EQ(loc.dataFolder(), "/tmp/h/Library/Application Support/Linvara");
  EXPECT_EQ(loc.backupFolder(), "/tmp/h/Library/Application Support/Linvara/Backup");
  EXPECT_EQ(loc.safariWorkingCopy(), "/tmp/h/Library/Application Support/Linvara/Bookmarks.plist");
  EXPECT_EQ(loc.chromeWorkingCopy(), "/tmp/h/Library/Application Support/Linvara/Bookmarks");
  EXPECT_EQ(loc.safariBookmarks(), "/tmp/h/Library/Safari/Bookmarks.plist");
  EXPECT_EQ(loc.chromeDefaultBookmarks(), "/tmp/h/Library/Application Support/Google/Chrome/Default/Bookmarks");
  EXPECT_EQ(loc.chromeProfile2Bookmarks(),
            "/tmp/h/Library/Application Support/Google/Chrome/Profile 2/Default/Bookmarks");
  EXPECT_EQ(loc.edgeBookmarks(), "/tmp/h/Library/Application Support/Microsoft Edge/Default/Bookmarks");
  EXPECT_EQ(loc.operaBookmarks(), "/tmp/h/Library/Application Support/com.operasoftware.Opera/Bookmarks");
  EXPECT_EQ(loc.firefoxProfilesFolder(), "/tmp/h/Library/Application Support/Firefox/Profiles");
  EXPECT_EQ(loc.safariCookies(), "/tmp/h/Library/Cookies/Cookies.binarycookies");
  EXPECT_EQ(loc.preferencesFile(), "/tmp/h/Library/Preferences/com.zelvane.linvara.plist");
  EXPECT_EQ(loc.cookieExportFolder(), "/tmp/h/Downloads/com.Zelvane.Crumbscope");
  EXPECT_EQ(loc.encryptedMarkers(), (std::vector<std::string>{"file:///tmp/h/Library/Application"}));
}

TEST(Locations, LinuxLayoutUsesBrowsersOwnFoldersAndXdg) {
  Locations loc = Locations::ForHome("/tmp/h", Layout::Linux);
  EXPECT_TRUE(loc.safariBookmarks().empty());
  EXPECT_TRUE(loc.safariCookies().empty());
  EXPECT_EQ(loc.chromeDefaultBookmarks(), "/tmp/h/.config/google-chrome/Default/Bookmarks");
  EXPECT_EQ(loc.chromeProfile2Bookmarks(), "/tmp/h/.config/google-chrome/Profile 2/Bookmarks");
  EXPECT_EQ(loc.edgeBookmarks(), "/tmp/h/.config/microsoft-edge/Default/Bookmarks");
  EXPECT_EQ(loc.operaBookmarks(), "/tmp/h/.config/opera/Bookmarks");
  EXPECT_EQ(loc.firefoxProfilesFolder(), "/tmp/h/.mozilla/firefox");
  EXPECT_EQ(loc.dataFolder(), "/tmp/h/.local/share/Linvara");
  EXPECT_EQ(loc.preferencesFile(), "/tmp/h/.config/linvara/preferences.plist");
  EXPECT_EQ(loc.chromeCookies(), "/tmp/h/.config/google-chrome/Default/Cookies");
  // The marker follows the data folder; a Safari file from a Mac still carries the macOS form.
  EXPECT_EQ(loc.encryptedMarkers(), (std::vector<std::string>{"file:///tmp/h/.local/share/Linvara",
                                                              "file:///tmp/h/Library/Application"}));

  LocationsOptions o;
  o.home = "/tmp/h";
  o.layout = Layout::Linux;
  o.xdgDataHome = "/xdg/data";
  o.xdgConfigHome = "/xdg/config";
  Locations xdg(o);
  EXPECT_EQ(xdg.dataFolder(), "/xdg/data/Linvara");
  EXPECT_EQ(xdg.chromeDefaultBookmarks(), "/xdg/config/google-chrome/Default/Bookmarks");
  EXPECT_EQ(xdg.encryptedMarkers().front(), "file:///xdg/data/Linvara");
}

TEST(Locations, ChromeFileChoice) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  EXPECT_EQ(loc.ChooseChromeBookmarks(), loc.chromeDefaultBookmarks()) << "nothing there: keep Default";
  WriteText(loc.chromeProfile2Bookmarks(), "{}");
  EXPECT_EQ(loc.ChooseChromeBookmarks(), loc.chromeProfile2Bookmarks()) << "only Profile 2 exists";
  WriteText(loc.chromeDefaultBookmarks(), "{}");
  EXPECT_EQ(loc.ChooseChromeBookmarks(), loc.chromeDefaultBookmarks()) << "Default wins when both exist";
}

TEST(Locations, ChromeCookiesFallBackToNetworkFolder) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  fs::path chrome = home / "Library/Application Support/Google/Chrome/Default";
  WriteText(chrome / "Network/Cookies", "x");
  EXPECT_EQ(loc.chromeCookies(), chrome / "Network/Cookies");
  WriteText(chrome / "Cookies", "x");
  EXPECT_EQ(loc.chromeCookies(), chrome / "Cookies");
}

TEST(FirefoxProfileChoice, DotEntriesOnlyGiveNoProfile) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  EXPECT_FALSE(loc.ChooseFirefoxPlaces()) << "no profiles folder";
  fs::create_directories(loc.firefoxProfilesFolder() / ".hidden");
  WriteText(loc.firefoxProfilesFolder() / ".DS_Store", "");
  EXPECT_FALSE(loc.ChooseFirefoxPlaces());
}

TEST(FirefoxProfileChoice, ListingIsSortedByName) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  for (const char* name : {"zzzz.old", "bbbb.work", "aaaa.default"})
    fs::create_directories(loc.firefoxProfilesFolder() / name);
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), loc.firefoxProfilesFolder() / "aaaa.default" / "places.sqlite");
}

TEST(FirefoxProfileChoice, ProfilesIniDefaultIsHonoured) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  fs::path profiles = loc.firefoxProfilesFolder();
  for (const char* name : {"aaaa.stale", "mmmm.default-release", "zzzz.dev"}) fs::create_directories(profiles / name);
  // A [Profile] with Default=1 is used when no [Install] section names one.
  WriteText(loc.firefoxIniFolder() / "profiles.ini",
            "[Profile1]\nName=dev\nIsRelative=1\nPath=Profiles/zzzz.dev\nDefault=1\n\n"
            "[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/mmmm.default-release\n");
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), profiles / "zzzz.dev" / "places.sqlite");
  // An [Install…] section wins over Default=1.
  WriteText(loc.firefoxIniFolder() / "profiles.ini",
            "[Install4F96D1932A9F858E]\nDefault=Profiles/mmmm.default-release\nLocked=1\n\n"
            "[Profile1]\nName=dev\nIsRelative=1\nPath=Profiles/zzzz.dev\nDefault=1\n");
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), profiles / "mmmm.default-release" / "places.sqlite");
  // A default naming a missing folder falls back to the sorted listing.
  WriteText(loc.firefoxIniFolder() / "profiles.ini", "[Profile0]\nPath=Profiles/gone\nIsRelative=1\nDefault=1\n");
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), profiles / "aaaa.stale" / "places.sqlite");
}

TEST(FirefoxProfileChoice, LinuxFolderSkipsNonProfiles) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::Linux);
  fs::path ff = loc.firefoxProfilesFolder();
  fs::create_directories(ff / "Crash Reports");
  fs::create_directories(ff / "Pending Pings");
  WriteText(ff / "installs.ini", "");
  WriteText(ff / "x1y2.default-release" / "places.sqlite", "");
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), ff / "x1y2.default-release" / "places.sqlite");
}

TEST(FirefoxProfileChoice, ProfilesIniThatIsNoFileIsIgnoredAtOnce) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  fs::create_directories(loc.firefoxProfilesFolder() / "aaaa.default");
  ASSERT_EQ(::mkfifo((loc.firefoxIniFolder() / "profiles.ini").c_str(), 0600), 0);
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), loc.firefoxProfilesFolder() / "aaaa.default" / "places.sqlite");
}
