#pragma once
// The unreachable-link scan and the duplicate search of the current view:
// both run on workers over a snapshot of the view's flat list and hand their
// results to the main thread, where they fill the result lists and the two
// sheets the window draws from the view state.
#include <chrono>
#include <cstdint>
#include <functional>

#include "app/BookmarkSession.h"
#include "health/DeadLinkScan.h"
#include "health/DuplicateGroups.h"
#include "model/Result.h"

namespace linvara {

// The results a removal works on.
enum class HealthResults { DeadLinks, Duplicates };

inline constexpr const char* kResultsOutdatedMessage = "The bookmarks changed since the search; search again.";

class LinkHealthController {
 public:
  explicit LinkHealthController(BookmarkSession& session) : session_(session) {}
  LinkHealthController(const LinkHealthController&) = delete;
  LinkHealthController& operator=(const LinkHealthController&) = delete;

  // The list both searches work on: the current view's flat list.
  NodeList LinkHealthSnapshot() const { return session_.FlatList(); }

  // ---- Unreachable links ----
  // Starts a scan of the view (every time: nothing is assumed from an earlier
  // removal) and shows deadURLWindow as a sheet with its progress.
  void FindAllDeadURLBookMarksAction();
  // Empties deadURLArray and starts ScanDeadURlThread on the view's list; a scan still running is stopped.
  void StartScanDeadURlThread();
  // Findings on the main thread: each marked unreachable and ticked, appended to
  // deadURLArray and to the sheet's table as one batch of rows; the label counts them.
  void FindDeadBookMarkOnMainThread(const NodeList& nodes);
  void FindDeadBookMarkFishOnMainThread();
  // The sheet's Cancel: stops the scan, closes the sheet, empties and hides the label.
  void CancleFindDeadURLAction();
  // Stops a running scan: once it returns no request starts and nothing more is reported.
  void CancelDeadURLScan();
  bool deadURLScanRunning() const { return deadScanRunning_; }
  // The Safari view's sheet: no probing, the Safari bookmarks already marked unreachable, in list order.
  void FindSafariDeadURLBookMarksAction();
  // Its Cancel: closes the sheet only.
  void CancleFindSafariDeadURLAction();

  // ---- Duplicates ----
  // Starts a search of the view (every time); the sheet shows when the groups arrive.
  void FindAllDuplicateBookMarksAction();
  void StartFindAllDuplicateBookMarkThread();
  // The hand-over of the groups: duplicateArray and dupBookmarkCount, the left
  // table with its first group chosen, the label, and the sheet.
  void FindAllDuplicateBookMarkOnMainThread(DuplicateGroups result);
  bool duplicateSearchRunning() const { return duplicateSearchRunning_; }
  // The members of the group in this row of the left table go to the right table.
  void ShowDuplicateGroupMembers(std::size_t row);
  // The automatic-tick toggle over duplicateArray (bAutoSelect).
  void AutoSelectDuplicationBookAction();
  // The sheet's Cancel: stops a search still running, closes the sheet, empties the label.
  void CancleFindDupAction();
  // The Safari-only search on the main thread: safariBookMarkArray, whatever the
  // view, grouped by the exact address; the result is shown as a search's is.
  void FindSafariDupBookMarkAction();

  // Ok while the results were found in the lists the session holds now; after
  // a re-read (another command, a sort) their nodes match nothing, and the
  // removal must refuse with kResultsOutdatedMessage.
  Result<void> ResultsStillCurrent(HealthResults which) const;
  // Shows kResultsOutdatedMessage as a sheet and returns true when the results are outdated.
  bool RefuseOutdatedResults(HealthResults which);

  // Waits until both workers have ended; only where their main-thread calls run
  // inline (the command line). False when the time ran out.
  bool WaitForWorkers(std::chrono::milliseconds timeout);

  ProbeSettings deadLinkProbeSettings;  // concurrency, per-host cap and time-out of the scan
  std::size_t deadLinksNotChecked = 0;  // bookmarks the last scan skipped: not web addresses
  std::uint32_t dupBookmarkCount = 0;   // members of all groups of the last duplicate search
  bool bAutoSelect = false;

  // What the command line watches besides the view state; every call comes on the main thread.
  struct Observers {
    std::function<void(std::size_t probed, std::size_t total)> deadScanProgress;
    std::function<void(const NodePtr& node)> deadLinkFound;  // after it was appended to deadURLArray
    std::function<void()> deadScanFinished;
    std::function<void()> duplicatesFound;        // duplicateArray holds the new groups
    std::function<void()> duplicateTicksChanged;  // the automatic ticks changed members' bSelect
  } observers;

 private:
  void ShowDeadScanProgress(std::size_t probed, std::size_t total);

  BookmarkSession& session_;
  bool deadScanRunning_ = false;
  bool duplicateSearchRunning_ = false;
  std::uint64_t deadScanGeneration_ = 0;   // the lists' generation when the scan started
  std::uint64_t duplicateGeneration_ = 0;  // the same for the duplicate search
  // Declared last: cancelled first when the controller goes.
  WorkerHandle<DeadLinkScan> deadLinkScan_;
  WorkerHandle<DuplicateSearch> duplicateSearch_;
};

// "2,000": a count with a comma between groups of three digits.
std::string GroupedCount(std::size_t count);

}  // namespace linvara
