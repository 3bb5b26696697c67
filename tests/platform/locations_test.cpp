#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Locations.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::TempDir;
using linvara::testing::WriteText;

TEST(Locations, EachLayoutPutsTheFilesUnderHome) {
  // Paths below the home folder, "" for none; "AS/" stands for "Library/Application Support/".
  struct Row {
    fs::path (Locations::*path)() const;
    std::string onMacOS, onLinux;
  };
  const Row rows[] = {
      {&Locations::dataFolder, "AS/Linvara", ".local/share/Linvara"},
      {&Locations::backupFolder, "AS/Linvara/Backup", ".local/share/Linvara/Backup"},
      {&Locations::safariBookmarks, "Library/Safari/Bookmarks.plist", ""},
      {&Locations::chromeDefaultBookmarks, "AS/Google/Chrome/Default/Bookmarks",
       ".config/google-chrome/Default/Bookmarks"},
      {&Locations::chromeProfile2Bookmarks, "AS/Google/Chrome/Profile 2/Default/Bookmarks",
       ".config/google-chrome/Profile 2/Bookmarks"},
      {&Locations::edgeBookmarks, "AS/Microsoft Edge/Default/Bookmarks", ".config/microsoft-edge/Default/Bookmarks"},
      {&Locations::operaBookmarks, "AS/com.operasoftware.Opera/Bookmarks", ".config/opera/Bookmarks"},
      {&Locations::firefoxProfilesFolder, "AS/Firefox/Profiles", ".mozilla/firefox"},
      {&Locations::safariCookies, "Library/Cookies/Cookies.binarycookies", ""},
      {&Locations::chromeCookies, "AS/Google/Chrome/Default/Cookies", ".config/google-chrome/Default/Cookies"},
      {&Locations::preferencesFile, "Library/Preferences/com.zelvane.linvara.plist",
       ".config/linvara/preferences.plist"},
      {&Locations::cookieExportFolder, "Downloads/com.Zelvane.Crumbscope", "Downloads/com.Zelvane.Crumbscope"},
  };
  const Locations onMacOS = Locations::ForHome("/tmp/h", Layout::MacOS);
  const Locations onLinux = Locations::ForHome("/tmp/h", Layout::Linux);
  auto under = [](std::string relative) {
    if (relative.rfind("AS/", 0) == 0) relative.replace(0, 3, "Library/Application Support/");
    return relative.empty() ? fs::path() : "/tmp/h" / fs::path(relative);
  };
  for (const Row& row : rows) {
    EXPECT_EQ((onMacOS.*row.path)(), under(row.onMacOS));
    EXPECT_EQ((onLinux.*row.path)(), under(row.onLinux));
  }
  EXPECT_EQ(onMacOS.encryptedMarkers(), (std::vector<std::string>{"file:///tmp/h/Library/Application"}));
  // The marker follows the data folder; a Safari file from a Mac still carries the macOS form.
  EXPECT_EQ(onLinux.encryptedMarkers(), (std::vector<std::string>{"file:///tmp/h/.local/share/Linvara",
                                                                "file:///tmp/h/Library/Application"}));
}

TEST(Locations, LinuxLayoutFollowsXdgFolders) {
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

TEST(Locations, ChromeFilesFallBackOnlyWhenTheFirstChoiceIsMissing) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  EXPECT_EQ(loc.ChooseChromeBookmarks(), loc.chromeDefaultBookmarks()) << "nothing there: keep Default";
  WriteText(loc.chromeProfile2Bookmarks(), "{}");
  EXPECT_EQ(loc.ChooseChromeBookmarks(), loc.chromeProfile2Bookmarks()) << "only Profile 2 exists";
  WriteText(loc.chromeDefaultBookmarks(), "{}");
  EXPECT_EQ(loc.ChooseChromeBookmarks(), loc.chromeDefaultBookmarks()) << "Default wins when both exist";
  const fs::path chrome = loc.chromeDefaultBookmarks().parent_path();
  WriteText(chrome / "Network/Cookies", "x");
  EXPECT_EQ(loc.chromeCookies(), chrome / "Network/Cookies");
  WriteText(chrome / "Cookies", "x");
  EXPECT_EQ(loc.chromeCookies(), chrome / "Cookies");
}

TEST(FirefoxProfileChoice, WithoutADefaultTheFirstProfileByNameIsChosen) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  const fs::path profiles = loc.firefoxProfilesFolder();
  EXPECT_FALSE(loc.ChooseFirefoxPlaces()) << "no profiles folder";
  fs::create_directories(profiles / ".hidden");
  WriteText(profiles / ".DS_Store", "");
  EXPECT_FALSE(loc.ChooseFirefoxPlaces()) << "dot entries are no profiles";
  for (const char* name : {"zzzz.old", "bbbb.work", "aaaa.default"}) fs::create_directories(profiles / name);
  // A profiles.ini that is no file is passed over at once, without blocking.
  ASSERT_EQ(::mkfifo((loc.firefoxIniFolder() / "profiles.ini").c_str(), 0600), 0);
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), profiles / "aaaa.default" / "places.sqlite");
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
  WriteText(ff / "installs.ini", "");
  WriteText(ff / "x1y2.default-release" / "places.sqlite", "");
  EXPECT_EQ(*loc.ChooseFirefoxPlaces(), ff / "x1y2.default-release" / "places.sqlite");
}
