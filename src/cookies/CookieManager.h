#pragma once
// The cookie view's state and its workers: scanning a cookie file, removing
// every cookie of the file scanned last, exporting the listed cookies.
//
// Each operation runs on its own detached worker thread and hands its result
// back with a waiting call on the main thread (MainThreadDispatcher::RunAndWait).
// Only one worker runs at a time: a start while one runs is refused. All public
// state is read and written on the main thread only; the workers work on copies.
// Destroy the manager on the main thread: a worker still running then finds it
// gone and drops its result.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cookies/CookieFiles.h"
#include "cookies/PRCookFileNode.h"
#include "model/Result.h"
#include "platform/MainThread.h"

namespace linvara {

class CookieManager {
 public:
  CookieManager();
  ~CookieManager();
  CookieManager(const CookieManager&) = delete;
  CookieManager& operator=(const CookieManager&) = delete;

  // ---- Reading state ----
  std::vector<std::int32_t> pagesizeArray;  // page sizes of the binary file read last
  CookieList cookArray;                     // entries of the file scanned last
  CookieList newCookieArray;                // entries of the files the user opened directly
  bool binaryCookie = false;                // the file scanned last was a binary cookie file
  std::string currentScanFilePath;          // the file scanned last; removal acts on it
  bool bSafariCookie = false;
  bool bOpenCookie = false;                 // the running scan is of a file the user opened

  // ---- What the cookie area shows ----
  CookieList tableContent;           // the cookie table's rows; replacing them deselects every row
  bool contentViewShown = false;     // the list (true) or the start view of the cookie area
  bool progressShown = false;
  bool progressAnimating = false;
  bool newCookieButtonShown = false;
  // Called on the main thread after every change of the state above.
  std::function<void()> onChanged;

  // True while a scan, removal or export runs.
  bool IsBusy() const { return busy_.load(); }

  // Starts the scan worker for a file of the given kind. Refused (false) while
  // another worker runs or for an Unknown kind. A missing or unreadable file
  // gives an empty list. `afterFinish` runs on the main thread after the finish step.
  bool StartScan(std::shared_ptr<MainThreadDispatcher> dispatcher, const std::filesystem::path& path,
                 CookieFileKind kind, std::function<void()> afterFinish = {});
  // Detects the kind of the file by its magic and starts the matching scan;
  // false for a file of neither kind (ignored without a message) or while busy.
  bool CheckFilePathISCookie(std::shared_ptr<MainThreadDispatcher> dispatcher, const std::filesystem::path& path,
                             std::function<void()> afterFinish = {});
  // A file the user opened: its entries are also kept in newCookieArray.
  bool OpenCookieFile(std::shared_ptr<MainThreadDispatcher> dispatcher, const std::filesystem::path& path,
                      std::function<void()> afterFinish = {});

  // Removes every cookie of currentScanFilePath (by binaryCookie). On success
  // the list is emptied; on failure it stays. `done` gets the outcome on the main thread.
  bool StartRemoval(std::shared_ptr<MainThreadDispatcher> dispatcher, std::function<void(Result<void>)> done = {});
  // Creates the folder and writes the rows shown to its "cookiedata.txt".
  bool StartExport(std::shared_ptr<MainThreadDispatcher> dispatcher, const std::filesystem::path& folder,
                   std::function<void(Result<void>)> done = {});

  // The New Cookies button: the table shows newCookieArray.
  void ShowNewCookies();

 private:
  struct ScanResult {
    std::filesystem::path path;
    bool binary = false;
    CookieList cookies;
    std::vector<std::int32_t> pageSizes;
  };
  struct Lifeline {
    std::atomic<bool> alive{true};
  };

  void ScanFinishOnMainThread(ScanResult result);
  void RemoveFinishOnMainThread(const Result<void>& outcome);
  void Changed();
  // Marks the manager busy and runs `work` on a new detached thread; the
  // closure it returns then runs on the main thread, unless the manager is gone.
  bool StartWorker(std::shared_ptr<MainThreadDispatcher> dispatcher, bool showProgress,
                   std::function<std::function<void()>()> work);
  // Every finish step ends here: progress indicator off, no longer busy.
  void EndWorker();

  std::atomic<bool> busy_{false};
  std::shared_ptr<Lifeline> lifeline_;
};

}  // namespace linvara
