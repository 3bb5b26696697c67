#pragma once
// Hands work from worker threads to the GUI thread. RunAndWait queues the task
// on the GUI thread's event loop and blocks until it has run; on the GUI thread
// itself it runs the task directly. Close() ends the channel at quit: tasks no
// longer run and every worker still waiting is released, so a worker that is
// busy when the window closes can neither hang the exit nor touch the window.
#include <QObject>
#include <memory>

#include "platform/MainThread.h"

namespace linvara {

class QtMainThreadDispatcher : public MainThreadDispatcher {
 public:
  // Must be created on the GUI thread.
  QtMainThreadDispatcher();
  ~QtMainThreadDispatcher() override;
  QtMainThreadDispatcher(const QtMainThreadDispatcher&) = delete;
  QtMainThreadDispatcher& operator=(const QtMainThreadDispatcher&) = delete;

  void RunAndWait(std::function<void()> task) override;
  void Post(std::function<void()> task) override;

  void Close();
  bool closed() const;
  // Workers blocked in RunAndWait right now.
  int waiting() const;
  bool onGuiThread() const;

 private:
  struct Channel;
  std::shared_ptr<Channel> channel_;
  QObject* receiver_;
};

}  // namespace linvara
