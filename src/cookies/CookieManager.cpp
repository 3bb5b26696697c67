#include "cookies/CookieManager.h"

#include <system_error>
#include <thread>

#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieDatabase.h"

namespace fs = std::filesystem;

namespace linvara {

CookieManager::CookieManager() : lifeline_(std::make_shared<Lifeline>()) {}

CookieManager::~CookieManager() { lifeline_->alive = false; }

void CookieManager::Changed() {
  if (onChanged) onChanged();
}

bool CookieManager::StartWorker(std::shared_ptr<MainThreadDispatcher> dispatcher, bool showProgress,
                                std::function<std::function<void()>()> work) {
  if (!dispatcher) return false;
  if (busy_.exchange(true)) return false;
  progressShown = showProgress;
  progressAnimating = true;
  Changed();
  auto lifeline = lifeline_;
  try {
    std::thread worker([dispatcher = std::move(dispatcher), lifeline, work = std::move(work)] {
      std::function<void()> finish = work();
      dispatcher->RunAndWait([&] {
        if (lifeline->alive) finish();
      });
    });
    worker.detach();
  } catch (const std::system_error&) {
    EndWorker();
    return false;
  }
  return true;
}

void CookieManager::EndWorker() {
  progressShown = false;
  progressAnimating = false;
  busy_ = false;
  Changed();
}

bool CookieManager::StartScan(std::shared_ptr<MainThreadDispatcher> dispatcher, const fs::path& path,
                              CookieFileKind kind, std::function<void()> afterFinish) {
  if (kind == CookieFileKind::Unknown) return false;
  return StartWorker(std::move(dispatcher), true, [this, path, kind, afterFinish = std::move(afterFinish)] {
    ScanResult result;
    result.path = path;
    result.binary = kind == CookieFileKind::Binary;
    if (result.binary)
      ReadCookBinaryFileWithPath(path, result.pageSizes, result.cookies);
    else
      ReadCookDatabaseFileWithPath(path, result.cookies);
    return std::function<void()>([this, result = std::move(result), afterFinish]() mutable {
      ScanFinishOnMainThread(std::move(result));
      if (afterFinish) afterFinish();
    });
  });
}

void CookieManager::ScanFinishOnMainThread(ScanResult result) {
  pagesizeArray = std::move(result.pageSizes);
  cookArray = std::move(result.cookies);
  binaryCookie = result.binary;
  currentScanFilePath = result.path.string();
  if (bOpenCookie) {
    newCookieArray.insert(newCookieArray.end(), cookArray.begin(), cookArray.end());
    bOpenCookie = false;
  }
  tableContent = cookArray;
  contentViewShown = true;
  EndWorker();
}

bool CookieManager::CheckFilePathISCookie(std::shared_ptr<MainThreadDispatcher> dispatcher, const fs::path& path,
                                          std::function<void()> afterFinish) {
  return StartScan(std::move(dispatcher), path, DetectCookieFileKind(path), std::move(afterFinish));
}

bool CookieManager::OpenCookieFile(std::shared_ptr<MainThreadDispatcher> dispatcher, const fs::path& path,
                                   std::function<void()> afterFinish) {
  if (IsBusy()) return false;
  bOpenCookie = true;
  newCookieArray.clear();
  newCookieButtonShown = true;
  const bool started = CheckFilePathISCookie(std::move(dispatcher), path, std::move(afterFinish));
  if (!started) bOpenCookie = false;
  Changed();
  return started;
}

bool CookieManager::StartRemoval(std::shared_ptr<MainThreadDispatcher> dispatcher,
                                 std::function<void(Result<void>)> done) {
  // The progress indicator animates where it is; it is not unhidden for a removal.
  return StartWorker(std::move(dispatcher), progressShown,
                     [this, path = fs::path(currentScanFilePath), binary = binaryCookie, done = std::move(done)] {
                       Result<void> outcome;
                       std::error_code ec;
                       // Nothing scanned yet, or a file that is not there: nothing to remove.
                       const bool nothingThere = path.empty() || !fs::exists(path, ec);
                       if (!nothingThere) outcome = RemoveCookieData(path, binary);
                       return std::function<void()>([this, outcome, done] {
                         RemoveFinishOnMainThread(outcome);
                         if (done) done(outcome);
                       });
                     });
}

void CookieManager::RemoveFinishOnMainThread(const Result<void>& outcome) {
  // A failed removal keeps the list: the cookies are still there.
  if (outcome) {
    cookArray.clear();
    tableContent.clear();
  }
  EndWorker();
}

bool CookieManager::StartExport(std::shared_ptr<MainThreadDispatcher> dispatcher, const fs::path& folder,
                                std::function<void(Result<void>)> done) {
  // The worker exports a copy of the rows: the table may change meanwhile.
  return StartWorker(std::move(dispatcher), true, [this, rows = tableContent, folder, done = std::move(done)] {
    Result<void> outcome = ExportCookieData(rows, folder);
    return std::function<void()>([this, outcome, done] {
      EndWorker();
      if (done) done(outcome);
    });
  });
}

void CookieManager::ShowNewCookies() {
  tableContent = newCookieArray;
  Changed();
}

}  // namespace linvara
