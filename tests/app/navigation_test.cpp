// The navigation panel driven like a user: the three views with their guards,
// folder and flat list, going down and up, the reminder, the menus, the password.
// Last, the HTML export commands: the save panel names a folder, the file is
// written from the rows as they were when the export started, and the end is told.
#include <gtest/gtest.h>

#include <filesystem>

#include "PresenterFixture.h"
#include "app/Actions.h"

namespace fs = std::filesystem;
using namespace linvara;
using namespace linvara::testing;
using namespace linvara::outlets;

namespace {

using Navigation = PresenterTest;

const TitleList kSafariTop = {"BookmarksMenu", "Favorites Bar", "News", "Fruit Stand", "Broken", "Weather"};
const TitleList kChromeTop = {"Bookmarks bar", "Other bookmarks"};
const TitleList kAllTop = {"BookmarksMenu", "Favorites Bar", "News", "Fruit Stand", "Broken", "Weather", "Bookmarks bar",
                           "Other bookmarks"};
const TitleList kNewsFolder = {"Local", "apple pie", "Äpfelkuchen"};
const ButtonState kHomeButton{"homebtn.png", 27, 27, false};
const char* const kReminder = "Remember to click the Apply Changes button to save all your changes to Safari";

// A view's button, kind and table menu.
struct ViewKey {
  const char* button;
  ViewKind type;
  const char* menu;
};
const ViewKey kChromeView{kChromeBookMarkBtn, ViewKind::Chrome, kChromeRightmenu};
const ViewKey kAllView{kAllBookMarkBtn, ViewKind::All, kAllBookmarkRightmenu};
const ViewKey kSafariView{kSafariBookMarkBtn, ViewKind::Safari, kSafariRightmenu};

}  // namespace

// Each view with Edge running (it stops none): top level, the flat list from one
// folder down, back to the folder list; a second press shows each row once.
TEST_F(Navigation, EachViewFillsTheTableInBothListModes) {
  h.platform->running = {bundleids::kEdge};
  AppDelegate& app = h.Start();
  const BookmarkLists& l = app.lists();
  const auto listImages = [&] { return TitleList{h.Image(kFolderListViewBtn), h.Image(kUrlListViewBtn)}; };
  const struct {
    ViewKey view;
    const char* exportImage;
    std::size_t alertsSoFar;
    TitleList top, flat;
    const NodeList& flatList;
  } views[] = {
      {kChromeView, "exportbookmark.png", 0, kChromeTop, {"Mail", "Docs", "Apple Store"}, l.chromebookMarkArray},
      {kAllView, "exportbookmark.png", 0, kAllTop,
       {"Menu Item", "Bar Item", "Paper", "apple pie", "Äpfelkuchen", "Fruit Stand", "Broken", "Weather", "Mail",
        "Docs", "Apple Store"},
       l.allbookMarkArray},
      {kSafariView, "applychanges.png", 1 /* the reminder */, kSafariTop,
       {"Menu Item", "Bar Item", "Paper", "apple pie", "Äpfelkuchen", "Fruit Stand", "Broken", "Weather"},
       l.safariBookMarkArray},
  };
  for (const auto& v : views) {
    SCOPED_TRACE(v.view.button);
    h.Press(v.view.button);
    EXPECT_EQ(h.screen->alerts.size(), v.alertsSoFar);
    EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
    EXPECT_EQ(h.view().bookMarkType, v.view.type);
    EXPECT_EQ(h.view().bookmarkTableMenu, v.view.menu);
    EXPECT_EQ(h.Image(kExportBookMarkBtn), v.exportImage);
    EXPECT_EQ(h.RowTitles(), v.top);
    if (v.view.type == ViewKind::Chrome) {
      EXPECT_TRUE(l.safariFatherArray.empty()) << "no Safari file read";
    }

    h.Open(v.top[0]);
    h.Press(kUrlListViewBtn);
    EXPECT_EQ(h.RowTitles(), v.flat);
    EXPECT_EQ(h.rows(), v.flatList);
    EXPECT_EQ(h.Button(kBackBookMarkBtn), kHomeButton);
    EXPECT_EQ(listImages(), (TitleList{"folderlistnom.png", "urllistdown.png"}));
    h.Press(kFolderListViewBtn);
    EXPECT_EQ(h.RowTitles(), v.top);
    EXPECT_EQ(listImages(), (TitleList{"folderlistdown.png", "urllistnom.png"}));

    h.Press(v.view.button);
    EXPECT_EQ(h.RowTitles(), v.top);
    EXPECT_EQ(v.flatList.size(), v.flat.size());
  }
}

// Without a readable Safari file, from 10.14 on, Full Disk Access is asked for:
// the Safari view stops, the unified view reads the other browsers.
TEST(NavigationFullDiskAccess, AskedFromMojaveOnWhenTheSafariFileIsUnreadable) {
  const struct {
    SystemVersion version;
    bool readable, asked;
  } cases[] = {{{10, 13, 6}, false, false}, {{10, 14, 0}, false, true}, {{11, 2, 0}, false, true},
               {{11, 2, 0}, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.version.major) + "." + std::to_string(c.version.minor) + (c.readable ? " readable" : ""));
    SampleHome h(false);
    if (!c.readable) fs::remove(h.loc.safariBookmarks());
    h.platform->version = c.version;
    h.Start();
    h.Press(kSafariBookMarkBtn);
    ASSERT_EQ(h.screen->alerts.size(), c.asked ? 1u : 0u);
    EXPECT_EQ(h.view().area, c.asked ? ContentArea::Start : ContentArea::Bookmarks);
    EXPECT_EQ(h.RowTitles(), c.readable ? kSafariTop : TitleList{});
    h.screen->AnswerNextAlert(AlertButton::Alternate);
    h.Press(kAllBookMarkBtn);
    ASSERT_EQ(h.screen->alerts.size(), c.asked ? 2u : 0u);
    EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
    EXPECT_EQ(h.RowTitles(), c.readable ? kAllTop : kChromeTop);
    for (const auto& shown : h.screen->alerts)
      EXPECT_EQ(AlertFieldsOf(shown.request),
                (AlertFields{"You need to add Linvara.app to the Full Disk Access List to access Safari bookmark in "
                             "Mac 10.14 and later. ",
                             " Ok ", "Cancel",
                             "Open System Settings/Preferences -> Security & Privacy -> Privacy -> Full Disk Access. "
                             "Add or drag and drop Linvara.app to the right table view.",
                             false, false}));
  }
}

// A damaged file opens its view empty, with one alert naming the file and why.
TEST(NavigationDamagedFile, TreeViewNamesTheFileItCouldNotRead) {
  for (const char* button : {kSafariBookMarkBtn, kChromeBookMarkBtn}) {
    SCOPED_TRACE(button);
    PresenterHome h;
    h.SuppressReminder();
    const bool safari = std::string(button) == kSafariBookMarkBtn;
    WriteText(safari ? h.loc.safariBookmarks() : h.loc.chromeDefaultBookmarks(), "<?xml damaged");
    h.Start();
    h.Press(button);
    EXPECT_TRUE(h.rows().empty());
    ASSERT_EQ(h.screen->alerts.size(), 1u);
    const std::string& message = h.screen->alerts[0].request.message;
    EXPECT_EQ(message.rfind(safari ? "Safari: " : "Chrome: ", 0), 0u) << message;
  }
}

// A running browser stops each view that reads its file with a sheet: nothing is
// read, the rows shown before stay. Firefox does not stop the Safari view.
TEST(NavigationRunningBrowser, StopsTheViewsThatReadItsFile) {
  const char* const kQuitAny = "You need to quit the running browser.";
  const struct {
    const char *browser, *before;
    ViewKey view;
    const char* alert;  // null when the view opens
    NodeList BookmarkLists::*unread;
  } cases[] = {
      {bundleids::kSafari, nullptr, kAllView, kQuitAny, &BookmarkLists::allbookMarkArray},
      {bundleids::kChrome, nullptr, kAllView, kQuitAny, &BookmarkLists::allbookMarkArray},
      {bundleids::kFirefox, nullptr, kAllView, kQuitAny, &BookmarkLists::allbookMarkArray},
      {bundleids::kOpera, nullptr, kAllView, kQuitAny, &BookmarkLists::allbookMarkArray},
      {bundleids::kSafari, kChromeBookMarkBtn, kSafariView, "You need to quit Safari browser.",
       &BookmarkLists::safariFatherArray},
      {bundleids::kChrome, kSafariBookMarkBtn, kChromeView, "You need to quit Chrome browser.",
       &BookmarkLists::ChromeFatherArray},
      {bundleids::kFirefox, nullptr, kSafariView, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.browser) + " " + c.view.button);
    SampleHome h(false);
    h.platform->running = {"com.example.editor", c.browser};
    AppDelegate& app = h.Start();
    if (c.before) h.Press(c.before);
    const TitleList before = h.RowTitles();
    const ContentArea area = h.view().area;
    h.Press(c.view.button);
    EXPECT_EQ(h.view().bookMarkType, c.view.type);
    EXPECT_EQ(h.view().bookmarkTableMenu, c.view.menu);
    EXPECT_FALSE(h.Button(kFolderListViewBtn).hidden);
    if (!c.alert) {
      EXPECT_TRUE(h.screen->alerts.empty());
      EXPECT_EQ(h.RowTitles(), kSafariTop);
      continue;
    }
    ASSERT_EQ(h.screen->alertMessages(), TitleList{c.alert});
    const AlertSpec& sheet = h.screen->alerts[0].request;
    EXPECT_EQ(std::tuple(sheet.defaultButton, sheet.alternateButton, sheet.asSheet), std::tuple(" Ok ", "Cancel", true));
    EXPECT_TRUE((app.lists().*c.unread).empty());
    EXPECT_EQ(h.RowTitles(), before);
    EXPECT_EQ(h.view().area, area);
  }
}

// Back goes up a level a press, from the top level to the start screen with every
// list let go. In the unified view News sits below the Safari root: one press more.
TEST(NavigationBack, BackReturnsOneFolderUpAtATime) {
  const struct {
    const char* view;
    TitleList path, middle;
  } cases[] = {{kSafariBookMarkBtn, {"News", "Local"}, kNewsFolder},
               {kChromeBookMarkBtn, {"Bookmarks bar", "Work"}, {"Work", "Docs"}},
               {kAllBookMarkBtn, {"News", "Local"}, kNewsFolder}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.view);
    SampleHome h(false);
    AppDelegate& app = h.Start();
    const BookmarkLists& l = app.lists();
    h.Press(c.view);
    const NodeList top = h.rows();
    h.Open(c.path[0]);
    EXPECT_EQ(h.RowTitles(), c.middle);
    EXPECT_EQ(h.Button(kBackBookMarkBtn), (ButtonState{"backbtn.png", 25, 23, false}));
    EXPECT_EQ(l.LastLeveArray, top);
    h.Open(c.path[1]);
    h.Press(kBackBookMarkBtn);  // one level up, the back image stays
    EXPECT_EQ(h.RowTitles(), c.middle);
    EXPECT_EQ(h.BackImage(), "backbtn.png");
    h.Press(kBackBookMarkBtn);
    EXPECT_EQ(h.rows(), top);
    if (c.view == kAllBookMarkBtn) {
      EXPECT_EQ(h.BackImage(), "backbtn.png");
      h.Press(kBackBookMarkBtn);
      EXPECT_EQ(h.rows(), top);
    }
    EXPECT_EQ(h.Button(kBackBookMarkBtn), kHomeButton);

    h.Press(kBackBookMarkBtn);
    EXPECT_EQ(h.view().area, ContentArea::Start);
    EXPECT_TRUE(h.rows().empty());
    for (const NodeList* list : {&l.allbookMarkArray, &l.safariFatherArray, &l.safariBookMarkArray,
                                 &l.ChromeFatherArray, &l.chromebookMarkArray, &l.edgeFatherArray, &l.edgebookMarkArray,
                                 &l.FireFoxFatherArray, &l.FireFoxBookMarkArray, &l.OperaFatherArray})
      EXPECT_TRUE(list->empty());
  }
}

// Without the tick the reminder comes back; a tick counts once its sheet is answered.
TEST_F(Navigation, ApplyChangesReminderIsSuppressedOnlyWhenTicked) {
  h.Start();
  h.Press(kSafariBookMarkBtn);
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(AlertFieldsOf(h.screen->alerts[0].request),
            (AlertFields{kReminder, " Ok ", "",
                         "All product actions are not immediately applied to Safari bookmarks, and you need to click "
                         "the Apply Changes button to save them.",
                         true, true}));
  EXPECT_FALSE(h.prefs->contains(prefkeys::kBookMarkAlertSuppress));
  h.Press(kSafariBookMarkBtn);
  EXPECT_EQ(h.screen->alerts.size(), 2u);

  h.screen->holdSheets = true;
  h.screen->AnswerNextAlert(AlertButton::Default, true);  // ticked and " Ok ": never again
  h.Press(kSafariBookMarkBtn);
  EXPECT_FALSE(h.prefs->contains(prefkeys::kBookMarkAlertSuppress)) << "the sheet is still open";
  EXPECT_TRUE(h.screen->EndSheet());
  EXPECT_TRUE(h.prefs->getBool(prefkeys::kBookMarkAlertSuppress));
  h.Press(kSafariBookMarkBtn);
  EXPECT_EQ(h.screen->alerts.size(), 3u);
}

TEST_F(Navigation, SafariMoveMenuListsFoldersButTheSystemOnes) {
  h.SuppressReminder();
  h.Start();
  h.Press(kSafariBookMarkBtn);
  const MenuItemModel* move = h.view().findMenuItem(kMoveSafariFolderMenuItem);
  ASSERT_TRUE(move && move->enabled);
  ASSERT_EQ(move->submenu.size(), 1u);
  const MenuItemModel& news = move->submenu[0];
  ASSERT_EQ(news.submenu.size(), 1u);
  const MenuItemModel& local = news.submenu[0];
  EXPECT_EQ((TitleList{news.title, news.action, local.title, local.action}),
            (TitleList{"News", "MoveSelectedBookMarktoOtherFolderAction:", "Local",
                       "MoveSelectedBookMarktoOtherFolderAction:"}));
  EXPECT_TRUE(local.submenu.empty()) << "a folder without subfolders gets no submenu";
}

TEST_F(Navigation, ViewMenusPopUpForTheCurrentView) {
  h.Start();
  h.Press(kSortBookMarkBtn);
  EXPECT_TRUE(h.screen->poppedMenus.empty()) << "no view yet";
  const auto popped = [&](const char* button) {
    h.Press(button);
    return h.screen->poppedMenus.back();
  };

  h.Press(kAllBookMarkBtn);
  const auto tools = popped(kToolBookMarkBtn);
  EXPECT_EQ(tools.menu.name, kBookmarktableMenu);
  EXPECT_EQ(tools.button, kToolBookMarkBtn);
  EXPECT_DOUBLE_EQ(tools.lowerBy, 4.0);
  EXPECT_EQ(popped(kSortBookMarkBtn).menu.name, kSortBookmarkMenu);
  h.Press(kChromeBookMarkBtn);
  EXPECT_EQ(popped(kSortBookMarkBtn).menu.name, kSortChromeBookMarkMenu);
  EXPECT_EQ(popped(kToolBookMarkBtn).menu.name, kChromeBookmarkToolMenu);
}

// The button exports the Chrome view's tree (the unified view's rows: ExportCommands below);
// in the Safari view it is Apply Changes.
TEST_F(Navigation, ExportButtonDependsOnTheView) {
  AppDelegate& app = h.Start();
  h.Press(kExportBookMarkBtn);  // no view yet
  h.Press(kChromeBookMarkBtn);
  h.screen->savePanelAnswers.push_back(h.home.path());
  h.Press(kExportBookMarkBtn);
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.exports().exportRunning(); }));
  EXPECT_TRUE(fs::exists(h.home / "Chrome BookMark.html"));
  h.Press(kSafariBookMarkBtn);
  h.Press(kExportBookMarkBtn);  // without a working copy Apply Changes has nothing to apply
  EXPECT_EQ(h.screen->savePanels.size(), 1u);
  const std::string own = ReadText(h.loc.safariBookmarks());
  ASSERT_TRUE(profile::WriteSafariBookmarks(h.loc.safariWorkingCopy(), {}).ok());
  h.Press(kExportBookMarkBtn);
  EXPECT_EQ(ReadText(h.loc.safariBookmarks()), ReadText(h.loc.safariWorkingCopy()));
  EXPECT_NE(ReadText(h.loc.safariBookmarks()), own);
}

TEST_F(Navigation, CookieButtonSelectsItsSource) {
  AppDelegate& app = h.Start();
  TitleList ran;
  app.SetCommandHandler("clickConnectHomeAction:", [&ran](const MenuItemModel&) { ran.push_back("connect"); });
  const auto pressed = [&](const char* button) {  // then the Safari, Chrome, New and Open cookie buttons' images
    h.Press(button);
    EXPECT_EQ(app.viewState().area, ContentArea::Cookies);
    EXPECT_TRUE(h.dispatcher->PumpUntil([&] { return !app.cookieManager().IsBusy(); }));
    return TitleList{h.Image(kSafariCookieBtn), h.Image(kChromeCookieBtn),
                     h.Image(kNewCookieBtn), h.Image(kOpenCookieBtn)};
  };
  EXPECT_EQ(pressed(kSafariCookieBtn),
            (TitleList{"safaricookiedown.png", "chromecookienom.png", "newcookienom.png", "opencookienom.png"}));
  EXPECT_EQ(pressed(kChromeCookieBtn),
            (TitleList{"Safaricookienom.png", "chromecookiedown.png", "newcookienom.png", "opencookienom.png"}));
  EXPECT_EQ(pressed(kNewCookieBtn),
            (TitleList{"Safaricookienom.png", "chromecookienom.png", "newcookiedown.png", "opencookienom.png"}));
  EXPECT_EQ(app.cookieManager().currentScanFilePath, h.loc.chromeCookies().string());  // the Chrome scan ran
  h.Press(kConnectBtn);
  EXPECT_EQ(h.Image(kConnectBtn), "Connectbtn.png");
  EXPECT_EQ(ran, TitleList{"connect"});
}

TEST_F(Navigation, HelpCommandsShowTheirWindowOrPage) {
  AppDelegate& app = h.Start();
  app.ActAboutAction();
  app.ActAboutAction();
  EXPECT_EQ(h.screen->windowsShown, (TitleList{"aboutWindow"}));
  app.ClickTheProductGuide();
  app.SupportAction();
  EXPECT_EQ(h.platform->openedUrls, (TitleList{"https://www.zelvane.com/guide/how-to-use-linvara.html",
                                                "https://www.zelvane.com/support.html"}));
}

namespace {

using ExportCommands = QuietPresenterTest;

bool Export(PresenterHome& h, const char* action, std::optional<fs::path> answer) {
  h.screen->savePanelAnswers.push_back(std::move(answer));
  return h.Perform(action);
}

bool Finish(PresenterHome& h) {
  return h.dispatcher->PumpUntil([&] { return !h.app->exports().exportRunning(); });
}

TEST_F(ExportCommands, WritesTheRowsShownAsTheyWereWhenItStarted) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  h.Open("News");
  const fs::path chosen = h.home / "Documents" / "Linvara";
  h.screen->savePanelAnswers.push_back(chosen);
  h.Press(outlets::kExportBookMarkBtn);  // the unified view's export
  // The rows change while the worker writes: the file still has them as they were.
  h.rows()[1]->setThetitle("renamed");
  AsFolder(h.rows()[0])->setChildrenArray(std::make_shared<NodeList>());
  ASSERT_TRUE(Finish(h));

  const std::string text = ReadText(chosen / "Linvara.html");
  EXPECT_NE(text.find("<DT><H3 FOLDED>Local</H3>\n<DL><p>\n    <DT><A HREF=\"https://paper.example/\">Paper</A>\n"
                      "</DL><p>\n    <DT><A HREF=\"https://pie.example/\">apple pie</A>\n"),
            std::string::npos) << text;
  EXPECT_EQ(text.find("Weather"), std::string::npos) << "only the rows shown";
  const SavePanelSpec& panel = h.screen->savePanels.at(0);
  EXPECT_EQ(std::make_pair(panel.suggestedName, panel.directory), std::make_pair(std::string("Linvara"), h.home / "Documents"));
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(AlertFieldsOf(h.screen->alerts[0].request),
            (AlertFields{"The bookmarks were exported.", " Ok ", "Show in Folder", (chosen / "Linvara.html").string(),
                         true, false}));
}

TEST_F(ExportCommands, ChromeExportWritesTheChromeTreeWhateverTheTableShows) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  h.Open("News");
  h.screen->AnswerNextAlert(AlertButton::Alternate);
  ASSERT_TRUE(Export(h, actions::kExportChrome, h.home / "out"));
  ASSERT_TRUE(Finish(h));
  const std::string text = ReadText(h.home / "out" / "Chrome BookMark.html");
  for (const char* title : {">Work</H3>", ">Mail</A>", ">Docs</A>", ">Apple Store</A>"})
    EXPECT_NE(text.find(title), std::string::npos) << title;
  EXPECT_EQ(text.find("Paper"), std::string::npos);
  EXPECT_EQ(h.platform->shownFolders, std::vector<fs::path>{h.home / "out"}) << "Show in Folder";
}

TEST_F(ExportCommands, NothingIsWrittenWithoutAUsableFolder) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  ASSERT_TRUE(Export(h, actions::kExportAll, std::nullopt));
  EXPECT_FALSE(h.app->exports().exportRunning());
  EXPECT_FALSE(fs::exists(h.home / "Documents"));

  WriteText(h.home / "a file", "x");
  ASSERT_TRUE(Export(h, actions::kExportAll, h.home / "a file"));
  ASSERT_TRUE(Finish(h));
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(h.screen->alerts[0].request.message.rfind("Failed to export the bookmarks: cannot create ", 0), 0u)
      << h.screen->alerts[0].request.message;
  EXPECT_EQ(ReadText(h.home / "a file"), "x");
}

}  // namespace
