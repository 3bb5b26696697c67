#include "app/AppDelegate.h"

#include <filesystem>

#include "app/FirstStartBackup.h"
#include "platform/MakerSite.h"

namespace fs = std::filesystem;

namespace linvara {

AppDelegate::AppDelegate(AppServices services)
    : session_(std::move(services)),
      reads_(session_),
      linkHealth_(session_),
      editing_(session_),
      unifiedListEditor_(session_, reads_),
      healthRemoval_(session_, linkHealth_, editing_, unifiedListEditor_),
      sorting_(session_),
      exports_(session_),
      updates_(session_, session_.updateManifestUrl()),
      search_(session_),
      encryption_(session_) {
  navigationToken_ = session_.notifications().AddObserver(
      kLeftButtonMouseDown, [this](const Notification& n) { PRLeftTipButtonMouseDownHandle(n); });
  cookieManager_.onChanged = [this] { CookiesChanged(); };
  InstallActions();

  // The lists are members of the session, created empty with it.
  macOsVer = 10;
  macOSMajor = 10;
  std::uint32_t major = 10, minor = 0;
  getSystemVersionMajor(&major, &minor, nullptr);
  macOSMajor = static_cast<std::int32_t>(major);
  macOsVer = static_cast<std::int32_t>(minor);
}

AppDelegate::~AppDelegate() {
  session_.notifications().RemoveObserver(navigationToken_);
  cookieManager_.onChanged = nullptr;
}

void AppDelegate::getSystemVersionMajor(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* bugFix) {
  SystemVersion v = session_.platform().SystemVersionNumbers();
  if (major) *major = v.major;
  if (minor) *minor = v.minor;
  if (bugFix) *bugFix = v.bugFix;
}

std::string AppDelegate::WelcomePageUrl() { return std::string(kMakerSite) + "/welcome-to-install-linvara.html"; }

void AppDelegate::applicationDidFinishLaunching() {
  std::error_code ec;
  const Locations& loc = session_.locations();
  theLinvaraPath = loc.dataFolder().string();
  if (session_.preferences().contains(prefkeys::kFirstStart)) {
    fs::create_directories(loc.dataFolder(), ec);
  } else {
    // First start: back up the browsers' files, then remember that it happened.
    fs::create_directories(loc.backupFolder(), ec);
    TakeFirstStartBackups(loc);
    (void)session_.preferences().set(prefkeys::kFirstStart, Value("NO"));
    session_.platform().OpenUrl(WelcomePageUrl());
  }
  // The silent update check: only an update is shown.
  updates_.hidUpdateWindow();
  updates_.checkServerVersion();
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
