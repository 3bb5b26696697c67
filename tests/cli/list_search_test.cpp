// linvara-cli list and search over the demo profile and the real browser files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "cli/CommandRegistry.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun RunCommand(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int code = cli::RunCli(args, out, err);
  return {code, out.str(), err.str()};
}

class DemoHome : public ::testing::Test {
 protected:
  void SetUp() override {
    auto made = RunCommand({"make-demo", home_.path().string()});
    ASSERT_EQ(made.code, 0) << made.err;
  }
  CliRun Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home_.path().string(), "--layout", "macos"});
    return RunCommand(args);
  }
  Json CliJson(std::vector<std::string> args) {
    CliRun r = Cli(std::move(args));
    EXPECT_EQ(r.code, 0) << r.err;
    return Json::parse(r.out);
  }
  TempDir home_;
};

std::vector<std::string> Field(const Json& array, const char* key) {
  std::vector<std::string> out;
  for (const auto& j : array) out.push_back(j[key].is_null() ? "null" : j[key].get<std::string>());
  return out;
}

const std::vector<std::string> kNodeKeys = {"kind",      "title",    "url",      "path",    "browser",
                                            "uuid",      "dateAdded", "favorite", "encrypted"};

std::vector<std::string> Keys(const Json& object) {
  std::vector<std::string> keys;
  for (const auto& [k, v] : object.items()) keys.push_back(k);
  return keys;
}

TEST_F(DemoHome, FlatListIsTheUnifiedListInReadingOrder) {
  Json all = CliJson({"list", "--flat", "--json"});
  ASSERT_TRUE(all.is_array());
  // Safari 16, Chrome 8, Firefox 11, Opera 4, Edge 4.
  EXPECT_EQ(all.size(), 43u);
  std::vector<std::string> browsers;
  for (const auto& j : all) {
    EXPECT_EQ(Keys(j), kNodeKeys);
    EXPECT_EQ(j["kind"], "bookmark");
    if (browsers.empty() || browsers.back() != j["browser"]) browsers.push_back(j["browser"]);
  }
  EXPECT_EQ(browsers, (std::vector<std::string>{"Safari", "Chrome", "Firefox", "Opera", "Microsoft Edge"}));
  EXPECT_EQ(all[0]["title"], "Apple");
  EXPECT_EQ(all[0]["path"], "/Favorites Bar");
  EXPECT_EQ(all[0]["favorite"], true);
  EXPECT_TRUE(all[0]["dateAdded"].is_null());
  int encrypted = 0;
  for (const auto& j : all) encrypted += j["encrypted"].get<bool>() ? 1 : 0;
  EXPECT_EQ(encrypted, 1);
  const Json& chromeFirst = all[16];
  EXPECT_EQ(chromeFirst["title"], "GitHub");
  EXPECT_EQ(chromeFirst["path"], "/Bookmarks bar");
  EXPECT_TRUE(chromeFirst["dateAdded"].is_string());
  // Firefox's tag entries (no title of their own: " ") are no bookmarks.
  int untitled = 0;
  for (const auto& j : all) untitled += j["title"] == " " ? 1 : 0;
  EXPECT_EQ(untitled, 0);
}

TEST_F(DemoHome, TreeModeNestsChildrenUnderFoldersOnly) {
  Json top = CliJson({"list", "--json"});
  // Safari 7, Chrome 3, Edge 3, Firefox 4 (no tags root), Opera 2.
  EXPECT_EQ(Field(top, "browser").size(), 19u);
  EXPECT_EQ(top[1]["title"], "Favorites Bar");
  EXPECT_EQ(top[1]["kind"], "folder");
  ASSERT_TRUE(top[1].contains("children"));
  const Json& dev = top[1]["children"][3];
  EXPECT_EQ(dev["title"], "Dev");
  EXPECT_EQ(dev["path"], "/Favorites Bar");
  EXPECT_EQ(dev["children"][0]["children"][1]["title"], "SQLite Documentation");
  EXPECT_EQ(dev["children"][0]["children"][1]["path"], "/Favorites Bar/Dev/Docs");
  for (const auto& node : top) {
    if (node["kind"] == "folder") EXPECT_TRUE(node["children"].is_array());
    else EXPECT_FALSE(node.contains("children"));
  }
  EXPECT_EQ(top.back()["title"], "Speed dial help");
  EXPECT_EQ(top.back()["path"], "");

  CliRun text = Cli({"list"});
  EXPECT_NE(text.out.find("Favorites Bar/  [Safari] [favorite]\n  Apple  https://www.apple.com/"), std::string::npos);
  EXPECT_NE(text.out.find("\n      Dead link checker  https://checker.invalid/\n"), std::string::npos) << text.out;
}

TEST_F(DemoHome, SafariAndChromeViews) {
  Json safari = CliJson({"list", "--view", "safari", "--json"});
  EXPECT_EQ(Field(safari, "title"), (std::vector<std::string>{"History", "Favorites Bar", "BookmarksMenu", "DuckDuckGo",
                                                              "Bank (locked)", "Intranet", "com.apple.ReadingList"}));
  Json safariFlat = CliJson({"list", "--view", "safari", "--flat", "--json"});
  EXPECT_EQ(safariFlat.size(), 16u);
  Json chrome = CliJson({"list", "--view", "chrome", "--json"});
  EXPECT_EQ(Field(chrome, "title"),
            (std::vector<std::string>{"Bookmarks bar", "Other bookmarks", "Mobile bookmarks"}));
  CliRun chromeFlat = Cli({"list", "--view", "chrome", "--flat"});
  EXPECT_EQ(chromeFlat.code, 0);
  EXPECT_NE(chromeFlat.out.find("Regex tester  https://regex101.com/  [Chrome /Bookmarks bar/Tools]\n"),
            std::string::npos);
}

TEST_F(DemoHome, SearchMatchesTitleThenAddressIgnoringCase) {
  Json apple = CliJson({"search", "APPLE", "--json"});
  // Titles with "apple", and Safari's file:// address has none; the order is the list's.
  EXPECT_EQ(Field(apple, "title"),
            (std::vector<std::string>{"Apple", "Apple pie", "Apple", "Apple"}));
  EXPECT_EQ(Field(apple, "browser"), (std::vector<std::string>{"Safari", "Safari", "Chrome", "Firefox"}));
}

TEST_F(DemoHome, SearchByAddressTextFormAndNoMatch) {
  CliRun r = Cli({"search", "REGEX101"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Regex tester  https://regex101.com/  [Chrome /Bookmarks bar/Tools]\n");
  Json wiki = CliJson({"search", "wikipedia", "--view", "chrome", "--json"});
  EXPECT_EQ(Field(wiki, "title"), (std::vector<std::string>{"Wikipedia", "\xe7\xbb\xb4\xe5\x9f\xba\xe7\x99\xbe\xe7\xa7\x91"}));
  Json none = CliJson({"search", "no such bookmark anywhere", "--json"});
  EXPECT_EQ(none, Json::array());
  CliRun noneText = Cli({"search", "no such bookmark anywhere"});
  EXPECT_EQ(noneText.code, 0);
  EXPECT_EQ(noneText.out, "");
}

TEST_F(DemoHome, ReadingNeverChangesTheHome) {
  const std::string before = FolderFingerprint(home_.path());
  EXPECT_EQ(Cli({"list"}).code, 0);
  EXPECT_EQ(Cli({"list", "--flat", "--json"}).code, 0);
  EXPECT_EQ(Cli({"search", "wiki"}).code, 0);
  EXPECT_EQ(Cli({"list", "--view", "safari"}).code, 0);
  EXPECT_EQ(FolderFingerprint(home_.path()), before);
}

TEST(CliListSearch, UsageAndFailureExitCodes) {
  TempDir home;
  auto with = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home.path().string()});
    return RunCommand(args);
  };
  EXPECT_EQ(with({"list", "--view", "firefox"}).code, 2);
  EXPECT_EQ(with({"list", "--bogus"}).code, 2);
  EXPECT_EQ(with({"list", "extra"}).code, 2);
  EXPECT_EQ(with({"list", "--view"}).code, 2);
  EXPECT_EQ(with({"search"}).code, 2);
  EXPECT_EQ(with({"search", "a", "b"}).code, 2);
  EXPECT_EQ(with({"search", ""}).code, 2);
  CliRun missing = RunCommand({"--home", (home.path() / "nowhere").string(), "list"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
  // An empty home lists nothing and succeeds; a single-browser view says what is missing.
  CliRun empty = with({"list", "--json"});
  EXPECT_EQ(empty.code, 0);
  EXPECT_EQ(Json::parse(empty.out), Json::array());
  CliRun noChrome = with({"--layout", "macos", "list", "--view", "chrome"});
  CliRun noSafari = RunCommand({"--home", home.path().string(), "--layout", "linux", "list", "--view", "safari"});
  EXPECT_EQ(noChrome.code, 0);
  EXPECT_NE(noChrome.err.find("no bookmark file at"), std::string::npos);
  EXPECT_NE(noSafari.err.find("linux layout has no Safari bookmark file"), std::string::npos);
}

TEST(CliListSearch, RealFilesAndTheLinuxLayout) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::Linux);
  fs::create_directories(loc.chromeDefaultBookmarks().parent_path());
  fs::copy_file(TestData("chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks"), loc.chromeDefaultBookmarks());
  fs::path places = loc.firefoxProfilesFolder() / "abc.default" / "places.sqlite";
  fs::create_directories(places.parent_path());
  fs::copy_file(TestData("firefox_places/firefox-3.6era-ubuntu-2011_schema10_places.sqlite"), places);
  CliRun r = RunCommand({"--home", home.path().string(), "--layout", "linux", "list", "--flat", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  Json all = Json::parse(r.out);
  EXPECT_EQ(all.size(), 21u + 91u);
  CliRun search = RunCommand({"--home", home.path().string(), "--layout", "linux", "search", "wikipedia", "--json"});
  Json found = Json::parse(search.out);
  EXPECT_EQ(found.size(), 7u);
  EXPECT_EQ(found[0]["path"], "/Barre de favoris/Todo");
}

TEST(CliListSearch, RunningBrowserOnlyWarns) {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  fs::create_directories(loc.safariBookmarks().parent_path());
  fs::copy_file(TestData("safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist"), loc.safariBookmarks());
  std::ostringstream out, err;
  cli::CliContext ctx{loc, {}, out, err};
  auto platform = std::make_shared<FakePlatformServices>();
  platform->running = {bundleids::kSafari, bundleids::kEdge};
  auto app = cli::MakeCliAppDelegate(ctx, platform);
  cli::LoadedView all = cli::LoadView(*app, cli::CliView::All, err);
  EXPECT_EQ(all.flat.size(), 5u);
  EXPECT_EQ(all.topLevel.size(), 3u);
  EXPECT_NE(err.str().find("warning: Safari is running"), std::string::npos);
  EXPECT_EQ(err.str().find("Edge"), std::string::npos);
  cli::LoadedView chrome = cli::LoadView(*app, cli::CliView::Chrome, err);
  EXPECT_TRUE(chrome.flat.empty());
  EXPECT_EQ(app->bookMarkType, 3);
}

}  // namespace
}  // namespace linvara::testing
