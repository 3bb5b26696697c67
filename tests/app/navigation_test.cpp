// The navigation panel driven like a user: the three views with their guards,
// folder and flat list, going down and up, the reminder, the menus, the password.
#include <gtest/gtest.h>

#include <filesystem>

#include "PresenterFixture.h"

namespace fs = std::filesystem;
using namespace linvara;
using namespace linvara::testing;

namespace {

std::string SafariTree() {
  return SafariFolder("BookmarksMenu", SafariLeaf("Menu Item", "https://menu.example/")) +
         SafariFolder("Favorites Bar", SafariLeaf("Bar Item", "https://bar.example/")) +
         SafariFolder("News", SafariFolder("Local", SafariLeaf("Paper", "https://paper.example/")) +
                                  SafariLeaf("apple pie", "https://pie.example/")) +
         SafariLeaf("Fruit Stand", "https://shop.example/apple") + SafariLeaf("Weather", "https://weather.example/");
}

std::string ChromeTree() {
  return ChromeFile(ChromeFolder("10", "Work", ChromeUrl("11", "Mail", "https://mail.example/")) + "," +
                        ChromeUrl("12", "Docs", "https://docs.example/"),
                    ChromeUrl("13", "Apple Store", "https://store.example/"));
}

struct Navigation : ::testing::Test {
  PresenterHome h;
  void SetUp() override {
    h.WriteSafari(SafariTree());
    h.WriteChrome(ChromeTree());
  }
  std::size_t CountTitle(const std::string& title) {
    std::size_t n = 0;
    for (const auto& t : h.RowTitles()) n += t == title;
    return n;
  }
};

}  // namespace

TEST_F(Navigation, AwakeFromNibSetsTheOneTimeState) {
  AppDelegate& app = h.Start();
  const ViewState& s = h.view();
  EXPECT_EQ(s.area, ContentArea::Start);
  EXPECT_TRUE(s.findButton(outlets::kNewCookieBtn)->hidden);
  EXPECT_TRUE(s.bookmarkTableMultipleSelection);
  EXPECT_FALSE(s.findMenuItem(outlets::kMoveFolderMenuItem)->enabled);
  EXPECT_TRUE(s.findText(outlets::kEnterPDWarnLab)->hidden);
  EXPECT_TRUE(s.findText(outlets::kWarnCreatedpasscodelab)->hidden);
  EXPECT_EQ(s.imageViews.at(outlets::kLeftView), "leftimage.png");
  EXPECT_EQ(s.imageViews.at(outlets::kOpeImageView), "bottomimage.png");
  EXPECT_EQ(s.imageViews.at(outlets::kConnectImageView), "tablehead.png");
  EXPECT_DOUBLE_EQ(s.connectWindowAlpha, 0.95);
  const ButtonState& back = *s.findButton(outlets::kBackBookMarkBtn);
  EXPECT_EQ(back, (ButtonState{"homebtn.png", 27, 27, false}));
  EXPECT_FALSE(app.bSearchStop);
  EXPECT_FALSE(app.bSearchThreadStart);
}

TEST_F(Navigation, FirefoxRunningBlocksTheUnifiedViewAndReadsNothing) {
  h.platform->running = {bundleids::kFirefox};
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);

  ASSERT_EQ(h.screen->alerts.size(), 1u);
  const AlertSpec& a = h.screen->alerts[0].spec;
  EXPECT_EQ(a.message, "You need to quit the running browser.");
  EXPECT_EQ(a.defaultButton, " Ok ");
  EXPECT_EQ(a.alternateButton, "Cancel");
  EXPECT_TRUE(a.asSheet);
  EXPECT_TRUE(app.lists().allbookMarkArray.empty());
  EXPECT_TRUE(app.lists().safariFatherArray.empty());
  EXPECT_TRUE(h.rows().empty());
  EXPECT_EQ(h.view().area, ContentArea::Start);
  // The guard leaves the view chosen and its buttons and menu set.
  EXPECT_EQ(app.bookMarkType, 1);
  EXPECT_FALSE(h.view().findButton(outlets::kFolderListViewBtn)->hidden);
  EXPECT_EQ(h.view().bookmarkTableMenu, outlets::kAllBookmarkRightmenu);

  // Firefox does not stop the Safari view.
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_EQ(app.bookMarkType, 2);
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"BookmarksMenu", "Favorites Bar", "News", "Fruit Stand", "Weather"}));
}

TEST_F(Navigation, EdgeRunningDoesNotStopTheUnifiedView) {
  h.platform->running = {bundleids::kEdge};
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  EXPECT_TRUE(h.screen->alerts.empty());
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
  EXPECT_EQ(h.view().bookMarkType, 1);
  EXPECT_EQ(h.view().findButton(outlets::kExportBookMarkBtn)->image, "exportbookmark.png");
  // Safari's top level, then Chrome's roots.
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"BookmarksMenu", "Favorites Bar", "News", "Fruit Stand", "Weather",
                                                      "Bookmarks bar", "Other bookmarks"}));
  EXPECT_EQ(app.lists().allbookMarkArray.size(), 9u);
}

TEST_F(Navigation, PressingAllBookmarksTwiceShowsEachBookmarkOnce) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  h.Press(outlets::kAllBookMarkBtn);
  EXPECT_EQ(CountTitle("News"), 1u);
  EXPECT_EQ(app.lists().allbookMarkArray.size(), 9u);
}

TEST_F(Navigation, NoFullDiskAccessTestBelowMojave) {
  fs::remove(h.loc.safariBookmarks());  // an unreadable Safari file
  h.platform->version = SystemVersion{10, 13, 6};
  (void)h.prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_TRUE(h.screen->alerts.empty());
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
  EXPECT_TRUE(h.rows().empty());
  h.Press(outlets::kAllBookMarkBtn);
  EXPECT_TRUE(h.screen->alerts.empty());
  EXPECT_EQ(app.lists().chromebookMarkArray.size(), 3u);
}

TEST_F(Navigation, FullDiskAccessStopsTheSafariViewButNotTheUnifiedView) {
  fs::remove(h.loc.safariBookmarks());
  h.platform->version = SystemVersion{10, 14, 0};
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(h.screen->alerts[0].spec.message,
            "You need to add Linvara.app to the Full Disk Access List to access Safari bookmark in Mac 10.14 and "
            "later. ");
  EXPECT_FALSE(h.screen->alerts[0].spec.asSheet);
  EXPECT_EQ(h.view().area, ContentArea::Start);

  h.screen->AnswerNextAlert(AlertButton::Alternate);  // whichever button: the unified view still loads
  h.Press(outlets::kAllBookMarkBtn);
  EXPECT_EQ(h.screen->alerts.size(), 2u);
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Bookmarks bar", "Other bookmarks"}));
  EXPECT_TRUE(app.lists().safariBookMarkArray.empty());

  // macOS 11 counts as later too.
  PresenterHome big;
  big.platform->version = SystemVersion{11, 2, 0};
  big.Start();
  big.Press(outlets::kSafariBookMarkBtn);
  EXPECT_EQ(big.screen->alerts.size(), 1u);
}

TEST_F(Navigation, SafariRunningStopsOnlyTheSafariView) {
  h.platform->running = {bundleids::kSafari};
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  ASSERT_EQ(h.screen->alertMessages(), (std::vector<std::string>{"You need to quit Safari browser."}));
  EXPECT_TRUE(h.screen->alerts[0].spec.asSheet);
  EXPECT_EQ(app.bookMarkType, 2);
  EXPECT_EQ(h.view().bookmarkTableMenu, outlets::kSafariRightmenu);
  EXPECT_TRUE(app.lists().safariFatherArray.empty());

  h.Press(outlets::kChromeBookMarkBtn);
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Bookmarks bar", "Other bookmarks"}));
}

TEST_F(Navigation, ChromeRunningStopsTheChromeViewAndKeepsTheOldRows) {
  (void)h.prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  const auto safariRows = h.RowTitles();
  h.platform->running = {bundleids::kChrome};
  h.Press(outlets::kChromeBookMarkBtn);
  EXPECT_EQ(h.screen->alertMessages(), (std::vector<std::string>{"You need to quit Chrome browser."}));
  EXPECT_EQ(app.bookMarkType, 3);
  EXPECT_EQ(h.view().bookmarkTableMenu, outlets::kChromeRightmenu);
  EXPECT_EQ(h.RowTitles(), safariRows);
}

TEST_F(Navigation, ChromeViewShowsItsRootsAndChromeImages) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kChromeBookMarkBtn);
  EXPECT_EQ(app.bookMarkType, 3);
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Bookmarks bar", "Other bookmarks"}));
  EXPECT_EQ(h.view().findButton(outlets::kFolderListViewBtn)->image, "folderlistdown.png");
  EXPECT_EQ(h.view().findButton(outlets::kUrlListViewBtn)->image, "urllistnom.png");
  EXPECT_EQ(h.view().findButton(outlets::kExportBookMarkBtn)->image, "exportbookmark.png");
  EXPECT_TRUE(h.screen->alerts.empty()) << "no reminder and no Full Disk Access test in the Chrome view";
  EXPECT_TRUE(app.lists().safariFatherArray.empty());
}

TEST_F(Navigation, FlatListInTheSafariViewShowsEveryBookmarkAndTheHomeImage) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  EXPECT_EQ(h.view().findButton(outlets::kExportBookMarkBtn)->image, "applychanges.png");
  h.SelectTitles({"News"});
  app.DoubleClickTableViewBookMarkAction();
  EXPECT_EQ(h.BackImage(), "backbtn.png");

  h.Press(outlets::kUrlListViewBtn);
  EXPECT_EQ(h.RowTitles(),
            (std::vector<std::string>{"Menu Item", "Bar Item", "Paper", "apple pie", "Fruit Stand", "Weather"}));
  EXPECT_EQ(h.rows(), app.lists().safariBookMarkArray);
  EXPECT_EQ(*h.view().findButton(outlets::kBackBookMarkBtn), (ButtonState{"homebtn.png", 27, 27, false}));
  EXPECT_EQ(h.view().findButton(outlets::kFolderListViewBtn)->image, "folderlistnom.png");
  EXPECT_EQ(h.view().findButton(outlets::kUrlListViewBtn)->image, "urllistdown.png");

  h.Press(outlets::kFolderListViewBtn);
  EXPECT_EQ(h.rows(), app.lists().safariFatherArray);
  EXPECT_EQ(h.view().findButton(outlets::kFolderListViewBtn)->image, "folderlistdown.png");
  EXPECT_EQ(h.view().findButton(outlets::kUrlListViewBtn)->image, "urllistnom.png");
}

TEST_F(Navigation, UnifiedFolderAndFlatListContents) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  h.Press(outlets::kUrlListViewBtn);
  EXPECT_EQ(h.rows(), app.lists().allbookMarkArray);
  h.Press(outlets::kFolderListViewBtn);
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"BookmarksMenu", "Favorites Bar", "News", "Fruit Stand", "Weather",
                                                      "Bookmarks bar", "Other bookmarks"}));
}

TEST_F(Navigation, DescendingAndGoingBackUpInTheSafariView) {
  AppDelegate& app = h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  const NodeList top = h.rows();

  h.SelectTitles({"News"});
  app.DoubleClickTableViewBookMarkAction();
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Local", "apple pie"}));
  EXPECT_EQ(*h.view().findButton(outlets::kBackBookMarkBtn), (ButtonState{"backbtn.png", 25, 23, false}));
  EXPECT_EQ(app.lists().LastLeveArray, top);

  h.SelectTitles({"Local"});
  app.DoubleClickTableViewBookMarkAction();
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Paper"}));

  // One level up: the News folder's children; the button keeps the back image.
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Local", "apple pie"}));
  EXPECT_EQ(h.BackImage(), "backbtn.png");

  // One level below the top: the top level and the home image.
  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.rows(), top);
  EXPECT_EQ(*h.view().findButton(outlets::kBackBookMarkBtn), (ButtonState{"homebtn.png", 27, 27, false}));

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
  AppDelegate& app = h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  const NodeList top = h.rows();
  h.SelectTitles({"News"});
  app.DoubleClickTableViewBookMarkAction();
  h.SelectTitles({"Local"});
  app.DoubleClickTableViewBookMarkAction();
  ASSERT_EQ(h.RowTitles(), (std::vector<std::string>{"Paper"}));

  h.Press(outlets::kBackBookMarkBtn);
  EXPECT_EQ(h.RowTitles(), (std::vector<std::string>{"Local", "apple pie"}));
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
  const AlertSpec& reminder = h.screen->alerts[0].spec;
  EXPECT_EQ(reminder.message, "Remember to click the Apply Changes button to save all your changes to Safari");
  EXPECT_EQ(reminder.defaultButton, " Ok ");
  EXPECT_EQ(reminder.alternateButton, "");
  EXPECT_TRUE(reminder.asSheet);
  EXPECT_TRUE(reminder.showSuppressionButton);
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
  (void)h.prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
  h.Start();
  h.Press(outlets::kSafariBookMarkBtn);
  const MenuItemModel* move = h.view().findMenuItem(outlets::kMoveSafariFolderMenuItem);
  ASSERT_NE(move, nullptr);
  EXPECT_TRUE(move->enabled);
  ASSERT_EQ(move->submenu.size(), 1u);
  EXPECT_EQ(move->submenu[0].title, "News");
  EXPECT_EQ(move->submenu[0].action, "MoveSelectedBookMarktoOtherFolderAction:");
  ASSERT_EQ(move->submenu[0].submenu.size(), 1u);
  EXPECT_EQ(move->submenu[0].submenu[0].title, "Local");
  EXPECT_EQ(move->submenu[0].submenu[0].action, "MoveSelectedBookMarktoOtherFolderAction:");
  EXPECT_TRUE(move->submenu[0].submenu[0].submenu.empty()) << "a folder without subfolders gets no submenu";
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
  EXPECT_EQ(move->submenu[0].title, "Reading");
  EXPECT_EQ(move->submenu[1].title, "Later");
  EXPECT_EQ(move->submenu[1].action, "ActMoveToFolderAction:");
  // The popped menu carries the rebuilt submenu.
  const MenuModel& popped = h.screen->poppedMenus.back().menu;
  bool found = false;
  for (const auto& item : popped.items) found |= item.identifier == outlets::kMoveFolderMenuItem && item.submenu.size() == 2;
  EXPECT_TRUE(found);

  h.Press(outlets::kSortBookMarkBtn);
  EXPECT_EQ(h.screen->poppedMenus.back().menu.name, outlets::kSortBookmarkMenu);
  h.Press(outlets::kChromeBookMarkBtn);
  h.Press(outlets::kSortBookMarkBtn);
  EXPECT_EQ(h.screen->poppedMenus.back().menu.name, outlets::kSortChromeBookMarkMenu);
  h.Press(outlets::kToolBookMarkBtn);
  EXPECT_EQ(h.screen->poppedMenus.back().menu.name, outlets::kChromeBookmarkToolMenu);
}

TEST_F(Navigation, ExportButtonDependsOnTheView) {
  AppDelegate& app = h.Start();
  std::vector<std::string> ran;
  for (const char* action : {"ExportAllBookMarksAction:", "ExportAllChromeBookMarksAction:", "ReplaceSafariBookMark"})
    app.SetCommandHandler(action, [&ran, action](const MenuItemModel&) { ran.push_back(action); });

  h.Press(outlets::kExportBookMarkBtn);
  EXPECT_TRUE(ran.empty()) << "no view yet";
  h.Press(outlets::kAllBookMarkBtn);
  h.Press(outlets::kExportBookMarkBtn);
  h.Press(outlets::kChromeBookMarkBtn);
  h.Press(outlets::kExportBookMarkBtn);
  h.Press(outlets::kSafariBookMarkBtn);
  h.Press(outlets::kExportBookMarkBtn);  // no working copy yet: Apply Changes has nothing to apply
  EXPECT_EQ(ran, (std::vector<std::string>{"ExportAllBookMarksAction:", "ExportAllChromeBookMarksAction:"}));
  WriteText(h.loc.safariWorkingCopy(), SafariPlist(""));
  h.Press(outlets::kExportBookMarkBtn);
  EXPECT_EQ(ran.back(), "ReplaceSafariBookMark");
}

TEST_F(Navigation, CookieButtonsSwapImagesAndStartTheirCommands) {
  AppDelegate& app = h.Start();
  std::vector<std::string> ran;
  for (const char* action : {"ActClickSafariAction:", "ActClickChromeAction:", "ActClickNewCookiesAction:",
                             "clickConnectHomeAction:"})
    app.SetCommandHandler(action, [&ran, action](const MenuItemModel&) { ran.push_back(action); });

  h.Press(outlets::kSafariCookieBtn);
  EXPECT_EQ(h.view().findButton(outlets::kSafariCookieBtn)->image, "safaricookiedown.png");
  EXPECT_EQ(h.view().findButton(outlets::kChromeCookieBtn)->image, "chromecookienom.png");
  EXPECT_EQ(h.view().findButton(outlets::kNewCookieBtn)->image, "newcookienom.png");
  EXPECT_EQ(h.view().findButton(outlets::kOpenCookieBtn)->image, "opencookienom.png");
  h.Press(outlets::kChromeCookieBtn);
  EXPECT_EQ(h.view().findButton(outlets::kSafariCookieBtn)->image, "Safaricookienom.png");
  EXPECT_EQ(h.view().findButton(outlets::kChromeCookieBtn)->image, "chromecookiedown.png");
  h.Press(outlets::kNewCookieBtn);
  EXPECT_EQ(h.view().findButton(outlets::kNewCookieBtn)->image, "newcookiedown.png");
  EXPECT_EQ(h.view().findButton(outlets::kChromeCookieBtn)->image, "chromecookienom.png");
  h.Press(outlets::kConnectBtn);
  EXPECT_EQ(h.view().findButton(outlets::kConnectBtn)->image, "Connectbtn.png");
  EXPECT_EQ(ran, (std::vector<std::string>{"ActClickSafariAction:", "ActClickChromeAction:",
                                           "ActClickNewCookiesAction:", "clickConnectHomeAction:"}));
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
  AppDelegate& StartInSafariWithSelection() {
    (void)h.prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
    AppDelegate& app = h.Start();
    for (const char* action : {"EncryptedSelectedBookMarkAction:", "DecrypteSelectedBookMarkAction:"})
      app.SetCommandHandler(action, [this, action](const MenuItemModel&) { ran.push_back(action); });
    h.Press(outlets::kSafariBookMarkBtn);
    h.SelectTitles({"Weather"});
    return app;
  }
};

TEST_F(PasswordCheck, WrongPasswordClearsTheFieldShakesAndRunsNothing) {
  (void)h.prefs->set(prefkeys::kLinvaraPassword, Value("secret"));
  AppDelegate& app = StartInSafariWithSelection();
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
  AppDelegate& app = StartInSafariWithSelection();
  app.isEnterDecryptMode = true;
  app.SetFieldText(outlets::kEnterPWLab, "");
  h.Press(outlets::kEnterPDButton);
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(h.screen->shakes.size(), 1u);
}

TEST_F(PasswordCheck, RightPasswordResumesTheWaitingCommand) {
  (void)h.prefs->set(prefkeys::kLinvaraPassword, Value("secret"));
  AppDelegate& app = StartInSafariWithSelection();
  app.isEnterEncryptMode = true;
  h.screen->ShowWindow(outlets::kEnterPDWindow, false);
  app.SetFieldText(outlets::kEnterPWLab, "secret");
  // A wrong try first: the warning shows, then the right password hides it.
  app.SetFieldText(outlets::kEnterPWLab, "nope");
  h.Press(outlets::kEnterPDButton);
  app.SetFieldText(outlets::kEnterPWLab, "secret");
  h.Press(outlets::kEnterPDButton);
  EXPECT_EQ(ran, (std::vector<std::string>{"EncryptedSelectedBookMarkAction:"}));
  EXPECT_TRUE(app.hasEnterEncryptedPasswd);
  EXPECT_FALSE(app.hasEnterDecryptedPasswd);
  EXPECT_TRUE(h.view().findText(outlets::kEnterPDWarnLab)->hidden);
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
