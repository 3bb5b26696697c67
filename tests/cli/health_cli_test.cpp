// linvara-cli dead-links and duplicates on generated homes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/PresenterFixture.h"
#include "cli/CliTestSupport.h"
#include "health/LoopbackHttpServer.h"

namespace linvara::testing {
namespace {

struct HealthCli : ::testing::Test {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);

  CliRun Run(const std::vector<std::string>& args) { return RunInHome(home.path(), args); }

  static std::vector<std::string> Titles(const nlohmann::ordered_json& nodes) {
    std::vector<std::string> titles;
    for (const auto& n : nodes) titles.push_back(n["title"]);
    return titles;
  }
};

TEST_F(HealthCli, DuplicatesPrintsTheGroupsInOrderAsJson) {
  WriteText(loc.chromeDefaultBookmarks(),
            ChromeFile(ChromeUrl("3", "Query one", "http://q.example/?u=http://z.example") + "," +
                           ChromeUrl("4", "Plain", "http://dup.example/x") + "," +
                           ChromeFolder("5", "Inner", ChromeUrl("6", "Secure", "https://dup.example/x") + "," +
                                                          ChromeUrl("7", "Upper", "HTTP://dup.example/x")),
                       ChromeUrl("8", "Query two", "https://q.example/?u=http://z.example") + "," +
                           ChromeUrl("9", "Alone", "http://alone.example/")));
  CliRun r = Run({"duplicates", "--view", "chrome", "--json"});
  auto groups = r.json();
  ASSERT_EQ(groups.size(), 2u) << r.out;
  EXPECT_EQ(groups[0]["key"], "q.example/?u=http://z.example");
  EXPECT_EQ(groups[0]["title"], "Query one");
  EXPECT_EQ(groups[0]["url"], "http://q.example/?u=http://z.example");
  EXPECT_EQ(Titles(groups[0]["members"]), (std::vector<std::string>{"Query one", "Query two"}));
  EXPECT_EQ(groups[1]["key"], "dup.example/x");
  EXPECT_EQ(Titles(groups[1]["members"]), (std::vector<std::string>{"Plain", "Secure"}));
  EXPECT_EQ(groups[1]["members"][1]["url"], "https://dup.example/x");
  EXPECT_NE(r.err.find("2 duplicate groups, 4 bookmarks"), std::string::npos) << r.err;
}

TEST_F(HealthCli, DuplicatesGroupAcrossBrowsersInTheUnifiedView) {
  WriteText(loc.safariBookmarks(), SafariPlist(SafariLeaf("Safari copy", "https://shared.example/") +
                                               SafariLeaf("Safari only", "http://safari.example/")));
  WriteText(loc.chromeDefaultBookmarks(), ChromeFile(ChromeUrl("3", "Chrome copy", "http://shared.example/")));
  CliRun r = Run({"duplicates"});
  EXPECT_EQ(r.out, "shared.example/  (2)\n  Safari copy  https://shared.example/  [Safari /]\n"
                   "  Chrome copy  http://shared.example/  [Chrome /Bookmarks bar]\n");

  r = Run({"duplicates", "--view", "safari", "--json"});
  EXPECT_EQ(r.json(), nlohmann::ordered_json::array());
  EXPECT_NE(r.err.find("0 duplicate groups, 0 bookmarks"), std::string::npos) << r.err;
}

TEST_F(HealthCli, DeadLinksListsTheUnreachableBookmarksInListOrder) {
  LoopbackHttpServer server;
  const std::string refused = LoopbackHttpServer::RefusedUrl("/gone");
  WriteText(loc.chromeDefaultBookmarks(),
            ChromeFile(ChromeUrl("3", "Refused", refused) + "," +
                           ChromeUrl("4", "Missing page", server.url("/missing")) + "," +
                           ChromeUrl("5", "Garbage", "not an address"),
                       ChromeUrl("6", "Loop", server.url("/loop")) + "," + ChromeUrl("7", "Fine", server.url("/ok")) +
                           "," + ChromeUrl("8", "Bookmarklet", "javascript:void(0)") + "," +
                           ChromeUrl("9", "Recent", "place:sort=8")));
  CliRun r = Run({"dead-links", "--view", "chrome", "--json", "--timeout", "2"});
  auto dead = r.json();
  EXPECT_EQ(Titles(dead), (std::vector<std::string>{"Refused", "Garbage"}));
  EXPECT_EQ(dead[0]["url"], refused);
  EXPECT_EQ(dead[0]["kind"], "bookmark");
  EXPECT_NE(r.err.find("probed 5 of 5"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("2 unreachable bookmarks"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\n2 bookmarks not checked: not web addresses\n"), std::string::npos) << r.err;

  EXPECT_EQ(Run({"dead-links", "--view", "chrome", "--timeout", "2"}).out,
            "Refused  " + refused + "  [Chrome /Bookmarks bar]\nGarbage  not an address  [Chrome /Bookmarks bar]\n");
}

TEST_F(HealthCli, DeadLinksHonoursThePerHostCap) {
  LoopbackHttpServer server("127.0.0.6");
  std::string urls;
  for (int i = 0; i < 8; ++i) {
    if (i) urls += ",";
    urls += ChromeUrl(std::to_string(10 + i), "Slow " + std::to_string(i), server.url("/slow/30/" + std::to_string(i)));
  }
  WriteText(loc.chromeDefaultBookmarks(), ChromeFile(urls));
  CliRun r = Run({"dead-links", "--view", "chrome", "--per-host", "1", "--concurrency", "4", "--timeout", "5"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(server.requests(), 8);
  EXPECT_EQ(server.peakInFlight(), 1);
  EXPECT_EQ(r.err.find("not checked"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace linvara::testing
