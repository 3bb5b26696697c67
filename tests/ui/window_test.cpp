// The real window on a generated home: what only the widgets do (drawing the
// view state, mouse and keyboard, message boxes, sheets, menus), and the
// link-health sheets drawing a scan and a search; what the controller decides
// is checked through the view state in tests/app. Last, the hand-over from
// workers to the GUI thread, and what happens at quit.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

#include "UiTestSupport.h"
#include "app/Actions.h"
#include "health/LoopbackHttpServer.h"
#include "platform/AtomicFile.h"
#include "ui/OutletDialog.h"
#include "ui/QtMainThreadDispatcher.h"
#include "ui/QtScreen.h"
#include "ui/TableModels.h"

namespace linvara::testing {
namespace {

using namespace outlets;

// An update manifest naming `version`.
std::string Manifest(const std::string& version) {
  return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>lastestVersion</key><string>" + version +
         "</string><key>WhatsNew</key><string>Faster*Smaller*Safer</string></dict></plist>";
}

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
  // The frame: an empty header strip as wide as the window.
  QMHeaderView* header = h.window().headerView();
  ASSERT_NE(header, nullptr);
  h.window().resize(h.window().width() + 40, h.window().height());
  EXPECT_EQ(header->width(), h.window().width());
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

// The menu bar's Sort menu is the view's, rebuilt, not appended to, each time it opens.
TEST_F(WindowTest, MenuBarSortMenuFollowsTheView) {
  h.Start();  // no view yet
  QMenu* menuBarSort = nullptr;
  for (QAction* a : h.window().menuBar()->actions())
    if (a->menu() && a->text() == "&Sort") menuBarSort = a->menu();
  ASSERT_NE(menuBarSort, nullptr);
  emit menuBarSort->aboutToShow();
  ASSERT_EQ(menuBarSort->actions().size(), 1);
  EXPECT_FALSE(menuBarSort->actions().front()->isEnabled());

  h.Press(kChromeBookMarkBtn);
  emit menuBarSort->aboutToShow();
  const auto count = menuBarSort->actions().size();
  emit menuBarSort->aboutToShow();
  EXPECT_EQ(menuBarSort->actions().size(), count);
  EXPECT_EQ(menuBarSort->actions().front()->text(), "Sort by Name, Folders First");
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

  const QRect cell = table->visualRect(row);
  const QPoint box = QRect(cell.left() + 6, cell.top() + (cell.height() - 16) / 2, 16, 16).center();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, box);
  EXPECT_TRUE(dead->bSelect());
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

// The create sheet warns and empties the repeat field on a mismatch; then the
// password window clears a wrong password, shows the warning and shakes the
// window back to where it was; the right one closes it.
TEST_F(WindowTest, PasswordWindowsCheckWhatIsTyped) {
  h.StartIn(kSafariBookMarkBtn);
  h.controller().SelectTableRows(TableId::Bookmarks, {static_cast<std::size_t>(h.RowOf("Weather"))});
  ASSERT_TRUE(h.controller().EncryptedSelectedBookMarkAction());
  OutletDialog* sheet = screen().window("CreatePWWindow");
  ASSERT_TRUE(sheet && sheet->isVisible());
  EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
  QLineEdit* repeat = sheet->field("theConfirmPWLab");
  QTest::keyClicks(sheet->field("theCreatePWLab"), "secret");
  QTest::keyClicks(repeat, "secreT");
  QTest::mouseClick(sheet->button("Create"), Qt::LeftButton);
  EXPECT_TRUE(sheet->label(kWarnCreatedpasscodelab)->isVisible());
  EXPECT_EQ(repeat->text(), "");
  QTest::keyClicks(repeat, "secret");
  QTest::mouseClick(sheet->button("Create"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());

  OutletDialog* window = screen().window(kEnterPDWindow);
  ASSERT_TRUE(window && window->isVisible());
  QLineEdit* field = window->field(kEnterPWLab);
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

// The unified view's new-folder sheet makes the folder its move submenu offers.
TEST_F(WindowTest, NewFolderSheetAndMoveSubmenuMoveTheSelectedBookmark) {
  h.StartIn(kAllBookMarkBtn);
  h.Press(kToolBookMarkBtn);
  QMenu* tools = screen().lastPoppedMenu();
  ASSERT_TRUE(tools && tools->findChild<QAction*>(kMoveFolderMenuItem));
  EXPECT_FALSE(tools->findChild<QAction*>(kMoveFolderMenuItem)->isEnabled()) << "no folder yet";
  tools->findChild<QAction*>(actions::kNewFolder)->trigger();
  tools->close();

  OutletDialog* sheet = screen().window(kNewFolderWindow);
  ASSERT_TRUE(sheet && sheet->isVisible() && sheet->windowModality() == Qt::WindowModal);
  QTest::keyClicks(sheet->field(kNewFolderlab), "Reading");
  QTest::mouseClick(sheet->button("Create"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_EQ(h.TableTitles().value(0), "Reading");

  h.window().bookmarkTable()->selectRow(h.RowOf("Weather"));
  h.Press(kToolBookMarkBtn);
  QMenu* move = screen().lastPoppedMenu()->findChild<QMenu*>(kMoveFolderMenuItem);
  ASSERT_TRUE(move && move->isEnabled());
  ASSERT_EQ(ActionTexts(*move), QStringList{"Reading"});
  move->actions().front()->trigger();
  EXPECT_FALSE(h.TableTitles().contains("Weather"));

  // Another view lets the folders go: the menu bar's Tools menu offers none.
  h.Press(kSafariBookMarkBtn);
  h.Press(kAllBookMarkBtn);
  QMenu* menuBarTools = nullptr;
  for (QAction* a : h.window().menuBar()->actions())
    if (a->text() == "&Tools") menuBarTools = a->menu();
  ASSERT_NE(menuBarTools, nullptr);
  emit menuBarTools->aboutToShow();
  ASSERT_NE(menuBarTools->findChild<QAction*>(kMoveFolderMenuItem), nullptr);
  EXPECT_FALSE(menuBarTools->findChild<QAction*>(kMoveFolderMenuItem)->isEnabled());
}

// The launch's check finds a newer version, the user's check finds none.
TEST_F(WindowTest, EachUpdateCheckShowsTheWindowOfWhatItFound) {
  LoopbackHttpServer server;
  server.Answer("/newer", Manifest("999.0"));
  h.updateUrl = server.url("/newer");
  h.Start();

  ASSERT_TRUE(WaitUntil([&] { return screen().IsWindowVisible("UpdateWindow"); }));
  OutletDialog* update = screen().window("UpdateWindow");
  EXPECT_EQ(update->label("newversionlab")->text().toStdString(), "Linvara 999.0 is available.");
  EXPECT_EQ(update->label("currentversionlab")->text().toStdString(),
            "You are using " + PRUpdateController::ProjectVersion() + " version. Would you like to download it now?");
  auto* notes = update->findChild<QPlainTextEdit*>("whatsnewContentView");
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(notes->document()->blockCount(), 3) << notes->toPlainText().toStdString();
  update->button("Download")->click();
  EXPECT_EQ(h.platform->openedUrls, std::vector<std::string>{"https://www.zelvane.com/linvara.html"});
  update->button("Not Now")->click();
  EXPECT_FALSE(screen().IsWindowVisible("UpdateWindow"));

  // The manifest now names this version; the menu command says so.
  server.Answer("/newer", Manifest(PRUpdateController::ProjectVersion()));
  QAction* check = nullptr;
  for (QAction* menu : h.window().menuBar()->actions())
    for (QAction* entry : menu->menu()->actions())
      if (entry->text() == QString::fromUtf8("Check for Updates…")) check = entry;
  ASSERT_NE(check, nullptr);
  check->trigger();
  ASSERT_TRUE(WaitUntil([&] { return screen().IsWindowVisible("noUpdateWindow"); }));
  EXPECT_FALSE(screen().IsWindowVisible("UpdateWindow"));
  screen().window("noUpdateWindow")->button("OK")->click();
  EXPECT_FALSE(screen().IsWindowVisible("noUpdateWindow"));
}

TEST_F(WindowTest, WindowGeometryIsRememberedAcrossRuns) {
  h.Start();
  h.window().resize(900, 600);
  h.window().close();
  h.app.reset();
  h.Start();
  EXPECT_EQ(h.window().size(), QSize(900, 600));
}

using profile::Folder, profile::Leaf;

QStringList RowTitles(const QTableView* table) {
  QStringList titles;
  for (int r = 0; r < table->model()->rowCount(); ++r) titles << table->model()->index(r, 0).data().toString();
  return titles;
}

TEST(HealthSheets, DeadLinkSheetFillsFromTheScanAndCountsInItsLabel) {
  LoopbackHttpServer server;
  GuiHome h;
  h.WriteChrome(profile::ChromiumRoots({Leaf("Refused", LoopbackHttpServer::RefusedUrl()), Leaf("Fine", server.url("/ok")),
                                        Leaf("Garbage", "not an address"), Leaf("Mail link", "mailto:a@example.com")}));
  h.StartIn(kChromeBookMarkBtn);
  h.controller().linkHealth().deadLinkProbeSettings.timeout = std::chrono::milliseconds(2000);
  ASSERT_TRUE(h.window().SendAction(actions::kFindDeadLinks));
  OutletDialog* sheet = h.app->screen().window(kDeadURLWindow);
  ASSERT_TRUE(sheet && sheet->isVisible());
  QProgressBar* progress = sheet->progress(kThedealurlProgresser);
  EXPECT_EQ(progress->maximum(), 3);  // the mail link is no web address: not probed

  ASSERT_TRUE(WaitUntil([&] { return !h.controller().linkHealth().deadURLScanRunning(); }));
  Settle(20);
  EXPECT_EQ(RowTitles(sheet->table(TableId::DeadUrl)), QStringList({"Refused", "Garbage"}));
  EXPECT_EQ(sheet->label(kShowDeadBookmarklab)->text(), "Find 2 unreachable bookmark links.");
  EXPECT_EQ(std::tuple(progress->text(), progress->value(), progress->isVisible()), std::tuple("3 of 3 checked", 3, false));
  EXPECT_EQ(sheet->label(kDeadLinksNotCheckedLab)->text(), "1 bookmark not checked: not a web address");
  EXPECT_TRUE(sheet->button("Remove Selected")->isEnabled());
}

// Findings arrive in batches; each batch becomes new rows, never a reload of the table.
TEST(HealthSheets, ManyFindingsAreAppendedWithoutReloadingTheTable) {
  constexpr int kBatches = 100, kPerBatch = 100;
  GuiHome h;
  h.Start();
  h.app->screen().ShowWindow(kDeadURLWindow, true);
  OutletDialog* sheet = h.app->screen().window(kDeadURLWindow);
  QSignalSpy resets(sheet->tableModel(TableId::DeadUrl), &QAbstractItemModel::modelReset);
  QSignalSpy inserts(sheet->tableModel(TableId::DeadUrl), &QAbstractItemModel::rowsInserted);
  for (int b = 0; b < kBatches; ++b) {
    NodeList batch;
    for (int i = 0; i < kPerBatch; ++i) batch.push_back(BrowserLeaf("Dead " + std::to_string(b * kPerBatch + i), "", "Chrome"));
    h.controller().linkHealth().FindDeadBookMarkOnMainThread(batch);
  }
  EXPECT_EQ(resets.count(), 0);
  EXPECT_EQ(inserts.count(), kBatches);
  EXPECT_EQ(RowTitles(sheet->table(TableId::DeadUrl)).last(), "Dead 9999");
  EXPECT_EQ(sheet->label(kShowDeadBookmarklab)->text(), "Find 10000 unreachable bookmark links.");
}

TEST(HealthSheets, DuplicateSheetShowsTheMembersOfTheChosenGroup) {
  GuiHome h;
  h.WriteChrome(profile::ChromiumRoots({Leaf("A", "http://a.example/"), Folder("Inner", {Leaf("A again", "https://a.example/")}),
                                        Leaf("B", "http://b.example/"), Leaf("B again", "http://b.example/")}));
  h.StartIn(kChromeBookMarkBtn);
  ASSERT_TRUE(h.window().SendAction(actions::kFindDuplicates));
  ASSERT_TRUE(WaitUntil([&] { return h.app->screen().IsWindowVisible(kFindDupWindow); }));
  OutletDialog* sheet = h.app->screen().window(kFindDupWindow);
  QTableView* groups = sheet->table(TableId::LeftDup);
  QTableView* members = sheet->table(TableId::RightDup);
  EXPECT_EQ(RowTitles(groups), QStringList({"A", "B"}));
  EXPECT_EQ(sheet->label(kShowDupBookmarklab)->text(), "Find 4 duplicate bookmark links.");
  EXPECT_EQ(RowTitles(members), QStringList({"A", "A again"}));
  EXPECT_EQ(members->model()->index(1, 0).data(rowrole::kThirdLine).toString(), "/Bookmarks bar/Inner");

  QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, groups->visualRect(groups->model()->index(1, 0)).center());
  EXPECT_EQ(RowTitles(members), QStringList({"B", "B again"}));
  EXPECT_TRUE(sheet->button("Remove Selected")->isEnabled());
  QTest::mouseClick(sheet->button("Cancel"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());
}

// A worker thread calling RunAndWait on `dispatcher`: where its task ran, and
// whether it had run by the time the call returned.
struct Worker {
  std::atomic<bool> ran{false}, ranOnGui{false}, ranBeforeReturn{false}, returned{false};
  std::thread thread;
  explicit Worker(QtMainThreadDispatcher& dispatcher)
      : thread([this, &dispatcher] {
          dispatcher.RunAndWait([this] {
            ranOnGui = QThread::currentThread() == QCoreApplication::instance()->thread();
            ran = true;
          });
          ranBeforeReturn = ran.load();
          returned = true;
        }) {}
};

// RunAndWait runs the task on the GUI thread before it returns, from a worker or
// from the GUI thread itself; Post queues it.
TEST(QtMainThreadDispatcher, RunAndWaitRunsOnTheGuiThreadBeforeReturning) {
  EnsureQtApp();
  QtMainThreadDispatcher dispatcher;
  Worker worker(dispatcher);
  ASSERT_TRUE(WaitUntil([&] { return worker.returned.load(); }, 5000));
  worker.thread.join();
  EXPECT_TRUE(worker.ranOnGui);
  EXPECT_TRUE(worker.ranBeforeReturn);
  bool ran = false, posted = false;
  dispatcher.RunAndWait([&] { ran = true; });
  EXPECT_TRUE(ran);
  dispatcher.Post([&] { posted = true; });
  EXPECT_FALSE(posted);  // queued, not run inline
  EXPECT_TRUE(WaitUntil([&] { return posted; }, 2000));
}

TEST(LinvaraAppQuit, AWorkerBlockedAtQuitIsReleased) {
  GuiHome h;
  h.Start();
  QtMainThreadDispatcher& dispatcher = h.app->dispatcher();
  Worker worker(dispatcher);
  while (dispatcher.waiting() == 0) std::this_thread::yield();
  EXPECT_TRUE(h.app->WorkersRunning());  // the process would keep the controller alive
  h.window().close();
  h.app->Shutdown();
  worker.thread.join();
  EXPECT_TRUE(worker.returned);
  Settle(20);  // the queued task, delivered now, must not run
  EXPECT_FALSE(worker.ran);
  EXPECT_FALSE(h.app->WorkersRunning());
  // After quitting, calls return at once without running.
  bool ran = false;
  dispatcher.RunAndWait([&] { ran = true; });
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace linvara::testing
