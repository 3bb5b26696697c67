// linvara-cli dead-links and duplicates on generated homes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "app/PresenterFixture.h"
#include "cli/CliTestSupport.h"
#include "health/LoopbackHttpServer.h"
#include "model/FileBytes.h"

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

// --remove: what each command and view writes, and when it asks or refuses.
TEST(HealthCliRemoval, RemoveWritesOnlyWhatTheViewAllowsAfterConsent) {
  enum class Written { Nothing, ChromeCopy, SafariCopy, SafariCopyAndFile };
  LoopbackHttpServer server;
  const std::string yes = "--yes", quick = "--timeout";
  const struct {
    std::vector<std::string> args;
    std::optional<std::string> typed;  // what is typed on a terminal; nullopt: no terminal
    bool safariRuns;
    int code;
    Written written;
    const char* removed;  // the title that leaves what was written
    const char* errSays;
  } cases[] = {
      {{"dead-links", "--view", "chrome", "--remove", yes, quick, "2"}, {}, false, 0, Written::ChromeCopy, "Gone C", "removed 1 bookmark"},
      {{"dead-links", "--view", "safari", "--remove", yes, quick, "2"}, {}, false, 0, Written::SafariCopyAndFile, "Gone S", "removed 1 bookmark"},
      {{"dead-links", "--view", "safari", "--remove", quick, "2"}, "y\n", false, 0, Written::SafariCopyAndFile, "Gone S",
       "Remove 1 bookmark from Safari? Safari's file is changed now"},
      {{"dead-links", "--view", "safari", "--remove", quick, "2"}, "n\n", false, 1, Written::Nothing, "", "nothing was removed"},
      {{"dead-links", "--view", "safari", "--remove", quick, "2"}, {}, false, 2, Written::Nothing, "", "not asking without a terminal"},
      {{"dead-links", "--view", "safari", "--remove", yes}, {}, true, 1, Written::Nothing, "", "Quit Safari before applying the changes."},
      {{"dead-links", "--remove", yes}, {}, false, 2, Written::Nothing, "", "do not reach the browsers"},
      {{"duplicates", "--view", "safari", "--remove", yes}, {}, false, 0, Written::SafariCopyAndFile, "Live again", "1 to remove"},
      {{"duplicates", "--view", "chrome", "--remove"}, {}, false, 2, Written::Nothing, "", "not asking without a terminal"},
      {{"empty-folders", "--view", "safari", "--remove"}, {}, false, 0, Written::SafariCopy, "Hollow", "1 empty folder"},
      {{"empty-folders", "--remove"}, {}, false, 2, Written::Nothing, "", "do not reach the browsers"},
  };
  for (const auto& c : cases) {
    TestHome h;
    using profile::Folder, profile::Leaf;
    h.WriteSafari({Folder("Hollow", {}), Folder("News", {Leaf("Gone S", LoopbackHttpServer::RefusedUrl("/s")),
                                                         Leaf("Live", server.url("/ok"))}),
                   Leaf("Live again", server.url("/ok"))});
    h.WriteChrome(profile::ChromiumRoots(
        {Folder("Work", {Leaf("Gone C", LoopbackHttpServer::RefusedUrl("/c")), Leaf("Live C", server.url("/ok"))})}));
    if (c.safariRuns) h.platform->running.push_back(bundleids::kSafari);
    auto bytes = [](const std::filesystem::path& file) { return ReadFileBytes(file).valueOr(""); };
    const std::string before = FolderFingerprint(h.home.path()), safari = bytes(h.loc.safariBookmarks()),
                      chrome = bytes(h.loc.chromeDefaultBookmarks());

    std::vector<std::string> argv = {"--home", h.home.path().string(), "--layout", "macos"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::istringstream typed(c.typed.value_or(""));
    std::ostringstream out, err;
    const int code = cli::RunCli(argv, out, err, h.platform, cli::CliInput{&typed, c.typed.has_value()});
    const std::string what = c.args[0] + " " + c.args[std::min<std::size_t>(2, c.args.size() - 1)] + (c.typed ? " typed " + *c.typed : "");
    EXPECT_EQ(code, c.code) << what << err.str();
    EXPECT_NE(err.str().find(c.errSays), std::string::npos) << what << err.str();
    if (c.written == Written::Nothing) {
      EXPECT_EQ(FolderFingerprint(h.home.path()), before) << what;
      continue;
    }
    const std::string copy = bytes(c.written == Written::ChromeCopy ? h.loc.chromeWorkingCopy() : h.loc.safariWorkingCopy());
    EXPECT_EQ(copy.find(c.removed), std::string::npos) << what;
    EXPECT_NE(copy.find("Live"), std::string::npos) << what;
    EXPECT_EQ(bytes(h.loc.chromeDefaultBookmarks()), chrome) << what;  // never written
    const std::string safariNow = c.written == Written::SafariCopyAndFile ? copy : safari;
    EXPECT_EQ(bytes(h.loc.safariBookmarks()), safariNow) << what;
  }
}

}  // namespace
}  // namespace linvara::testing
