#include "update/PRUpdateController.h"

#include <system_error>
#include <thread>

#include "core/VersionInfo.h"
#include "platform/MakerSite.h"
#include "update/ManifestFetch.h"
#include "update/UpdateManifest.h"

namespace linvara {

// One GET on a detached thread; the body or the failure goes to the main thread.
class ManifestFetchWorker : public WorkerLifetime, public std::enable_shared_from_this<ManifestFetchWorker> {
 public:
  using Handler = std::function<void(const Result<std::string>&)>;

  static std::shared_ptr<ManifestFetchWorker> Start(ManifestRequest request,
                                                    std::shared_ptr<MainThreadDispatcher> dispatcher, Handler handler) {
    std::shared_ptr<ManifestFetchWorker> worker(new ManifestFetchWorker(std::move(dispatcher), std::move(handler)));
    try {
      std::thread([worker, request = std::move(request)] { worker->Body(request); }).detach();
    } catch (const std::system_error& e) {
      worker->MarkStopped();  // already on the main thread: no hand-over
      if (worker->handler_) worker->handler_(Fail(std::string("cannot start the request: ") + e.what()));
    }
    return worker;
  }

  void Cancel() override {
    WorkerLifetime::Cancel();
    stop_ = true;
  }

 private:
  ManifestFetchWorker(std::shared_ptr<MainThreadDispatcher> dispatcher, Handler handler)
      : dispatcher_(std::move(dispatcher)), handler_(std::move(handler)) {}

  void Body(const ManifestRequest& request) {
    const Result<std::string> body = FetchManifest(request, &stop_);
    if (!cancelled()) {
      auto self = shared_from_this();
      dispatcher_->RunAndWait([self, &body] {
        if (!self->cancelled() && self->handler_) self->handler_(body);
      });
    }
    MarkStopped();
  }

  std::shared_ptr<MainThreadDispatcher> dispatcher_;
  Handler handler_;
  std::atomic<bool> stop_{false};
};

PRUpdateController::PRUpdateController(BookmarkSession& session, std::string manifestUrl)
    : session_(session), manifestUrl_(std::move(manifestUrl)) {}

PRUpdateController::~PRUpdateController() = default;

std::string PRUpdateController::ProjectVersion() { return LINVARA_VERSION_STRING; }

std::string PRUpdateController::ProductPageUrl() { return std::string(kMakerSite) + "/linvara.html"; }

void PRUpdateController::hidUpdateWindow() {
  currentVersion = ProjectVersion();
  session_.screen().CloseWindow(kUpdateWindow);
}

bool PRUpdateController::checkServerVersion() {
  if (currentVersion.empty()) currentVersion = ProjectVersion();
  if (manifestUrl_.empty()) {
    TellFailure("no address to check");
    return false;
  }
  ManifestRequest request;
  request.url = manifestUrl_;
  request.userAgent = "Linvara/" + currentVersion;
  running_ = true;
  worker_.reset(ManifestFetchWorker::Start(std::move(request), session_.sharedDispatcher(),
                                           [this](const Result<std::string>& body) {
                                             if (body)
                                               connectionDidFinishLoading(*body);
                                             else
                                               connectionDidFailWithError(body.error());
                                           }));
  return true;
}

void PRUpdateController::CheckforUpdateAction() {
  checkUpdate = true;
  checkServerVersion();
}

void PRUpdateController::connectionDidFinishLoading(const std::string& body) {
  running_ = false;
  Result<UpdateCheckOutcome> outcome = EvaluateManifest(body, currentVersion);
  if (!outcome) return TellFailure(outcome.error());
  lastestVersion = outcome->latest;
  whatsnewString = outcome->whatsNew;
  if (outcome->newer) {
    session_.UpdateView(viewsection::kTexts, [&](ViewState& s) {
      s.text(kNewVersionLabel).text = "Linvara " + lastestVersion + " is available.";
      s.text(kCurrentVersionLabel).text =
          "You are using " + currentVersion + " version. Would you like to download it now?";
      s.text(kWhatsNewView).text = WhatsNewForDisplay(whatsnewString);
    });
    session_.screen().ShowWindow(kUpdateWindow, false);
  } else if (checkUpdate) {
    session_.screen().ShowWindow(kNoUpdateWindow, false);
  }
}

void PRUpdateController::connectionDidFailWithError(const std::string& reason) {
  running_ = false;
  TellFailure(reason);
}

void PRUpdateController::TellFailure(const std::string& reason) {
  if (checkUpdate) session_.ShowMessage(kFailedMessage + reason, false);
}

void PRUpdateController::ClickGoDownloadAction() { session_.platform().OpenUrl(ProductPageUrl()); }

void PRUpdateController::ClickNotNowAction() { session_.screen().CloseWindow(kUpdateWindow); }

void PRUpdateController::ClickOkAction() { session_.screen().CloseWindow(kNoUpdateWindow); }

bool PRUpdateController::WaitForWorker(std::chrono::milliseconds timeout) {
  return !worker_ || worker_->WaitUntilStopped(timeout);
}

}  // namespace linvara
