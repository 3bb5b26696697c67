#pragma once
// The application controller: owns the node lists, the view state and the
// commands. It talks to the screen only through ScreenInterface, so every
// command runs without a window. The work itself lives in the subsystem units
// (readers, cookies, health, ...); the controller wires them to its state.
#include <cstdint>
#include <memory>
#include <string>

#include "app/NotificationCenter.h"
#include "app/ScreenInterface.h"
#include "model/BookmarkLists.h"
#include "platform/Locations.h"
#include "platform/MainThread.h"
#include "platform/PlatformServices.h"
#include "platform/Preferences.h"

namespace linvara {

struct AppServices {
  Locations locations = Locations::FromEnvironment();
  std::shared_ptr<Preferences> preferences;
  std::shared_ptr<PlatformServices> platform;
  std::shared_ptr<MainThreadDispatcher> dispatcher;
  std::shared_ptr<ScreenInterface> screen;
  std::shared_ptr<NotificationCenter> notifications;
};

struct SheetRect {
  double x = 0, y = 0, width = 0, height = 0;
  bool operator==(const SheetRect&) const = default;
};

class AppDelegate {
 public:
  explicit AppDelegate(AppServices services);
  ~AppDelegate();
  AppDelegate(const AppDelegate&) = delete;
  AppDelegate& operator=(const AppDelegate&) = delete;

  // ---- Start-up ----
  void applicationDidFinishLaunching();
  // Closing the main window quits: asks to terminate and answers yes.
  bool windowShouldClose();
  // Every sheet opens 25 points lower than proposed.
  SheetRect windowWillPositionSheet(SheetRect proposed) const;
  void getSystemVersionMajor(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* bugFix) const;
  bool terminateRequested() const { return terminateRequested_; }

  // ---- Navigation ----
  void PRLeftTipButtonMouseDownHandle(const Notification& notification);

  // ---- Shared state ----
  BookmarkLists& lists() { return lists_; }
  const BookmarkLists& lists() const { return lists_; }
  const Locations& locations() const { return services_.locations; }
  Preferences& preferences() { return *services_.preferences; }
  PlatformServices& platform() { return *services_.platform; }
  ScreenInterface& screen() { return *services_.screen; }
  MainThreadDispatcher& dispatcher() { return *services_.dispatcher; }
  NotificationCenter& notifications() { return *services_.notifications; }

  std::int32_t bookMarkType = 0;  // 0 none, 1 all bookmarks, 2 Safari tree, 3 Chrome tree
  std::int32_t macOSMajor = 10;
  std::int32_t macOsVer = 10;
  std::string theLinvaraPath;

  bool bSearchStop = false;
  bool bSearchThreadStart = false;
  bool bAutoSelect = false;
  bool bRemoveAllDupBookmark = false;
  bool bCheckDupBook = false;
  bool bCleanDeadBook = false;
  bool hasEnterEncryptedPasswd = false;
  bool hasEnterDecryptedPasswd = false;
  bool isEnterEncryptMode = false;
  bool isEnterDecryptMode = false;
  bool binaryCookie = false;
  std::string currentScanFilePath;
  bool bSafariCookie = false;
  bool bOpenCookie = false;

  // Welcome page opened on the first start.
  static std::string WelcomePageUrl();

 private:
  AppServices services_;
  BookmarkLists lists_;
  int navigationToken_ = 0;
  bool terminateRequested_ = false;
};

}  // namespace linvara
