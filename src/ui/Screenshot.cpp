#include "ui/Screenshot.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPixmap>
#include <QProgressBar>
#include <QThread>
#include <map>

#include "app/Outlets.h"
#include "ui/LinvaraApp.h"
#include "ui/MainWindow.h"
#include "ui/PRLeftTipButton.h"
#include "ui/QtMainThreadDispatcher.h"
#include "ui/QtScreen.h"

namespace linvara {
namespace {

const std::map<std::string, std::vector<const char*>>& ViewButtons() {
  using namespace outlets;
  static const std::map<std::string, std::vector<const char*>> views = {
      {"start", {}},
      {"all", {kAllBookMarkBtn}},
      {"safari", {kSafariBookMarkBtn}},
      {"chrome", {kChromeBookMarkBtn}},
      {"flat", {kAllBookMarkBtn, kUrlListViewBtn}},
      {"folder", {kSafariBookMarkBtn, kFolderListViewBtn}},
      {"cookies", {kSafariCookieBtn}},
      {"chromecookies", {kChromeCookieBtn}},
  };
  return views;
}

void SettleFor(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

}  // namespace

std::vector<std::string> ScreenshotViews() {
  std::vector<std::string> names;
  for (const auto& [name, buttons] : ViewButtons()) names.push_back(name);
  return names;
}

bool IsScreenshotView(const std::string& view) { return ViewButtons().count(view) != 0; }

bool TakeScreenshot(LinvaraApp& app, const std::string& view, const QString& file, int timeoutMs) {
  auto it = ViewButtons().find(view);
  if (it == ViewButtons().end()) return false;
  SettleFor(100);
  for (const char* outlet : it->second) {
    // Any message box on the way (a reminder, a running browser) is answered with its default button.
    for (int i = 0; i < 4; ++i) app.screen().AnswerNextMessageBox(AlertButton::Default);
    if (PRLeftTipButton* button = app.window().navigationButton(outlet)) button->click();
    SettleFor(150);
  }
  QDeadlineTimer deadline(timeoutMs);
  while (!deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    const bool scanning = app.window().progressIndicator()->isVisible();
    if (!scanning && app.dispatcher().waiting() == 0) break;
    QThread::msleep(10);
  }
  SettleFor(200);
  const QPixmap picture = app.window().grab();
  return !picture.isNull() && picture.save(file, "PNG");
}

}  // namespace linvara
