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

void CookieManager::RunWorker(std::shared_ptr<MainThreadDispatcher> dispatcher,
                              std::function<std::function<void()>()> work) {
  auto lifeline = lifeline_;
  std::thread worker([dispatcher = std::move(dispatcher), lifeline, work = std::move(work)] {
    std::function<void()> finish = work();
    dispatcher->RunAndWait([&] {
      if (lifeline->alive) finish();
    });
  });
  worker.detach();
}

bool CookieManager::StartScan(std::shared_ptr<MainThreadDispatcher> dispatcher, const fs::path& path,
                              CookieFileKind kind, std::function<void()> afterFinish) {
  if (kind == CookieFileKind::Unknown || !dispatcher) return false;
  if (busy_.exchange(true)) return false;
  progressShown = true;
  progressAnimating = true;
  Changed();
  try {
    RunWorker(std::move(dispatcher), [this, path, kind, afterFinish = std::move(afterFinish)] {
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
  } catch (const std::system_error&) {
    busy_ = false;
    progressShown = false;
    progressAnimating = false;
    Changed();
    return false;
  }
  return true;
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
  progressShown = false;
  progressAnimating = false;
  busy_ = false;
  Changed();
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
  if (!dispatcher) return false;
  if (busy_.exchange(true)) return false;
  progressAnimating = true;
  Changed();
  try {
    RunWorker(std::move(dispatcher), [this, path = fs::path(currentScanFilePath), binary = binaryCookie,
                                      done = std::move(done)] {
      Result<void> outcome;
      std::error_code ec;
      // Nothing scanned yet, or a database that is not there: nothing to remove.
      const bool nothingThere = path.empty() || (!binary && !fs::exists(path, ec));
      if (!nothingThere) outcome = RemoveCookieData(path, binary);
      return std::function<void()>([this, outcome, done] {
        RemoveFinishOnMainThread(outcome);
        if (done) done(outcome);
      });
    });
  } catch (const std::system_error&) {
    busy_ = false;
    progressAnimating = false;
    Changed();
    return false;
  }
  return true;
}

void CookieManager::RemoveFinishOnMainThread(const Result<void>& outcome) {
  progressShown = false;
  progressAnimating = false;
  // A failed removal keeps the list: the cookies are still there.
  if (outcome) {
    cookArray.clear();
    tableContent.clear();
  }
  busy_ = false;
  Changed();
}

bool CookieManager::StartExport(std::shared_ptr<MainThreadDispatcher> dispatcher, const fs::path& folder,
                                std::function<void(Result<void>)> done) {
  if (!dispatcher) return false;
  if (busy_.exchange(true)) return false;
  progressShown = true;
  progressAnimating = true;
  Changed();
  try {
    RunWorker(std::move(dispatcher), [this, rows = tableContent, folder, done = std::move(done)] {
      Result<void> outcome = ExportCookieData(rows, folder);
      return std::function<void()>([this, outcome, done] {
        ExportFinishOnMainThread();
        if (done) done(outcome);
      });
    });
  } catch (const std::system_error&) {
    busy_ = false;
    progressShown = false;
    progressAnimating = false;
    Changed();
    return false;
  }
  return true;
}

void CookieManager::ExportFinishOnMainThread() {
  progressShown = false;
  progressAnimating = false;
  busy_ = false;
  Changed();
}

void CookieManager::ShowNewCookies() {
  tableContent = newCookieArray;
  Changed();
}

}  // namespace linvara
