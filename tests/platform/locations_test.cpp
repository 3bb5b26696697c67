#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

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

// Linux homes as snap, Flatpak and distribution packages leave them; "=" files are the chosen ones.
struct LinuxHome {
  const char* layout;
  std::vector<std::pair<std::string, std::string>> files;  // below home, with their text
  ProfileOverrides overrides;
  std::map<std::string, std::string> expected;  // chrome, firefox, edge, opera, cookies: below home; why: the reason
};

TEST(LinuxLocations, EachBrowserIsFoundWhereItsPackageKeepsIt) {
  const std::string ff = ".mozilla/firefox/", snapFf = "snap/firefox/common/.mozilla/firefox/";
  const std::string flatFf = ".var/app/org.mozilla.firefox/.mozilla/firefox/";
  const std::string ini = "[Profile0]\nPath=p.default\nIsRelative=1\nDefault=1\n";
  const std::string lastUsed3 =
      R"({"profile":{"last_used":"Profile 3","info_cache":{"Profile 7":{"name":"Work"},"Profile 3":{"name":"Me"}}}})";
  const std::vector<LinuxHome> homes = {
      {"nothing installed", {}, {}, {{"chrome", ".config/google-chrome/Default/Bookmarks"}, {"firefox", ""},
                                      {"edge", ".config/microsoft-edge/Default/Bookmarks"}, {"opera", ".config/opera/Bookmarks"},
                                      {"why", "nothing found: Google Chrome not present, Flatpak Chrome not present, "
                                              "Chromium not present, snap Chromium not present, Flatpak Chromium not present"}}},
      {"snap",
       {{"snap/chromium/common/chromium/Default/Bookmarks", "{}"}, {snapFf + "profiles.ini", ini},
        {snapFf + "p.default/places.sqlite", ""}, {"snap/chromium/common/chromium/Default/Network/Cookies", ""}},
       {},
       {{"chrome", "snap/chromium/common/chromium/Default/Bookmarks"}, {"firefox", snapFf + "p.default/places.sqlite"},
        {"cookies", "snap/chromium/common/chromium/Default/Network/Cookies"}}},
      {"Flatpak",
       {{".var/app/com.google.Chrome/config/google-chrome/Default/Bookmarks", "{}"},
        {".var/app/com.microsoft.Edge/config/microsoft-edge/Default/Bookmarks", "{}"},
        {".var/app/com.opera.Opera/config/opera/Bookmarks", "{}"}, {flatFf + "profiles.ini", ini},
        {flatFf + "p.default/places.sqlite", ""}},
       {},
       {{"chrome", ".var/app/com.google.Chrome/config/google-chrome/Default/Bookmarks"},
        {"edge", ".var/app/com.microsoft.Edge/config/microsoft-edge/Default/Bookmarks"},
        {"opera", ".var/app/com.opera.Opera/config/opera/Bookmarks"}, {"firefox", flatFf + "p.default/places.sqlite"}}},
      {"Chromium, and a Chrome folder without bookmarks",
       {{".config/google-chrome/Local State", "{}"}, {".config/chromium/Default/Bookmarks", "{}"},
        {"snap/chromium/common/chromium/Default/Bookmarks", "{}"}},
       {},
       {{"chrome", ".config/chromium/Default/Bookmarks"},
        {"why", "Chromium; Google Chrome has no bookmarks, Flatpak Chrome not present; "
                "profile \"Default\": the default profile"}}},
      {"Chrome before Chromium",
       {{".config/google-chrome/Default/Bookmarks", "{}"}, {".config/chromium/Default/Bookmarks", "{}"}},
       {},
       {{"chrome", ".config/google-chrome/Default/Bookmarks"}}},
      {"the profile Chrome used last",
       {{".config/google-chrome/Local State", lastUsed3}, {".config/google-chrome/Default/Bookmarks", "{}"},
        {".config/google-chrome/Profile 3/Bookmarks", "{}"}, {".config/google-chrome/Profile 3/Cookies", ""}},
       {},
       {{"chrome", ".config/google-chrome/Profile 3/Bookmarks"}, {"cookies", ".config/google-chrome/Profile 3/Cookies"},
        {"why", "Google Chrome; profile \"Profile 3\": last used"}}},
      {"a last-used profile without bookmarks",
       {{".config/google-chrome/Local State", lastUsed3}, {".config/google-chrome/Default/Bookmarks", "{}"}},
       {},
       {{"chrome", ".config/google-chrome/Default/Bookmarks"}}},
      {"no Default: the first profile by name",
       {{".config/google-chrome/Profile 5/Bookmarks", "{}"}, {".config/google-chrome/Profile 2/Bookmarks", "{}"},
        {".config/google-chrome/Guest Profile/Preferences", "{}"}},
       {},
       {{"chrome", ".config/google-chrome/Profile 2/Bookmarks"}}},
      {"a profile asked for by folder",
       {{".config/google-chrome/Default/Bookmarks", "{}"}, {".config/chromium/Profile 5/Bookmarks", "{}"}},
       {"Profile 5", {}},
       {{"chrome", ".config/chromium/Profile 5/Bookmarks"}}},
      {"a profile asked for by the name Chrome shows",
       {{".config/google-chrome/Local State", lastUsed3}, {".config/google-chrome/Profile 3/Bookmarks", "{}"},
        {".config/google-chrome/Profile 7/Bookmarks", "{}"}},
       {"Work", {}},
       {{"chrome", ".config/google-chrome/Profile 7/Bookmarks"}}},
      {"a profile asked for that is nowhere",
       {{".config/chromium/Default/Bookmarks", "{}"}},
       {"Gone", {}},
       {{"chrome", ".config/chromium/Gone/Bookmarks"}}},
      {"a path asked for as a profile", {{".config/chromium/Default/Bookmarks", "{}"}}, {"../chromium/Default", {}},
       {{"chrome", ""}}},
      {"Firefox folder entries that are no profiles passed over",
       {{ff + "Crash Reports/InstallTime", ""}, {ff + "installs.ini", ""}, {ff + "x1y2.default-release/places.sqlite", ""}},
       {},
       {{"firefox", ff + "x1y2.default-release/places.sqlite"}}},
      {"Firefox without places passed over",
       {{ff + "profiles.ini", ini}, {ff + "p.default/prefs.js", ""}, {snapFf + "profiles.ini", ini},
        {snapFf + "p.default/places.sqlite", ""}},
       {},
       {{"firefox", snapFf + "p.default/places.sqlite"}}},
      {"a Firefox profile asked for by name",
       {{ff + "profiles.ini", ini}, {ff + "p.default/places.sqlite", ""}, {ff + "q.work/places.sqlite", ""}},
       {"", "q.work"},
       {{"firefox", ff + "q.work/places.sqlite"}}},
  };
  for (const LinuxHome& h : homes) {
    SCOPED_TRACE(h.layout);
    TempDir home;
    for (const auto& [file, text] : h.files) WriteText(home / file, text);
    const Locations loc = Locations::ForHome(home.path(), Layout::Linux).WithOverrides(h.overrides);
    auto below = [&](const std::string& relative) { return relative.empty() ? fs::path() : home / relative; };
    const std::map<std::string, fs::path> found = {
        {"chrome", loc.ChooseChromeBookmarks()},   {"firefox", loc.ChooseFirefoxPlaces().value_or(fs::path())},
        {"edge", loc.edgeBookmarks()},             {"opera", loc.operaBookmarks()},
        {"cookies", loc.chromeCookies()},
    };
    for (const auto& [what, expected] : h.expected)
      if (what == "why")
        EXPECT_EQ(loc.ChromeChoice().reason, expected);
      else
        EXPECT_EQ(found.at(what), below(expected)) << what;
  }
}

TEST(LinuxLocations, AFirefoxProfileAskedForByPathIsReadWhereverItIs) {
  TempDir home, elsewhere;
  WriteText(elsewhere / "kept/places.sqlite", "");
  const Locations loc = Locations::ForHome(home.path(), Layout::Linux).WithOverrides({"", elsewhere / "kept/"});
  EXPECT_EQ(loc.ChooseFirefoxPlaces(), elsewhere / "kept/places.sqlite");
  EXPECT_EQ(loc.firefoxProfilesFolder(), elsewhere.path()) << "the reader needs the folder holding it";
}
