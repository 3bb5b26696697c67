#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "CookieTestSupport.h"
#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieDatabase.h"
#include "cookies/CookieFiles.h"
#include "model/FileBytes.h"
#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using namespace testing;
using Strings = std::vector<std::string>;

CookieList ReadDb(const fs::path& path) {
  CookieList list;
  ReadCookDatabaseFileWithPath(path, list);
  return list;
}

// Chrome 2017's table with a `secure` column, filled by SQL.
void MakeSecureSchemaDb(const fs::path& db, const std::string& rows) {
  ExecSql(db,
          "CREATE TABLE cookies (creation_utc INTEGER NOT NULL UNIQUE PRIMARY KEY,host_key TEXT NOT NULL,"
          "name TEXT NOT NULL,value TEXT NOT NULL,path TEXT NOT NULL,expires_utc INTEGER NOT NULL,"
          "secure INTEGER NOT NULL,httponly INTEGER NOT NULL,last_access_utc INTEGER NOT NULL,"
          "has_expires INTEGER NOT NULL DEFAULT 1,persistent INTEGER NOT NULL DEFAULT 1,"
          "priority INTEGER NOT NULL DEFAULT 1,encrypted_value BLOB DEFAULT '',"
          "firstpartyonly INTEGER NOT NULL DEFAULT 0);" +
              rows);
}

TEST(ChromeCookieRealFiles, SecureSchemaOf2017) {
  ScopedTimeZone utc("UTC");
  TempDir dir;
  CookieList list = ReadDb(CopyTestFile(kChromeSecure, dir / "Cookies"));
  ASSERT_EQ(list.size(), 1u);
  const PRCookFileNode& c = *list[0];
  EXPECT_EQ(std::tuple(*c.fileHost, *c.fileName, *c.filePath, c.secureValue, *c.expiredDate),
            std::tuple("news.ycombinator.com", "user", "/", "YES", "01-17-2038 19:14"));  // secure = 1
  EXPECT_TRUE(c.hasExpired);
  ASSERT_TRUE(c.fileValue.has_value());
  // 51 bytes: thirteen groups, the last of three bytes.
  EXPECT_EQ(c.fileValue->substr(0, 10), "<7631300e ");
  EXPECT_EQ(c.fileValue->size(), 1 + 51 * 2 + 12 + 1);
  EXPECT_EQ(c.fileValue->back(), '>');
  EXPECT_EQ(c.cookieStartOffSet, 0u);
  EXPECT_EQ(c.cookieLength, 1);
}

TEST(ChromeCookieRealFiles, IsSecureSchemaOfChrome68) {
  ScopedTimeZone utc("UTC");
  TempDir dir;
  CookieList list = ReadDb(CopyTestFile(kChrome68, dir / "Cookies"));
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(std::tuple(*list[0]->fileHost, *list[0]->fileName, *list[0]->filePath, *list[0]->expiredDate),
            std::tuple(".google.com", "__utma", "/gmail/about/", "08-13-2020 15:03"));
  EXPECT_EQ(list[0]->fileValue->substr(0, 19), "<763131d6 ec5c31cf ");
  EXPECT_EQ(list[1]->fileHost, ".twitter.com");
  for (const auto& c : list) {
    EXPECT_EQ(c->secureValue, "NO");  // is_secure is 0 in every row
    EXPECT_TRUE(c->hasExpired);
    EXPECT_TRUE(c->fileValue.has_value());
  }
}

TEST(ChromeCookieRealFiles, OldSchemaWithoutEncryptedValueListsThePlainValues) {
  TempDir dir;
  CookieList list = ReadDb(CopyTestFile(kChromePlain, dir / "Cookies"));
  ASSERT_EQ(list.size(), 560u);
  int withValue = 0, secure = 0, persistent = 0;
  for (const auto& c : list) {
    withValue += c->fileValue.has_value();
    secure += c->secureValue == "YES";
    persistent += c->hasExpired;
    EXPECT_TRUE(c->fileHost.has_value());
    EXPECT_TRUE(c->expiredDate.has_value());
  }
  EXPECT_EQ(withValue, 554);  // six rows have an empty value
  EXPECT_EQ(secure, 1);
  EXPECT_EQ(persistent, 560);
}

TEST(ChromeCookieRealFiles, ReadingLeavesTheFileAndItsJournalModeAlone) {
  for (const char* name : {kChromeSecure, kChrome68, kChromePlain}) {
    TempDir dir;
    const fs::path db = CopyTestFile(name, dir / "Cookies");
    const std::string before = *ReadFileBytes(db);
    EXPECT_FALSE(ReadDb(db).empty());
    EXPECT_EQ(*ReadFileBytes(db), before) << name;
    EXPECT_EQ(QuerySql(db, "PRAGMA journal_mode;"), "delete") << name;
    EXPECT_FALSE(fs::exists(dir / "Cookies-wal"));
    EXPECT_FALSE(fs::exists(dir / "Cookies-journal"));
  }
}

TEST(ChromeCookieDatabase, CurrentSchemaFromTheBuilder) {
  ScopedTimeZone utc("UTC");
  TempDir dir;
  ChromeCookieRow a, b;
  a.host = ".example.com", a.name = "SID", a.encryptedValue = std::string("v10\x01\x02", 5);
  a.creationUtc = 13300000000000000, a.expiresUtc = (1545002557LL + 11644473600LL) * 1000000 + 999999, a.secure = true;
  b.host = "example.org", b.name = "plain", b.value = "visible", b.creationUtc = 13300000000000001;
  auto bytes = BuildChromeCookieDatabase({a, b});
  ASSERT_TRUE(bytes.ok()) << bytes.error();
  ASSERT_TRUE(WriteFileAtomically(dir / "Cookies", *bytes).ok());
  EXPECT_EQ(DetectCookieFileKind(dir / "Cookies"), CookieFileKind::Database);
  EXPECT_EQ(QuerySql(dir / "Cookies", "select value from meta where key='version'"), "24");

  CookieList list = ReadDb(dir / "Cookies");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(Fields(*list[0]), (Strings{".example.com", "SID", "/", "<76313001 02>", "YES", "12-16-2018 23:22"}));
  EXPECT_TRUE(list[0]->hasExpired);
  // An empty encrypted value falls back to the plain one.
  EXPECT_EQ(Fields(*list[1]), (Strings{"example.org", "plain", "/", "visible", "NO", "<unset>"}));
  EXPECT_FALSE(list[1]->hasExpired);
}

TEST(ChromeCookieDatabase, ColumnRules) {
  ScopedTimeZone utc("UTC");
  TempDir dir;
  const fs::path db = dir / "Cookies";
  MakeSecureSchemaDb(db,
                     "INSERT INTO cookies VALUES(1,'','n1','','/',0,4,0,0,2,1,1,X'',0);"
                     "INSERT INTO cookies VALUES(2,'h2','n2','','',13241804625000000,1,0,0,1,1,1,X'00ff',0);"
                     "INSERT INTO cookies VALUES(3,'h3','',X'',X'2f',0,0,0,0,0,1,1,NULL,0);"
                     "INSERT INTO cookies VALUES(4,CAST(X'61ff62' AS TEXT),'n','','/',0,0,0,0,1,1,1,X'01',0);");
  CookieList list = ReadDb(db);
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

// Reads while a second connection holds the database after running `holderSql`;
// every file of the database must be byte for byte the same after the read.
CookieList ReadWhileHeld(const fs::path& db, const std::string& holderSql) {
  sqlite3* holder = nullptr;
  EXPECT_EQ(sqlite3_open(db.c_str(), &holder), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(holder, holderSql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  const std::string before = FolderFingerprint(db.parent_path());
  CookieList list = ReadDb(db);
  EXPECT_EQ(FolderFingerprint(db.parent_path()), before);
  sqlite3_close(holder);
  return list;
}

TEST(ChromeCookieDatabase, RowsStillInTheWriteAheadLogAreRead) {
  TempDir dir;
  const fs::path db = dir / "Cookies";
  MakeSecureSchemaDb(db, "PRAGMA journal_mode=WAL;");
  // A writer that keeps its log: the rows live only in Cookies-wal while it is open.
  CookieList list = ReadWhileHeld(db,
                                  "PRAGMA wal_autocheckpoint=0;"
                                  "INSERT INTO cookies VALUES(1,'wal.test','a','','/',0,1,0,0,1,1,1,X'01',0);"
                                  "INSERT INTO cookies VALUES(2,'wal.test','b','','/',0,0,0,0,1,1,1,X'02',0);");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->fileHost, "wal.test");
}

TEST(ChromeCookieDatabase, LockedDatabaseIsRead) {
  TempDir dir;
  const fs::path db = dir / "Cookies";
  MakeSecureSchemaDb(db, "INSERT INTO cookies VALUES(1,'locked.test','a','','/',0,1,0,0,1,1,1,X'01',0);");
  CookieList list = ReadWhileHeld(db, "BEGIN EXCLUSIVE;");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->fileHost, "locked.test");
}

TEST(ChromeCookieRemoval, DeletesEveryRowAndCompacts) {
  TempDir dir;
  const fs::path db = CopyTestFile(kChromePlain, dir / "Cookies");
  const auto sizeBefore = fs::file_size(db);
  ASSERT_TRUE(RemoveCookieData(db, false).ok());
  EXPECT_EQ(QuerySql(db, "select count(*) from cookies"), "0");
  EXPECT_EQ(QuerySql(db, "PRAGMA freelist_count;"), "0");
  EXPECT_LT(fs::file_size(db), sizeBefore);
  EXPECT_EQ(QuerySql(db, "select count(*) from meta"), QuerySql(TestData(kChromePlain), "select count(*) from meta"));
  EXPECT_TRUE(ReadDb(db).empty());
}

TEST(ChromeCookieRemoval, FailuresAreReported) {
  TempDir dir;
  EXPECT_FALSE(RemoveAllDatabaseCookies(dir / "missing").ok());
  EXPECT_FALSE(fs::exists(dir / "missing"));
  ExecSql(dir / "other.sqlite", "CREATE TABLE moz_places(id INTEGER);");
  EXPECT_FALSE(RemoveAllDatabaseCookies(dir / "other.sqlite").ok());
}

TEST(SafariCookieRemoval, TheFileTakesTheSampleCookiesContent) {
  TempDir dir;
  const fs::path file = CopyTestFile(kSafari2014, dir / "Cookies.binarycookies");
  ASSERT_TRUE(RemoveCookieData(file, true).ok());
  EXPECT_EQ(*ReadFileBytes(file), SampleCookiesBytes());  // the resource's bytes
  // Only the target changed in the folder: no temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SafariCookieRemoval, AFileThatOnlyBeginsWithTheMagicIsLeftUnchanged) {
  TempDir dir;
  const std::string recipe = "cookbook: flour, eggs, butter and a pinch of salt\n";
  WriteText(dir / "recipes.txt", recipe);
  ASSERT_EQ(DetectCookieFileKind(dir / "recipes.txt"), CookieFileKind::Binary);
  const Result<void> removed = RemoveCookieData(dir / "recipes.txt", true);
  ASSERT_FALSE(removed.ok());
  EXPECT_EQ(removed.errorKind(), ErrorKind::Malformed);
  EXPECT_EQ(ReadText(dir / "recipes.txt"), recipe);
}

}  // namespace
}  // namespace linvara
