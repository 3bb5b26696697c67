// Hand-over from workers to the GUI thread, and what happens at quit.
#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <chrono>
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

TEST(QtMainThreadDispatcher, WorkerCallRunsOnTheGuiThreadAndWaits) {
  EnsureQtApp();
  QtMainThreadDispatcher dispatcher;
  Worker worker(dispatcher);
  ASSERT_TRUE(WaitUntil([&] { return worker.returned.load(); }, 5000));
  worker.thread.join();
  EXPECT_TRUE(worker.ranOnGui);
  EXPECT_TRUE(worker.ranBeforeReturn);
}

TEST(QtMainThreadDispatcher, GuiThreadCallRunsAtOnce) {
  EnsureQtApp();
  QtMainThreadDispatcher dispatcher;
  bool ran = false;
  dispatcher.RunAndWait([&] { ran = true; });
  EXPECT_TRUE(ran);
  bool posted = false;
  dispatcher.Post([&] { posted = true; });
  EXPECT_FALSE(posted);  // queued, not run inline
  EXPECT_TRUE(WaitUntil([&] { return posted; }, 2000));
}

TEST(QtMainThreadDispatcher, CloseReleasesAWaitingWorkerWithoutRunningItsTask) {
  EnsureQtApp();
  QtMainThreadDispatcher dispatcher;
  Worker worker(dispatcher);
  // The GUI thread does not pump: the worker waits.
  ASSERT_TRUE(WaitUntil([&] { return dispatcher.waiting() == 1; }, 5000) || dispatcher.waiting() == 1);
  dispatcher.Close();
  const auto start = std::chrono::steady_clock::now();
  worker.thread.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(worker.returned);
  Settle(20);  // the queued task, delivered now, must not run
  EXPECT_FALSE(worker.ran);
  // After closing, calls return at once.
  bool ran = false;
  dispatcher.RunAndWait([&] { ran = true; });
  EXPECT_FALSE(ran);
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
  EXPECT_FALSE(worker.ran);
  EXPECT_FALSE(h.app->WorkersRunning());
}

}  // namespace
}  // namespace linvara::testing
