// Cookie files: their kind and export, and the text forms of their fields.
#include <gtest/gtest.h>

#include <filesystem>

#include "CookieTestSupport.h"
#include "cookies/CookieFiles.h"
#include "cookies/CookieText.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using namespace testing;

TEST(CookieFileKindDetection, MagicsDecideTheKind) {
  TempDir dir;
  const std::vector<std::pair<std::string, CookieFileKind>> files{
      {"cook and anything after", CookieFileKind::Binary},
      {"COOK and anything after", CookieFileKind::Unknown},  // the bytes' case matters
      // Any SQLite file, whatever its tables.
      {std::string("SQLite format 3\0garbage that is no database", 44), CookieFileKind::Database},
      {"SQLite format 3 and more", CookieFileKind::Unknown},
      {"co", CookieFileKind::Unknown},
      {"", CookieFileKind::Unknown},
  };
  for (const auto& [bytes, kind] : files) {
    WriteText(dir / "file", bytes);
    EXPECT_EQ(DetectCookieFileKind(dir / "file"), kind) << bytes;
  }
  EXPECT_EQ(DetectCookieFileKind(dir / "missing"), CookieFileKind::Unknown);
  EXPECT_EQ(DetectCookieFileKind(dir.path()), CookieFileKind::Unknown);
}

CookieNodePtr Node(const char* host, const char* name, const char* path, const char* value, const char* secure) {
  auto node = std::make_shared<PRCookFileNode>();
  node->fileHost = host, node->fileName = name, node->filePath = path, node->fileValue = value;
  node->secureValue = secure;
  return node;
}

TEST(CookieExport, WritesTheRecordsWithTwoLineFeedsEachInOneFile) {
  TempDir dir;
  const fs::path folder = dir / "Downloads" / "com.Zelvane.Crumbscope";
  auto unset = std::make_shared<PRCookFileNode>();
  unset->secureValue = "YES";
  ASSERT_TRUE(ExportCookieData({Node("a.test", "n", "/", "caf\xc3\xa9", "NO"), unset, Node("", "", "", "", "NO")},
                               folder).ok());
  // An unset property prints as (null), an empty one as nothing.
  EXPECT_EQ(ReadText(folder / "cookiedata.txt"),
            "Website:a.test  Name:n  Secure:NO  Path:/  Value:caf\xc3\xa9  \n\n"
            "Website:(null)  Name:(null)  Secure:YES  Path:(null)  Value:(null)  \n\n"
            "Website:  Name:  Secure:NO  Path:  Value:  \n\n");
  // Each export replaces the file; an empty list writes an empty file.
  ASSERT_TRUE(ExportCookieData({}, folder).ok());
  EXPECT_EQ(ReadText(folder / "cookiedata.txt"), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(CookieUtf8Text, TextUpToTheFirstNulIsKeptOnlyWhenValid) {
  const std::pair<std::string_view, std::string> cases[] = {
      {"example.com", "example.com"},
      {std::string_view("ab\0cd", 5), "ab"},
      {std::string_view("ok\0\xff", 4), "ok"},  // only the part before the NUL counts
      {"caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8d\xaa", "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8d\xaa"},
      {"", ""},
      {"bad\xff", ""},                         // a byte never in UTF-8
      {"\xc3", ""}, {"\xc3(x", ""},            // a cut sequence, a bad continuation
      {"\xc0\xaf", ""}, {"\xe0\x80\xaf", ""},  // "/" overlong, in two and three bytes
      {"\xed\xa0\x80", ""},                    // the surrogate U+D800
      {"\xf4\x90\x80\x80", ""},                // past U+10FFFF
      {"\x80", ""},                            // a lone continuation
  };
  for (const auto& [text, kept] : cases) EXPECT_EQ(GetStringFormChar(text), kept) << text;
}

// In the local time zone; years before 1990 are shown thirty-one years later; no calendar time gives no date
// (its text, "Unkown Date", is checked through the binary cookie reader).
TEST(CookieDateText, ShowsTheLocalDateOrNone) {
  const std::tuple<const char*, std::int64_t, int, std::optional<std::string>> cases[] = {
      {"Asia/Tokyo", 1545002557, kDateSecondsSince1970, "12-17-2018 08:22"},
      {"UTC", 489110400, kDateSecondsSince1970, "07-02-2016 00:00"},  // 1985-07-02
      {"UTC", 631152000, kDateSecondsSince1970, "01-01-1990 00:00"},  // 1990 is kept
      {"UTC", 631151999, kDateSecondsSince1970, "12-31-2020 23:59"},  // 1989 is not
      {"UTC", INT64_MAX, kDateSecondsSince1970, std::nullopt},
      {"UTC", 0, 7, std::nullopt},  // a kind of time that does not exist
  };
  for (const auto& [zone, time, kind, text] : cases) {
    ScopedTimeZone scoped(zone);
    EXPECT_EQ(GetDateTime(time, kind), text) << zone << " " << time;
  }
}

TEST(CookieTimes, ChromeMicrosecondsSince1601) {
  EXPECT_EQ(ChromeTimeToUnixSeconds(11644473600LL * 1000000), 0);
  EXPECT_EQ(ChromeTimeToUnixSeconds(11644473600LL * 1000000 - 1), -1);  // rounds down
}

TEST(CookieTimes, SafariSecondsSince2001) {
  EXPECT_EQ(SafariTimeToUnixSeconds(0.0), 978307200);
  EXPECT_EQ(SafariTimeToUnixSeconds(566695357.5), 1545002557);  // rounds down
  EXPECT_EQ(SafariTimeToUnixSeconds(-0.5), 978307199);
  for (double noTime : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300})
    EXPECT_EQ(SafariTimeToUnixSeconds(noTime), std::nullopt) << noTime;
}

}  // namespace
}  // namespace linvara
