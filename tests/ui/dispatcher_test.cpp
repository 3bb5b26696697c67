// Hand-over from workers to the GUI thread, and what happens at quit.
#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <thread>

#include "UiTestSupport.h"
#include "ui/MainWindow.h"
#include "ui/QtMainThreadDispatcher.h"

namespace linvara::testing {
namespace {

// A worker thread calling RunAndWait on `dispatcher`: where its task ran, and
// whether it had run by the time the call returned.
struct Worker {
  std::atomic<bool> ran{false}, ranOnGui{false}, ranBeforeReturn{false}, returned{false};
  std::thread thread;
  explicit Worker(QtMainThreadDispatcher& dispatcher)
      : thread([this, &dispatcher] {
          dispatcher.RunAndWait([this] {
            ranOnGui = QThread::currentThread() == QCoreApplication::instance()->thread();
            ran = true;
          });
          ranBeforeReturn = ran.load();
          returned = true;
        }) {}
};

// RunAndWait runs the task on the GUI thread before it returns, from a worker or
// from the GUI thread itself; Post queues it.
TEST(QtMainThreadDispatcher, RunAndWaitRunsOnTheGuiThreadBeforeReturning) {
  EnsureQtApp();
  QtMainThreadDispatcher dispatcher;
  Worker worker(dispatcher);
  ASSERT_TRUE(WaitUntil([&] { return worker.returned.load(); }, 5000));
  worker.thread.join();
  EXPECT_TRUE(worker.ranOnGui);
  EXPECT_TRUE(worker.ranBeforeReturn);
  bool ran = false, posted = false;
  dispatcher.RunAndWait([&] { ran = true; });
  EXPECT_TRUE(ran);
  dispatcher.Post([&] { posted = true; });
  EXPECT_FALSE(posted);  // queued, not run inline
  EXPECT_TRUE(WaitUntil([&] { return posted; }, 2000));
}

TEST(LinvaraAppQuit, AWorkerBlockedAtQuitIsReleased) {
  GuiHome h;
  h.Start();
  QtMainThreadDispatcher& dispatcher = h.app->dispatcher();
  Worker worker(dispatcher);
  while (dispatcher.waiting() == 0) std::this_thread::yield();
  EXPECT_TRUE(h.app->WorkersRunning());  // the process would keep the controller alive
  h.window().close();
  h.app->Shutdown();
  worker.thread.join();
  EXPECT_TRUE(worker.returned);
  Settle(20);  // the queued task, delivered now, must not run
  EXPECT_FALSE(worker.ran);
  EXPECT_FALSE(h.app->WorkersRunning());
  // After quitting, calls return at once without running.
  bool ran = false;
  dispatcher.RunAndWait([&] { ran = true; });
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace linvara::testing
