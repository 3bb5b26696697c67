// Link health on the controller: the unreachable-link scan and the duplicate
// search, started on workers over a snapshot of the view's list.
#include "app/AppDelegate.h"

namespace linvara {
namespace {

void ShowSheetAlert(const std::shared_ptr<ScreenInterface>& screen, const std::string& message) {
  if (!screen) return;
  AlertSpec alert;
  alert.message = message;
  alert.defaultButton = " Ok ";
  alert.asSheet = true;
  screen->ShowAlert(alert, [](AlertResponse) {});
}

}  // namespace

NodeList AppDelegate::LinkHealthSnapshot() const {
  switch (bookMarkType) {
    case 1: return lists_.allbookMarkArray;
    case 2: return lists_.safariBookMarkArray;
    case 3: return lists_.chromebookMarkArray;
    default: return {};
  }
}

bool AppDelegate::FindAllDeadURLBookMarksAction() {
  if (bCleanDeadBook) {
    ShowSheetAlert(services_.screen, "No unreachable bookmark links detected");
    return false;
  }
  StartScanDeadURlThread();
  return true;
}

void AppDelegate::StartScanDeadURlThread() {
  deadLinkScan_.reset();  // a scan still running stops and reports nothing more
  lists_.deadURLArray.clear();
  deadScanRunning_ = true;
  deadLinksNotChecked = 0;
  DeadLinkScan::Handlers handlers;
  handlers.found = [this](const NodePtr& node) { FindDeadBookMarkOnMainThread(node); };
  handlers.finished = [this](std::size_t notChecked) {
    deadLinksNotChecked = notChecked;
    FindDeadBookMarkFishOnMainThread();
  };
  handlers.progress = [this](std::size_t probed, std::size_t total) {
    if (linkHealthObservers.deadScanProgress) linkHealthObservers.deadScanProgress(probed, total);
  };
  deadLinkScan_.reset(
      DeadLinkScan::Start(LinkHealthSnapshot(), deadLinkProbeSettings, services_.dispatcher, std::move(handlers)));
}

void AppDelegate::FindDeadBookMarkOnMainThread(const NodePtr& node) {
  node->setBDeadURL(true);
  node->setBSelect(true);
  lists_.deadURLArray.push_back(node);
  if (linkHealthObservers.deadLinkFound) linkHealthObservers.deadLinkFound(node);
}

void AppDelegate::FindDeadBookMarkFishOnMainThread() {
  deadScanRunning_ = false;
  if (linkHealthObservers.deadScanFinished) linkHealthObservers.deadScanFinished();
}

void AppDelegate::CancelDeadURLScan() {
  if (deadLinkScan_) deadLinkScan_->Cancel();
  deadScanRunning_ = false;
}

bool AppDelegate::FindAllDuplicateBookMarksAction() {
  if (bRemoveAllDupBookmark) {
    ShowSheetAlert(services_.screen, "No Duplicate bookmark links detected");
    return false;
  }
  StartFindAllDuplicateBookMarkThread();
  return true;
}

void AppDelegate::StartFindAllDuplicateBookMarkThread() {
  duplicateSearch_.reset();
  lists_.duplicateArray.clear();
  duplicateSearchRunning_ = true;
  duplicateSearch_.reset(DuplicateSearch::Start(LinkHealthSnapshot(), services_.dispatcher,
                                                [this](DuplicateGroups result) {
                                                  FindAllDuplicateBookMarkOnMainThread(std::move(result));
                                                }));
}

void AppDelegate::FindAllDuplicateBookMarkOnMainThread(DuplicateGroups result) {
  lists_.duplicateArray = std::move(result.groups);
  dupBookmarkCount = result.dupBookmarkCount;
  duplicateSearchRunning_ = false;
  if (linkHealthObservers.duplicatesFound) linkHealthObservers.duplicatesFound();
}

void AppDelegate::AutoSelectDuplicationBookAction() {
  bAutoSelect = ToggleDuplicateAutoSelect(lists_.duplicateArray, bAutoSelect);
  if (linkHealthObservers.duplicateTicksChanged) linkHealthObservers.duplicateTicksChanged();
}

bool AppDelegate::WaitForLinkHealthWorkers(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto left = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  };
  if (deadLinkScan_ && !deadLinkScan_->WaitUntilStopped(left())) return false;
  if (duplicateSearch_ && !duplicateSearch_->WaitUntilStopped(left())) return false;
  return true;
}

}  // namespace linvara
