#include "export/BookmarkExportController.h"

#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace linvara {

// Builds and writes one file on a detached thread and hands the outcome to the main thread.
class HtmlExportWorker : public WorkerLifetime, public std::enable_shared_from_this<HtmlExportWorker> {
 public:
  using Handler = std::function<void(const Result<fs::path>&)>;

  static std::shared_ptr<HtmlExportWorker> Start(fs::path folder, ExportOutline outline, ExportFile file,
                                                 std::shared_ptr<MainThreadDispatcher> dispatcher, Handler handler) {
    std::shared_ptr<HtmlExportWorker> worker(new HtmlExportWorker(std::move(dispatcher), std::move(handler)));
    try {
      std::thread([worker, folder = std::move(folder), outline = std::move(outline), file] {
        worker->ExportAllBookMarksThread(folder, outline, file);
      }).detach();
    } catch (const std::system_error& e) {
      worker->MarkStopped();  // already on the main thread: no hand-over
      if (worker->handler_) worker->handler_(Fail(std::string("cannot start the export: ") + e.what()));
    }
    return worker;
  }

 private:
  HtmlExportWorker(std::shared_ptr<MainThreadDispatcher> dispatcher, Handler handler)
      : dispatcher_(std::move(dispatcher)), handler_(std::move(handler)) {}

  void ExportAllBookMarksThread(const fs::path& folder, const ExportOutline& outline, ExportFile file) {
    Hand(WriteBookmarkHtml(folder, outline, file));
    MarkStopped();
  }

  void Hand(const Result<fs::path>& written) {
    if (cancelled()) return;
    auto self = shared_from_this();
    dispatcher_->RunAndWait([self, &written] {
      if (!self->cancelled() && self->handler_) self->handler_(written);
    });
  }

  std::shared_ptr<MainThreadDispatcher> dispatcher_;
  Handler handler_;
};

BookmarkExportController::BookmarkExportController(BookmarkSession& session) : session_(session) {}
BookmarkExportController::~BookmarkExportController() = default;

void BookmarkExportController::ExportAllBookMarksAction() { RunSavePanel(ExportFile::Shown); }

void BookmarkExportController::ExportAllChromeBookMarksAction() { RunSavePanel(ExportFile::ChromeTree); }

void BookmarkExportController::RunSavePanel(ExportFile file) {
  SavePanelSpec panel;
  panel.title = "Export Bookmarks";
  panel.suggestedName = "Linvara";
  panel.directory = session_.locations().home() / "Documents";
  session_.screen().RunSavePanel(panel, [this, file](std::optional<fs::path> chosen) {
    if (file == ExportFile::Shown)
      savePanelDidEndCall(chosen);
    else
      savePanelDidEndCall1(chosen);
  });
}

void BookmarkExportController::savePanelDidEndCall(const std::optional<fs::path>& chosen) {
  if (!chosen) return;
  StartExport(*chosen, AddSubBoomarkFolderandBookmarkUrlwith(session_.viewState().bookmarkTable.content),
              ExportFile::Shown);
}

void BookmarkExportController::savePanelDidEndCall1(const std::optional<fs::path>& chosen) {
  if (!chosen) return;
  StartExport(*chosen, AddSubBoomarkFolderandBookmarkUrlwith(session_.lists().ChromeFatherArray),
              ExportFile::ChromeTree);
}

bool BookmarkExportController::StartExport(const fs::path& folder, ExportOutline outline, ExportFile file) {
  if (running_) return false;
  running_ = true;
  worker_.reset(HtmlExportWorker::Start(folder, std::move(outline), file, session_.sharedDispatcher(),
                                        [this](const Result<fs::path>& written) { ExportFinishedOnMainThread(written); }));
  return true;
}

void BookmarkExportController::ExportFinishedOnMainThread(const Result<fs::path>& written) {
  running_ = false;
  if (!written) {
    session_.ShowMessage(kFailedMessage + written.error(), true);
  } else {
    AlertSpec done;
    done.message = kDoneMessage;
    done.informativeText = written->string();
    done.alternateButton = kShowInFolder;
    done.asSheet = true;
    const fs::path folder = written->parent_path();
    session_.screen().ShowAlert(done, [this, folder](AlertResponse answer) {
      if (answer.button == AlertButton::Alternate) session_.platform().ShowFolder(folder);
    });
  }
  if (onFinished) onFinished(written);
}

bool BookmarkExportController::WaitForWorker(std::chrono::milliseconds timeout) {
  return !worker_ || worker_->WaitUntilStopped(timeout);
}

}  // namespace linvara
