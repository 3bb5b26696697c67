#include "platform/MainThread.h"

#include <chrono>

namespace linvara {

void QueuedDispatcher::RunAndWait(std::function<void()> task) {
  bool finished = false;
  std::unique_lock lock(mutex_);
  items_.push_back({std::move(task), &finished});
  queued_.notify_all();
  ran_.wait(lock, [&] { return finished; });
}

void QueuedDispatcher::Post(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  items_.push_back({std::move(task), nullptr});
  queued_.notify_all();
}

int QueuedDispatcher::Pump() {
  int count = 0;
  for (;;) {
    Item item;
    {
      std::lock_guard lock(mutex_);
      if (items_.empty()) return count;
      item = std::move(items_.front());
      items_.pop_front();
    }
    item.task();
    ++count;
    if (item.finished) {
      std::lock_guard lock(mutex_);
      *item.finished = true;
      ran_.notify_all();
    }
  }
}

bool QueuedDispatcher::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    Pump();
    if (done()) return true;
    std::unique_lock lock(mutex_);
    if (std::chrono::steady_clock::now() >= deadline) return done();
    queued_.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)),
                       [&] { return !items_.empty(); });
  }
}

}  // namespace linvara
