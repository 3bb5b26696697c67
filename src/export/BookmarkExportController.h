#pragma once
// The two HTML export commands of the window: what the bookmark table shows
// ("Linvara.html") and the whole Chrome tree ("Chrome BookMark.html"). A save
// panel names a folder; the rows are copied on the main thread, and a worker
// builds and writes the file inside that folder. The end is told: the failure
// with its reason, or the file with an offer to show its folder.
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/BookmarkSession.h"
#include "export/ExportOutline.h"
#include "health/Worker.h"

namespace linvara {

class HtmlExportWorker;

class BookmarkExportController {
 public:
  static constexpr const char* kFailedMessage = "Failed to export the bookmarks: ";
  static constexpr const char* kDoneMessage = "The bookmarks were exported.";
  static constexpr const char* kShowInFolder = "Show in Folder";

  explicit BookmarkExportController(BookmarkSession& session);
  ~BookmarkExportController();
  BookmarkExportController(const BookmarkExportController&) = delete;
  BookmarkExportController& operator=(const BookmarkExportController&) = delete;

  // The save panel for the rows the table shows, proposing "Linvara" in the Documents folder.
  void ExportAllBookMarksAction();
  // Its end: a chosen path starts the export into that folder; a cancel does nothing.
  void savePanelDidEndCall(const std::optional<std::filesystem::path>& chosen);
  // The same for the Chrome tree (`ChromeFatherArray`), whatever the table shows.
  void ExportAllChromeBookMarksAction();
  void savePanelDidEndCall1(const std::optional<std::filesystem::path>& chosen);

  // Starts the worker on an outline taken now; false while an export runs.
  bool StartExport(const std::filesystem::path& folder, ExportOutline outline, ExportFile file);
  // Main-thread end of the worker.
  void ExportFinishedOnMainThread(const Result<std::filesystem::path>& written);

  bool exportRunning() const { return running_; }
  // Waits for the worker to end; only where its main-thread call runs inline or is pumped elsewhere.
  bool WaitForWorker(std::chrono::milliseconds timeout);

  // Called on the main thread after each export ends (tests, the command line).
  std::function<void(const Result<std::filesystem::path>&)> onFinished;

 private:
  void RunSavePanel(ExportFile file);

  BookmarkSession& session_;
  bool running_ = false;
  WorkerHandle<HtmlExportWorker> worker_;  // last: cancelled first when the controller goes
};

}  // namespace linvara
