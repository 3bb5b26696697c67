#pragma once
// Puts the window together: the GUI-thread dispatcher, the Qt screen, the
// controller and the main window, wired in the order each needs the other,
// and taken apart so that no worker outlives what it reports to.
#include <memory>

#include "app/AppDelegate.h"

namespace linvara {

class MainWindow;
class QtMainThreadDispatcher;
class QtScreen;

class LinvaraApp {
 public:
  // `services` gives the locations, preferences and platform; the dispatcher,
  // screen and notification centre are made here.
  explicit LinvaraApp(AppServices services);
  ~LinvaraApp();
  LinvaraApp(const LinvaraApp&) = delete;
  LinvaraApp& operator=(const LinvaraApp&) = delete;

  // One-time view set-up, shows the window, then the launch step.
  void Launch(bool showWindow = true);
  // At quit: closes the dispatcher (releasing waiting workers), the dialogs and saves the geometry.
  void Shutdown();
  // True while a search, scan, cookie or link worker still runs or waits for the window.
  bool WorkersRunning();

  AppDelegate& controller() { return *controller_; }
  MainWindow& window() { return *window_; }
  QtScreen& screen() { return *screen_; }
  QtMainThreadDispatcher& dispatcher() { return *dispatcher_; }

 private:
  std::shared_ptr<QtMainThreadDispatcher> dispatcher_;
  std::shared_ptr<QtScreen> screen_;
  std::unique_ptr<AppDelegate> controller_;
  std::unique_ptr<MainWindow> window_;
  bool shutDown_ = false;
};

}  // namespace linvara
