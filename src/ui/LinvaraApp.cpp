#include "ui/LinvaraApp.h"

#include <QCoreApplication>

#include "ui/MainWindow.h"
#include "ui/QtMainThreadDispatcher.h"
#include "ui/QtScreen.h"
#include "ui/WindowGeometry.h"

namespace linvara {

LinvaraApp::LinvaraApp(AppServices services)
    : dispatcher_(std::make_shared<QtMainThreadDispatcher>()), screen_(std::make_shared<QtScreen>()) {
  services.dispatcher = dispatcher_;
  services.screen = screen_;
  if (!services.notifications) services.notifications = std::make_shared<NotificationCenter>();
  const std::filesystem::path geometry = services.locations.dataFolder() / kWindowGeometryFileName;
  controller_ = std::make_unique<AppDelegate>(std::move(services));
  // Bookmark files are read on this thread; a large profile must not freeze the window meanwhile.
  controller_->reads().keepResponsive = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
  window_ = std::make_unique<MainWindow>(*controller_, *screen_, geometry);
  screen_->Attach(window_.get(), controller_.get());
  controller_->SetViewListener([this](const ViewState& state, unsigned sections) {
    window_->Render(state, sections);
    screen_->Refresh(state, sections);
  });
}

LinvaraApp::~LinvaraApp() {
  Shutdown();
  controller_->SetViewListener(nullptr);
  screen_->Attach(nullptr, nullptr);
  window_.reset();
  controller_.reset();
}

void LinvaraApp::Launch(bool showWindow) {
  controller_->awakeFromNib();
  window_->Render(controller_->viewState(), viewsection::kAll);
  if (showWindow) window_->show();
  controller_->applicationDidFinishLaunching();
}

bool LinvaraApp::WorkersRunning() {
  return dispatcher_->waiting() > 0 || controller_->searchWorkersRunning() > 0 ||
         controller_->cookieManager().IsBusy() || controller_->linkHealth().deadURLScanRunning() ||
         controller_->linkHealth().duplicateSearchRunning();
}

void LinvaraApp::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  dispatcher_->Close();
  screen_->CloseAll();
  if (window_->isVisible()) window_->SaveGeometry();
}

}  // namespace linvara
