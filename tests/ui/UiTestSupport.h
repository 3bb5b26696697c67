#pragma once
// The real window on a generated home, offscreen. Buttons are pressed as a
// user presses them (through the widgets), and waits run the Qt event loop so
// that workers can hand their results to the GUI thread.
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <functional>
#include <memory>
#include <string>

#include "app/PresenterFixture.h"  // TestHome
#include "ui/LinvaraApp.h"
#include "ui/MainWindow.h"
#include "ui/PRLeftTipButton.h"
#include "ui/TableModels.h"

namespace linvara::testing {

// The one QApplication of the test process (offscreen unless a platform is set).
inline QApplication& EnsureQtApp() {
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "linvara_ui_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Runs the event loop until `done` holds or `timeoutMs` passes; true when it holds.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

// Runs the event loop for a while.
inline void Settle(int ms = 50) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The texts of a menu's entries, separators left out.
inline QStringList ActionTexts(const QMenu& menu) {
  QStringList texts;
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) texts << a->text();
  return texts;
}

// Collects Qt's warnings (the model tester's complaints) while it lives.
class WarningLog {
 public:
  WarningLog() {
    messages().clear();
    previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type != QtDebugMsg && type != QtInfoMsg) messages() << text;
    });
  }
  ~WarningLog() { qInstallMessageHandler(previous_); }
  static QStringList& messages() {
    static QStringList list;
    return list;
  }
  static std::string text() { return messages().join("\n").toStdString(); }

 private:
  QtMessageHandler previous_;
};

struct GuiHome : TestHome {
  std::shared_ptr<Preferences> prefs;
  std::unique_ptr<LinvaraApp> app;
  std::string updateUrl;  // the launch's update check; empty: none

  GuiHome() {
    EnsureQtApp();
    prefs = std::make_shared<Preferences>(loc.preferencesFile());
    (void)prefs->set(prefkeys::kFirstStart, Value("NO"));
  }
  ~GuiHome() {
    if (app) app->Shutdown();
    app.reset();
    Settle(10);
  }
  // Builds the window and runs the launch.
  LinvaraApp& Start() {
    AppServices s = Services(prefs);
    s.updateManifestUrl = updateUrl;
    app = std::make_unique<LinvaraApp>(s);
    app->Launch(true);
    Settle(20);
    return *app;
  }
  // Starts with the Apply Changes reminder ticked away and presses a view's button.
  void StartIn(const std::string& viewButton) {
    (void)prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
    Start();
    Press(viewButton);
  }

  AppDelegate& controller() { return app->controller(); }
  MainWindow& window() { return app->window(); }
  // Clicks a navigation button of the window.
  void Press(const std::string& outlet) { window().navigationButton(outlet)->click(); }
  // Titles in the bookmark table, as the model shows them, and the row of one.
  QStringList TableTitles() {
    QStringList titles;
    const BookmarkTableModel* model = window().bookmarkModel();
    for (int r = 0; r < model->rowCount(); ++r) titles << model->index(r, 0).data().toString();
    return titles;
  }
  int RowOf(const QString& title) { return static_cast<int>(TableTitles().indexOf(title)); }
  // Clicks a row of the bookmark table, then double-clicks it.
  void DoubleClickRow(int row) {
    QTableView* table = window().bookmarkTable();
    const QPoint center = table->visualRect(window().bookmarkModel()->index(row, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, center);
  }
  // The image resource a navigation button shows.
  std::string ButtonImage(const std::string& outlet) {
    return window().navigationButton(outlet)->property("linvaraImage").toString().toStdString();
  }
};

}  // namespace linvara::testing
