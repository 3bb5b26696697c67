// The controller's cookie commands on a generated home: scans hand over
// through the queued dispatcher, failures reach the screen as alerts.
#include <gtest/gtest.h>

#include "PresenterFixture.h"
#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieTestSupport.h"
#include "model/FileBytes.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

const char* const kRemovalQuestion = "Are you sure you want to remove all cookies of this file?";

struct CookieHome : PresenterHome {
  fs::path networkCookies() const { return loc.chromeDefaultBookmarks().parent_path() / "Network" / "Cookies"; }

  bool Finish() {
    return dispatcher->PumpUntil([this] { return !app->cookieManager().IsBusy(); });
  }
  // What the window draws.
  const CookieList& table() const { return app->viewState().cookies.tableContent; }
};

TEST(CookieController, RemovalIsConfirmedBeforeTheFileIsEmptied) {
  CookieHome h;
  CopyTestFile(kSafari2014, h.loc.safariCookies());
  AppDelegate& app = h.Start();
  ASSERT_TRUE(app.ActClickSafariAction());
  EXPECT_FALSE(app.ActClickChromeAction());  // one scan at a time: the press is ignored
  ASSERT_TRUE(h.Finish());
  ASSERT_EQ(h.table().size(), 91u);

  h.screen->AnswerNextAlert(AlertButton::Alternate);  // Cancel changes nothing
  ASSERT_TRUE(app.ActRemoveCookieData());
  EXPECT_FALSE(app.cookieManager().IsBusy());
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  const AlertSpec& question = h.screen->alerts[0].request;
  EXPECT_EQ(std::tuple(question.message, question.defaultButton, question.alternateButton, question.asSheet),
            std::tuple(kRemovalQuestion, " Remove ", "Cancel", true));
  EXPECT_EQ(*ReadFileBytes(h.loc.safariCookies()), *ReadFileBytes(TestData(kSafari2014)));
  EXPECT_EQ(h.table().size(), 91u);

  ASSERT_TRUE(app.ActRemoveCookieData());
  ASSERT_TRUE(h.Finish());
  EXPECT_EQ(*ReadFileBytes(h.loc.safariCookies()), SampleCookiesBytes());
  EXPECT_TRUE(h.table().empty());
  EXPECT_EQ(h.screen->alerts.size(), 2u);  // the two questions, no failure
}

// A Chrome database replaced after the scan, an opened text that only begins
// like a cookie file: the removal fails, says so and leaves the file as it was.
TEST(CookieController, AFailedRemovalIsShownWithTheFileUnchanged) {
  for (const bool opened : {false, true}) {
    SCOPED_TRACE(opened ? "opened text" : "Chrome database");
    CookieHome h;
    AppDelegate& app = h.Start();
    const fs::path file = opened ? h.home / "recipes.txt" : h.networkCookies();
    if (opened) {
      WriteText(file, "cookbook: flour, eggs, butter\n");
      h.screen->openPanelAnswers.push_back(std::vector<fs::path>{file});
      app.ActOpenCookieFileAction();
    } else {
      CopyTestFile(kChrome68, file);
      ASSERT_TRUE(app.ActClickChromeAction());
    }
    ASSERT_TRUE(h.Finish());
    const std::size_t shown = h.table().size();
    if (!opened) {
      EXPECT_EQ(shown, 5u);
      EXPECT_EQ(app.cookieManager().currentScanFilePath, file.string());
      fs::remove(file);
      WriteText(file, "replaced by something that is no database");
    }
    const std::string before = ReadText(file);
    ASSERT_TRUE(app.ActRemoveCookieData());
    ASSERT_TRUE(h.Finish());
    EXPECT_EQ(h.screen->alertMessages(), (std::vector<std::string>{kRemovalQuestion, "The cookies could not be removed."}));
    EXPECT_EQ(ReadText(file), before);
    EXPECT_EQ(h.table().size(), shown);
  }
}

TEST(CookieController, ExportShowsTheFolderItWroteOrTheFailure) {
  for (const bool blocked : {false, true}) {
    SCOPED_TRACE(blocked ? "Downloads is a file" : "Downloads is free");
    CookieHome h;
    CopyTestFile(kSafari2017, h.loc.safariCookies());
    AppDelegate& app = h.Start();
    h.Press(outlets::kSafariCookieBtn);
    ASSERT_TRUE(h.Finish());
    ASSERT_EQ(h.table().size(), 2u);
    EXPECT_TRUE(app.viewState().cookies.canExport);
    if (blocked) WriteText(h.home / "Downloads", "a file where the folder should be");

    ASSERT_TRUE(app.ActExportCookieData());
    ASSERT_TRUE(h.Finish());
    const fs::path folder = h.home / "Downloads" / "com.Zelvane.Crumbscope";
    EXPECT_EQ(h.platform->shownFolders, blocked ? std::vector<fs::path>{} : std::vector<fs::path>{folder});
    EXPECT_EQ(h.screen->alertMessages(),
              blocked ? std::vector<std::string>{"The cookies could not be exported."} : std::vector<std::string>{});
    if (blocked) continue;
    const std::string text = ReadText(folder / "cookiedata.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);  // the two rows, two line feeds each
  }
}

TEST(CookieController, OpenedFileIsKeptForNewCookies) {
  CookieHome h;
  AppDelegate& app = h.Start();
  h.screen->openPanelAnswers.push_back(std::vector<fs::path>{TestData(kSafari2017)});
  app.ActOpenCookieFileAction();
  ASSERT_EQ(h.screen->openPanels.size(), 1u);
  ASSERT_TRUE(h.Finish());
  app.ActOpenCookieFileAction();  // a cancelled panel starts nothing
  EXPECT_FALSE(app.cookieManager().IsBusy());
  app.cookieManager().tableContent.clear();
  app.ActClickNewCookiesAction();
  EXPECT_EQ(h.table().size(), 2u);
}

}  // namespace
}  // namespace linvara::testing
