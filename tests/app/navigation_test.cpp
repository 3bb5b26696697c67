// The navigation panel driven like a user: the three views with their guards,
// folder and flat list, going down and up, the reminder, the menus, the password.
#include <gtest/gtest.h>

#include <filesystem>

#include "PresenterFixture.h"

namespace fs = std::filesystem;
using namespace linvara;
using namespace linvara::testing;

namespace {

using Navigation = PresenterTest;

const TitleList kSafariTop = {"BookmarksMenu", "Favorites Bar", "News", "Fruit Stand", "Broken", "Weather"};
const TitleList kChromeTop = {"Bookmarks bar", "Other bookmarks"};
const ButtonState kHomeButton{"homebtn.png", 27, 27, false};
const char* const kReminder = "Remember to click the Apply Changes button to save all your changes to Safari";

TitleList Concat(TitleList a, const TitleList& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(Navigation, AwakeFromNibSetsTheOneTimeState) {
  h.Start();
  const ViewState& s = h.view();
  EXPECT_EQ(s.area, ContentArea::Start);
  EXPECT_TRUE(h.Button(outlets::kNewCookieBtn).hidden);
  EXPECT_TRUE(s.bookmarkTableMultipleSelection);
  EXPECT_FALSE(s.findMenuItem(outlets::kMoveFolderMenuItem)->enabled);
  EXPECT_TRUE(s.findText(outlets::kEnterPDWarnLab)->hidden);
  EXPECT_TRUE(s.findText(outlets::kWarnCreatedpasscodelab)->hidden);
  EXPECT_EQ(s.imageViews.at(outlets::kLeftView), "leftimage.png");
  EXPECT_EQ(s.imageViews.at(outlets::kOpeImageView), "bottomimage.png");
  EXPECT_EQ(s.imageViews.at(outlets::kConnectImageView), "tablehead.png");
  EXPECT_DOUBLE_EQ(s.connectWindowAlpha, 0.95);
  EXPECT_EQ(h.Button(outlets::kBackBookMarkBtn), kHomeButton);
}

// Each view on a fresh start, with Edge running (which stops none of them): its
// type, menu, images and alerts, the top level, one folder down, the flat list
// (home again) and back to the folder list; a second press shows each row once.
TEST(NavigationViews, EachViewShowsItsTopLevelAndItsFlatList) {
  const TitleList safariFlat = {"Menu Item", "Bar Item", "Paper", "apple pie", "Äpfelkuchen",
                                "Fruit Stand", "Broken", "Weather"};
  const TitleList chromeFlat = {"Mail", "Docs", "Apple Store"};
  const struct {
    const char* button;
    int type;
    const char* menu;
    const char* exportImage;
    TitleList alerts, top, flat;
    NodeList BookmarkLists::*flatList;
    bool readsSafari;
  } views[] = {
      {outlets::kAllBookMarkBtn, 1, outlets::kAllBookmarkRightmenu, "exportbookmark.png", {},
       Concat(kSafariTop, kChromeTop), Concat(safariFlat, chromeFlat), &BookmarkLists::allbookMarkArray, true},
      {outlets::kSafariBookMarkBtn, 2, outlets::kSafariRightmenu, "applychanges.png", {kReminder}, kSafariTop,
       safariFlat, &BookmarkLists::safariBookMarkArray, true},
      {outlets::kChromeBookMarkBtn, 3, outlets::kChromeRightmenu, "exportbookmark.png", {}, kChromeTop, chromeFlat,
       &BookmarkLists::chromebookMarkArray, false},
  };
  for (const auto& v : views) {
    SCOPED_TRACE(v.button);
    PresenterHome h;
    h.WriteSampleBookmarks();
    h.platform->running = {bundleids::kEdge};
    AppDelegate& app = h.Start();
    h.Press(v.button);
    EXPECT_EQ(h.screen->alertMessages(), v.alerts);
    EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
    EXPECT_EQ(app.bookMarkType, v.type);
    EXPECT_EQ(h.view().bookMarkType, v.type);
    EXPECT_EQ(h.view().bookmarkTableMenu, v.menu);
    EXPECT_EQ(h.Image(outlets::kExportBookMarkBtn), v.exportImage);
    EXPECT_EQ(h.RowTitles(), v.top);
    EXPECT_EQ(app.lists().safariFatherArray.empty(), !v.readsSafari);

    h.Open(v.top[0]);
    EXPECT_EQ(h.BackImage(), "backbtn.png");
    h.Press(outlets::kUrlListViewBtn);
    EXPECT_EQ(h.RowTitles(), v.flat);
    EXPECT_EQ(h.rows(), app.lists().*v.flatList);
    EXPECT_EQ(h.Button(outlets::kBackBookMarkBtn), kHomeButton);
    EXPECT_EQ(h.Image(outlets::kFolderListViewBtn), "folderlistnom.png");
    EXPECT_EQ(h.Image(outlets::kUrlListViewBtn), "urllistdown.png");

    h.Press(outlets::kFolderListViewBtn);
    EXPECT_EQ(h.RowTitles(), v.top);
    EXPECT_EQ(h.Image(outlets::kFolderListViewBtn), "folderlistdown.png");
    EXPECT_EQ(h.Image(outlets::kUrlListViewBtn), "urllistnom.png");

    h.Press(v.button);
    EXPECT_EQ(h.RowTitles(), v.top);
    EXPECT_EQ((app.lists().*v.flatList).size(), v.flat.size());
  }
}

TEST_F(Navigation, FirefoxRunningBlocksTheUnifiedViewAndReadsNothing) {
  h.platform->running = {bundleids::kFirefox};
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);

  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(AlertFieldsOf(h.screen->alerts[0].spec),
            (AlertFields{"You need to quit the running browser.", " Ok ", "Cancel", "", true, false}));
  EXPECT_TRUE(app.lists().allbookMarkArray.empty());
  EXPECT_TRUE(app.lists().safariFatherArray.empty());
  EXPECT_TRUE(h.rows().empty());
  EXPECT_EQ(h.view().area, ContentArea::Start);
  // The guard leaves the view chosen and its buttons and menu set.
  EXPECT_EQ(app.bookMarkType, 1);
  EXPECT_FALSE(h.Button(outlets::kFolderListViewBtn).hidden);
  EXPECT_EQ(h.view().bookmarkTableMenu, outlets::kAllBookmarkRightmenu);

  // Firefox does not stop the Safari view.
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_EQ(app.bookMarkType, 2);
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
  EXPECT_EQ(h.RowTitles(), kSafariTop);
}

// Without a readable Safari file: no test below 10.14; from 10.14 on (11 too) an
// application-modal alert stops the Safari view, never the unified one.
TEST(NavigationFullDiskAccess, TestedFromMojaveOnAndStopsOnlyTheSafariView) {
  for (const SystemVersion version : {SystemVersion{10, 13, 6}, SystemVersion{10, 14, 0}, SystemVersion{11, 2, 0}}) {
    SCOPED_TRACE(std::to_string(version.major) + "." + std::to_string(version.minor));
    const bool tested = version.major > 10 || version.minor >= 14;
    PresenterHome h;
    h.WriteSampleBookmarks();
    fs::remove(h.loc.safariBookmarks());
    h.SuppressReminder();
    h.platform->version = version;
    AppDelegate& app = h.Start();
    h.Press(outlets::kSafariBookMarkBtn);
    ASSERT_EQ(h.screen->alerts.size(), tested ? 1u : 0u);
    if (tested) {
      EXPECT_EQ(h.screen->alerts[0].spec.message,
                "You need to add Linvara.app to the Full Disk Access List to access Safari bookmark in Mac 10.14 and "
                "later. ");
      EXPECT_FALSE(h.screen->alerts[0].spec.asSheet);
    }
    EXPECT_EQ(h.view().area, tested ? ContentArea::Start : ContentArea::Bookmarks);
    EXPECT_TRUE(h.rows().empty());

    h.screen->AnswerNextAlert(AlertButton::Alternate);  // whichever button: the unified view still loads
    h.Press(outlets::kAllBookMarkBtn);
    EXPECT_EQ(h.screen->alerts.size(), tested ? 2u : 0u);
    EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
    EXPECT_EQ(h.RowTitles(), kChromeTop);
    EXPECT_TRUE(app.lists().safariBookMarkArray.empty());
  }
}

// A running browser stops its own view only: the rows of the view shown before stay.
TEST(NavigationRunningBrowser, StopsItsOwnViewAndKeepsTheOldRows) {
  const struct {
    const char* browser;
    const char* other;  // the view shown before
    const char* button;
    int type;
    const char* menu;
    NodeList BookmarkLists::*father;
    TitleList alerts;
  } cases[] = {
      {bundleids::kSafari, outlets::kChromeBookMarkBtn, outlets::kSafariBookMarkBtn, 2, outlets::kSafariRightmenu,
       &BookmarkLists::safariFatherArray, {"You need to quit Safari browser."}},
      {bundleids::kChrome, outlets::kSafariBookMarkBtn, outlets::kChromeBookMarkBtn, 3, outlets::kChromeRightmenu,
       &BookmarkLists::ChromeFatherArray, {kReminder, "You need to quit Chrome browser."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.browser);
    PresenterHome h;
    h.WriteSampleBookmarks();
    h.platform->running = {c.browser};
    AppDelegate& app = h.Start();
    h.Press(c.other);
    const TitleList before = h.RowTitles();
    ASSERT_FALSE(before.empty());
    h.Press(c.button);
    EXPECT_EQ(h.screen->alertMessages(), c.alerts);
    EXPECT_TRUE(h.screen->alerts.back().spec.asSheet);
    EXPECT_EQ(app.bookMarkType, c.type);
    EXPECT_EQ(h.view().bookmarkTableMenu, c.menu);
    EXPECT_TRUE((app.lists().*c.father).empty());
    EXPECT_EQ(h.RowTitles(), before);
  }
}

TEST_F(Navigation, DescendingAndGoingBackUpInTheSafariView) {
  h.SuppressReminder();
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  const NodeList top = h.rows();

  h.Open("News");
  EXPECT_EQ(h.RowTitles(), (TitleList{"Local", "apple pie", "Äpfelkuchen"}));
  EXPECT_EQ(h.Button(outlets::kBackBookMarkBtn), (ButtonState{"backbtn.png", 25, 23, false}));
  EXPECT_EQ(app.lists().LastLeveArray, top);
  h.Open("Local");
  EXPECT_EQ(h.RowTitles(), (TitleList{"Paper"}));

  // One level up: the News folder's children; the button keeps the back image.
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.RowTitles(), (TitleList{"Local", "apple pie", "Äpfelkuchen"}));
  EXPECT_EQ(h.BackImage(), "backbtn.png");

  // One level below the top: the top level and the home image.
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.rows(), top);
  EXPECT_EQ(h.Button(outlets::kBackBookMarkBtn), kHomeButton);

  // At the top level: the start screen, with the view's lists empty.
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.view().area, ContentArea::Start);
  EXPECT_TRUE(h.rows().empty());
  EXPECT_TRUE(app.lists().safariFatherArray.empty());
  EXPECT_TRUE(app.lists().safariBookMarkArray.empty());
  EXPECT_TRUE(app.lists().allbookMarkArray.empty());
}

TEST_F(Navigation, BackAtTheTopOfTheChromeAndUnifiedViewsEmptiesTheirLists) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kChromeBookMarkBtn);
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.view().area, ContentArea::Start);
  EXPECT_TRUE(app.lists().ChromeFatherArray.empty());
  EXPECT_TRUE(app.lists().chromebookMarkArray.empty());

  h.Press(outlets::kAllBookMarkBtn);
  app.bRemoveAllDupBookmark = true;
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.view().area, ContentArea::Start);
  const BookmarkLists& l = app.lists();
  for (const NodeList* list : {&l.allbookMarkArray, &l.safariFatherArray, &l.safariBookMarkArray, &l.ChromeFatherArray,
                               &l.chromebookMarkArray, &l.edgeFatherArray, &l.edgebookMarkArray,
                               &l.FireFoxFatherArray, &l.FireFoxBookMarkArray, &l.OperaFatherArray})
    EXPECT_TRUE(list->empty());
  EXPECT_FALSE(app.bRemoveAllDupBookmark);
}

TEST_F(Navigation, GoingUpInTheUnifiedViewFromASafariFolder) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  const NodeList top = h.rows();
  h.Open("News");
  h.Open("Local");
  ASSERT_EQ(h.RowTitles(), (TitleList{"Paper"}));

  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.RowTitles(), (TitleList{"Local", "apple pie", "Äpfelkuchen"}));
  // News sits below the Safari root, which is not the last root read: the five
  // top-level lists come back, the button still shows the way back.
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.rows(), top);
  EXPECT_EQ(h.BackImage(), "backbtn.png");
  // Once more from the top level: home, not an empty table.
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.rows(), top);
  EXPECT_EQ(h.BackImage(), "homebtn.png");
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
}

TEST_F(Navigation, ApplyChangesReminderIsSuppressedOnlyWhenTicked) {
  h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(AlertFieldsOf(h.screen->alerts[0].spec),
            (AlertFields{kReminder, " Ok ", "",
                         "All product actions are not immediately applied to Safari bookmarks, and you need to click "
                         "the Apply Changes button to save them.",
                         true, true}));
  EXPECT_FALSE(h.prefs->contains(prefkeys::kBookMarkAlertSuppress));

  // Without the tick it comes back.
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_EQ(h.screen->alerts.size(), 2u);

  // Ticked and " Ok ": never again.
  h.screen->AnswerNextAlert(AlertButton::Default, true);
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_EQ(h.screen->alerts.size(), 3u);
  EXPECT_TRUE(h.prefs->getBool(prefkeys::kBookMarkAlertSuppress));
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_EQ(h.screen->alerts.size(), 3u);
}

TEST_F(Navigation, ReminderAnsweredLaterAsASheet) {
  h.screen->holdSheets = true;
  h.screen->AnswerNextAlert(AlertButton::Default, true);
  h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_FALSE(h.prefs->contains(prefkeys::kBookMarkAlertSuppress)) << "the sheet is still open";
  EXPECT_TRUE(h.screen->EndSheet());
  EXPECT_TRUE(h.prefs->getBool(prefkeys::kBookMarkAlertSuppress));
}

TEST_F(Navigation, SafariMoveMenuListsFoldersButTheSystemOnes) {
  h.SuppressReminder();
  h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  const MenuItemModel* move = h.view().findMenuItem(outlets::kMoveSafariFolderMenuItem);
  ASSERT_NE(move, nullptr);
  EXPECT_TRUE(move->enabled);
  ASSERT_EQ(move->submenu.size(), 1u);
  const MenuItemModel& news = move->submenu[0];
  ASSERT_EQ(news.submenu.size(), 1u);
  const MenuItemModel& local = news.submenu[0];
  EXPECT_EQ((TitleList{news.title, news.action, local.title, local.action}),
            (TitleList{"News", "MoveSelectedBookMarktoOtherFolderAction:", "Local",
                       "MoveSelectedBookMarktoOtherFolderAction:"}));
  EXPECT_TRUE(local.submenu.empty()) << "a folder without subfolders gets no submenu";
}

TEST_F(Navigation, SortAndToolMenusPopUpForTheCurrentView) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSortBookMarkBtn);
  EXPECT_TRUE(h.screen->poppedMenus.empty()) << "no view yet";

  h.Press(outlets::kAllBookMarkBtn);
  h.Press(outlets::kToolBookMarkBtn);
  ASSERT_EQ(h.screen->poppedMenus.size(), 1u);
  EXPECT_EQ(h.screen->poppedMenus[0].menu.name, outlets::kBookmarktableMenu);
  EXPECT_EQ(h.screen->poppedMenus[0].button, outlets::kToolBookMarkBtn);
  EXPECT_DOUBLE_EQ(h.screen->poppedMenus[0].lowerBy, 4.0);
  EXPECT_FALSE(h.view().findMenuItem(outlets::kMoveFolderMenuItem)->enabled);

  for (const char* title : {"Reading", "Later"}) {
    FolderPtr f = PRFaBookMarkNode::Create();
    f->setThetitle(std::string(title));
    f->setBookMarkFrom(std::string("Folder"));
    app.lists().folderArray.push_back(f);
  }
  h.Press(outlets::kToolBookMarkBtn);
  const MenuItemModel* move = h.view().findMenuItem(outlets::kMoveFolderMenuItem);
  EXPECT_TRUE(move->enabled);
  ASSERT_EQ(move->submenu.size(), 2u);
  EXPECT_EQ((TitleList{move->submenu[0].title, move->submenu[1].title, move->submenu[1].action}),
            (TitleList{"Reading", "Later", "ActMoveToFolderAction:"}));
  // The popped menu carries the rebuilt submenu.
  bool found = false;
  for (const auto& item : h.screen->poppedMenus.back().menu.items)
    found |= item.identifier == outlets::kMoveFolderMenuItem && item.submenu.size() == 2;
  EXPECT_TRUE(found);

  const auto popped = [&](const char* button) {
    h.Press(button);
    return h.screen->poppedMenus.back().menu.name;
  };
  EXPECT_EQ(popped(outlets::kSortBookMarkBtn), outlets::kSortBookmarkMenu);
  h.Press(outlets::kChromeBookMarkBtn);
  EXPECT_EQ(popped(outlets::kSortBookMarkBtn), outlets::kSortChromeBookMarkMenu);
  EXPECT_EQ(popped(outlets::kToolBookMarkBtn), outlets::kChromeBookmarkToolMenu);
}

TEST_F(Navigation, ExportButtonDependsOnTheView) {
  AppDelegate& app = h.Start();
  std::vector<std::string> ran;
  for (const char* action : {"ExportAllBookMarksAction:", "ExportAllChromeBookMarksAction:", "ReplaceSafariBookMark"})
    app.SetCommandHandler(action, [&ran, action](const MenuItemModel&) { ran.push_back(action); });

  h.Press(outlets::kExportBookMarkBtn);
  EXPECT_TRUE(ran.empty()) << "no view yet";
  for (const char* view : {outlets::kAllBookMarkBtn, outlets::kChromeBookMarkBtn, outlets::kSafariBookMarkBtn}) {
    h.Press(view);
    h.Press(outlets::kExportBookMarkBtn);  // Safari without a working copy: Apply Changes has nothing to apply
  }
  EXPECT_EQ(ran, (std::vector<std::string>{"ExportAllBookMarksAction:", "ExportAllChromeBookMarksAction:"}));
  WriteText(h.loc.safariWorkingCopy(), SafariPlist(""));
  h.Press(outlets::kExportBookMarkBtn);
  EXPECT_EQ(ran.back(), "ReplaceSafariBookMark");
}

TEST_F(Navigation, CookieButtonsSwapImagesAndStartTheirCommands) {
  AppDelegate& app = h.Start();
  std::vector<std::string> ran;
  const std::vector<std::string> actions = {"ActClickSafariAction:", "ActClickChromeAction:",
                                            "ActClickNewCookiesAction:", "clickConnectHomeAction:"};
  for (const std::string& action : actions)
    app.SetCommandHandler(action, [&ran, action](const MenuItemModel&) { ran.push_back(action); });
  // After each press: the Safari, Chrome, New and Open cookie buttons' images.
  const struct {
    const char* button;
    TitleList images;
  } presses[] = {
      {outlets::kSafariCookieBtn, {"safaricookiedown.png", "chromecookienom.png", "newcookienom.png", "opencookienom.png"}},
      {outlets::kChromeCookieBtn, {"Safaricookienom.png", "chromecookiedown.png", "newcookienom.png", "opencookienom.png"}},
      {outlets::kNewCookieBtn, {"Safaricookienom.png", "chromecookienom.png", "newcookiedown.png", "opencookienom.png"}},
  };
  for (const auto& p : presses) {
    h.Press(p.button);
    EXPECT_EQ((TitleList{h.Image(outlets::kSafariCookieBtn), h.Image(outlets::kChromeCookieBtn),
                         h.Image(outlets::kNewCookieBtn), h.Image(outlets::kOpenCookieBtn)}),
              p.images)
        << p.button;
  }
  h.Press(outlets::kConnectBtn);
  EXPECT_EQ(h.Image(outlets::kConnectBtn), "Connectbtn.png");
  EXPECT_EQ(ran, actions);
}

TEST_F(Navigation, UnknownSenderIsIgnoredAndEachPressNotifiesOnce) {
  AppDelegate& app = h.Start();
  int calls = 0;
  unsigned lastSections = 0;
  app.SetViewListener([&](const ViewState&, unsigned sections) {
    ++calls;
    lastSections = sections;
  });
  h.Press("someOtherButton");
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(app.bookMarkType, 0);

  h.Press(outlets::kAllBookMarkBtn);
  calls = 0;
  h.Press(outlets::kUrlListViewBtn);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(lastSections & viewsection::kBookmarkTable);
  EXPECT_TRUE(lastSections & viewsection::kButtons);
}

struct PasswordCheck : Navigation {
  std::vector<std::string> ran;
  AppDelegate& StartInSafariWithSelection(const char* storedPassword) {
    if (storedPassword) (void)h.prefs->set(prefkeys::kLinvaraPassword, Value(storedPassword));
    h.SuppressReminder();
    AppDelegate& app = h.Start();
    for (const char* action : {"EncryptedSelectedBookMarkAction:", "DecrypteSelectedBookMarkAction:"})
      app.SetCommandHandler(action, [this, action](const MenuItemModel&) { ran.push_back(action); });
    h.Press(outlets::kSafariBookMarkBtn);
    h.SelectTitles({"Weather"});
    return app;
  }
};

TEST_F(PasswordCheck, WrongPasswordClearsTheFieldShakesAndRunsNothing) {
  AppDelegate& app = StartInSafariWithSelection("secret");
  app.isEnterEncryptMode = true;
  app.isEnterDecryptMode = true;
  app.SetFieldText(outlets::kEnterPWLab, "Secret");
  h.Press(outlets::kEnterPDButton);
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(h.view().findText(outlets::kEnterPWLab)->text, "");
  EXPECT_FALSE(h.view().findText(outlets::kEnterPDWarnLab)->hidden);
  EXPECT_EQ(h.screen->shakes, (std::vector<std::string>{"enterPDWindow"}));
  EXPECT_FALSE(app.hasEnterEncryptedPasswd);
  EXPECT_FALSE(app.hasEnterDecryptedPasswd);
}

TEST_F(PasswordCheck, NoStoredPasswordNeverMatches) {
  AppDelegate& app = StartInSafariWithSelection(nullptr);
  app.isEnterDecryptMode = true;
  app.SetFieldText(outlets::kEnterPWLab, "");
  h.Press(outlets::kEnterPDButton);
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(h.screen->shakes.size(), 1u);
}

TEST_F(PasswordCheck, RightPasswordAfterAWrongOneResumesTheWaitingCommand) {
  AppDelegate& app = StartInSafariWithSelection("secret");
  app.isEnterEncryptMode = true;
  h.screen->ShowWindow(outlets::kEnterPDWindow, false);
  for (const char* typed : {"nope", "secret"}) {
    app.SetFieldText(outlets::kEnterPWLab, typed);
    h.Press(outlets::kEnterPDButton);
  }
  EXPECT_EQ(ran, (std::vector<std::string>{"EncryptedSelectedBookMarkAction:"}));
  EXPECT_TRUE(app.hasEnterEncryptedPasswd);
  EXPECT_FALSE(app.hasEnterDecryptedPasswd);
  EXPECT_TRUE(h.view().findText(outlets::kEnterPDWarnLab)->hidden) << "the right password hides the warning";
  EXPECT_EQ(h.view().findText(outlets::kEnterPWLab)->text, "");
  EXPECT_FALSE(h.screen->IsWindowVisible(outlets::kEnterPDWindow));
}

TEST_F(Navigation, AboutGuideAndSupport) {
  AppDelegate& app = h.Start();
  app.ActAboutAction();
  app.ActAboutAction();
  EXPECT_EQ(h.screen->windowsShown, (std::vector<std::string>{"aboutWindow"}));
  app.ClickTheProductGuide();
  app.SupportAction();
  EXPECT_EQ(h.platform->openedUrls, (std::vector<std::string>{"https://www.zelvane.com/guide/how-to-use-linvara.html",
                                                              "https://www.zelvane.com/support.html"}));
}
