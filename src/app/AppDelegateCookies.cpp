// The controller's cookie commands: the cookie manager does the work; its
// state reaches the window through the cookie section of the view state, and
// failures through the screen.
#include <filesystem>

#include "app/Actions.h"
#include "app/AppDelegate.h"

namespace fs = std::filesystem;

namespace linvara {

namespace {
constexpr const char* kRemoveQuestion = "Are you sure you want to remove all cookies of this file?";
constexpr const char* kRemoveFailedMessage = "The cookies could not be removed.";
constexpr const char* kExportFailedMessage = "The cookies could not be exported.";
}  // namespace

void AppDelegate::CookiesChanged() {
  const CookieManager& m = cookieManager_;
  session_.UpdateView(viewsection::kCookies, [&](ViewState& s) {
    CookieAreaState& c = s.cookies;
    if (c.tableContent != m.tableContent) {
      c.tableContent = m.tableContent;
      ++c.reloads;
    }
    c.contentViewShown = m.contentViewShown;
    c.progressShown = m.progressShown;
    c.busy = m.IsBusy();
    c.newCookieButtonShown = m.newCookieButtonShown;
    c.canExport = c.contentViewShown && !c.busy && CanPerformAction(actions::kExportCookieData);
    c.canRemove = c.contentViewShown && !c.busy && CanPerformAction(actions::kRemoveCookieData);
  });
}

void AppDelegate::ShowCookieArea() { session_.ShowContentArea(ContentArea::Cookies); }

bool AppDelegate::ActClickSafariAction() {
  return cookieManager_.StartScan(session_.sharedDispatcher(), session_.locations().safariCookies(),
                                  CookieFileKind::Binary);
}

bool AppDelegate::ActClickChromeAction() {
  return cookieManager_.StartScan(session_.sharedDispatcher(), session_.locations().chromeCookies(),
                                  CookieFileKind::Database);
}

void AppDelegate::ActClickNewCookiesAction() { cookieManager_.ShowNewCookies(); }

void AppDelegate::ActOpenCookieFileAction() {
  ShowCookieArea();
  if (cookieManager_.IsBusy()) return;
  OpenPanelSpec panel;
  panel.directory = session_.locations().home();
  session_.screen().RunOpenPanel(panel, [this](std::optional<std::vector<fs::path>> chosen) {
    if (chosen && !chosen->empty()) cookieManager_.OpenCookieFile(session_.sharedDispatcher(), chosen->front());
  });
}

bool AppDelegate::CheckFilePathISCookie(const fs::path& path) {
  return cookieManager_.CheckFilePathISCookie(session_.sharedDispatcher(), path);
}

bool AppDelegate::ActRemoveCookieData() {
  if (cookieManager_.IsBusy()) return false;
  AlertSpec question;
  question.message = kRemoveQuestion;
  question.defaultButton = " Remove ";
  question.alternateButton = "Cancel";
  question.asSheet = true;
  session_.screen().ShowAlert(question, [this](AlertResponse answer) {
    if (answer.button != AlertButton::Default) return;
    cookieManager_.StartRemoval(session_.sharedDispatcher(), [this](const Result<void>& outcome) {
      if (!outcome) session_.ShowMessage(kRemoveFailedMessage, false, outcome.error());
    });
  });
  return true;
}

bool AppDelegate::ActExportCookieData() {
  const fs::path folder = session_.locations().cookieExportFolder();
  return cookieManager_.StartExport(session_.sharedDispatcher(), folder, [this, folder](const Result<void>& outcome) {
    if (outcome) session_.platform().ShowFolder(folder);
    else session_.ShowMessage(kExportFailedMessage, false, outcome.error());
  });
}

}  // namespace linvara
