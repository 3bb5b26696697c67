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

TEST(QtMainThreadDispatcher, WorkerCallRunsOnTheGuiThreadAndWaits) {
  QApplication& app = EnsureQtApp();
  QtMainThreadDispatcher dispatcher;
  std::atomic<bool> ranOnGui{false};
  std::atomic<bool> returned{false};
  int value = 0;
  std::thread worker([&] {
    dispatcher.RunAndWait([&] {
      ranOnGui = QThread::currentThread() == app.thread();
      value = 42;
    });
    returned = true;
  });
  ASSERT_TRUE(WaitUntil([&] { return returned.load(); }, 5000));
  worker.join();
  EXPECT_TRUE(ranOnGui);
  EXPECT_EQ(value, 42);  // visible to the worker once RunAndWait returned
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
  std::atomic<bool> ran{false};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    dispatcher.RunAndWait([&] { ran = true; });
    returned = true;
  });
  // The GUI thread does not pump: the worker waits.
  ASSERT_TRUE(WaitUntil([&] { return dispatcher.waiting() == 1; }, 5000) || dispatcher.waiting() == 1);
  dispatcher.Close();
  const auto start = std::chrono::steady_clock::now();
  worker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(returned);
  Settle(20);  // the queued task, delivered now, must not run
  EXPECT_FALSE(ran);
  // After closing, calls return at once.
  dispatcher.RunAndWait([&] { ran = true; });
  EXPECT_FALSE(ran);
}

TEST(LinvaraAppQuit, AWorkerBlockedAtQuitIsReleased) {
  GuiHome h;
  h.Start();
  QtMainThreadDispatcher& dispatcher = h.app->dispatcher();
  std::atomic<bool> returned{false};
  std::atomic<bool> ran{false};
  std::thread worker([&] {
    dispatcher.RunAndWait([&] { ran = true; });
    returned = true;
  });
  while (dispatcher.waiting() == 0) std::this_thread::yield();
  EXPECT_TRUE(h.app->WorkersRunning());  // the process would keep the controller alive
  h.window().close();
  h.app->Shutdown();
  worker.join();
  EXPECT_TRUE(returned);
  EXPECT_FALSE(ran);
  EXPECT_FALSE(h.app->WorkersRunning());
}

}  // namespace
}  // namespace linvara::testing
