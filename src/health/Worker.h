#pragma once
// Lifetime of a link-health worker thread. The thread is detached and keeps
// its own state alive; the owner can cancel it (tasks it queued for the main
// thread then do nothing) and, where nothing else waits on the main thread,
// wait for it to end.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace linvara {

class WorkerLifetime {
 public:
  virtual ~WorkerLifetime() = default;

  // After Cancel returns on the main thread, the worker reports nothing more.
  virtual void Cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_.load(); }

  // True once the worker thread has finished all its work.
  bool stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
  }
  // Waits for the worker thread to end; false when the time ran out first.
  // Only call it where the worker's main-thread tasks can still run (an inline
  // dispatcher, or a thread other than the one pumping the queue).
  bool WaitUntilStopped(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return stoppedChanged_.wait_for(lock, timeout, [&] { return stopped_; });
  }

 protected:
  void MarkStopped() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    stoppedChanged_.notify_all();
  }

 private:
  std::atomic<bool> cancelled_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable stoppedChanged_;
  bool stopped_ = false;
};

// Owns a worker for the controller: cancels it when replaced or destroyed, so
// no task the worker queued reaches an object that has gone.
template <class W>
class WorkerHandle {
 public:
  WorkerHandle() = default;
  ~WorkerHandle() { reset(); }
  WorkerHandle(const WorkerHandle&) = delete;
  WorkerHandle& operator=(const WorkerHandle&) = delete;

  void reset(std::shared_ptr<W> worker = nullptr) {
    if (worker_) worker_->Cancel();
    worker_ = std::move(worker);
  }
  W* get() const { return worker_.get(); }
  explicit operator bool() const { return worker_ != nullptr; }
  W* operator->() const { return worker_.get(); }

 private:
  std::shared_ptr<W> worker_;
};

}  // namespace linvara
