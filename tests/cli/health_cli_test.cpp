// linvara-cli dead-links and duplicates on generated homes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/PresenterFixture.h"
#include "cli/CliTestSupport.h"
#include "health/LoopbackHttpServer.h"

namespace linvara::testing {
namespace {

using profile::Leaf;
using Titled = std::vector<std::string>;

struct HealthCli : ::testing::Test {
  TestHome h;

  CliRun Run(const std::vector<std::string>& args) { return RunInHome(h.home.path(), args); }
  static Titled Titles(const nlohmann::ordered_json& nodes) {
    Titled titles;
    for (const auto& n : nodes) titles.push_back(n["title"]);
    return titles;
  }
};

TEST_F(HealthCli, DuplicatesPrintsTheGroupsInOrderAsJson) {
  h.WriteChrome(profile::ChromiumRoots(
      {Leaf("Query one", "http://q.example/?u=http://z.example"), Leaf("Plain", "http://dup.example/x"),
       profile::Folder("Inner", {Leaf("Secure", "https://dup.example/x"), Leaf("Upper", "HTTP://dup.example/x")})},
      {Leaf("Query two", "https://q.example/?u=http://z.example"), Leaf("Alone", "http://alone.example/")}));
  CliRun r = Run({"duplicates", "--view", "chrome", "--json"});
  auto groups = r.json();
  ASSERT_EQ(groups.size(), 2u) << r.out;
  EXPECT_EQ(std::tuple(groups[0]["key"], groups[0]["title"], groups[0]["url"]),
            std::tuple("q.example/?u=http://z.example", "Query one", "http://q.example/?u=http://z.example"));
  EXPECT_EQ(Titles(groups[0]["members"]), (Titled{"Query one", "Query two"}));
  EXPECT_EQ(groups[1]["key"], "dup.example/x");
  EXPECT_EQ(Titles(groups[1]["members"]), (Titled{"Plain", "Secure"}));
  EXPECT_EQ(groups[1]["members"][1]["url"], "https://dup.example/x");
  EXPECT_NE(r.err.find("2 duplicate groups, 4 bookmarks"), std::string::npos) << r.err;
}

TEST_F(HealthCli, DuplicatesGroupAcrossBrowsersInTheUnifiedView) {
  h.WriteSafari({Leaf("Safari copy", "https://shared.example/"), Leaf("Safari only", "http://safari.example/")});
  h.WriteChrome(profile::ChromiumRoots({Leaf("Chrome copy", "http://shared.example/")}));
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
  h.WriteChrome(profile::ChromiumRoots(
      {Leaf("Refused", refused), Leaf("Missing page", server.url("/missing")), Leaf("Garbage", "not an address")},
      {Leaf("Loop", server.url("/loop")), Leaf("Fine", server.url("/ok")), Leaf("Bookmarklet", "javascript:void(0)"),
       Leaf("Recent", "place:sort=8")}));
  CliRun r = Run({"dead-links", "--view", "chrome", "--json", "--timeout", "2"});
  auto dead = r.json();
  EXPECT_EQ(Titles(dead), (Titled{"Refused", "Garbage"}));
  EXPECT_EQ(std::pair(dead[0]["url"], dead[0]["kind"]), std::pair(nlohmann::ordered_json(refused), nlohmann::ordered_json("bookmark")));
  EXPECT_NE(r.err.find("probed 5 of 5"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("2 unreachable bookmarks"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\n2 bookmarks not checked: not web addresses\n"), std::string::npos) << r.err;

  EXPECT_EQ(Run({"dead-links", "--view", "chrome", "--timeout", "2"}).out,
            "Refused  " + refused + "  [Chrome /Bookmarks bar]\nGarbage  not an address  [Chrome /Bookmarks bar]\n");
}

TEST_F(HealthCli, DeadLinksHonoursThePerHostCap) {
  LoopbackHttpServer server("127.0.0.6");
  std::vector<profile::BookmarkEntry> slow;
  for (int i = 0; i < 8; ++i)
    slow.push_back(Leaf("Slow " + std::to_string(i), server.url("/slow/30/" + std::to_string(i))));
  h.WriteChrome(profile::ChromiumRoots(slow));
  CliRun r = Run({"dead-links", "--view", "chrome", "--per-host", "1", "--concurrency", "4", "--timeout", "5"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(server.requests(), 8);
  EXPECT_EQ(server.peakInFlight(), 1);
  EXPECT_EQ(r.err.find("not checked"), std::string::npos) << r.err;
}

TEST_F(HealthCli, EmptyFoldersListsTheTopLevelFoldersWithoutBookmarks) {
  using profile::Folder;
  h.WriteSafari({Folder("Hollow", {Folder("Inner", {})}), Folder("Full", {Leaf("Page", "https://p.example/")}),
                 Leaf("Loose", "https://l.example/")});
  h.WriteChrome(profile::ChromiumRoots({Leaf("Bar page", "https://b.example/")}, {}));
  CliRun r = Run({"empty-folders", "--json"});
  auto empty = r.json();
  ASSERT_EQ(Titles(empty), (Titled{"Hollow", "Other bookmarks"})) << r.out;
  EXPECT_EQ(empty[0], Run({"list", "--json"}).json()[0]);  // the object the list prints
  EXPECT_NE(r.err.find("2 empty folders"), std::string::npos) << r.err;

  EXPECT_EQ(Run({"empty-folders", "--view", "safari"}).out, "Hollow/  [Safari /]\n");
  EXPECT_EQ(Run({"empty-folders", "--view", "chrome"}).code, 2);
}

}  // namespace
}  // namespace linvara::testing
