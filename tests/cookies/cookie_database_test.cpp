#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "CookieTestSupport.h"
#include "cookies/CookieDatabase.h"
#include "cookies/CookieFiles.h"
#include "model/FileBytes.h"
#include "platform/AtomicFile.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using testing::ExecSql;
using testing::QuerySql;
using testing::ScopedTimeZone;
using testing::TempDir;
using testing::TestData;

const char* const kSecureSchemaFile = "chrome_cookies/chrome-macos-2017_meta-v9_secure-encrypted_Cookies";
const char* const kIsSecureSchemaFile = "chrome_cookies/chrome-68_meta-v10_is_secure_Cookies";
const char* const kPlainValueFile = "chrome_cookies/chrome-old_meta-v5_no-encrypted_value_560cookies_Cookies";

CookieList ReadDb(const fs::path& path) {
  CookieList list;
  ReadCookDatabaseFileWithPath(path, list);
  return list;
}

// A copy of a real file in a fresh folder (the readers must never touch tests/data).
fs::path CopyOf(const TempDir& dir, const char* name) {
  fs::path target = dir / "Cookies";
  fs::copy_file(TestData(name), target, fs::copy_options::overwrite_existing);
  return target;
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
  CookieList list = ReadDb(CopyOf(dir, kSecureSchemaFile));
  ASSERT_EQ(list.size(), 1u);
  const PRCookFileNode& c = *list[0];
  EXPECT_EQ(c.fileHost, "news.ycombinator.com");
  EXPECT_EQ(c.fileName, "user");
  EXPECT_EQ(c.filePath, "/");
  EXPECT_EQ(c.secureValue, "YES");  // secure = 1
  EXPECT_TRUE(c.hasExpired);
  EXPECT_EQ(c.expiredDate, "01-17-2038 19:14");
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
  CookieList list = ReadDb(CopyOf(dir, kIsSecureSchemaFile));
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[0]->fileHost, ".google.com");
  EXPECT_EQ(list[0]->fileName, "__utma");
  EXPECT_EQ(list[0]->filePath, "/gmail/about/");
  EXPECT_EQ(list[0]->expiredDate, "08-13-2020 15:03");
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
  CookieList list = ReadDb(CopyOf(dir, kPlainValueFile));
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
  for (const char* name : {kSecureSchemaFile, kIsSecureSchemaFile, kPlainValueFile}) {
    TempDir dir;
    const fs::path db = CopyOf(dir, name);
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
  ChromeCookieRow a;
  a.host = ".example.com";
  a.name = "SID";
  a.encryptedValue = std::string("v10\x01\x02", 5);
  a.path = "/";
  a.creationUtc = 13300000000000000;
  a.expiresUtc = (1545002557LL + 11644473600LL) * 1000000 + 999999;
  a.secure = true;
  ChromeCookieRow b;
  b.host = "example.org";
  b.name = "plain";
  b.value = "visible";
  b.creationUtc = 13300000000000001;
  auto bytes = BuildChromeCookieDatabase({a, b});
  ASSERT_TRUE(bytes.ok()) << bytes.error();
  ASSERT_TRUE(WriteFileAtomically(dir / "Cookies", *bytes).ok());
  EXPECT_EQ(DetectCookieFileKind(dir / "Cookies"), CookieFileKind::Database);
  EXPECT_EQ(QuerySql(dir / "Cookies", "select value from meta where key='version'"), "24");

  CookieList list = ReadDb(dir / "Cookies");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->fileHost, ".example.com");
  EXPECT_EQ(list[0]->fileValue, "<76313001 02>");
  EXPECT_EQ(list[0]->secureValue, "YES");
  EXPECT_EQ(list[0]->expiredDate, "12-16-2018 23:22");
  EXPECT_TRUE(list[0]->hasExpired);
  // An empty encrypted value falls back to the plain one.
  EXPECT_EQ(list[1]->fileValue, "visible");
  EXPECT_EQ(list[1]->secureValue, "NO");
  EXPECT_FALSE(list[1]->expiredDate.has_value());
  EXPECT_FALSE(list[1]->hasExpired);
}

TEST(ChromeCookieDatabase, ColumnRules) {
  TempDir dir;
  const fs::path db = dir / "Cookies";
  MakeSecureSchemaDb(db,
                     "INSERT INTO cookies VALUES(1,'','n1','','/',0,4,0,0,2,1,1,X'',0);"
                     "INSERT INTO cookies VALUES(2,'h2','n2','','',13241804625000000,1,0,0,1,1,1,X'00ff',0);"
                     "INSERT INTO cookies VALUES(3,'h3','',X'',X'2f',0,0,0,0,0,1,1,NULL,0);");
  CookieList list = ReadDb(db);
  ASSERT_EQ(list.size(), 3u);
  // Empty texts stay unset; expires 0 gives no date; only 1 marks secure and has-expires.
  EXPECT_FALSE(list[0]->fileHost.has_value());
  EXPECT_EQ(list[0]->fileName, "n1");
  EXPECT_EQ(list[0]->filePath, "/");
  EXPECT_FALSE(list[0]->expiredDate.has_value());
  EXPECT_EQ(list[0]->secureValue, "NO");  // secure = 4
  EXPECT_FALSE(list[0]->hasExpired);      // has_expires = 2
  EXPECT_FALSE(list[0]->fileValue.has_value());
  EXPECT_FALSE(list[1]->filePath.has_value());
  EXPECT_EQ(list[1]->secureValue, "YES");
  EXPECT_TRUE(list[1]->hasExpired);
  EXPECT_EQ(list[1]->fileValue, "<00ff>");
  EXPECT_TRUE(list[1]->expiredDate.has_value());
  EXPECT_FALSE(list[2]->fileName.has_value());
  EXPECT_EQ(list[2]->filePath, "/");  // stored as a blob, read as text
  EXPECT_FALSE(list[2]->fileValue.has_value());
}

TEST(ChromeCookieDatabase, InvalidUtf8TextBecomesEmpty) {
  TempDir dir;
  const fs::path db = dir / "Cookies";
  MakeSecureSchemaDb(db, "INSERT INTO cookies VALUES(1,CAST(X'61ff62' AS TEXT),'n','','/',0,0,0,0,1,1,1,X'01',0);");
  CookieList list = ReadDb(db);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->fileHost, "");
}

TEST(ChromeCookieDatabase, NothingIsAddedForMissingOrForeignFiles) {
  TempDir dir;
  CookieList list;
  list.push_back(std::make_shared<PRCookFileNode>());
  ReadCookDatabaseFileWithPath(dir / "Cookies", list);
  EXPECT_FALSE(fs::exists(dir / "Cookies"));  // no database created by looking
  ReadCookDatabaseFileWithPath("", list);
  testing::WriteText(dir / "text", "not a database at all");
  ReadCookDatabaseFileWithPath(dir / "text", list);
  EXPECT_EQ(testing::ReadText(dir / "text"), "not a database at all");
  ExecSql(dir / "other.sqlite", "CREATE TABLE moz_places(id INTEGER);");
  ReadCookDatabaseFileWithPath(dir / "other.sqlite", list);
  ReadCookDatabaseFileWithPath(dir.path(), list);  // a folder
  EXPECT_EQ(list.size(), 1u);
}

TEST(ChromeCookieDatabase, WriteAheadLogIsFoldedAndTheModeKept) {
  TempDir dir;
  const fs::path db = dir / "Cookies";
  MakeSecureSchemaDb(db, "PRAGMA journal_mode=WAL;");
  // A writer that keeps its log: the rows live only in Cookies-wal while it is open.
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer,
                         "PRAGMA wal_autocheckpoint=0;"
                         "INSERT INTO cookies VALUES(1,'wal.test','a','','/',0,1,0,0,1,1,1,X'01',0);"
                         "INSERT INTO cookies VALUES(2,'wal.test','b','','/',0,0,0,0,1,1,1,X'02',0);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  CookieList list = ReadDb(db);
  sqlite3_close(writer);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->fileHost, "wal.test");
  EXPECT_EQ(QuerySql(db, "PRAGMA journal_mode;"), "wal");
}

TEST(ChromeCookieDatabase, ALockedDatabaseIsReadImmutable) {
  TempDir dir;
  const fs::path db = dir / "Cookies";
  MakeSecureSchemaDb(db, "INSERT INTO cookies VALUES(1,'locked.test','a','','/',0,1,0,0,1,1,1,X'01',0);");
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
  CookieList list = ReadDb(db);
  sqlite3_exec(holder, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->fileHost, "locked.test");
}

TEST(ChromeCookieRemoval, DeletesEveryRowAndCompacts) {
  TempDir dir;
  const fs::path db = CopyOf(dir, kPlainValueFile);
  const auto sizeBefore = fs::file_size(db);
  ASSERT_TRUE(RemoveCookieData(db, false).ok());
  EXPECT_EQ(QuerySql(db, "select count(*) from cookies"), "0");
  EXPECT_EQ(QuerySql(db, "PRAGMA freelist_count;"), "0");
  EXPECT_LT(fs::file_size(db), sizeBefore);
  EXPECT_EQ(QuerySql(db, "select count(*) from meta"), QuerySql(TestData(kPlainValueFile), "select count(*) from meta"));
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
  const fs::path file = dir / "Cookies.binarycookies";
  fs::copy_file(TestData("safari_binarycookies/safari-macos-2014_29pages-91cookies_Cookies.binarycookies"), file);
  ASSERT_TRUE(RemoveCookieData(file, true).ok());
  auto bytes = ReadFileBytes(file);
  ASSERT_TRUE(bytes.ok());
  const auto resource = ReadFileBytes(fs::path(LINVARA_SOURCE_DIR) / "resources" / "samplecookies");
  ASSERT_TRUE(resource.ok());
  EXPECT_EQ(*bytes, *resource);
  // Only the target changed in the folder: no temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace linvara
