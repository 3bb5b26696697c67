// linvara-cli list and search over the demo profile and the real browser files, and
// the pieces of their output: node objects of --json (nulls, kinds, children in tree
// mode only, a folder that holds itself) and text made safe for a terminal.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliTestSupport.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"
#include "cli/Output.h"

namespace linvara::testing {
namespace {

using namespace cli;

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

TEST(NodeJson, FieldsOfEveryKind) {
  NodePtr leaf = PRBookMarkNode::Create();
  leaf->setBEncrytedBookmark(true);
  FolderPtr folder = PRFaBookMarkNode::Create();  // every string field null
  folder->appendChild(leaf);
  EXPECT_EQ(NodeToJson(folder, true).dump(),
            R"({"kind":"folder","title":null,"url":null,"path":null,"browser":null,"uuid":null,"dateAdded":null,)"
            R"("favorite":false,"encrypted":false,"children":[{"kind":"bookmark","title":" ","url":"","path":"",)"
            R"("browser":"Safari","uuid":"","dateAdded":null,"favorite":false,"encrypted":true}]})");
  EXPECT_FALSE(NodeToJson(folder, false).contains("children"));
  Json root = NodeToJson(PRRootBookMarkNode::Create(), true);
  EXPECT_EQ(std::pair(root["kind"], root.contains("children")), std::pair(Json("root"), false));
}

TEST(NodeJson, FolderInsideItselfEnds) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle("Loop");
  folder->appendChild(folder);
  Json j = NodeToJson(folder, true);
  ASSERT_EQ(j["children"].size(), 1u);
  EXPECT_TRUE(j["children"][0]["children"].empty());
  std::ostringstream text;
  PrintNodeTree(text, {folder});
  EXPECT_EQ(text.str(), "Loop/  [(null)]\n  Loop/\n");
  folder->childrenArray()->clear();  // break the cycle so the folder can be freed
}

TEST(NodeJson, StreamedOutputEqualsTheBuiltDocument) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle("Folder \"quoted\" \\ back");
  folder->appendChild(folder);
  NodePtr odd = PRBookMarkNode::Create();
  constexpr char kControls[] = "controls \b\f\n\r\t\x01\x1f\x7f nul \0 end";
  odd->setThetitle(std::string(kControls, sizeof kControls - 1));
  odd->setUrlString("caf\xe9 \xed\xa0\x80 cut\xe2\x82");
  odd->setBookMarkUUID("\xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80");
  odd->setAddDateStr("13350259200000000");
  odd->setBFavBookmark(true);
  folder->appendChild(odd);
  NodePtr inner = PRFaBookMarkNode::Create();
  folder->appendChild(inner);
  const std::vector<NodeList> lists = {{}, {odd}, {folder, nullptr, odd, inner}};
  for (const NodeList& nodes : lists) {
    for (bool withChildren : {false, true}) {
      std::ostringstream streamed, built;
      WriteNodesJson(streamed, nodes, withChildren);
      WriteJson(built, NodesToJson(nodes, withChildren));
      EXPECT_EQ(streamed.str(), built.str());
    }
  }
  folder->childrenArray()->clear();
}

constexpr const char* kFffd = "\xef\xbf\xbd";

TEST(PrintableText, MakesEveryUnsafeByteVisible) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"plain text, tab\tkept", "plain text, tab\tkept"},
      {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
      {"line\nforged\r", "line\\x0aforged\\x0d"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"del\x7f", "del\\x7f"},
      {"csi\xc2\x9b" "31m \xc2\x80", "csi\\x9b" "31m \\x80"},
      {"nbsp\xc2\xa0 \xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80", "nbsp\xc2\xa0 \xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80"},
      {"caf\xe9!", std::string("caf") + kFffd + "!"},
      {"bare\x9b", std::string("bare") + kFffd},
      {"overlong\xc0\x80", std::string("overlong") + kFffd + kFffd},
      {"surrogate\xed\xa0\x80", std::string("surrogate") + kFffd + kFffd + kFffd},
      {"cut\xe2\x82", std::string("cut") + kFffd + kFffd},
      {"beyond\xf4\x90\x80\x80", std::string("beyond") + kFffd + kFffd + kFffd + kFffd},
  };
  for (const auto& [raw, shown] : cases) EXPECT_EQ(PrintableText(raw), shown) << ::testing::PrintToString(raw);
}

}  // namespace
}  // namespace linvara::testing
