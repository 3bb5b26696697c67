// The launch: the one-time backup of the browsers' files, the welcome page, the
// data folder; closing the window.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "PresenterFixture.h"
#include "app/FirstStartBackup.h"
#include "cookies/CookieTestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using namespace linvara::testing;

namespace {

struct LaunchFixture : TestHome {
  std::shared_ptr<Preferences> prefs = std::make_shared<Preferences>(loc.preferencesFile());

  std::unique_ptr<AppDelegate> Launch() {
    auto app = std::make_unique<AppDelegate>(Services(prefs));
    app->applicationDidFinishLaunching();
    return app;
  }
  std::vector<std::string> BackupNames() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(loc.backupFolder())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

const char* const kCountRows = "select count(*) from moz_bookmarks";

}  // namespace

TEST(Launch, FirstStartBacksUpEveryBrowserButEdgeWithoutOverwriting) {
  LaunchFixture f;
  CopyTestFile("safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist", f.loc.safariBookmarks());
  WriteText(f.loc.chromeProfile2Bookmarks(), "{\"roots\":{}}");
  WriteText(f.loc.edgeBookmarks(), "{\"roots\":{}}");
  WriteText(f.loc.operaBookmarks(), "{\"opera\":1}");
  CopyTestFile("firefox_places/firefox-windows-2020-09_schema54_separators_places.sqlite",
               f.loc.firefoxProfilesFolder() / "abcd.default" / "places.sqlite");
  WriteText(f.loc.backupFolder() / "Opera_Bookmarks", "older backup");

  f.Launch();
  EXPECT_EQ(f.BackupNames(),
            (std::vector<std::string>{"Bookmarks.plist", "Chrome_Bookmarks", "Opera_Bookmarks", "places.sqlite"}));
  EXPECT_EQ(ReadText(f.loc.backupFolder() / "Bookmarks.plist"), ReadText(f.loc.safariBookmarks()));
  EXPECT_EQ(ReadText(f.loc.backupFolder() / "Chrome_Bookmarks"), "{\"roots\":{}}") << "Profile 2 chosen";
  EXPECT_EQ(ReadText(f.loc.backupFolder() / "Opera_Bookmarks"), "older backup");
  EXPECT_EQ(QuerySql(f.loc.backupFolder() / "places.sqlite", kCountRows), "19");

  WriteText(f.loc.safariBookmarks(), "changed since");
  f.Launch();  // a later start copies nothing
  EXPECT_NE(ReadText(f.loc.backupFolder() / "Bookmarks.plist"), "changed since");
}

// The first start opens the welcome page; a later one only recreates a missing data folder.
TEST(Launch, OnlyTheFirstStartOpensTheWelcomePage) {
  LaunchFixture f;
  f.Launch();
  EXPECT_EQ(Preferences(f.loc.preferencesFile()).getString(prefkeys::kFirstStart), "NO") << "saved to disk";
  EXPECT_EQ(f.platform->openedUrls, (std::vector<std::string>{"https://www.zelvane.com/welcome-to-install-linvara.html"}));
  fs::remove_all(f.loc.dataFolder());
  EXPECT_EQ(f.Launch()->theLinvaraPath, f.loc.dataFolder().string());
  EXPECT_TRUE(fs::is_directory(f.loc.dataFolder()));
  EXPECT_FALSE(fs::exists(f.loc.backupFolder()));
  EXPECT_EQ(f.platform->openedUrls.size(), 1u);
}

TEST(Launch, PlacesCopyIncludesUncheckpointedWriteAheadLog) {
  TempDir dir;
  fs::path source = dir / "places.sqlite";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(source.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
               "create table moz_bookmarks(id integer primary key, title text);", nullptr, nullptr, nullptr);
  for (int i = 0; i < 50; ++i) sqlite3_exec(db, "insert into moz_bookmarks(title) values('x');", nullptr, nullptr, nullptr);
  ASSERT_TRUE(fs::exists(dir / "places.sqlite-wal")) << "rows still in the log";

  ASSERT_TRUE(CopySqliteDatabase(source, dir / "copy.sqlite"));
  sqlite3_close(db);
  EXPECT_EQ(QuerySql(dir / "copy.sqlite", kCountRows), "50");
  EXPECT_FALSE(fs::exists(dir / "copy.sqlite-wal"));
  EXPECT_FALSE(CopySqliteDatabase(source, dir / "copy.sqlite")) << "an existing copy is kept";
  EXPECT_FALSE(CopySqliteDatabase(dir / "missing.sqlite", dir / "other.sqlite"));
  EXPECT_FALSE(fs::exists(dir / "other.sqlite"));
}

TEST(WindowDelegate, ClosingTheWindowEndsTheApplication) {
  AppDelegate app(AppServices{});
  EXPECT_FALSE(app.terminateRequested());
  EXPECT_TRUE(app.windowShouldClose());
  EXPECT_TRUE(app.terminateRequested());
}

TEST(Launch, ControllerWithoutScreenAnswersAlertsWithTheDefaultButton) {
  LaunchFixture f;
  f.platform->running = {bundleids::kSafari};
  auto app = f.Launch();
  app->PressNavigationButton(outlets::kAllBookMarkBtn);  // the running-browser sheet, no screen to show it on
  EXPECT_EQ(app->viewState().bookMarkType, ViewKind::All);
  EXPECT_TRUE(app->lists().allbookMarkArray.empty());
}
