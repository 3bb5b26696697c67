#include "health/LinkHealthController.h"

namespace linvara {

bool LinkHealthController::FindAllDeadURLBookMarksAction() {
  if (bCleanDeadBook) {
    session_.ShowMessage("No unreachable bookmark links detected", true);
    return false;
  }
  StartScanDeadURlThread();
  return true;
}

void LinkHealthController::StartScanDeadURlThread() {
  deadLinkScan_.reset();  // a scan still running stops and reports nothing more
  session_.lists().deadURLArray.clear();
  session_.SetResultTableContent(TableId::DeadUrl, {});
  deadScanRunning_ = true;
  deadLinksNotChecked = 0;
  DeadLinkScan::Handlers handlers;
  handlers.found = [this](const NodePtr& node) { FindDeadBookMarkOnMainThread(node); };
  handlers.finished = [this](std::size_t notChecked) {
    deadLinksNotChecked = notChecked;
    FindDeadBookMarkFishOnMainThread();
  };
  handlers.progress = [this](std::size_t probed, std::size_t total) {
    if (observers.deadScanProgress) observers.deadScanProgress(probed, total);
  };
  deadLinkScan_.reset(DeadLinkScan::Start(LinkHealthSnapshot(), deadLinkProbeSettings, session_.sharedDispatcher(),
                                          std::move(handlers)));
}

void LinkHealthController::FindDeadBookMarkOnMainThread(const NodePtr& node) {
  node->setBDeadURL(true);
  node->setBSelect(true);
  session_.lists().deadURLArray.push_back(node);
  // One row more, not a copy of the whole list per finding.
  session_.UpdateView(viewsection::kResultTables, [&](ViewState& s) {
    s.deadUrlTable.content.push_back(node);
    ++s.deadUrlTable.reloads;
  });
  if (observers.deadLinkFound) observers.deadLinkFound(node);
}

void LinkHealthController::FindDeadBookMarkFishOnMainThread() {
  deadScanRunning_ = false;
  if (observers.deadScanFinished) observers.deadScanFinished();
}

void LinkHealthController::CancelDeadURLScan() {
  if (deadLinkScan_) deadLinkScan_->Cancel();
  deadScanRunning_ = false;
}

bool LinkHealthController::FindAllDuplicateBookMarksAction() {
  if (bRemoveAllDupBookmark) {
    session_.ShowMessage("No Duplicate bookmark links detected", true);
    return false;
  }
  StartFindAllDuplicateBookMarkThread();
  return true;
}

void LinkHealthController::StartFindAllDuplicateBookMarkThread() {
  duplicateSearch_.reset();
  session_.lists().duplicateArray.clear();
  session_.SetResultTableContent(TableId::LeftDup, {});
  session_.SetResultTableContent(TableId::RightDup, {});
  duplicateSearchRunning_ = true;
  duplicateSearch_.reset(DuplicateSearch::Start(
      LinkHealthSnapshot(), session_.sharedDispatcher(),
      [this](DuplicateGroups result) { FindAllDuplicateBookMarkOnMainThread(std::move(result)); }));
}

void LinkHealthController::FindAllDuplicateBookMarkOnMainThread(DuplicateGroups result) {
  session_.lists().duplicateArray = std::move(result.groups);
  dupBookmarkCount = result.dupBookmarkCount;
  duplicateSearchRunning_ = false;
  session_.SetResultTableContent(TableId::LeftDup, session_.lists().duplicateArray);
  if (observers.duplicatesFound) observers.duplicatesFound();
}

void LinkHealthController::AutoSelectDuplicationBookAction() {
  bAutoSelect = ToggleDuplicateAutoSelect(session_.lists().duplicateArray, bAutoSelect);
  session_.UpdateView(viewsection::kResultTables, [](ViewState& s) { ++s.rightDupTable.reloads; });
  if (observers.duplicateTicksChanged) observers.duplicateTicksChanged();
}

bool LinkHealthController::WaitForWorkers(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto left = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  };
  if (deadLinkScan_ && !deadLinkScan_->WaitUntilStopped(left())) return false;
  if (duplicateSearch_ && !duplicateSearch_->WaitUntilStopped(left())) return false;
  return true;
}

}  // namespace linvara
