#pragma once
// How workers hand results to the main thread. The window provides a
// dispatcher that runs a task on the GUI thread and waits for it; tests and the
// command line use the ones below.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace linvara {

class MainThreadDispatcher {
 public:
  virtual ~MainThreadDispatcher() = default;
  // Runs the task on the main thread and returns when it has run.
  virtual void RunAndWait(std::function<void()> task) = 0;
  // Queues the task for the main thread and returns at once.
  virtual void Post(std::function<void()> task) = 0;
};

// Runs every task at once on the calling thread, serialised by a lock
// (the command line, where there is no event loop).
class InlineDispatcher : public MainThreadDispatcher {
 public:
  void RunAndWait(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    task();
  }
  void Post(std::function<void()> task) override { RunAndWait(std::move(task)); }

 private:
  std::recursive_mutex mutex_;
};

// A queue the test's "main thread" pumps: workers block in RunAndWait until the
// test calls Pump / PumpUntil.
class QueuedDispatcher : public MainThreadDispatcher {
 public:
  void RunAndWait(std::function<void()> task) override;
  void Post(std::function<void()> task) override;
  // Runs every queued task; returns how many ran.
  int Pump();
  // Pumps until the predicate holds or the timeout (milliseconds) passes; true when it holds.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

 private:
  struct Item {
    std::function<void()> task;
    bool* finished = nullptr;
  };
  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable ran_;
  std::deque<Item> items_;
};

}  // namespace linvara
