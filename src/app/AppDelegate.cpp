#include "app/AppDelegate.h"

#include <filesystem>

#include "app/FirstStartBackup.h"
#include "platform/MakerSite.h"

namespace fs = std::filesystem;

namespace linvara {

AppDelegate::AppDelegate(AppServices services) : services_(std::move(services)) {
  if (!services_.preferences) services_.preferences = std::make_shared<Preferences>();
  if (!services_.platform) services_.platform = std::make_shared<HostPlatformServices>();
  if (!services_.dispatcher) services_.dispatcher = std::make_shared<InlineDispatcher>();
  if (!services_.notifications) services_.notifications = std::make_shared<NotificationCenter>();
  if (!services_.screen) services_.screen = std::make_shared<DefaultAnswerScreen>();

  navigationToken_ = services_.notifications->AddObserver(
      kLeftButtonMouseDown, [this](const Notification& n) { PRLeftTipButtonMouseDownHandle(n); });

  // The lists are members of lists_, created empty with the controller.
  macOsVer = 10;
  macOSMajor = 10;
  std::uint32_t major = 10, minor = 0;
  getSystemVersionMajor(&major, &minor, nullptr);
  macOSMajor = static_cast<std::int32_t>(major);
  macOsVer = static_cast<std::int32_t>(minor);
}

AppDelegate::~AppDelegate() { services_.notifications->RemoveObserver(navigationToken_); }

void AppDelegate::getSystemVersionMajor(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* bugFix) const {
  SystemVersion v = services_.platform->SystemVersionNumbers();
  if (major) *major = v.major;
  if (minor) *minor = v.minor;
  if (bugFix) *bugFix = v.bugFix;
}

std::string AppDelegate::WelcomePageUrl() { return std::string(kMakerSite) + "/welcome-to-install-linvara.html"; }

void AppDelegate::applicationDidFinishLaunching() {
  std::error_code ec;
  const Locations& loc = services_.locations;
  theLinvaraPath = loc.dataFolder().string();
  if (services_.preferences->contains(prefkeys::kFirstStart)) {
    fs::create_directories(loc.dataFolder(), ec);
    return;
  }
  // First start: back up the browsers' files, then remember that it happened.
  fs::create_directories(loc.backupFolder(), ec);
  TakeFirstStartBackups(loc);
  (void)services_.preferences->set(prefkeys::kFirstStart, Value("NO"));
  services_.platform->OpenUrl(WelcomePageUrl());
}

bool AppDelegate::windowShouldClose() {
  terminateRequested_ = true;
  return true;
}

SheetRect AppDelegate::windowWillPositionSheet(SheetRect proposed) const {
  proposed.y -= 25.0;
  return proposed;
}

}  // namespace linvara
