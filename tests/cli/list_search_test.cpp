// linvara-cli list and search over the demo profile and the real browser files.
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"

namespace linvara::testing {
namespace {

TEST_F(DemoHome, FlatListHoldsEveryBookmarkOfTheUnifiedList) {
  Json all = CliJson({"list", "--flat", "--json"});
  ASSERT_EQ(all.size(), 43u);  // Safari 16, Chrome 8, Firefox 11 (no tag entries), Opera 4, Edge 4
  for (const auto& j : all) EXPECT_EQ(j["kind"], "bookmark");
  all[0]["uuid"] = "generated";
  EXPECT_EQ(all[0].dump(),
            R"({"kind":"bookmark","title":"Apple","url":"https://www.apple.com/","path":"/Favorites Bar",)"
            R"("browser":"Safari","uuid":"generated","dateAdded":null,"favorite":true,"encrypted":false})");
  EXPECT_EQ(all[16].dump(),
            R"({"kind":"bookmark","title":"GitHub","url":"https://github.com/","path":"/Bookmarks bar",)"
            R"("browser":"Chrome","uuid":"2","dateAdded":"13350259200000000","favorite":false,"encrypted":false})");
}

TEST_F(DemoHome, TreeModeNestsChildrenUnderFoldersOnly) {
  Json top = CliJson({"list", "--json"});
  ASSERT_EQ(top.size(), 19u);  // Safari 7, Chrome 3, Edge 3, Firefox 4 (no tags root), Opera 2
  EXPECT_EQ(std::pair(top[1]["title"], top[1]["kind"]), std::pair(Json("Favorites Bar"), Json("folder")));
  const Json& dev = top[1]["children"][3];
  EXPECT_EQ(std::pair(dev["title"], dev["path"]), std::pair(Json("Dev"), Json("/Favorites Bar")));
  const Json& docs = dev["children"][0]["children"][1];
  EXPECT_EQ(std::pair(docs["title"], docs["path"]),
            std::pair(Json("SQLite Documentation"), Json("/Favorites Bar/Dev/Docs")));
  EXPECT_EQ(top.back()["title"], "Speed dial help");
  EXPECT_EQ(top.back()["path"], "");

  CliRun text = Cli({"list"});
  EXPECT_NE(text.out.find("Favorites Bar/  [Safari] [favorite]\n  Apple  https://www.apple.com/"), std::string::npos);
  EXPECT_NE(text.out.find("\n      Dead link checker  https://checker.invalid/\n"), std::string::npos) << text.out;
}

TEST_F(DemoHome, SearchMatchesTitleOrAddressIgnoringCase) {
  Json apple = CliJson({"search", "APPLE", "--json"});
  // Titles with "apple", and Safari's file:// address has none; the order is the list's.
  EXPECT_EQ(Field(apple, "title"), (std::vector<std::string>{"Apple", "Apple pie", "Apple", "Apple"}));
  EXPECT_EQ(Field(apple, "browser"), (std::vector<std::string>{"Safari", "Safari", "Chrome", "Firefox"}));
  EXPECT_EQ(Cli({"search", "REGEX101"}).out, "Regex tester  https://regex101.com/  [Chrome /Bookmarks bar/Tools]\n");
  Json wiki = CliJson({"search", "wikipedia", "--view", "chrome", "--json"});
  EXPECT_EQ(Field(wiki, "title"), (std::vector<std::string>{"Wikipedia",
                                                            "\xe7\xbb\xb4\xe5\x9f\xba\xe7\x99\xbe\xe7\xa7\x91"}));
  EXPECT_EQ(CliJson({"search", "no such bookmark anywhere", "--json"}), Json::array());
  EXPECT_EQ(Cli({"search", "no such bookmark anywhere"}).out, "");
}

TEST(CliListSearch, MissingBrowserFilesOnlyWarnUnlikeAMissingHome) {
  TempDir home;
  CliRun missing = RunInHome(home.path() / "nowhere", {"list"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
  // A single-browser view of an empty home says what is missing.
  CliRun noChrome = RunInHome(home.path(), {"list", "--view", "chrome"});
  EXPECT_EQ(noChrome.code, 0);
  EXPECT_NE(noChrome.err.find("no bookmark file at"), std::string::npos);
  CliRun noSafari = RunInHome(home.path(), {"list", "--view", "safari"}, Layout::Linux);
  EXPECT_NE(noSafari.err.find("linux layout has no Safari bookmark file"), std::string::npos);
}

TEST(CliListSearch, RunningBrowserOnlyWarns) {
  CliHome h;
  h.WriteSafari({profile::Leaf("Kept", "https://kept.example/")});
  h.platform->running = {bundleids::kSafari, bundleids::kEdge};
  CliRun all = h.Run({"list", "--flat", "--view", "all"});
  EXPECT_EQ(all.out, "Kept  https://kept.example/  [Safari /]\n");
  EXPECT_NE(all.err.find("warning: Safari is running"), std::string::npos);
  EXPECT_EQ(all.err.find("Edge"), std::string::npos);
  CliRun chrome = h.Run({"list", "--flat", "--view", "chrome"});
  EXPECT_EQ(chrome.out, "");
  EXPECT_EQ(chrome.err.find("running"), std::string::npos) << chrome.err;
}

TEST(CliListSearch, TitleWithTerminalEscapesCannotForgeLines) {
  CliHome h;
  h.WriteChrome(profile::ChromiumRoots({profile::Leaf("\x1b]0;owned\x07\nforged", "https://ok.example/")}));
  const std::string shown = "\\x1b]0;owned\\x07\\x0aforged  https://ok.example/";
  CliRun flat = h.Run({"list", "--view", "chrome", "--flat"});
  EXPECT_EQ(flat.out, shown + "  [Chrome /Bookmarks bar]\n");
  CliRun tree = h.Run({"list", "--view", "chrome"});
  EXPECT_NE(tree.out.find("\n  " + shown + "\n"), std::string::npos) << tree.out;
  Json found = h.Run({"search", "owned", "--view", "chrome", "--json"}).json();
  EXPECT_EQ(found[0]["title"], "\x1b]0;owned\x07\nforged");
}

// A damaged file is named on stderr with the reason; the command fails only
// when no browser could be read at all (a missing file is no failure).
TEST(CliListSearch, DamagedFilesAreNamedAndFailOnlyWhenNothingWasRead) {
  const struct {
    bool damagedChrome, validSafari;
    int code;
    std::size_t lines;
  } cases[] = {{true, false, 1, 0}, {true, true, 0, 1}, {false, false, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.damagedChrome) + std::to_string(c.validSafari));
    CliHome h;
    if (c.damagedChrome) WriteText(h.loc.chromeDefaultBookmarks(), "{\"roots\": {\"bookmark_bar\": [trunc");
    if (c.validSafari) h.WriteSafari({profile::Leaf("Kept", "https://kept.example/")});
    CliRun r = h.Run({"list", "--flat"});
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), static_cast<long>(c.lines));
    const std::string named = "Chrome: ";
    EXPECT_EQ(r.err.find(named) != std::string::npos, c.damagedChrome) << r.err;
    if (c.damagedChrome) {
      EXPECT_NE(r.err.find(h.loc.chromeDefaultBookmarks().string()), std::string::npos) << r.err;
    }
  }
}

}  // namespace
}  // namespace linvara::testing
