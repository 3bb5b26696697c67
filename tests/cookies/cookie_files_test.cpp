// Cookie files: their kind and export, the text forms of their fields, and
// Chrome's cookie databases read, emptied and damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "CookieTestSupport.h"
#include "cookies/CookieDatabase.h"
#include "cookies/CookieFiles.h"
#include "cookies/CookieText.h"
#include "model/FileBytes.h"
#include "profile/CookieStores.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using namespace testing;
using Strings = std::vector<std::string>;

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

CookieList ReadDb(const fs::path& path) {
  CookieList list;
  ReadCookDatabaseFileWithPath(path, list);
  return list;
}

TEST(ChromeCookieRealFiles, EachSchemaListsItsRows) {
  ScopedTimeZone utc("UTC");
  struct Case {
    const char* file;
    std::size_t rows, secure, withValue;
    Strings first;  // the first row's fields, its value only as far as given here
    std::size_t firstValueLength;
  };
  const Case cases[] = {
      // A `secure` column; the encrypted value described: 51 bytes in thirteen groups.
      {kChromeSecure, 1, 1, 1, {"news.ycombinator.com", "user", "/", "<7631300e ", "YES", "01-17-2038 19:14"}, 116},
      {kChrome68, 5, 0, 5, {".google.com", "__utma", "/gmail/about/", "<763131d6 ec5c31cf ", "NO", "08-13-2020 15:03"},
       152},
      // No encrypted_value column: the plain values, six of them empty.
      {kChromePlain, 560, 1, 554, {".tools.google.com", "__utma", "/chrome/intl/en/", "21104190.", "NO", "08-14-2013 14:19"},
       54},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TempDir dir;
    CookieList list = ReadDb(CopyTestFile(c.file, dir / "Cookies"));
    ASSERT_EQ(list.size(), c.rows);
    Strings first = Fields(*list[0]);
    EXPECT_EQ(first[3].size(), c.firstValueLength);
    first[3].resize(c.first[3].size());
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(std::tuple(list[0]->cookieStartOffSet, list[0]->cookieLength), std::tuple(0u, 1));
    std::size_t secure = 0, withValue = 0;
    for (const auto& cookie : list) {
      secure += cookie->secureValue == "YES";
      withValue += cookie->fileValue.has_value();
      EXPECT_TRUE(cookie->hasExpired);  // every row of these files has an expiry
    }
    EXPECT_EQ(std::tuple(secure, withValue), std::tuple(c.secure, c.withValue));
  }
}

// Reading the builder's rows in full is checked with the profile's cookie stores.
TEST(ChromeCookieDatabase, TheBuilderWritesTheCurrentSchema) {
  TempDir dir;
  ChromeCookieRow row;
  row.value = "plain", row.encryptedValue = std::string("v10\x01\xab\xcd\xef\x00\x02", 9);
  ASSERT_TRUE(profile::WriteChromeCookies(dir / "Cookies", {row}).ok());
  EXPECT_EQ(QuerySql(dir / "Cookies", "select value from meta where key='version'"), "24");
  CookieList list = ReadDb(dir / "Cookies");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->fileValue, "<76313001 abcdef00 02>");  // the encrypted value wins, in groups of four bytes
}

TEST(ChromeCookieDatabase, ColumnRules) {
  ScopedTimeZone utc("UTC");
  TempDir dir;
  // Chrome 2017's table with a `secure` column.
  ExecSql(dir / "Cookies",
          "CREATE TABLE cookies (creation_utc INTEGER NOT NULL UNIQUE PRIMARY KEY,host_key TEXT NOT NULL,"
          "name TEXT NOT NULL,value TEXT NOT NULL,path TEXT NOT NULL,expires_utc INTEGER NOT NULL,"
          "secure INTEGER NOT NULL,httponly INTEGER NOT NULL,last_access_utc INTEGER NOT NULL,"
          "has_expires INTEGER NOT NULL DEFAULT 1,persistent INTEGER NOT NULL DEFAULT 1,"
          "priority INTEGER NOT NULL DEFAULT 1,encrypted_value BLOB DEFAULT '',firstpartyonly INTEGER NOT NULL DEFAULT 0);"
          "INSERT INTO cookies VALUES(1,'','n1','','/',0,4,0,0,2,1,1,X'',0);"
          "INSERT INTO cookies VALUES(2,'h2','n2','','',13241804625000000,1,0,0,1,1,1,X'00ff',0);"
          "INSERT INTO cookies VALUES(3,'h3','',X'',X'2f',0,0,0,0,0,1,1,NULL,0);"
          "INSERT INTO cookies VALUES(4,CAST(X'61ff62' AS TEXT),'n','','/',0,0,0,0,1,1,1,X'01',0);");
  CookieList list = ReadDb(dir / "Cookies");
  ASSERT_EQ(list.size(), 4u);
  // Empty texts stay unset; expires 0 gives no date; only 1 marks secure (not 4) and has-expires (not 2).
  EXPECT_EQ(Fields(*list[0]), (Strings{"<unset>", "n1", "/", "<unset>", "NO", "<unset>"}));
  EXPECT_FALSE(list[0]->hasExpired);
  EXPECT_EQ(Fields(*list[1]), (Strings{"h2", "n2", "<unset>", "<00ff>", "YES", "08-13-2020 15:03"}));
  EXPECT_TRUE(list[1]->hasExpired);
  EXPECT_FALSE(list[2]->fileName.has_value());
  EXPECT_EQ(list[2]->filePath, "/");  // stored as a blob, read as text
  EXPECT_FALSE(list[2]->fileValue.has_value());
  EXPECT_EQ(list[3]->fileHost, "");  // invalid UTF-8 text becomes empty
}

TEST(ChromeCookieDatabase, NothingIsAddedForMissingOrForeignFiles) {
  TempDir dir;
  CookieList list{std::make_shared<PRCookFileNode>()};
  ReadCookDatabaseFileWithPath(dir / "Cookies", list);
  EXPECT_FALSE(fs::exists(dir / "Cookies"));  // no database created by looking
  ReadCookDatabaseFileWithPath("", list);
  WriteText(dir / "text", "not a database at all");
  ReadCookDatabaseFileWithPath(dir / "text", list);
  EXPECT_EQ(ReadText(dir / "text"), "not a database at all");
  ExecSql(dir / "other.sqlite", "CREATE TABLE moz_places(id INTEGER);");
  ReadCookDatabaseFileWithPath(dir / "other.sqlite", list);
  ReadCookDatabaseFileWithPath(dir.path(), list);  // a folder
  EXPECT_EQ(list.size(), 1u);
}

// Reads a database while a second connection, as a running browser, has run `holderSql`
// on it and keeps it open; every file of the database must stay byte for byte the same.
CookieList ReadWhileHeld(const std::string& holderSql) {
  TempDir dir;
  ChromeCookieRow row;
  row.host = "before.test";
  EXPECT_TRUE(profile::WriteChromeCookies(dir / "Cookies", {row}).ok());
  auto holder = profile::SqlConnection::Open(dir / "Cookies");
  EXPECT_TRUE(holder.ok() && holder->Exec(holderSql).ok()) << holderSql;
  const std::string before = FolderFingerprint(dir.path());
  CookieList list = ReadDb(dir / "Cookies");
  EXPECT_EQ(FolderFingerprint(dir.path()), before) << holderSql;
  return list;
}

// A writer that keeps its log has its change only in Cookies-wal while it is open.
TEST(ChromeCookieDatabase, AnOpenDatabaseIsReadAsItsHolderSeesIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; UPDATE cookies SET host_key='held.test';", "held.test"},
      {"", "before.test"},
      {"BEGIN EXCLUSIVE;", "before.test"}};
  for (const auto& [holderSql, host] : cases) {
    CookieList list = ReadWhileHeld(holderSql);
    ASSERT_EQ(list.size(), 1u) << holderSql;
    EXPECT_EQ(list[0]->fileHost, host);
  }
}

TEST(ChromeCookieRemoval, DeletesEveryRowAndCompacts) {
  TempDir dir;
  const fs::path db = CopyTestFile(kChromePlain, dir / "Cookies");
  const auto sizeBefore = fs::file_size(db);
  const std::string metaRows = QuerySql(db, "select count(*) from meta");
  ASSERT_TRUE(RemoveCookieData(db, false).ok());
  EXPECT_EQ(QuerySql(db, "select count(*) from cookies"), "0");
  EXPECT_EQ(QuerySql(db, "PRAGMA freelist_count;"), "0");
  EXPECT_LT(fs::file_size(db), sizeBefore);
  EXPECT_EQ(QuerySql(db, "select count(*) from meta"), metaRows);
}

TEST(ChromeCookieRemoval, AMissingDatabaseIsReportedNotCreated) {
  TempDir dir;
  EXPECT_FALSE(RemoveAllDatabaseCookies(dir / "missing").ok());
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(CookieDatabaseRobustness, DamagedDatabasesAreReadOrSkippedWithoutHarm) {
  auto original = ReadFileBytes(TestData(kChrome68));
  ASSERT_TRUE(original.ok());
  TempDir dir;
  std::mt19937 random(11);
  for (int round = 0; round < 150; ++round) {
    std::string bytes = *original;
    for (int flips = 1 + static_cast<int>(random() % 40); flips > 0; --flips)
      bytes[100 + random() % (bytes.size() - 100)] = static_cast<char>(random() & 0xff);
    if (round % 4 == 0) bytes.resize(100 + random() % (bytes.size() - 100));
    WriteText(dir / "Cookies", bytes);
    CookieList cookies;
    ReadCookDatabaseFileWithPath(dir / "Cookies", cookies);
    EXPECT_LE(cookies.size(), 5u);
  }
}

}  // namespace
}  // namespace linvara
