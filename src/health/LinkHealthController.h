#pragma once
// The unreachable-link scan and the duplicate search of the current view:
// both run on workers over a snapshot of the view's flat list and hand their
// results to the main thread, where they fill the result lists and the
// result tables of the view state.
#include <chrono>
#include <cstdint>
#include <functional>

#include "app/BookmarkSession.h"
#include "health/DeadLinkScan.h"
#include "health/DuplicateGroups.h"

namespace linvara {

class LinkHealthController {
 public:
  explicit LinkHealthController(BookmarkSession& session) : session_(session) {}
  LinkHealthController(const LinkHealthController&) = delete;
  LinkHealthController& operator=(const LinkHealthController&) = delete;

  // The list both searches work on: the current view's flat list.
  NodeList LinkHealthSnapshot() const { return session_.FlatList(); }

  // ---- Unreachable links ----
  // Answers "No unreachable bookmark links detected" once unreachable links have
  // been removed (bCleanDeadBook) and returns false; otherwise starts the scan.
  bool FindAllDeadURLBookMarksAction();
  // Empties deadURLArray and starts ScanDeadURlThread on the view's list; a scan still running is stopped.
  void StartScanDeadURlThread();
  // One finding on the main thread: marks it unreachable and ticked, appends it to deadURLArray.
  void FindDeadBookMarkOnMainThread(const NodePtr& node);
  void FindDeadBookMarkFishOnMainThread();
  // Stops a running scan promptly; it reports nothing more.
  void CancelDeadURLScan();
  bool deadURLScanRunning() const { return deadScanRunning_; }

  // ---- Duplicates ----
  // Answers "No Duplicate bookmark links detected" after a removal in the unified
  // view (bRemoveAllDupBookmark) and returns false; otherwise starts the search.
  bool FindAllDuplicateBookMarksAction();
  void StartFindAllDuplicateBookMarkThread();
  // The hand-over of the groups: duplicateArray and dupBookmarkCount.
  void FindAllDuplicateBookMarkOnMainThread(DuplicateGroups result);
  bool duplicateSearchRunning() const { return duplicateSearchRunning_; }
  // The automatic-tick toggle over duplicateArray (bAutoSelect).
  void AutoSelectDuplicationBookAction();

  // The view was let go (back to the start screen).
  void ViewClosed() { bRemoveAllDupBookmark = false; }
  // Waits until both workers have ended; only where their main-thread calls run
  // inline (the command line). False when the time ran out.
  bool WaitForWorkers(std::chrono::milliseconds timeout);

  ProbeSettings deadLinkProbeSettings;  // concurrency, per-host cap and time-out of the scan
  std::size_t deadLinksNotChecked = 0;  // bookmarks the last scan skipped: not web addresses
  std::uint32_t dupBookmarkCount = 0;   // members of all groups of the last duplicate search
  bool bAutoSelect = false;
  bool bRemoveAllDupBookmark = false;
  bool bCheckDupBook = false;
  bool bCleanDeadBook = false;

  // What the command line watches besides the view state; every call comes on the main thread.
  struct Observers {
    std::function<void(std::size_t probed, std::size_t total)> deadScanProgress;
    std::function<void(const NodePtr& node)> deadLinkFound;  // after it was appended to deadURLArray
    std::function<void()> deadScanFinished;
    std::function<void()> duplicatesFound;        // duplicateArray holds the new groups
    std::function<void()> duplicateTicksChanged;  // the automatic ticks changed members' bSelect
  } observers;

 private:
  BookmarkSession& session_;
  bool deadScanRunning_ = false;
  bool duplicateSearchRunning_ = false;
  // Declared last: cancelled first when the controller goes.
  WorkerHandle<DeadLinkScan> deadLinkScan_;
  WorkerHandle<DuplicateSearch> duplicateSearch_;
};

}  // namespace linvara
