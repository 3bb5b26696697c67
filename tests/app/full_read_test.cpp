// The full read of all browsers through the controller, on homes made of the
// real browser files: order, counts, table content, guards, the root that
// stays, and that nothing in the home is touched.
#include <gtest/gtest.h>

#include "app/AppDelegate.h"
#include "app/ScriptedScreen.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

struct FullReadHome {
  TempDir dir;
  Locations loc = Locations::ForHome(dir.path(), Layout::MacOS);
  std::shared_ptr<FakePlatformServices> platform = std::make_shared<FakePlatformServices>();
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  std::unique_ptr<AppDelegate> app;

  void Put(const fs::path& target, const std::string& testData) {
    fs::create_directories(target.parent_path());
    fs::copy_file(TestData(testData), target, fs::copy_options::overwrite_existing);
  }
  void PutText(const fs::path& target, const std::string& text) { WriteText(target, text); }
  fs::path FirefoxPlaces() const { return loc.firefoxProfilesFolder() / "abcd.default-release" / "places.sqlite"; }

  // Safari 17, Chrome 6, Firefox 32, Opera 5, Edge 21 leaves.
  void PutAllBrowsers() {
    Put(loc.safariBookmarks(), "safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist");
    Put(loc.chromeDefaultBookmarks(), "chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks");
    Put(FirefoxPlaces(), "firefox_places/firefox-fedora-2020-08_schema53_tags_places.sqlite");
    Put(loc.operaBookmarks(), "chromium_bookmarks/chromium-linux-2021-02_Bookmarks");
    Put(loc.edgeBookmarks(), "chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks");
  }

  AppDelegate& App() {
    if (!app) {
      AppServices s;
      s.locations = loc;
      s.preferences = std::make_shared<Preferences>();
      s.platform = platform;
      s.dispatcher = std::make_shared<InlineDispatcher>();
      s.screen = screen;
      app = std::make_unique<AppDelegate>(std::move(s));
    }
    return *app;
  }

  // What the all-bookmarks button does.
  void FullRead() {
    App().EmptyListsForFullRead();
    App().ActClickOpenCookiesAction();
  }
};

std::vector<std::string> Browsers(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const auto& n : nodes)
    if (out.empty() || out.back() != OrNull(n->bookMarkFrom())) out.push_back(OrNull(n->bookMarkFrom()));
  return out;
}

TEST(FullRead, ReadsEveryBrowserInOrderAndShowsTheUnifiedTopLevel) {
  FullReadHome h;
  h.PutAllBrowsers();
  const std::string before = FolderFingerprint(h.dir.path());
  h.FullRead();
  AppDelegate& app = h.App();
  const BookmarkLists& l = app.lists();

  EXPECT_EQ(app.session().bookMarkType, ViewKind::All);
  EXPECT_EQ(l.allbookMarkArray.size(), 17u + 6u + 32u + 5u + 21u);
  EXPECT_EQ(Browsers(l.allbookMarkArray),
            (std::vector<std::string>{"Safari", "Chrome", "Firefox", "Opera", "Microsoft Edge"}));
  EXPECT_EQ(l.safariBookMarkArray.size(), 17u);
  EXPECT_EQ(l.chromebookMarkArray.size(), 6u);
  EXPECT_EQ(l.FireFoxBookMarkArray.size(), 32u);  // its 31 tag entries are no bookmarks
  EXPECT_EQ(l.edgebookMarkArray.size(), 21u);
  EXPECT_EQ(l.OperaFatherArray.size(), 1u);  // YouTube, directly in the bar

  const ViewState& view = app.viewState();
  EXPECT_EQ(view.area, ContentArea::Bookmarks);
  NodeList expected;
  for (const NodeList* list :
       {&l.safariFatherArray, &l.ChromeFatherArray, &l.edgeFatherArray, &l.FireFoxFatherArray, &l.OperaFatherArray})
    expected.insert(expected.end(), list->begin(), list->end());
  EXPECT_EQ(view.bookmarkTable.content, expected);
  EXPECT_EQ(view.bookmarkTable.content.size(), 7u + 3u + 3u + 4u + 1u);
  EXPECT_EQ(OrNull(view.bookmarkTable.content.front()->thetitle()), "History");
  EXPECT_EQ(OrNull(view.bookmarkTable.content.back()->thetitle()), "YouTube");
  EXPECT_FALSE(app.bSearchThreadStart);
  EXPECT_FALSE(app.bSearchStop);

  // The Edge file was read last: its root stays, filled from the file.
  ASSERT_TRUE(l.rootNode);
  EXPECT_TRUE(l.rootNode->rootDict() != nullptr);
  EXPECT_EQ(l.edgeFatherArray.front()->fatherItem(), l.rootNode);
  EXPECT_TRUE(h.screen->alerts.empty());

  // A second press shows each bookmark once, not twice.
  h.FullRead();
  EXPECT_EQ(l.allbookMarkArray.size(), 81u);
  EXPECT_EQ(app.viewState().bookmarkTable.content.size(), 18u);
  EXPECT_EQ(FolderFingerprint(h.dir.path()), before);
}

TEST(FullRead, RunningBrowserStopsTheReadButEdgeDoesNot) {
  for (const char* browser : {bundleids::kSafari, bundleids::kChrome, bundleids::kFirefox, bundleids::kOpera}) {
    SCOPED_TRACE(browser);
    FullReadHome h;
    h.PutAllBrowsers();
    h.platform->running = {"com.example.editor", browser};
    h.FullRead();
    EXPECT_EQ(h.App().session().bookMarkType, ViewKind::All);
    EXPECT_TRUE(h.App().lists().allbookMarkArray.empty());
    EXPECT_TRUE(h.App().lists().safariFatherArray.empty());
    EXPECT_TRUE(h.App().viewState().bookmarkTable.content.empty());
    ASSERT_EQ(h.screen->alerts.size(), 1u);
    const AlertSpec& sheet = h.screen->alerts[0].request;
    EXPECT_EQ(sheet.message, "You need to quit the running browser.");
    EXPECT_EQ(sheet.defaultButton, " Ok ");
    EXPECT_EQ(sheet.alternateButton, "Cancel");
    EXPECT_TRUE(sheet.asSheet);
  }

  FullReadHome edge;
  edge.PutAllBrowsers();
  edge.platform->running = {bundleids::kEdge};
  edge.FullRead();
  EXPECT_EQ(edge.App().lists().allbookMarkArray.size(), 81u);
  EXPECT_TRUE(edge.screen->alerts.empty());

  // The command line reads anyway.
  FullReadHome cli;
  cli.PutAllBrowsers();
  cli.platform->running = {bundleids::kSafari};
  EXPECT_EQ(cli.App().reads().RunningBrowsersBlockingFullRead(), (std::vector<std::string>{bundleids::kSafari}));
  cli.App().EmptyListsForFullRead();
  cli.App().ReadAllBrowsersIgnoringRunning();
  EXPECT_EQ(cli.App().lists().allbookMarkArray.size(), 81u);
}

TEST(FullRead, FullDiskAccessAlertOnNewerSystemsOnlyAndTheReadGoesOn) {
  struct Case {
    SystemVersion version;
    bool alert;
  };
  for (const Case& c : {Case{{10, 13, 6}, false}, Case{{10, 14, 0}, true}, Case{{11, 0, 0}, true}}) {
    SCOPED_TRACE(std::to_string(c.version.major) + "." + std::to_string(c.version.minor));
    FullReadHome h;
    h.PutAllBrowsers();
    fs::remove(h.loc.safariBookmarks());
    h.platform->version = c.version;
    h.screen->AnswerNextAlert(AlertButton::Alternate);  // Cancel does not stop the read either
    h.FullRead();
    ASSERT_EQ(h.screen->alerts.size(), c.alert ? 1u : 0u);
    if (c.alert) {
      const AlertSpec& a = h.screen->alerts[0].request;
      EXPECT_EQ(a.message,
                "You need to add Linvara.app to the Full Disk Access List to access Safari bookmark in Mac 10.14 and "
                "later. ");
      EXPECT_EQ(a.informativeText,
                "Open System Settings/Preferences -> Security & Privacy -> Privacy -> Full Disk Access. Add or drag "
                "and drop Linvara.app to the right table view.");
      EXPECT_EQ(a.defaultButton, " Ok ");
      EXPECT_EQ(a.alternateButton, "Cancel");
      EXPECT_FALSE(a.asSheet);
    }
    EXPECT_EQ(h.App().lists().allbookMarkArray.size(), 6u + 32u + 5u + 21u);
  }

  // With the Safari file readable the alert never shows.
  FullReadHome readable;
  readable.PutAllBrowsers();
  readable.platform->version = {11, 0, 0};
  readable.FullRead();
  EXPECT_TRUE(readable.screen->alerts.empty());
}

TEST(FullRead, RootPrecedenceEdgeThenFirefoxThenChromeThenSafari) {
  {  // No Edge: the Firefox root.
    FullReadHome h;
    h.PutAllBrowsers();
    fs::remove(h.loc.edgeBookmarks());
    h.FullRead();
    ASSERT_TRUE(h.App().lists().rootNode);
    EXPECT_EQ(OrNull(h.App().lists().rootNode->titleStr()), "root");
  }
  {  // A Firefox profiles folder without a places file: no root at all.
    FullReadHome h;
    h.PutAllBrowsers();
    fs::remove(h.loc.edgeBookmarks());
    fs::remove(h.FirefoxPlaces());
    h.FullRead();
    EXPECT_EQ(h.App().lists().rootNode, nullptr);
    EXPECT_EQ(h.App().lists().allbookMarkArray.size(), 17u + 6u + 5u);
  }
  {  // No Edge, no Firefox: the empty root of the Chrome reader.
    FullReadHome h;
    h.PutAllBrowsers();
    fs::remove(h.loc.edgeBookmarks());
    fs::remove_all(h.loc.firefoxProfilesFolder());
    h.FullRead();
    const BookmarkLists& l = h.App().lists();
    ASSERT_TRUE(l.rootNode);
    EXPECT_EQ(l.rootNode->rootDict(), nullptr);
    EXPECT_EQ(l.ChromeFatherArray.front()->fatherItem(), l.rootNode);
  }
  {  // Only Safari (and Opera, which installs none): the Safari reader's root.
    FullReadHome h;
    h.PutAllBrowsers();
    fs::remove(h.loc.edgeBookmarks());
    fs::remove_all(h.loc.firefoxProfilesFolder());
    fs::remove(h.loc.chromeDefaultBookmarks());
    h.FullRead();
    const BookmarkLists& l = h.App().lists();
    ASSERT_TRUE(l.rootNode);
    EXPECT_EQ(l.safariFatherArray[1]->fatherItem(), l.rootNode);
    EXPECT_EQ(l.allbookMarkArray.size(), 17u + 5u);
  }
}

TEST(FullRead, ChromeProfileTwoAndBackupName) {
  FullReadHome h;
  h.Put(h.loc.chromeProfile2Bookmarks(), "chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks");
  h.FullRead();
  EXPECT_EQ(h.App().lists().chromebookMarkArray.size(), 6u);

  FullReadHome bak;
  bak.Put(bak.loc.chromeDefaultBookmarks().parent_path() / "Bookmarks.bak",
          "chromium_bookmarks/chromium-linux-2021-02_Bookmarks");
  bak.FullRead();
  EXPECT_EQ(bak.App().lists().chromebookMarkArray.size(), 5u);
}

TEST(FullRead, BadFilesNeverStopTheOtherBrowsers) {
  FullReadHome h;
  h.PutAllBrowsers();
  const std::string safari = ReadText(h.loc.safariBookmarks());
  h.PutText(h.loc.safariBookmarks(), safari.substr(0, safari.size() / 3));
  h.PutText(h.loc.chromeDefaultBookmarks(), R"({"roots": "bookmark_bar"})");
  h.PutText(h.FirefoxPlaces(), std::string(8192, 'z'));
  h.PutText(h.loc.edgeBookmarks(), R"({"roots": {"bookmark_bar": {"type": "folder", "children": {"x": 1}}}})");
  h.FullRead();
  const BookmarkLists& l = h.App().lists();
  EXPECT_EQ(Browsers(l.allbookMarkArray), (std::vector<std::string>{"Opera"}));
  EXPECT_EQ(l.allbookMarkArray.size(), 5u);
  EXPECT_EQ(l.edgeFatherArray.size(), 1u);
  EXPECT_EQ(h.App().viewState().bookmarkTable.content.size(), 2u);  // the Edge folder and YouTube

  // One alert names each file that could not be read; the report keeps why.
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  const std::string& message = h.screen->alerts[0].request.message;
  for (const fs::path& file : {h.loc.safariBookmarks(), h.loc.chromeDefaultBookmarks(), h.FirefoxPlaces()})
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  const ReadReport& report = h.App().reads().lastReadReport();
  for (const char* browser : {"Safari", "Chrome", "Firefox"}) {
    const BrowserReadOutcome* outcome = report.Find(browser);
    ASSERT_TRUE(outcome && outcome->error) << browser;
    EXPECT_EQ(outcome->error->kind, ErrorKind::Malformed) << browser;
  }
  EXPECT_FALSE(report.Find("Opera")->error);
}

TEST(FullRead, EmptyHomeShowsAnEmptyTable) {
  FullReadHome h;
  h.FullRead();
  EXPECT_TRUE(h.App().lists().allbookMarkArray.empty());
  EXPECT_EQ(h.App().viewState().area, ContentArea::Bookmarks);
  EXPECT_TRUE(h.screen->alerts.empty());
  EXPECT_FALSE(fs::exists(h.loc.firefoxProfilesFolder()));
}

}  // namespace
}  // namespace linvara::testing
