#pragma once
// The real window on a generated home, offscreen. Buttons are pressed as a
// user presses them (through the widgets), and waits run the Qt event loop so
// that workers can hand their results to the GUI thread.
#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "app/PresenterFixture.h"  // TestHome
#include "ui/LinvaraApp.h"
#include "ui/MainWindow.h"
#include "ui/PRLeftTipButton.h"

namespace linvara::testing {

// The one QApplication of the test process (offscreen unless a platform is set).
QApplication& EnsureQtApp();
// Runs the event loop until `done` holds or `timeoutMs` passes; true when it holds.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000);
// Runs the event loop for a while.
void Settle(int ms = 50);
// The texts of a menu's entries, separators left out.
QStringList ActionTexts(const QMenu& menu);

// Collects Qt's warnings (the model tester's complaints) while it lives.
class WarningLog {
 public:
  WarningLog();
  ~WarningLog();
  static QStringList& messages();
  static std::string text() { return messages().join("\n").toStdString(); }

 private:
  QtMessageHandler previous_;
};

struct GuiHome : TestHome {
  std::shared_ptr<Preferences> prefs;
  std::unique_ptr<LinvaraApp> app;
  std::string updateUrl;  // the launch's update check; empty: none

  GuiHome();
  ~GuiHome();
  // Builds the window and runs the launch.
  LinvaraApp& Start();
  // Starts with the Apply Changes reminder ticked away and presses a view's button.
  void StartIn(const std::string& viewButton);

  AppDelegate& controller() { return app->controller(); }
  MainWindow& window() { return app->window(); }
  // Clicks a navigation button of the window.
  void Press(const std::string& outlet) { window().navigationButton(outlet)->click(); }
  // Titles in the bookmark table, as the model shows them, and the row of one.
  QStringList TableTitles();
  int RowOf(const QString& title) { return static_cast<int>(TableTitles().indexOf(title)); }
  // Clicks a row of the bookmark table, then double-clicks it.
  void DoubleClickRow(int row);
  // The image resource a navigation button shows.
  std::string ButtonImage(const std::string& outlet) {
    return window().navigationButton(outlet)->property("linvaraImage").toString().toStdString();
  }
};

}  // namespace linvara::testing
