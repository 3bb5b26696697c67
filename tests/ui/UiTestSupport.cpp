#include "UiTestSupport.h"

#include <QDeadlineTimer>
#include <QTableView>
#include <QTest>
#include <QThread>

#include "ui/TableModels.h"

namespace linvara::testing {

QApplication& EnsureQtApp() {
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "linvara_ui_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

void Settle(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QStringList ActionTexts(const QMenu& menu) {
  QStringList texts;
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) texts << a->text();
  return texts;
}

WarningLog::WarningLog() {
  messages().clear();
  previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) messages() << text;
  });
}
WarningLog::~WarningLog() { qInstallMessageHandler(previous_); }
QStringList& WarningLog::messages() {
  static QStringList list;
  return list;
}

GuiHome::GuiHome() {
  EnsureQtApp();
  prefs = std::make_shared<Preferences>(loc.preferencesFile());
  (void)prefs->set(prefkeys::kFirstStart, Value("NO"));
}

GuiHome::~GuiHome() {
  if (app) app->Shutdown();
  app.reset();
  Settle(10);
}

LinvaraApp& GuiHome::Start() {
  AppServices s;
  s.locations = loc;
  s.preferences = prefs;
  s.platform = platform;
  s.updateManifestUrl = updateUrl;
  app = std::make_unique<LinvaraApp>(s);
  app->Launch(true);
  Settle(20);
  return *app;
}

void GuiHome::StartIn(const std::string& viewButton) {
  (void)prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
  Start();
  Press(viewButton);
}

QStringList GuiHome::TableTitles() {
  QStringList titles;
  const BookmarkTableModel* model = window().bookmarkModel();
  for (int r = 0; r < model->rowCount(); ++r) titles << model->index(r, 0).data().toString();
  return titles;
}

void GuiHome::DoubleClickRow(int row) {
  QTableView* table = window().bookmarkTable();
  const QPoint center = table->visualRect(window().bookmarkModel()->index(row, 0)).center();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, center);
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, center);
}

}  // namespace linvara::testing

// Fontconfig keeps a few allocations for the life of the process (its font
// cache); the leak checker of sanitizer builds is told not to report them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
