#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliTestSupport.h"
#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieTestSupport.h"
#include "model/FileBytes.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

// A demo home, with date texts in UTC.
struct CookiesCli : ::testing::Test {
  ScopedTimeZone utc{"UTC"};
  TempDir dir;
  fs::path home = dir / "home";
  Locations loc = Locations::ForHome(home, Layout::MacOS);
  fs::path safari = loc.safariCookies(), chrome = loc.chromeDefaultBookmarks().parent_path() / "Network" / "Cookies";

  void SetUp() override {
    CliRun made = RunCommand({"make-demo", home.string()});
    ASSERT_EQ(made.code, 0) << made.err;
  }
  CliRun Cookies(std::vector<std::string> args) {
    args.insert(args.begin(), "cookies");
    return RunInHome(home, args);
  }
  std::string ChromeRows() const { return QuerySql(chrome, "select count(*) from cookies"); }
};

TEST_F(CookiesCli, BrowserCookiesAsJson) {
  auto j = Cookies({"safari", "--json"}).json();
  ASSERT_EQ(j.size(), 8u);
  EXPECT_EQ(j[0].dump(), R"({"host":".news.example.com","name":"edition","path":"/","value":"intl",)"
                         R"("secure":"NO","expires":"01-01-2027 00:00","hasExpired":false})");
  EXPECT_EQ(j[7]["name"], "caf\xc3\xa9_pref");

  j = Cookies({"chrome", "--json"}).json();  // Chrome's file in its Network folder
  ASSERT_EQ(j.size(), 6u);
  EXPECT_EQ(std::tuple(j[1]["host"], j[1]["name"], j[1]["secure"], j[1]["expires"], j[1]["hasExpired"]),
            std::tuple(".news.example.com", "session", "YES", "01-01-2026 00:00", true));
  EXPECT_EQ(j[1]["value"].get<std::string>().substr(0, 7), "<763130");
  EXPECT_TRUE(j[4]["expires"].is_null());  // a session cookie
  EXPECT_EQ(j[4]["hasExpired"], false);
}

TEST_F(CookiesCli, APathIsReadByItsMagic) {
  CliRun r = Cookies({TestData(kSafari2017)});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "HOST\tNAME\tPATH\tSECURE\tEXPIRES\tVALUE\n"
            ".ycombinator.com\t__cfduid\t/\tNO\t12-16-2018 23:22\tdf18e79ede20f18e7c846380faf82b1341513466557\n"
            "news.ycombinator.com\tuser\t/\tYES\t01-17-2038 19:14\tzellyn&EdK9mzRM38fGtIZQTiqCyAeWg93RDjdo\n");
  EXPECT_EQ(Cookies({CopyTestFile(kChromePlain, dir / "c.bin").string(), "--json"}).json().size(), 560u);

  r = Cookies({TestData("safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("neither"), std::string::npos);
  EXPECT_EQ(Cookies({(dir / "missing").string()}).code, 1);
}

TEST_F(CookiesCli, ExportWritesCookiedataTxt) {
  CliRun r = Cookies({"export", "chrome", "--out", (dir / "out").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(dir / "out" / "cookiedata.txt").substr(0, 64),
            "Website:.news.example.com  Name:edition  Secure:NO  Path:/  Valu");
  EXPECT_NE(r.out.find("exported 6 cookies"), std::string::npos) << r.out;

  r = Cookies({"export", "safari"});  // into Downloads
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::is_regular_file(dir / "home" / "Downloads" / "com.Zelvane.Crumbscope" / "cookiedata.txt"));
  EXPECT_NE(r.out.find("exported 8 cookies"), std::string::npos) << r.out;
}

TEST_F(CookiesCli, ClearEmptiesBothStoresOnlyWithYes) {
  const std::string before = *ReadFileBytes(safari);
  CliRun r = Cookies({"clear", "safari"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("--yes"), std::string::npos);
  EXPECT_EQ(*ReadFileBytes(safari), before);
  EXPECT_EQ(Cookies({"clear", "chrome"}).code, 2);
  EXPECT_EQ(ChromeRows(), "6");

  r = Cookies({"clear", "safari", "--yes"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(*ReadFileBytes(safari), SampleCookiesBytes());
  r = Cookies({"clear", "chrome", "--yes"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ChromeRows(), "0");
}

TEST_F(CookiesCli, ClearRefusesAFileOfTheWrongKind) {
  WriteText(safari, "not cookies");
  EXPECT_EQ(Cookies({"clear", "safari", "--yes"}).code, 1);
  EXPECT_EQ(ReadText(safari), "not cookies");
}

TEST_F(CookiesCli, ControlCharactersShowAsEscapesInTheTable) {
  ExecSql(chrome, "update cookies set host_key = '.evil' || char(27) || '[2J' || char(133) where name = 'volume'");
  CliRun r = Cookies({"chrome"});
  EXPECT_NE(r.out.find("\n.evil\\x1b[2J\\x85\tvolume\t"), std::string::npos) << r.out;
  EXPECT_EQ(Cookies({"chrome", "--json"}).json()[4]["host"], ".evil\x1b[2J\xc2\x85");
}

TEST(CookiesCliLayouts, BrowsersWithoutACookieFileOnLinux) {
  TempDir home;
  EXPECT_EQ(RunInHome(home.path(), {"cookies", "safari"}, Layout::Linux).code, 1);
  CliRun r = RunInHome(home.path(), {"cookies", "chrome", "--json"}, Layout::Linux);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "[]\n");
  EXPECT_NE(r.err.find("no cookie file"), std::string::npos);
}

}  // namespace
}  // namespace linvara::testing
