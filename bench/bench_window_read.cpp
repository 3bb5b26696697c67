// The window during a full read of the generated home (BenchSupport.h): a
// timer that should fire every few milliseconds records the longest gap
// between two of its ticks while the window reads about 150,000 bookmarks and
// shows them. The figure is that gap: the longest the event loop was blocked.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "BenchSupport.h"
#include "platform/Preferences.h"
#include "ui/LinvaraApp.h"

using namespace linvara;
using namespace linvara::bench;

namespace {

QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "bench_window_read";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

void BM_WindowFullRead(benchmark::State& state) {
  QtApp();
  const GeneratedHome& home = Home();
  auto prefs = std::make_shared<Preferences>();
  (void)prefs->set(prefkeys::kFirstStart, Value("NO"));
  (void)prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true));
  AppServices services;
  services.locations = home.loc;
  services.preferences = prefs;
  services.platform = std::make_shared<FakePlatformServices>();
  LinvaraApp app(services);
  app.Launch(true);
  ResetPeak();

  double longestGapMs = 0, firstReadGapMs = -1;
  std::size_t rows = 0;
  for (auto _ : state) {
    QElapsedTimer sinceTick;
    double gapMs = 0;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      gapMs = std::max(gapMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
      sinceTick.restart();
    });
    bool done = false;
    QTimer::singleShot(20, [&] {
      app.controller().EmptyListsForFullRead();
      app.controller().ActClickOpenCookiesAction();
      QTimer::singleShot(50, [&] { done = true; });
    });
    sinceTick.start();
    ticker.start();
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ticker.stop();
    longestGapMs = std::max(longestGapMs, gapMs);
    if (firstReadGapMs < 0) firstReadGapMs = gapMs;  // nothing to release before the first read
    rows = app.controller().lists().allbookMarkArray.size();
  }
  app.Shutdown();
  state.counters["bookmarks"] = static_cast<double>(rows);
  state.counters["figure"] = longestGapMs;
  state.counters["first_read_gap_ms"] = firstReadGapMs;
  state.counters["peak_rss_MiB"] = PeakResidentMiB();
  state.SetLabel("ms");
}
BENCHMARK(BM_WindowFullRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

LINVARA_BENCHMARK_MAIN()
