#pragma once
// The unreachable-link scan: probes the leaves of a snapshot of a node list on
// a worker thread (folders and roots are never probed) and hands the
// unreachable leaves to the main thread in list order, in batches (the ones
// whose verdicts came in together), waiting for each hand-over, then reports the end. Leaves whose scheme the prober does not probe
// (bookmarklets, "place:" queries, ...) are no findings: the scan skips them
// and its end reports how many. Progress (probed of total) is posted as it changes.
#include <cstddef>
#include <functional>
#include <memory>

#include "health/LinkProber.h"
#include "health/Worker.h"
#include "model/PRBookMarkNode.h"
#include "platform/MainThread.h"

namespace linvara {

class DeadLinkScan : public WorkerLifetime, public std::enable_shared_from_this<DeadLinkScan> {
 public:
  struct Handlers {
    std::function<void(const NodeList& nodes)> found;                      // main thread, waited for
    std::function<void(std::size_t notChecked)> finished;                 // main thread, waited for
    std::function<void(std::size_t probed, std::size_t total)> progress;  // main thread, posted
  };

  // Starts the scan of `snapshot` on a new detached thread.
  static std::shared_ptr<DeadLinkScan> Start(NodeList snapshot, ProbeSettings settings,
                                             std::shared_ptr<MainThreadDispatcher> dispatcher, Handlers handlers);

  // Stops the probes promptly; nothing is reported after it returns on the main thread.
  void Cancel() override;

  // What a scan of `list` probes and how many leaves it skips.
  struct Targets {
    NodeList probed;             // the leaves probed, in list order
    std::size_t notChecked = 0;  // leaves skipped for their scheme
  };
  static Targets ScanTargets(const NodeList& list);

 private:
  DeadLinkScan(ProbeSettings settings, std::shared_ptr<MainThreadDispatcher> dispatcher, Handlers handlers);
  void Body(const NodeList& snapshot);
  void ReportProgress(std::size_t probed, std::size_t total);
  void HandOverFindings(NodeList& pending);

  LinkProber prober_;
  std::shared_ptr<MainThreadDispatcher> dispatcher_;
  Handlers handlers_;
  std::mutex progressMutex_;
  std::size_t latestProbed_ = 0;
  std::size_t latestTotal_ = 0;
  bool progressQueued_ = false;
};

}  // namespace linvara
