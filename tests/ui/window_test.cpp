// The window on a generated home: views, search, folders, menus, the Apply
// Changes reminder and the cookie area, each checked in what the table shows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"
#include "app/Outlets.h"
#include "platform/AtomicFile.h"
#include "ui/MainWindow.h"
#include "ui/OutletDialog.h"
#include "ui/PRLeftTipButton.h"
#include "ui/QtScreen.h"
#include "ui/TableModels.h"

namespace linvara::testing {
namespace {

using namespace outlets;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    using profile::Folder, profile::Leaf;
    h.WriteSafari({Folder("Work", {Leaf("Apple pie recipes", "https://pie.example/apple"),
                                   Leaf("Tracker", "https://tracker.example/")}),
                   Leaf("Example", "https://example.com/"), Leaf("Fruit shop", "https://APPLE.example/shop")});
    h.WriteChrome(profile::ChromiumRoots(
        {Leaf("News", "https://news.example/"), Folder("Recipes", {Leaf("Soup", "https://soup.example/")})},
        {Leaf("Other page", "https://other.example/")}));
  }
  QtScreen& screen() { return h.app->screen(); }

  GuiHome h;
};

TEST_F(WindowTest, StartScreenFrameAndNavigationButtons) {
  h.Start();
  EXPECT_EQ(h.window().shownArea(), ContentArea::Start);
  EXPECT_EQ(h.window().bookmarkModel()->rowCount(), 0);
  for (const char* outlet : {kAllBookMarkBtn, kSafariBookMarkBtn, kChromeBookMarkBtn, kFolderListViewBtn,
                             kUrlListViewBtn, kBackBookMarkBtn, kSortBookMarkBtn, kToolBookMarkBtn,
                             kExportBookMarkBtn, kSafariCookieBtn, kChromeCookieBtn, kOpenCookieBtn}) {
    PRLeftTipButton* button = h.window().navigationButton(outlet);
    ASSERT_NE(button, nullptr) << outlet;
    EXPECT_FALSE(button->toolTip().isEmpty()) << outlet;
    EXPECT_FALSE(button->icon().isNull()) << outlet;
  }
  // The New Cookies button waits for an opened cookie file.
  EXPECT_FALSE(h.window().navigationButton(kNewCookieBtn)->isVisible());

  // The frame: an empty header strip as wide as the window, on white.
  QMHeaderView* header = h.window().headerView();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->height(), QMHeaderView::kHeight);
  EXPECT_EQ(header->width(), h.window().width());
  h.window().resize(h.window().width() + 40, h.window().height());
  EXPECT_EQ(header->width(), h.window().width());
  EXPECT_EQ(h.window().palette().color(QPalette::Window), QColor(Qt::white));

  // A navigation button posts its identity and nothing else.
  std::vector<std::string> senders;
  const int token = h.controller().session().notifications().AddObserver(
      kLeftButtonMouseDown, [&](const Notification& n) { senders.push_back(n.sender); });
  QTest::mouseClick(h.window().navigationButton(kSortBookMarkBtn), Qt::LeftButton);
  h.controller().session().notifications().RemoveObserver(token);
  EXPECT_EQ(senders, std::vector<std::string>{kSortBookMarkBtn});
}

TEST_F(WindowTest, AllBookmarksViewThenFlatListAndBackToStart) {
  h.Start();
  h.Press(kAllBookMarkBtn);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Bookmarks);
  const QStringList top = h.TableTitles();
  EXPECT_TRUE(top.contains("Work"));
  EXPECT_TRUE(top.contains("Example"));
  EXPECT_LT(top.indexOf("Work"), top.indexOf("Bookmarks bar"));  // Safari before Chrome

  h.Press(kUrlListViewBtn);
  const QStringList flat = h.TableTitles();
  for (const char* title : {"Apple pie recipes", "Tracker", "Example", "Fruit shop", "News", "Soup", "Other page"})
    EXPECT_TRUE(flat.contains(title)) << title;
  EXPECT_FALSE(flat.contains("Work"));
  EXPECT_EQ(h.window().statusLabel()->text(), QString("%1 items").arg(flat.size()));

  // At the top level, back leaves for the start screen.
  h.Press(kBackBookMarkBtn);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Start);
  EXPECT_EQ(h.window().bookmarkModel()->rowCount(), 0);
}

TEST_F(WindowTest, SearchFieldFiltersAndClearingRestoresTheList) {
  h.StartIn(kSafariBookMarkBtn);
  QLineEdit* search = h.window().searchField();
  search->setFocus();
  QTest::keyClicks(search, "APPLE");
  ASSERT_TRUE(WaitUntil([&] { return h.TableTitles() == QStringList({"Apple pie recipes", "Fruit shop"}); }))
      << h.TableTitles().join(", ").toStdString();
  EXPECT_EQ(h.controller().viewState().findText(kSearchField)->text, "APPLE");

  // No match shows an empty table that says so.
  const QStringList topLevel({"Work", "Example", "Fruit shop"});
  search->clear();
  QTest::keyClicks(search, "zzz-nothing");
  ASSERT_TRUE(WaitUntil([&] { return h.TableTitles().isEmpty(); })) << h.TableTitles().join(", ").toStdString();
  EXPECT_EQ(h.window().findChild<QLabel*>("bookmarkStatus")->text(), "No matches");

  // An emptied field shows the view's list again.
  search->selectAll();
  QTest::keyClick(search, Qt::Key_Backspace);
  EXPECT_TRUE(search->text().isEmpty());
  EXPECT_EQ(h.controller().viewState().findText(kSearchField)->text, "");
  ASSERT_TRUE(WaitUntil([&] { return h.TableTitles() == topLevel; }));
}

TEST_F(WindowTest, DoubleClickAsksForABookmarksEditorOrOpensAFolderAndBackComesUp) {
  h.StartIn(kSafariBookMarkBtn);
  int edits = 0;
  h.controller().SetCommandHandler("EditSelectedBookMarkAction:", [&](const MenuItemModel&) { ++edits; });
  h.DoubleClickRow(h.RowOf("Example"));
  EXPECT_EQ(edits, 1);
  EXPECT_TRUE(h.TableTitles().contains("Work"));  // the table stays where it was

  ASSERT_GE(h.RowOf("Work"), 0);
  h.DoubleClickRow(h.RowOf("Work"));
  EXPECT_EQ(h.TableTitles(), QStringList({"Apple pie recipes", "Tracker"}));
  EXPECT_EQ(h.ButtonImage(kBackBookMarkBtn), images::kBack);
  EXPECT_EQ(h.window().navigationButton(kBackBookMarkBtn)->size(), QSize(25, 23));
  // The address line of a bookmark row.
  EXPECT_EQ(h.window().bookmarkModel()->index(0, 0).data(rowrole::kSecondLine).toString(), "https://pie.example/apple");

  // Back through the keyboard shortcut of the table.
  h.window().bookmarkTable()->setFocus();
  QTest::keyClick(h.window().bookmarkTable(), Qt::Key_Backspace);
  EXPECT_TRUE(h.TableTitles().contains("Work"));
  EXPECT_EQ(h.ButtonImage(kBackBookMarkBtn), images::kHome);
  EXPECT_EQ(h.window().navigationButton(kBackBookMarkBtn)->size(), QSize(27, 27));
  EXPECT_EQ(edits, 1);
}

TEST_F(WindowTest, SortAndToolButtonsAndTheMenuBarFollowTheView) {
  (void)h.prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
  h.Start();
  QMenu* menuBarSort = nullptr;
  for (QAction* a : h.window().menuBar()->actions())
    if (a->menu() && a->text() == "&Sort") menuBarSort = a->menu();
  ASSERT_NE(menuBarSort, nullptr);
  emit menuBarSort->aboutToShow();
  ASSERT_EQ(menuBarSort->actions().size(), 1);
  EXPECT_FALSE(menuBarSort->actions().front()->isEnabled());  // no view yet

  h.Press(kChromeBookMarkBtn);
  EXPECT_TRUE(h.TableTitles().contains("Bookmarks bar"));
  h.Press(kSortBookMarkBtn);
  QMenu* menu = screen().lastPoppedMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->objectName(), kSortChromeBookMarkMenu);
  EXPECT_TRUE(ActionTexts(*menu).contains("Sort by Name, Folders First"));
  // Each entry carries the controller action it sends.
  EXPECT_EQ(menu->actions().front()->data().toString(), "SortChromeBookMarkByNameFolderFirst:");
  menu->close();

  // The tool button pops the tool menu of the same view.
  h.Press(kToolBookMarkBtn);
  ASSERT_NE(screen().lastPoppedMenu(), nullptr);
  EXPECT_EQ(screen().lastPoppedMenu()->objectName(), kChromeBookmarkToolMenu);
  screen().lastPoppedMenu()->close();

  // The menu bar's Sort menu is rebuilt, not appended to, from the view's menu.
  emit menuBarSort->aboutToShow();
  const auto count = menuBarSort->actions().size();
  emit menuBarSort->aboutToShow();
  EXPECT_EQ(menuBarSort->actions().size(), count);
  EXPECT_EQ(menuBarSort->actions().front()->data().toString(), "SortChromeBookMarkByNameFolderFirst:");
}

TEST_F(WindowTest, ApplyChangesReminderComesBackUntilItsTickSuppressesIt) {
  h.Start();
  screen().AnswerNextMessageBox(AlertButton::Default, /*suppressionChecked=*/false);
  h.Press(kSafariBookMarkBtn);
  ASSERT_TRUE(WaitUntil([&] { return screen().currentMessageBox() == nullptr; }));
  EXPECT_FALSE(h.prefs->getBool(prefkeys::kBookMarkAlertSuppress));

  screen().AnswerNextMessageBox(AlertButton::Default, /*suppressionChecked=*/true);
  h.Press(kSafariBookMarkBtn);
  EXPECT_EQ(screen().alertsShown().size(), 2u);
  QMessageBox* box = screen().currentMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text().toStdString(), screen().alertsShown().back().message);
  EXPECT_EQ(box->informativeText().toStdString(), screen().alertsShown().back().informativeText);
  ASSERT_EQ(box->buttons().size(), 1);
  EXPECT_EQ(box->buttons().front()->text(), " Ok ");
  ASSERT_NE(box->checkBox(), nullptr);
  EXPECT_EQ(box->windowModality(), Qt::WindowModal);
  // The table is already filled behind the sheet.
  EXPECT_TRUE(h.TableTitles().contains("Work"));

  ASSERT_TRUE(WaitUntil([&] { return h.prefs->getBool(prefkeys::kBookMarkAlertSuppress); }));
  h.Press(kChromeBookMarkBtn);
  h.Press(kSafariBookMarkBtn);
  Settle();
  EXPECT_EQ(screen().alertsShown().size(), 2u);
}

// A refusing alert shows the controller's message with " Ok " and "Cancel", as a sheet on the
// window or, for Full Disk Access, application-modal; the view stays closed.
TEST_F(WindowTest, RefusingAlertsShowTheControllersTextsSheetOrModal) {
  h.platform->running = {bundleids::kSafari};
  h.platform->version = SystemVersion{10, 15, 0};
  h.Start();
  for (const auto& [expectedModality, answer] : {std::pair(Qt::WindowModal, AlertButton::Alternate),
                                                 std::pair(Qt::ApplicationModal, AlertButton::Default)}) {
    if (expectedModality == Qt::ApplicationModal) {  // Safari quit, but its file is out of reach
      h.platform->running.clear();
      std::filesystem::remove(h.loc.safariBookmarks());
    }
    screen().AnswerNextMessageBox(answer);
    QString text;
    QStringList buttons;
    Qt::WindowModality modality = Qt::NonModal;
    auto look = [&] {
      if (QMessageBox* box = screen().currentMessageBox(); box && text.isEmpty()) {
        text = box->text(), modality = box->windowModality();
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
      }
    };
    QTimer::singleShot(0, look);  // a modal box runs its own loop: look from inside it
    h.Press(kSafariBookMarkBtn);
    look();                       // a sheet is up when the press returns
    ASSERT_TRUE(WaitUntil([&] { return screen().currentMessageBox() == nullptr; }));
    EXPECT_EQ(text.toStdString(), screen().alertsShown().back().message);
    EXPECT_EQ(modality, expectedModality);
    EXPECT_EQ(buttons, QStringList({" Ok ", "Cancel"}));
    EXPECT_NE(h.window().shownArea(), ContentArea::Bookmarks);
  }
}

TEST_F(WindowTest, CookieAreaListsTheHomesCookiesAndAnOpenedFile) {
  for (const auto& [from, to] : {std::pair("safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies",
                                           h.loc.safariCookies()),
                                 std::pair("chrome_cookies/chrome-old_meta-v5_no-encrypted_value_560cookies_Cookies",
                                           h.loc.chromeCookies())}) {
    std::filesystem::create_directories(to.parent_path());
    ASSERT_TRUE(CopyFileAtomically(TestData(from), to, true).ok());
  }
  h.Start();
  h.Press(kSafariCookieBtn);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Cookies);
  EXPECT_EQ(h.ButtonImage(kSafariCookieBtn), images::kSafariCookieDown);
  ASSERT_TRUE(WaitUntil([&] { return h.window().cookieListShown() && !h.window().progressIndicator()->isVisible(); }));
  const CookieTableModel* model = h.window().cookieModel();
  ASSERT_EQ(model->rowCount(), 2);
  const CookieList& rows = h.controller().cookieManager().tableContent;
  EXPECT_EQ(model->index(0, CookieTableModel::kHost).data().toString().toStdString(), OrNullText(rows[0]->fileHost));
  EXPECT_EQ(model->headerData(CookieTableModel::kExpires, Qt::Horizontal, Qt::DisplayRole).toString(), "Expires");

  h.Press(kChromeCookieBtn);
  ASSERT_TRUE(WaitUntil([&] { return model->rowCount() == 560; })) << model->rowCount();
  EXPECT_EQ(h.ButtonImage(kSafariCookieBtn), images::kSafariCookieNom);

  // A bookmark view takes the window back from the cookie area.
  h.Press(kAllBookMarkBtn);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Bookmarks);

  // An opened file is listed and kept: after another view, New Cookies brings its rows back.
  EXPECT_FALSE(h.window().navigationButton(kNewCookieBtn)->isVisible());
  screen().AnswerNextOpenPanel(std::vector<std::filesystem::path>{
      TestData("safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies")});
  h.Press(kOpenCookieBtn);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Cookies);
  ASSERT_TRUE(WaitUntil([&] { return h.window().cookieListShown() && model->rowCount() == 2; }));
  ASSERT_TRUE(WaitUntil([&] { return h.window().navigationButton(kNewCookieBtn)->isVisible(); }));
  h.Press(kAllBookMarkBtn);
  h.Press(kNewCookieBtn);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Cookies);
  EXPECT_EQ(model->rowCount(), 2);
}

TEST_F(WindowTest, ResultSheetCheckBoxFlipsTheNodesSelectFlag) {
  h.Start();
  NodePtr dead = PRBookMarkNode::Create();
  dead->setThetitle("Gone");
  dead->setUrlString("https://gone.example/");
  h.controller().session().SetResultTableContent(TableId::DeadUrl, {dead});
  screen().ShowWindow("deadURLWindow", true);
  OutletDialog* sheet = screen().window("deadURLWindow");
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
  // Sheets hang 25 points below the top of the main window, centred on it.
  EXPECT_EQ(sheet->pos().y(), h.window().geometry().top() + 25);
  EXPECT_NEAR(sheet->pos().x() + sheet->width() / 2.0, h.window().geometry().center().x(), 1.0);
  QTableView* table = sheet->table(TableId::DeadUrl);
  ASSERT_EQ(table->model()->rowCount(), 1);
  const QModelIndex row = table->model()->index(0, 0);
  EXPECT_EQ(row.data().toString(), "Gone");
  EXPECT_EQ(row.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

  const QRect cell = table->visualRect(row);
  const QPoint box = QRect(cell.left() + 6, cell.top() + (cell.height() - 16) / 2, 16, 16).center();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, box);
  EXPECT_TRUE(dead->bSelect());
  EXPECT_EQ(row.data(Qt::CheckStateRole).toInt(), Qt::Checked);
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, box);
  EXPECT_FALSE(dead->bSelect());
  screen().CloseWindow("deadURLWindow");
  EXPECT_FALSE(screen().IsWindowVisible("deadURLWindow"));
}

TEST_F(WindowTest, SelectionAndKeyboardFindOpenDeleteAndBack) {
  h.StartIn(kSafariBookMarkBtn);
  h.window().activateWindow();
  QTableView* table = h.window().bookmarkTable();

  // Ctrl+F puts the cursor in the search field.
  table->setFocus();
  QTest::keyClick(&h.window(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(h.window().searchField()->hasFocus());

  // The selection reaches the controller; Return opens the selected bookmarks in the browser.
  table->setFocus();
  table->selectRow(h.RowOf("Example"));
  ASSERT_EQ(h.controller().viewState().bookmarkTable.selection.size(), 1u);
  EXPECT_EQ(OrNull(h.controller().viewState().bookmarkTable.selectedNode()->thetitle()), "Example");
  QTest::keyClick(table, Qt::Key_Return);
  EXPECT_EQ(h.platform->openedUrls, std::vector<std::string>{"https://example.com/"});

  // Delete sends the delete entry of the view's context menu.
  std::vector<std::string> deleted;
  h.controller().SetCommandHandler("DeleteSafariBookMarkAction:", [&](const MenuItemModel&) {
    for (const NodePtr& n : h.controller().viewState().bookmarkTable.selectedNodes()) deleted.push_back(OrNull(n->thetitle()));
  });
  table->setFocus();
  QTest::keyClick(table, Qt::Key_Delete);
  EXPECT_EQ(deleted, std::vector<std::string>{"Example"});

  // A reload deselects; Alt+Left at the top level goes back to the start screen.
  h.Press(kUrlListViewBtn);
  EXPECT_TRUE(h.controller().viewState().bookmarkTable.selection.empty());
  EXPECT_FALSE(table->selectionModel()->hasSelection());
  QTest::keyClick(&h.window(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Start);
}

TEST_F(WindowTest, TableContextMenuIsTheViewsMenu) {
  h.StartIn(kAllBookMarkBtn);
  QTableView* table = h.window().bookmarkTable();
  emit table->customContextMenuRequested(table->visualRect(h.window().bookmarkModel()->index(h.RowOf("Example"), 0)).center());
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->objectName(), kAllBookmarkRightmenu);
  EXPECT_TRUE(ActionTexts(*menu).contains("Open in Browser"));
  EXPECT_TRUE(ActionTexts(*menu).contains("Remove from List"));
  menu->close();
}

TEST_F(WindowTest, PasswordWindowShakesAtAWrongPasswordAndAcceptsTheStoredOne) {
  (void)h.prefs->set(prefkeys::kLinvaraPassword, Value("secret"));
  h.Start();
  screen().ShowWindow(kEnterPDWindow, false);
  OutletDialog* window = screen().window(kEnterPDWindow);
  ASSERT_NE(window, nullptr);
  QLineEdit* field = window->field(kEnterPWLab);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(window->label(kEnterPDWarnLab)->isVisible());
  const QPoint origin = window->pos();

  QTest::keyClicks(field, "wrong");
  QTest::mouseClick(window->button(kEnterPDButton), Qt::LeftButton);
  EXPECT_EQ(screen().shakes(), std::vector<std::string>{kEnterPDWindow});
  EXPECT_TRUE(window->label(kEnterPDWarnLab)->isVisible());
  EXPECT_EQ(window->label(kEnterPDWarnLab)->text(), "The password is not correct.");
  EXPECT_TRUE(field->text().isEmpty());  // the field is cleared

  // The shake moves the window and brings it back to where it was.
  auto* animation = window->findChild<QPropertyAnimation*>();
  ASSERT_NE(animation, nullptr);
  bool moved = false;
  QPointer<QPropertyAnimation> running(animation);
  ASSERT_TRUE(WaitUntil([&] {
    moved = moved || window->pos() != origin;
    return running.isNull();  // deleted when it stops
  }, 5000));
  EXPECT_TRUE(moved);
  EXPECT_EQ(window->pos(), origin);

  QTest::keyClicks(field, "secret");
  QTest::mouseClick(window->button(kEnterPDButton), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(screen().shakes().size(), 1u);
}

TEST_F(WindowTest, WindowGeometryIsRememberedAcrossRuns) {
  h.Start();
  h.window().resize(900, 600);
  h.window().close();
  h.app.reset();
  h.Start();
  EXPECT_EQ(h.window().size(), QSize(900, 600));
}

}  // namespace
}  // namespace linvara::testing
