#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CommandRegistry.h"
#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieFiles.h"
#include "model/FileBytes.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using cli::RunCli;
using testing::ReadText;
using testing::TempDir;
using testing::TestData;

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

CliResult RunCommand(const std::vector<std::string>& argv) {
  std::ostringstream out, err;
  const int code = RunCli(argv, out, err);
  return {code, out.str(), err.str()};
}

std::string CountRows(const fs::path& db) {
  sqlite3* conn = nullptr;
  std::string count = "?";
  if (sqlite3_open_v2(db.c_str(), &conn, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(conn, "select count(*) from cookies", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
      count = std::to_string(sqlite3_column_int(stmt, 0));
    sqlite3_finalize(stmt);
  }
  sqlite3_close(conn);
  return count;
}

// A demo home, with date texts in UTC.
struct CookiesCli : ::testing::Test {
  TempDir dir;
  std::string home = (dir / "home").string();
  fs::path safari = dir / "home" / "Library" / "Cookies" / "Cookies.binarycookies";
  fs::path chrome =
      dir / "home" / "Library" / "Application Support" / "Google" / "Chrome" / "Default" / "Network" / "Cookies";

  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    CliResult made = RunCommand({"make-demo", home});
    ASSERT_EQ(made.code, 0) << made.err;
  }
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }
  CliResult Cookies(std::vector<std::string> args) {
    std::vector<std::string> argv{"--home", home, "--layout", "macos", "cookies"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunCommand(argv);
  }
};

TEST_F(CookiesCli, DemoProfileHoldsBothCookieStores) {
  EXPECT_EQ(DetectCookieFileKind(safari), CookieFileKind::Binary);
  EXPECT_EQ(CountRows(chrome), "6");
}

TEST_F(CookiesCli, SafariAsJson) {
  CliResult r = Cookies({"safari", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto j = nlohmann::ordered_json::parse(r.out);
  ASSERT_EQ(j.size(), 8u);
  const auto& first = j[0];
  std::vector<std::string> keys;
  for (const auto& [key, value] : first.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"host", "name", "path", "value", "secure", "expires", "hasExpired"}));
  EXPECT_EQ(first["host"], ".news.example.com");
  EXPECT_EQ(first["name"], "edition");
  EXPECT_EQ(first["value"], "intl");
  EXPECT_EQ(first["secure"], "NO");
  EXPECT_EQ(first["expires"], "01-01-2027 00:00");
  EXPECT_EQ(first["hasExpired"], false);
  EXPECT_EQ(j[1]["secure"], "YES");  // flags 5
  EXPECT_EQ(j[2]["value"], "");
  // The page stored name first still reads right.
  EXPECT_EQ(j[3]["host"], ".shop.example.org");
  EXPECT_EQ(j[3]["path"], "/basket");
  EXPECT_EQ(j[3]["secure"], "YES");  // flags 1
  EXPECT_EQ(j[4]["secure"], "NO");   // flags 4: HttpOnly only
  EXPECT_EQ(j[7]["name"], "caf\xc3\xa9_pref");
}

TEST_F(CookiesCli, ChromeAsJsonFromTheNetworkFolder) {
  CliResult r = Cookies({"chrome", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j.size(), 6u);
  EXPECT_EQ(j[1]["host"], ".news.example.com");
  EXPECT_EQ(j[1]["name"], "session");
  EXPECT_EQ(j[1]["secure"], "YES");
  EXPECT_EQ(j[1]["expires"], "01-01-2026 00:00");
  EXPECT_EQ(j[1]["hasExpired"], true);
  EXPECT_EQ(j[1]["value"].get<std::string>().substr(0, 7), "<763130");
  EXPECT_EQ(j[4]["name"], "volume");
  EXPECT_TRUE(j[4]["expires"].is_null());  // a session cookie
  EXPECT_EQ(j[4]["hasExpired"], false);
}

TEST_F(CookiesCli, APathIsReadByItsMagic) {
  CliResult r = Cookies({TestData("safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "HOST\tNAME\tPATH\tSECURE\tEXPIRES\tVALUE\n"
            ".ycombinator.com\t__cfduid\t/\tNO\t12-16-2018 23:22\tdf18e79ede20f18e7c846380faf82b1341513466557\n"
            "news.ycombinator.com\tuser\t/\tYES\t01-17-2038 19:14\tzellyn&EdK9mzRM38fGtIZQTiqCyAeWg93RDjdo\n");
  TempDir copy;
  fs::copy_file(TestData("chrome_cookies/chrome-old_meta-v5_no-encrypted_value_560cookies_Cookies"), copy / "c.bin");
  r = Cookies({(copy / "c.bin").string(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out).size(), 560u);

  r = Cookies({TestData("safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("neither"), std::string::npos);
  EXPECT_EQ(Cookies({(dir / "missing").string()}).code, 1);
}

TEST_F(CookiesCli, ExportWritesCookiedataTxt) {
  CliResult r = Cookies({"export", "chrome", "--out", (dir / "out").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string text = ReadText(dir / "out" / "cookiedata.txt");
  EXPECT_EQ(text.substr(0, 64), "Website:.news.example.com  Name:edition  Secure:NO  Path:/  Valu");
  std::size_t records = 0;
  for (std::size_t at = text.find("  \n\n"); at != std::string::npos; at = text.find("  \n\n", at + 1)) ++records;
  EXPECT_EQ(records, 6u);

  r = Cookies({"export", "safari"});
  ASSERT_EQ(r.code, 0) << r.err;
  const fs::path standard = dir / "home" / "Downloads" / "com.Zelvane.Crumbscope" / "cookiedata.txt";
  EXPECT_EQ(ReadText(standard).substr(0, 76),
            "Website:.news.example.com  Name:edition  Secure:NO  Path:/  Value:intl  \n\nWe");
  EXPECT_NE(r.out.find("exported 8 cookies"), std::string::npos);
}

TEST_F(CookiesCli, ClearRefusesWithoutYes) {
  const std::string before = *ReadFileBytes(safari);
  CliResult r = Cookies({"clear", "safari"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("--yes"), std::string::npos);
  EXPECT_EQ(*ReadFileBytes(safari), before);
  EXPECT_EQ(Cookies({"clear", "chrome"}).code, 2);
  EXPECT_EQ(CountRows(chrome), "6");
}

TEST_F(CookiesCli, ClearWithYesEmptiesBothStores) {
  CliResult r = Cookies({"clear", "safari", "--yes"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(*ReadFileBytes(safari), SampleCookiesBytes());
  r = Cookies({"clear", "chrome", "--yes"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(CountRows(chrome), "0");
  r = Cookies({"safari", "--json"});
  EXPECT_EQ(r.out, "[]\n");
}

TEST_F(CookiesCli, ClearRefusesAFileOfTheWrongKind) {
  testing::WriteText(safari, "not cookies");
  CliResult r = Cookies({"clear", "safari", "--yes"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(ReadText(safari), "not cookies");
}

TEST_F(CookiesCli, UsageErrors) {
  EXPECT_EQ(Cookies({}).code, 2);
  EXPECT_EQ(Cookies({"export", "firefox"}).code, 2);
  EXPECT_EQ(Cookies({"export"}).code, 2);
  EXPECT_EQ(Cookies({"clear", "opera", "--yes"}).code, 2);
  EXPECT_EQ(Cookies({"safari", "--bogus"}).code, 2);
  EXPECT_EQ(Cookies({"safari", "chrome"}).code, 2);
  EXPECT_EQ(Cookies({"export", "chrome", "--out"}).code, 2);
}

TEST(CookiesCliLayouts, SafariHasNoCookieFileOnLinuxAndMissingChromeListsNothing) {
  TempDir home;
  CliResult r = RunCommand({"--home", home.path().string(), "--layout", "linux", "cookies", "safari"});
  EXPECT_EQ(r.code, 1);
  r = RunCommand({"--home", home.path().string(), "--layout", "linux", "cookies", "chrome", "--json"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "[]\n");
  EXPECT_NE(r.err.find("no cookie file"), std::string::npos);
}

}  // namespace
}  // namespace linvara
