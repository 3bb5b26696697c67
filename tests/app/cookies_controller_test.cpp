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

// A scanned Safari file is emptied once the question is answered Remove (Cancel
// changes nothing). A Chrome database replaced after the scan, an opened text that
// only begins like a cookie file: the removal fails, says so and leaves the file.
TEST(CookieController, RemovalEmptiesOnlyAConfirmedCookieFile) {
  const std::string kFailed = "The cookies could not be removed.";
  const struct {
    const char* source;  // "safari", "chrome" or "opened"
    AlertButton answer;
    std::vector<std::string> alerts;
  } cases[] = {
      {"safari", AlertButton::Alternate, {kRemovalQuestion}},
      {"safari", AlertButton::Default, {kRemovalQuestion}},
      {"chrome", AlertButton::Default, {kRemovalQuestion, kFailed}},
      {"opened", AlertButton::Default, {kRemovalQuestion, kFailed}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.source) + (c.answer == AlertButton::Alternate ? " cancelled" : ""));
    CookieHome h;
    AppDelegate& app = h.Start();
    const std::string source = c.source;
    const fs::path file = source == "safari" ? h.loc.safariCookies()
                          : source == "chrome" ? h.networkCookies()
                                               : h.home / "recipes.txt";
    if (source == "opened") {
      WriteText(file, "cookbook: flour, eggs, butter\n");
      h.screen->openPanelAnswers.push_back(std::vector<fs::path>{file});
      app.ActOpenCookieFileAction();
    } else {
      CopyTestFile(source == "safari" ? kSafari2014 : kChrome68, file);
      ASSERT_TRUE(source == "safari" ? app.ActClickSafariAction() : app.ActClickChromeAction());
    }
    ASSERT_TRUE(h.Finish());
    const std::size_t shown = h.table().size();
    if (source == "opened") {
      app.ActOpenCookieFileAction();  // a cancelled panel starts nothing
      EXPECT_FALSE(app.cookieManager().IsBusy());
    } else if (source == "chrome") {
      EXPECT_EQ(app.cookieManager().currentScanFilePath, file.string());
      fs::remove(file);
      WriteText(file, "replaced by something that is no database");
    }
    const std::string before = *ReadFileBytes(file);
    h.screen->AnswerNextAlert(c.answer);
    ASSERT_TRUE(app.ActRemoveCookieData());
    ASSERT_TRUE(h.Finish());
    EXPECT_EQ(h.screen->alertMessages(), c.alerts);
    const AlertSpec& question = h.screen->alerts[0].request;
    EXPECT_EQ(std::tuple(question.defaultButton, question.alternateButton, question.asSheet),
              std::tuple(" Remove ", "Cancel", true));
    const bool emptied = c.alerts.size() == 1 && c.answer == AlertButton::Default;
    EXPECT_EQ(*ReadFileBytes(file), emptied ? std::string(SampleCookiesBytes()) : before);
    EXPECT_EQ(h.table().size(), emptied ? 0u : shown);
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

}  // namespace
}  // namespace linvara::testing
