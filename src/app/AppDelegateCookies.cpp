// The controller's cookie commands: they hand the work to the cookie manager
// and report failures through the screen.
#include <filesystem>

#include "app/AppDelegate.h"

namespace fs = std::filesystem;

namespace linvara {

namespace {
constexpr const char* kRemoveQuestion = "Are you sure you want to remove all cookies of this file?";
constexpr const char* kRemoveFailedMessage = "The cookies could not be removed.";
constexpr const char* kExportFailedMessage = "The cookies could not be exported.";
}  // namespace

void AppDelegate::InstallCookieCommands() {
  SetCommandHandler("ActClickSafariAction:", [this](const MenuItemModel&) { ActClickSafariAction(); });
  SetCommandHandler("ActClickChromeAction:", [this](const MenuItemModel&) { ActClickChromeAction(); });
  SetCommandHandler("ActClickNewCookiesAction:", [this](const MenuItemModel&) { ShowNewCookies(); });
  SetCommandHandler("ActOpenCookieFileAction:", [this](const MenuItemModel&) { ActOpenCookieFileAction(); });
  SetCommandHandler("ActRemoveCookieData:", [this](const MenuItemModel&) { ActRemoveCookieData(); });
  SetCommandHandler("ActExportCookieData:", [this](const MenuItemModel&) { ActExportCookieData(); });
}

bool AppDelegate::ActClickSafariAction() {
  if (!HasCookieFolderAccess()) return false;
  return ScanSafariCookieFile();
}

bool AppDelegate::ActClickChromeAction() {
  if (!HasCookieFolderAccess()) return false;
  return ScanChromeCookieFile();
}

bool AppDelegate::ScanSafariCookieFile() {
  return cookieManager_.StartScan(services_.dispatcher, locations().safariCookies(), CookieFileKind::Binary);
}

bool AppDelegate::ScanChromeCookieFile() {
  return cookieManager_.StartScan(services_.dispatcher, locations().chromeCookies(), CookieFileKind::Database);
}

void AppDelegate::ActOpenCookieFileAction() {
  if (!services_.screen || cookieManager_.IsBusy()) return;
  OpenPanelSpec panel;
  panel.directory = locations().home();
  services_.screen->RunOpenPanel(panel, [this](std::optional<std::vector<fs::path>> chosen) {
    if (chosen && !chosen->empty()) OpenCookieFile(chosen->front());
  });
}

bool AppDelegate::OpenCookieFile(const fs::path& path) {
  return cookieManager_.OpenCookieFile(services_.dispatcher, path);
}

bool AppDelegate::CheckFilePathISCookie(const fs::path& path) {
  return cookieManager_.CheckFilePathISCookie(services_.dispatcher, path);
}

void AppDelegate::ShowNewCookies() { cookieManager_.ShowNewCookies(); }

bool AppDelegate::ActRemoveCookieData() {
  if (cookieManager_.IsBusy()) return false;
  AlertSpec question;
  question.message = kRemoveQuestion;
  question.defaultButton = " Remove ";
  question.alternateButton = "Cancel";
  question.asSheet = true;
  services_.screen->ShowAlert(question, [this](AlertResponse answer) {
    if (answer.button != AlertButton::Default) return;
    cookieManager_.StartRemoval(services_.dispatcher, [this](const Result<void>& outcome) {
      if (outcome) return;
      AlertSpec alert;
      alert.message = kRemoveFailedMessage;
      alert.informativeText = outcome.error();
      services_.screen->ShowAlert(alert, [](AlertResponse) {});
    });
  });
  return true;
}

bool AppDelegate::ActExportCookieData() {
  const fs::path folder = locations().cookieExportFolder();
  return cookieManager_.StartExport(services_.dispatcher, folder, [this, folder](const Result<void>& outcome) {
    if (outcome) {
      platform().ShowFolder(folder);
      return;
    }
    if (!services_.screen) return;
    AlertSpec alert;
    alert.message = kExportFailedMessage;
    alert.informativeText = outcome.error();
    services_.screen->ShowAlert(alert, [](AlertResponse) {});
  });
}

}  // namespace linvara
