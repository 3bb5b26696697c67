#pragma once
// The update check: fetches the manifest on a worker, compares its version with
// the running one on the main thread and shows the update window ("UpdateWindow")
// or, when the user asked, the no-update window. At start-up it runs silently:
// only an update is shown, never a failure.
#include <chrono>
#include <functional>
#include <string>

#include "app/BookmarkSession.h"
#include "health/Worker.h"
#include "model/Result.h"

namespace linvara {

class ManifestFetchWorker;

class PRUpdateController {
 public:
  static constexpr const char* kUpdateWindow = "UpdateWindow";
  static constexpr const char* kNoUpdateWindow = "noUpdateWindow";
  static constexpr const char* kNewVersionLabel = "newversionlab";
  static constexpr const char* kCurrentVersionLabel = "currentversionlab";
  static constexpr const char* kWhatsNewView = "whatsnewContentView";
  static constexpr const char* kFailedMessage = "Could not check for updates: ";

  // `manifestUrl` empty: no check is made (a check the user asks for fails).
  PRUpdateController(BookmarkSession& session, std::string manifestUrl);
  ~PRUpdateController();
  PRUpdateController(const PRUpdateController&) = delete;
  PRUpdateController& operator=(const PRUpdateController&) = delete;

  // The running version: the project's version.
  static std::string ProjectVersion();

  // Start-up: sets currentVersion and hides the update window.
  void hidUpdateWindow();
  // Starts the request on a worker (a request still running is dropped); false without an address.
  bool checkServerVersion();
  // The user's command: from now on a no-update result and a failure are shown too.
  void CheckforUpdateAction();

  // Main-thread ends of the request.
  void connectionDidFinishLoading(const std::string& body);
  void connectionDidFailWithError(const std::string& reason);

  // The update window's buttons and the no-update window's OK.
  void ClickGoDownloadAction();
  void ClickNotNowAction();
  void ClickOkAction();

  static std::string ProductPageUrl();
  const std::string& manifestUrl() const { return manifestUrl_; }
  bool checkRunning() const { return running_; }
  // Waits for the worker to end; only where its main-thread call runs inline or is pumped elsewhere.
  bool WaitForWorker(std::chrono::milliseconds timeout);

  std::string currentVersion;
  std::string lastestVersion;
  std::string whatsnewString;
  bool checkUpdate = false;

 private:
  // A failure the user asked to hear of.
  void TellFailure(const std::string& reason);

  BookmarkSession& session_;
  std::string manifestUrl_;
  bool running_ = false;
  WorkerHandle<ManifestFetchWorker> worker_;  // last: cancelled first when the controller goes
};

}  // namespace linvara
