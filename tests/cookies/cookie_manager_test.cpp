// The cookie manager's workers, with a queued dispatcher standing in for the
// main thread: nothing reaches the state until the test pumps.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "CookieTestSupport.h"
#include "cookies/CookieManager.h"
#include "model/FileBytes.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using namespace testing;

struct ManagerFixture : ::testing::Test {
  std::shared_ptr<QueuedDispatcher> mainThread = std::make_shared<QueuedDispatcher>();
  CookieManager manager;
  TempDir dir;
  int changes = 0;
  std::optional<std::string> error;  // set by Outcome(): "" on success

  ManagerFixture() { manager.onChanged = [this] { ++changes; }; }

  fs::path Copy(const char* name, const std::string& as) { return CopyTestFile(name, dir / as); }
  bool Finish() {
    return mainThread->PumpUntil([this] { return !manager.IsBusy(); });
  }
  // Scans a copy of a real file and waits for the list.
  fs::path Scanned(const char* name, const std::string& as, CookieFileKind kind) {
    const fs::path file = Copy(name, as);
    EXPECT_TRUE(manager.StartScan(mainThread, file, kind));
    EXPECT_TRUE(Finish());
    return file;
  }
  std::function<void(Result<void>)> Outcome() {
    return [this](Result<void> r) { error = r.ok() ? "" : r.error(); };
  }
};

TEST_F(ManagerFixture, ScanShowsTheListOnceTheMainThreadTakesIt) {
  const fs::path file = Copy(kSafari2014, "Cookies.binarycookies");
  ASSERT_TRUE(manager.StartScan(mainThread, file, CookieFileKind::Binary));
  EXPECT_TRUE(manager.IsBusy());
  EXPECT_TRUE(manager.progressShown);
  EXPECT_TRUE(manager.progressAnimating);
  // The worker waits for the main thread: nothing changes before the pump.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(manager.cookArray.empty());
  EXPECT_FALSE(manager.contentViewShown);

  ASSERT_TRUE(Finish());
  EXPECT_EQ(manager.cookArray.size(), 91u);
  EXPECT_EQ(manager.pagesizeArray.size(), 29u);
  EXPECT_TRUE(manager.contentViewShown);
  EXPECT_FALSE(manager.progressShown);
  EXPECT_FALSE(manager.progressAnimating);
  EXPECT_GE(changes, 2);
}

TEST_F(ManagerFixture, OnlyOneWorkerRunsAtATime) {
  const fs::path file = Copy(kSafari2017, "Cookies.binarycookies");
  std::string finished;
  ASSERT_TRUE(manager.StartScan(mainThread, file, CookieFileKind::Binary, [&] { finished += "first;"; }));
  EXPECT_FALSE(manager.StartScan(mainThread, file, CookieFileKind::Binary, [&] { finished += "second;"; }));
  EXPECT_FALSE(manager.StartRemoval(mainThread));
  EXPECT_FALSE(manager.StartExport(mainThread, dir / "export"));
  ASSERT_TRUE(Finish());
  EXPECT_EQ(finished, "first;");
  EXPECT_FALSE(fs::exists(dir / "export"));
  EXPECT_EQ(*ReadFileBytes(file), *ReadFileBytes(TestData(kSafari2017)));  // no removal ran
}

TEST_F(ManagerFixture, AMissingDatabaseScansAsAnEmptyList) {
  const fs::path missing = dir / "Default" / "Cookies";
  manager.binaryCookie = true;
  ASSERT_TRUE(manager.StartScan(mainThread, missing, CookieFileKind::Database));
  ASSERT_TRUE(Finish());
  EXPECT_TRUE(manager.cookArray.empty());
  EXPECT_FALSE(manager.binaryCookie);
  EXPECT_EQ(manager.currentScanFilePath, missing.string());
  EXPECT_TRUE(manager.contentViewShown);
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(ManagerFixture, OpenedFilesMakeTheNewCookiesList) {
  // Names say nothing: the first bytes decide.
  ASSERT_TRUE(manager.OpenCookieFile(mainThread, Copy(kSafari2017, "first.db")));
  EXPECT_TRUE(manager.bOpenCookie);
  ASSERT_TRUE(Finish());
  EXPECT_TRUE(manager.binaryCookie);
  EXPECT_EQ(manager.newCookieArray.size(), 2u);

  // Opening another file starts the New Cookies list afresh.
  ASSERT_TRUE(manager.OpenCookieFile(mainThread, Copy(kChrome68, "second.binarycookies")));
  ASSERT_TRUE(Finish());
  EXPECT_FALSE(manager.binaryCookie);
  EXPECT_TRUE(manager.pagesizeArray.empty());
  EXPECT_EQ(manager.newCookieArray.size(), 5u);

  // A browser scan does not add to it; the New Cookies button shows it again.
  Scanned(kSafari2014, "Cookies.binarycookies", CookieFileKind::Binary);
  EXPECT_EQ(manager.newCookieArray.size(), 5u);
  EXPECT_EQ(manager.tableContent.size(), 91u);
  manager.ShowNewCookies();
  EXPECT_EQ(manager.tableContent, manager.newCookieArray);

  // A file of neither kind is ignored and empties the New Cookies list.
  WriteText(dir / "notes.txt", "COOK is not cook");
  EXPECT_FALSE(manager.OpenCookieFile(mainThread, dir / "notes.txt"));
  EXPECT_FALSE(manager.IsBusy());
  EXPECT_FALSE(manager.bOpenCookie);
  EXPECT_TRUE(manager.newCookieArray.empty());
  EXPECT_FALSE(manager.CheckFilePathISCookie(mainThread, dir / "missing"));
  EXPECT_EQ(mainThread->Pump(), 0);
}

// Before any scan there is no file to empty.
TEST_F(ManagerFixture, RemovalEmptiesOnlyTheScannedDatabase) {
  ASSERT_TRUE(manager.StartRemoval(mainThread, Outcome()));
  ASSERT_TRUE(Finish());
  EXPECT_EQ(error, "");
  EXPECT_TRUE(fs::is_empty(dir.path()));
  const fs::path db = Scanned(kChrome68, "Cookies", CookieFileKind::Database);
  ASSERT_TRUE(manager.StartRemoval(mainThread, Outcome()));
  EXPECT_TRUE(manager.progressAnimating);
  ASSERT_TRUE(Finish());
  EXPECT_EQ(error, "");
  EXPECT_FALSE(manager.progressAnimating);
  EXPECT_EQ(QuerySql(db, "select count(*) from cookies"), "0");
  EXPECT_TRUE(manager.cookArray.empty());
  EXPECT_TRUE(manager.tableContent.empty());
}

TEST_F(ManagerFixture, ExportShowsProgressWhileItRuns) {
  ASSERT_TRUE(manager.StartExport(mainThread, dir / "export", Outcome()));
  EXPECT_TRUE(manager.progressShown);
  ASSERT_TRUE(Finish());
  EXPECT_EQ(error, "");
  EXPECT_FALSE(manager.progressShown);
}

TEST(CookieManagerLifetime, AManagerGoneBeforeTheFinishDropsTheResult) {
  auto mainThread = std::make_shared<QueuedDispatcher>();
  auto manager = std::make_unique<CookieManager>();
  bool finished = false;
  ASSERT_TRUE(manager->StartScan(mainThread, TestData(kSafari2017), CookieFileKind::Binary, [&] { finished = true; }));
  manager.reset();
  // The worker still hands over; the main thread finds nobody and drops it.
  int ran = 0;
  for (int i = 0; i < 200 && ran == 0; ++i) {
    ran = mainThread->Pump();
    if (ran == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(finished);
}

}  // namespace
}  // namespace linvara
