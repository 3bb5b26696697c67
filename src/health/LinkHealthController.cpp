#include "health/LinkHealthController.h"

#include "app/Outlets.h"

namespace linvara {

namespace {

std::string Formatted(const char* format, std::size_t count) {
  std::string text = format;
  text.replace(text.find("%d"), 2, std::to_string(count));
  return text;
}

std::string NotCheckedText(std::size_t count) {
  if (count == 0) return {};
  return count == 1 ? "1 bookmark not checked: not a web address"
                    : std::to_string(count) + " bookmarks not checked: not web addresses";
}

}  // namespace

std::string GroupedCount(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

// ---- Unreachable links ----

void LinkHealthController::FindAllDeadURLBookMarksAction() {
  StartScanDeadURlThread();
  session_.screen().ShowWindow(outlets::kDeadURLWindow, true);
}

void LinkHealthController::StartScanDeadURlThread() {
  deadLinkScan_.reset();  // a scan still running stops and reports nothing more
  session_.lists().deadURLArray.clear();
  deadScanRunning_ = true;
  deadLinksNotChecked = 0;
  deadScanGeneration_ = session_.listsGeneration();
  const NodeList snapshot = LinkHealthSnapshot();
  const std::size_t total = DeadLinkScan::ScanTargets(snapshot).probed.size();
  session_.UpdateView(viewsection::kResultTables | viewsection::kTexts, [&](ViewState& s) {
    session_.SetResultTableContent(TableId::DeadUrl, {});
    s.text(outlets::kShowDeadBookmarklab) = TextState{Formatted("Find %d unreachable bookmark links.", 0), false};
    s.text(outlets::kDeadLinksNotCheckedLab) = TextState{};
  });
  ShowDeadScanProgress(0, total);

  DeadLinkScan::Handlers handlers;
  handlers.found = [this](const NodeList& nodes) { FindDeadBookMarkOnMainThread(nodes); };
  handlers.finished = [this](std::size_t notChecked) {
    deadLinksNotChecked = notChecked;
    FindDeadBookMarkFishOnMainThread();
  };
  handlers.progress = [this](std::size_t probed, std::size_t total) { ShowDeadScanProgress(probed, total); };
  deadLinkScan_.reset(
      DeadLinkScan::Start(snapshot, deadLinkProbeSettings, session_.sharedDispatcher(), std::move(handlers)));
}

void LinkHealthController::ShowDeadScanProgress(std::size_t probed, std::size_t total) {
  session_.UpdateView(viewsection::kResultTables, [&](ViewState& s) {
    s.progressIndicators[outlets::kThedealurlProgresser] =
        ProgressState{probed, total, GroupedCount(probed) + " of " + GroupedCount(total) + " checked", false};
  });
  if (observers.deadScanProgress) observers.deadScanProgress(probed, total);
}

void LinkHealthController::FindDeadBookMarkOnMainThread(const NodeList& nodes) {
  NodeList& found = session_.lists().deadURLArray;
  for (const NodePtr& node : nodes) {
    node->setBDeadURL(true);
    node->setBSelect(true);
    found.push_back(node);
  }
  // Rows appended as one batch, without a reload: the sheet keeps up with many findings.
  session_.UpdateView(viewsection::kResultTables | viewsection::kTexts, [&](ViewState& s) {
    s.deadUrlTable.content.insert(s.deadUrlTable.content.end(), nodes.begin(), nodes.end());
    s.text(outlets::kShowDeadBookmarklab) =
        TextState{Formatted("Find %d unreachable bookmark links.", found.size()), false};
  });
  if (observers.deadLinkFound)
    for (const NodePtr& node : nodes) observers.deadLinkFound(node);
}

void LinkHealthController::FindDeadBookMarkFishOnMainThread() {
  deadScanRunning_ = false;
  session_.UpdateView(viewsection::kResultTables | viewsection::kTexts, [&](ViewState& s) {
    s.progressIndicators[outlets::kThedealurlProgresser].hidden = true;
    const std::string notChecked = NotCheckedText(deadLinksNotChecked);
    s.text(outlets::kDeadLinksNotCheckedLab) = TextState{notChecked, notChecked.empty()};
  });
  if (observers.deadScanFinished) observers.deadScanFinished();
}

void LinkHealthController::CancelDeadURLScan() {
  if (deadLinkScan_) deadLinkScan_->Cancel();
  deadScanRunning_ = false;
}

void LinkHealthController::CancleFindDeadURLAction() {
  CancelDeadURLScan();
  session_.screen().CloseWindow(outlets::kDeadURLWindow);
  session_.UpdateView(viewsection::kTexts | viewsection::kResultTables, [](ViewState& s) {
    s.text(outlets::kShowDeadBookmarklab) = TextState{"", true};
    s.progressIndicators[outlets::kThedealurlProgresser].hidden = true;
  });
}

void LinkHealthController::FindSafariDeadURLBookMarksAction() {
  deadLinkScan_.reset();
  deadScanRunning_ = false;
  NodeList& found = session_.lists().deadURLArray;
  found.clear();
  for (const NodePtr& node : session_.lists().safariBookMarkArray)
    if (node && node->bDeadURL()) found.push_back(node);
  deadScanGeneration_ = session_.listsGeneration();
  session_.SetResultTableContent(TableId::DeadUrl, found);
  session_.screen().ShowWindow(outlets::kDeadURLWindow, true);
}

void LinkHealthController::CancleFindSafariDeadURLAction() { session_.screen().CloseWindow(outlets::kDeadURLWindow); }

// ---- Duplicates ----

void LinkHealthController::FindAllDuplicateBookMarksAction() { StartFindAllDuplicateBookMarkThread(); }

void LinkHealthController::StartFindAllDuplicateBookMarkThread() {
  duplicateSearch_.reset();
  session_.lists().duplicateArray.clear();
  duplicateGeneration_ = session_.listsGeneration();
  session_.UpdateView(viewsection::kResultTables, [&](ViewState&) {
    session_.SetResultTableContent(TableId::LeftDup, {});
    session_.SetResultTableContent(TableId::RightDup, {});
  });
  duplicateSearchRunning_ = true;
  duplicateSearch_.reset(DuplicateSearch::Start(
      LinkHealthSnapshot(), session_.sharedDispatcher(),
      [this](DuplicateGroups result) { FindAllDuplicateBookMarkOnMainThread(std::move(result)); }));
}

void LinkHealthController::FindAllDuplicateBookMarkOnMainThread(DuplicateGroups result) {
  session_.lists().duplicateArray = std::move(result.groups);
  dupBookmarkCount = result.dupBookmarkCount;
  duplicateSearchRunning_ = false;
  session_.UpdateView(viewsection::kResultTables | viewsection::kTexts, [&](ViewState& s) {
    session_.SetResultTableContent(TableId::LeftDup, session_.lists().duplicateArray);
    ShowDuplicateGroupMembers(0);
    s.text(outlets::kShowDupBookmarklab) =
        TextState{Formatted("Find %d duplicate bookmark links.", dupBookmarkCount), false};
  });
  session_.screen().ShowWindow(outlets::kFindDupWindow, true);
  if (observers.duplicatesFound) observers.duplicatesFound();
}

void LinkHealthController::ShowDuplicateGroupMembers(std::size_t row) {
  const NodeList& groups = session_.viewState().leftDupTable.content;
  NodeList members = row < groups.size() ? DuplicateGroupMembers(groups[row]) : NodeList{};
  session_.UpdateView(viewsection::kResultTables, [&](ViewState& s) {
    s.leftDupTable.selection = row < groups.size() ? std::vector<std::size_t>{row} : std::vector<std::size_t>{};
    session_.SetResultTableContent(TableId::RightDup, std::move(members));
  });
}

void LinkHealthController::AutoSelectDuplicationBookAction() {
  bAutoSelect = ToggleDuplicateAutoSelect(session_.lists().duplicateArray, bAutoSelect);
  session_.UpdateView(viewsection::kResultTables, [](ViewState& s) { ++s.rightDupTable.reloads; });
  if (observers.duplicateTicksChanged) observers.duplicateTicksChanged();
}

void LinkHealthController::CancleFindDupAction() {
  duplicateSearch_.reset();
  duplicateSearchRunning_ = false;
  session_.screen().CloseWindow(outlets::kFindDupWindow);
  session_.UpdateView(viewsection::kTexts, [](ViewState& s) { s.text(outlets::kShowDupBookmarklab).text.clear(); });
}

void LinkHealthController::FindSafariDupBookMarkAction() {
  duplicateSearch_.reset();
  session_.lists().duplicateArray.clear();
  duplicateGeneration_ = session_.listsGeneration();
  FindAllDuplicateBookMarkOnMainThread(findDuplicateSafariBookMark(session_.lists().safariBookMarkArray));
}

// ---- Removal guard ----

Result<void> LinkHealthController::ResultsStillCurrent(HealthResults which) const {
  const std::uint64_t foundIn = which == HealthResults::DeadLinks ? deadScanGeneration_ : duplicateGeneration_;
  if (foundIn != session_.listsGeneration()) return Fail(kResultsOutdatedMessage, ErrorKind::Other);
  return {};
}

bool LinkHealthController::RefuseOutdatedResults(HealthResults which) {
  if (ResultsStillCurrent(which).ok()) return false;
  session_.ShowMessage(kResultsOutdatedMessage, true);
  return true;
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
