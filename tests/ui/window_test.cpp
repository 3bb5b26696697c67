// The real window on a generated home: what only the widgets do (drawing the
// view state, mouse and keyboard, message boxes, sheets, menus); what the
// controller decides is checked through the view state in tests/app.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPropertyAnimation>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"
#include "platform/AtomicFile.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"
#include "ui/TableModels.h"

namespace linvara::testing {
namespace {

using namespace outlets;

// The window on the sample home of tests/app.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { h.WriteSampleBookmarks(); }
  QtScreen& screen() { return h.app->screen(); }

  GuiHome h;
};

TEST_F(WindowTest, StartScreenShowsEveryNavigationButton) {
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
  h.window().resize(h.window().width() + 40, h.window().height());
  EXPECT_EQ(header->width(), h.window().width());
  EXPECT_EQ(h.window().palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(WindowTest, NavigationButtonPostsItsIdentityOnce) {
  h.Start();
  std::vector<std::string> senders;
  const int token = h.controller().session().notifications().AddObserver(
      kLeftButtonMouseDown, [&](const Notification& n) { senders.push_back(n.sender); });
  QTest::mouseClick(h.window().navigationButton(kSortBookMarkBtn), Qt::LeftButton);
  h.controller().session().notifications().RemoveObserver(token);
  EXPECT_EQ(senders, std::vector<std::string>{kSortBookMarkBtn});
}

TEST_F(WindowTest, TableShowsTheRowsOfTheViewState) {
  h.StartIn(kAllBookMarkBtn);
  QTableView* table = h.window().bookmarkTable();
  table->selectRow(h.RowOf("Weather"));
  ASSERT_EQ(h.controller().viewState().bookmarkTable.selection.size(), 1u);
  h.Press(kUrlListViewBtn);
  EXPECT_FALSE(table->selectionModel()->hasSelection()) << "a reload starts unselected";
  QStringList shown;
  for (const NodePtr& n : h.controller().viewState().bookmarkTable.content)
    shown << QString::fromStdString(OrNull(n->thetitle()));
  ASSERT_EQ(shown.size(), 11);
  EXPECT_EQ(h.TableTitles(), shown);
  EXPECT_EQ(h.window().statusLabel()->text(), "11 items");
}

TEST_F(WindowTest, SearchFieldShowsNoMatchesUntilItIsCleared) {
  h.StartIn(kSafariBookMarkBtn);
  const QStringList topLevel = h.TableTitles();
  ASSERT_EQ(topLevel.size(), 6);
  QLineEdit* search = h.window().searchField();
  QTest::keyClicks(search, "zzz-nothing");
  ASSERT_TRUE(WaitUntil([&] { return h.TableTitles().isEmpty(); })) << h.TableTitles().join(", ").toStdString();
  EXPECT_EQ(h.window().statusLabel()->text(), "No matches");
  search->selectAll();
  QTest::keyClick(search, Qt::Key_Backspace);
  EXPECT_EQ(h.controller().viewState().findText(kSearchField)->text, "");
  ASSERT_TRUE(WaitUntil([&] { return h.TableTitles() == topLevel; }));
  EXPECT_NE(h.window().statusLabel()->text(), "No matches");
}

TEST_F(WindowTest, KeyboardShortcutsReachTheirCommands) {
  h.StartIn(kSafariBookMarkBtn);
  h.window().activateWindow();
  QTableView* table = h.window().bookmarkTable();
  table->setFocus();
  QTest::keyClick(&h.window(), Qt::Key_F, Qt::ControlModifier);  // find
  EXPECT_TRUE(h.window().searchField()->hasFocus());

  // The selection reaches the controller; Return opens it, Delete removes it from the Safari tree.
  table->setFocus();
  table->selectRow(h.RowOf("Weather"));
  QTest::keyClick(table, Qt::Key_Return);
  EXPECT_EQ(h.platform->openedUrls, std::vector<std::string>{"https://weather.example/"});
  QTest::keyClick(table, Qt::Key_Delete);
  EXPECT_EQ(h.RowOf("Weather"), -1);
  EXPECT_TRUE(std::filesystem::exists(h.loc.safariWorkingCopy()));

  // A double-click opens a folder, Backspace goes up; Alt+Left at the top level leaves for the start screen.
  h.DoubleClickRow(h.RowOf("News"));
  EXPECT_EQ(h.TableTitles(), QStringList({"Local", "apple pie", "Äpfelkuchen"}));
  EXPECT_EQ(h.ButtonImage(kBackBookMarkBtn), images::kBack);
  EXPECT_EQ(h.window().navigationButton(kBackBookMarkBtn)->size(), QSize(25, 23));
  table->setFocus();
  QTest::keyClick(table, Qt::Key_Backspace);
  EXPECT_TRUE(h.TableTitles().contains("News"));
  EXPECT_EQ(h.window().navigationButton(kBackBookMarkBtn)->size(), QSize(27, 27));
  QTest::keyClick(&h.window(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Start);
  EXPECT_EQ(h.window().bookmarkModel()->rowCount(), 0);
}

// The sort button pops the view's menu; the menu bar's Sort menu is rebuilt, not appended to, from it.
TEST_F(WindowTest, SortMenusFollowTheView) {
  h.Start();  // no view yet
  QMenu* menuBarSort = nullptr;
  for (QAction* a : h.window().menuBar()->actions())
    if (a->menu() && a->text() == "&Sort") menuBarSort = a->menu();
  ASSERT_NE(menuBarSort, nullptr);
  emit menuBarSort->aboutToShow();
  ASSERT_EQ(menuBarSort->actions().size(), 1);
  EXPECT_FALSE(menuBarSort->actions().front()->isEnabled());

  h.Press(kChromeBookMarkBtn);
  h.Press(kSortBookMarkBtn);
  QMenu* menu = screen().lastPoppedMenu();
  ASSERT_TRUE(menu && menu->isVisible());
  EXPECT_EQ(menu->objectName(), kSortChromeBookMarkMenu);
  EXPECT_EQ(menu->actions().front()->text(), "Sort by Name, Folders First");
  EXPECT_EQ(menu->actions().front()->data().toString(), "SortChromeBookMarkByNameFolderFirst:");
  menu->close();
  emit menuBarSort->aboutToShow();
  const auto count = menuBarSort->actions().size();
  emit menuBarSort->aboutToShow();
  EXPECT_EQ(menuBarSort->actions().size(), count);
  EXPECT_EQ(menuBarSort->actions().front()->data().toString(), "SortChromeBookMarkByNameFolderFirst:");
}

// Each alert is a message box with the controller's texts and buttons: the
// refusals a sheet or (Full Disk Access) application-modal, keeping the view
// closed; the reminder a sheet over the filled table, with a check box whose
// tick reaches the controller.
TEST_F(WindowTest, MessageBoxesShowTheControllersAlerts) {
  h.platform->running = {bundleids::kSafari};
  h.platform->version = SystemVersion{10, 15, 0};
  h.Start();
  const std::filesystem::path safari = h.loc.safariBookmarks(), away = safari.string() + ".away";
  const struct {
    const char* alert;
    bool ticked;
    Qt::WindowModality modality;
    QStringList buttons;
  } steps[] = {{"Safari running", false, Qt::WindowModal, {" Ok ", "Cancel"}},
               {"Full Disk Access", false, Qt::ApplicationModal, {" Ok ", "Cancel"}},
               {"reminder", false, Qt::WindowModal, {" Ok "}},
               {"reminder ticked", true, Qt::WindowModal, {" Ok "}}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.alert);
    const bool reminder = step.buttons.size() == 1;
    if (step.modality == Qt::ApplicationModal) std::filesystem::rename(safari, away);
    if (reminder && !std::filesystem::exists(safari)) std::filesystem::rename(away, safari);
    screen().AnswerNextMessageBox(AlertButton::Default, step.ticked);
    QString text, info;
    QStringList buttons;
    Qt::WindowModality modality = Qt::NonModal;
    bool checkBox = false, tableFilled = false;
    auto look = [&] {
      if (QMessageBox* box = screen().currentMessageBox(); box && text.isEmpty()) {
        text = box->text(), info = box->informativeText(), modality = box->windowModality();
        checkBox = box->checkBox() != nullptr, tableFilled = h.TableTitles().contains("News");
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
      }
    };
    QTimer::singleShot(0, look);  // a modal box runs its own loop: look from inside it
    h.Press(kSafariBookMarkBtn);
    look();  // a sheet is up when the press returns
    ASSERT_TRUE(WaitUntil([&] { return screen().currentMessageBox() == nullptr; }));
    EXPECT_EQ(text.toStdString(), screen().alertsShown().back().message);
    EXPECT_EQ(info.toStdString(), screen().alertsShown().back().informativeText);
    EXPECT_EQ(modality, step.modality);
    EXPECT_EQ(buttons, step.buttons);
    EXPECT_EQ(checkBox, reminder);
    EXPECT_EQ(tableFilled, reminder);
    EXPECT_EQ(h.window().shownArea() == ContentArea::Bookmarks, reminder);
    EXPECT_EQ(h.prefs->getBool(prefkeys::kBookMarkAlertSuppress), step.ticked);
    h.platform->running.clear();
  }
}

TEST_F(WindowTest, CookieTableShowsTheScannedFile) {
  const char* const kTwoCookies = "safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies";
  std::filesystem::create_directories(h.loc.safariCookies().parent_path());
  ASSERT_TRUE(CopyFileAtomically(TestData(kTwoCookies), h.loc.safariCookies(), true).ok());
  h.Start();
  h.Press(kSafariCookieBtn);
  EXPECT_EQ(h.window().shownArea(), ContentArea::Cookies);
  ASSERT_TRUE(WaitUntil([&] { return h.window().cookieListShown() && !h.window().progressIndicator()->isVisible(); }));
  const CookieTableModel* model = h.window().cookieModel();
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(model->index(0, CookieTableModel::kHost).data().toString().toStdString(),
            OrNullText(h.controller().viewState().cookies.tableContent[0]->fileHost));

  // An opened file is kept for the New Cookies button, shown from then on.
  EXPECT_FALSE(h.window().navigationButton(kNewCookieBtn)->isVisible());
  screen().AnswerNextOpenPanel(std::vector<std::filesystem::path>{
      TestData("safari_binarycookies/safari-macos-2014_29pages-91cookies_Cookies.binarycookies")});
  h.Press(kOpenCookieBtn);
  ASSERT_TRUE(WaitUntil([&] { return model->rowCount() == 91; }));
  EXPECT_TRUE(h.window().navigationButton(kNewCookieBtn)->isVisible());
}

TEST_F(WindowTest, ResultSheetCheckBoxFlipsTheNodesSelectFlag) {
  h.Start();
  NodePtr dead = BrowserLeaf("Gone", "https://gone.example/", "Safari");
  h.controller().session().SetResultTableContent(TableId::DeadUrl, {dead});
  screen().ShowWindow("deadURLWindow", true);
  OutletDialog* sheet = screen().window("deadURLWindow");
  ASSERT_TRUE(sheet && sheet->isVisible());
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

TEST_F(WindowTest, TableContextMenuIsTheViewsMenu) {
  h.StartIn(kAllBookMarkBtn);
  QTableView* table = h.window().bookmarkTable();
  emit table->customContextMenuRequested(table->visualRect(h.window().bookmarkModel()->index(h.RowOf("Weather"), 0)).center());
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->objectName(), kAllBookmarkRightmenu);
  EXPECT_TRUE(ActionTexts(*menu).contains("Open in Browser"));
  EXPECT_TRUE(ActionTexts(*menu).contains("Remove from List"));
  menu->close();
}

// A wrong password clears the field, shows the warning and shakes the window
// back to where it was; the stored one closes it.
TEST_F(WindowTest, PasswordWindowChecksTheTypedPassword) {
  (void)h.prefs->set(prefkeys::kLinvaraPassword, Value("secret"));
  h.Start();
  screen().ShowWindow(kEnterPDWindow, false);
  OutletDialog* window = screen().window(kEnterPDWindow);
  QLineEdit* field = window ? window->field(kEnterPWLab) : nullptr;
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(window->label(kEnterPDWarnLab)->isVisible());
  const QPoint origin = window->pos();

  QTest::keyClicks(field, "wrong");
  QTest::mouseClick(window->button(kEnterPDButton), Qt::LeftButton);
  EXPECT_TRUE(window->label(kEnterPDWarnLab)->isVisible());
  EXPECT_EQ(window->label(kEnterPDWarnLab)->text(), "The password is not correct.");
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
}

TEST_F(WindowTest, EditSheetRenamesTheDoubleClickedBookmark) {
  h.StartIn(kSafariBookMarkBtn);
  h.DoubleClickRow(h.RowOf("Weather"));
  OutletDialog* sheet = screen().window(kEditBookMarkWindow);
  ASSERT_TRUE(sheet && sheet->isVisible());
  QLineEdit* name = sheet->field(kEditBookMarkNamelab);
  EXPECT_EQ(name->text(), "Weather");
  EXPECT_EQ(sheet->field(kEditBookMarkURLlab)->text(), "https://weather.example/");
  name->selectAll();
  QTest::keyClicks(name, "Forecast");
  QTest::mouseClick(sheet->button("Save"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(h.TableTitles().contains("Forecast"));
  EXPECT_EQ(h.RowOf("Weather"), -1);
}

TEST_F(WindowTest, WindowGeometryIsRememberedAcrossRuns) {
  h.Start();
  h.window().resize(900, 600);
  h.window().close();
  h.app.reset();
  h.Start();
  EXPECT_EQ(h.window().size(), QSize(900, 600));
}

// A home with 150,000 bookmarks fills the table (the time it takes is measured
// by the benchmark, not here).
TEST(LargeHome, OneHundredFiftyThousandBookmarksFillTheTable) {
  constexpr int kBookmarks = 150000;
  GuiHome h;
  h.WriteChrome(profile::ChromiumRoots(profile::FoldersOfBookmarks(kBookmarks, 10, [](int folder, int index) {
    const std::string number = std::to_string(folder) + "-" + std::to_string(index);
    return profile::Leaf("Page " + number, "https://site" + std::to_string(index % 997) + ".example/" + number);
  })));
  h.StartIn(outlets::kChromeBookMarkBtn);
  EXPECT_EQ(h.window().bookmarkModel()->rowCount(), 2 + 0);  // the bar and "Other bookmarks"
  h.Press(outlets::kUrlListViewBtn);
  const BookmarkTableModel* model = h.window().bookmarkModel();
  ASSERT_EQ(model->rowCount(), kBookmarks);
  EXPECT_EQ(model->index(0, 0).data().toString(), "Page 0-0");
  EXPECT_EQ(model->index(kBookmarks - 1, 0).data().toString(), "Page 9-14999");
  // Select everything and scroll to the end: the view keeps up without per-row widgets.
  QTableView* table = h.window().bookmarkTable();
  table->selectAll();
  EXPECT_EQ(h.controller().viewState().bookmarkTable.selection.size(), static_cast<std::size_t>(kBookmarks));
  table->scrollToBottom();
  Settle(20);
  EXPECT_EQ(table->rowAt(table->viewport()->height() - 1), kBookmarks - 1);
}

}  // namespace
}  // namespace linvara::testing
