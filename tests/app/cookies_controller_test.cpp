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

struct CookieHome : PresenterHome {
  fs::path safariFile() const { return loc.safariCookies(); }
  fs::path networkCookies() const { return loc.chromeDefaultBookmarks().parent_path() / "Network" / "Cookies"; }

  bool Finish() {
    return dispatcher->PumpUntil([this] { return !app->cookieManager().IsBusy(); });
  }
  // What the window draws.
  const CookieList& table() const { return app->viewState().cookies.tableContent; }
};

TEST(CookieController, SafariButtonScansTheSafariFileAndRemovalEmptiesIt) {
  CookieHome h;
  CopyTestFile(kSafari2014, h.safariFile());
  AppDelegate& app = h.Start();
  ASSERT_TRUE(app.ActClickSafariAction());
  EXPECT_FALSE(app.ActClickChromeAction());  // one scan at a time: the press is ignored
  ASSERT_TRUE(h.Finish());
  EXPECT_EQ(h.table().size(), 91u);
  EXPECT_TRUE(app.cookieManager().binaryCookie);
  EXPECT_EQ(app.cookieManager().currentScanFilePath, h.safariFile().string());
  EXPECT_TRUE(app.cookieManager().contentViewShown);

  // Removal asks first; Cancel changes nothing.
  h.screen->AnswerNextAlert(AlertButton::Alternate);
  ASSERT_TRUE(app.ActRemoveCookieData());
  EXPECT_FALSE(app.cookieManager().IsBusy());
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  const AlertSpec& question = h.screen->alerts[0].request;
  EXPECT_EQ(question.message, "Are you sure you want to remove all cookies of this file?");
  EXPECT_EQ(std::tuple(question.defaultButton, question.alternateButton, question.asSheet),
            std::tuple(" Remove ", "Cancel", true));
  EXPECT_EQ(*ReadFileBytes(h.safariFile()), *ReadFileBytes(TestData(kSafari2014)));
  EXPECT_EQ(h.table().size(), 91u);

  ASSERT_TRUE(app.ActRemoveCookieData());
  ASSERT_TRUE(h.Finish());
  EXPECT_EQ(*ReadFileBytes(h.safariFile()), SampleCookiesBytes());
  EXPECT_TRUE(h.table().empty());
  EXPECT_EQ(h.screen->alerts.size(), 2u);  // the two questions, no failure
}

TEST(CookieController, RemovalRefusesAnOpenedTextThatOnlyBeginsLikeACookieFile) {
  CookieHome h;
  AppDelegate& app = h.Start();
  const fs::path recipes = h.home / "recipes.txt";
  WriteText(recipes, "cookbook: flour, eggs, butter\n");
  h.screen->openPanelAnswers.push_back(std::vector<fs::path>{recipes});
  app.ActOpenCookieFileAction();
  ASSERT_TRUE(h.Finish());
  ASSERT_TRUE(app.ActRemoveCookieData());
  ASSERT_TRUE(h.Finish());
  EXPECT_EQ(h.screen->alertMessages(), (std::vector<std::string>{
                                           "Are you sure you want to remove all cookies of this file?",
                                           "The cookies could not be removed."}));
  EXPECT_EQ(ReadText(recipes), "cookbook: flour, eggs, butter\n");
}

TEST(CookieController, ChromeButtonFindsTheNetworkDatabaseAndAFailedRemovalIsShown) {
  CookieHome h;
  CopyTestFile(kChrome68, h.networkCookies());
  AppDelegate& app = h.Start();
  ASSERT_TRUE(app.ActClickChromeAction());
  ASSERT_TRUE(h.Finish());
  EXPECT_EQ(h.table().size(), 5u);
  EXPECT_FALSE(app.cookieManager().binaryCookie);
  EXPECT_EQ(app.cookieManager().currentScanFilePath, h.networkCookies().string());

  fs::remove(h.networkCookies());
  WriteText(h.networkCookies(), "replaced by something that is no database");
  ASSERT_TRUE(app.ActRemoveCookieData());
  ASSERT_TRUE(h.Finish());
  ASSERT_EQ(h.screen->alerts.size(), 2u);  // the question, then the failure
  EXPECT_EQ(h.screen->alerts[1].request.message, "The cookies could not be removed.");
  EXPECT_EQ(h.screen->alerts[1].request.defaultButton, " Ok ");
  EXPECT_EQ(h.table().size(), 5u);
  EXPECT_EQ(ReadText(h.networkCookies()), "replaced by something that is no database");
}

TEST(CookieController, ButtonsReachTheCommandsByNameAndExportShowsTheFolder) {
  CookieHome h;
  CopyTestFile(kSafari2017, h.safariFile());
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariCookieBtn);
  EXPECT_EQ(app.viewState().area, ContentArea::Cookies);
  ASSERT_TRUE(h.Finish());
  EXPECT_EQ(h.table().size(), 2u);
  EXPECT_TRUE(app.viewState().cookies.canExport);

  ASSERT_TRUE(app.ActExportCookieData());
  ASSERT_TRUE(h.Finish());
  const fs::path folder = h.home / "Downloads" / "com.Zelvane.Crumbscope";
  ASSERT_EQ(h.platform->shownFolders, std::vector<fs::path>{folder});
  const std::string text = ReadText(folder / "cookiedata.txt");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);  // the two rows, two line feeds each
}

TEST(CookieController, OpenedFilesFeedNewCookies) {
  CookieHome h;
  AppDelegate& app = h.Start();
  h.screen->openPanelAnswers.push_back(std::vector<fs::path>{TestData(kSafari2017)});
  app.ActOpenCookieFileAction();
  ASSERT_EQ(h.screen->openPanels.size(), 1u);
  ASSERT_TRUE(h.Finish());
  EXPECT_EQ(app.cookieManager().newCookieArray.size(), 2u);
  EXPECT_TRUE(app.cookieManager().newCookieButtonShown);
  EXPECT_FALSE(app.cookieManager().bOpenCookie);
  // A cancelled panel changes nothing.
  app.ActOpenCookieFileAction();
  EXPECT_FALSE(app.cookieManager().IsBusy());
  app.cookieManager().tableContent.clear();
  app.ActClickNewCookiesAction();
  EXPECT_EQ(h.table().size(), 2u);
}

TEST(CookieController, AFailedExportIsShownInsteadOfTheFolder) {
  CookieHome h;
  AppDelegate& app = h.Start();
  WriteText(h.home / "Downloads", "a file where the folder should be");
  ASSERT_TRUE(app.ActExportCookieData());
  ASSERT_TRUE(h.Finish());
  EXPECT_TRUE(h.platform->shownFolders.empty());
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(h.screen->alerts[0].request.message, "The cookies could not be exported.");
}

}  // namespace
}  // namespace linvara::testing
