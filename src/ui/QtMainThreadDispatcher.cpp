#include "ui/QtMainThreadDispatcher.h"

#include <QThread>
#include <condition_variable>
#include <mutex>

namespace linvara {

struct QtMainThreadDispatcher::Channel {
  mutable std::mutex mutex;
  std::condition_variable finished;
  bool closed = false;
  int waiting = 0;
};

namespace {
struct PendingCall {
  bool done = false;
};
}  // namespace

QtMainThreadDispatcher::QtMainThreadDispatcher()
    : channel_(std::make_shared<Channel>()), receiver_(new QObject) {}

QtMainThreadDispatcher::~QtMainThreadDispatcher() {
  Close();
  delete receiver_;  // queued calls not yet delivered are dropped with it
}

bool QtMainThreadDispatcher::onGuiThread() const { return QThread::currentThread() == receiver_->thread(); }

void QtMainThreadDispatcher::RunAndWait(std::function<void()> task) {
  if (!task) return;
  if (onGuiThread()) {
    if (!closed()) task();
    return;
  }
  auto channel = channel_;
  auto call = std::make_shared<PendingCall>();
  {
    std::lock_guard lock(channel->mutex);
    if (channel->closed) return;
    ++channel->waiting;
  }
  QMetaObject::invokeMethod(
      receiver_,
      [channel, call, task = std::move(task)] {
        {
          std::lock_guard lock(channel->mutex);
          if (channel->closed) return;
        }
        task();
        std::lock_guard lock(channel->mutex);
        call->done = true;
        channel->finished.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(channel->mutex);
  channel->finished.wait(lock, [&] { return call->done || channel->closed; });
  --channel->waiting;
}

void QtMainThreadDispatcher::Post(std::function<void()> task) {
  if (!task || closed()) return;
  auto channel = channel_;
  QMetaObject::invokeMethod(
      receiver_,
      [channel, task = std::move(task)] {
        {
          std::lock_guard lock(channel->mutex);
          if (channel->closed) return;
        }
        task();
      },
      Qt::QueuedConnection);
}

void QtMainThreadDispatcher::Close() {
  std::lock_guard lock(channel_->mutex);
  channel_->closed = true;
  channel_->finished.notify_all();
}

bool QtMainThreadDispatcher::closed() const {
  std::lock_guard lock(channel_->mutex);
  return channel_->closed;
}

int QtMainThreadDispatcher::waiting() const {
  std::lock_guard lock(channel_->mutex);
  return channel_->waiting;
}

}  // namespace linvara
