#include "health/DeadLinkScan.h"

#include <system_error>
#include <thread>

namespace linvara {

DeadLinkScan::DeadLinkScan(ProbeSettings settings, std::shared_ptr<MainThreadDispatcher> dispatcher, Handlers handlers)
    : prober_(std::move(settings)), dispatcher_(std::move(dispatcher)), handlers_(std::move(handlers)) {}

std::shared_ptr<DeadLinkScan> DeadLinkScan::Start(NodeList snapshot, ProbeSettings settings,
                                                  std::shared_ptr<MainThreadDispatcher> dispatcher,
                                                  Handlers handlers) {
  std::shared_ptr<DeadLinkScan> scan(new DeadLinkScan(std::move(settings), std::move(dispatcher), std::move(handlers)));
  try {
    std::thread([scan, snapshot = std::move(snapshot)] { scan->Body(snapshot); }).detach();
  } catch (const std::system_error&) {
    scan->MarkStopped();  // no thread: nothing was probed and nothing will be reported
  }
  return scan;
}

void DeadLinkScan::Cancel() {
  WorkerLifetime::Cancel();
  prober_.Cancel();
}

DeadLinkScan::Targets DeadLinkScan::ScanTargets(const NodeList& list) {
  Targets targets;
  for (const NodePtr& node : list) {
    if (!node || !node->isLeaf()) continue;
    if (HasUnprobedScheme(node->urlString().value_or("")))
      ++targets.notChecked;
    else
      targets.probed.push_back(node);
  }
  return targets;
}

void DeadLinkScan::Body(const NodeList& snapshot) {
  const Targets targets = ScanTargets(snapshot);
  const NodeList& leaves = targets.probed;
  std::vector<std::string> addresses;
  addresses.reserve(leaves.size());
  for (const NodePtr& leaf : leaves) addresses.push_back(leaf->urlString().value_or(""));

  auto self = shared_from_this();
  NodeList pending;
  prober_.Run(
      addresses,
      [&](std::size_t index, const ProbeVerdict& verdict) {
        if (!verdict.reachable && !cancelled()) pending.push_back(leaves[index]);
      },
      // Progress comes after the verdicts that became ready with it: they go over as one batch.
      [&](std::size_t probed, std::size_t total) {
        HandOverFindings(pending);
        ReportProgress(probed, total);
      });
  HandOverFindings(pending);

  if (!cancelled()) {
    dispatcher_->RunAndWait([self, notChecked = targets.notChecked] {
      if (!self->cancelled() && self->handlers_.finished) self->handlers_.finished(notChecked);
    });
  }
  MarkStopped();
}

void DeadLinkScan::HandOverFindings(NodeList& pending) {
  if (pending.empty() || cancelled()) return;
  auto self = shared_from_this();
  dispatcher_->RunAndWait([self, nodes = std::move(pending)] {
    if (!self->cancelled() && self->handlers_.found) self->handlers_.found(nodes);
  });
  pending.clear();
}

void DeadLinkScan::ReportProgress(std::size_t probed, std::size_t total) {
  if (!handlers_.progress || cancelled()) return;
  {
    std::lock_guard lock(progressMutex_);
    latestProbed_ = probed;
    latestTotal_ = total;
    if (progressQueued_) return;  // the queued task will show the latest numbers
    progressQueued_ = true;
  }
  auto self = shared_from_this();
  dispatcher_->Post([self] {
    std::size_t probed = 0, total = 0;
    {
      std::lock_guard lock(self->progressMutex_);
      probed = self->latestProbed_;
      total = self->latestTotal_;
      self->progressQueued_ = false;
    }
    if (!self->cancelled()) self->handlers_.progress(probed, total);
  });
}

}  // namespace linvara
