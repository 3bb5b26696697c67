// Full read of all browsers on the generated home (BenchSupport.h), about
// 150,000 bookmarks. Reports the time of one full read and the peak resident
// memory of a full read; then each reader and codec alone.
#include "BenchSupport.h"
#include "app/AppDelegate.h"
#include "app/ScriptedScreen.h"
#include "model/FileBytes.h"
#include "model/Json.h"
#include "model/PropertyList.h"
#include "readers/ChromiumReader.h"
#include "readers/FirefoxReader.h"
#include "readers/SafariReader.h"

using namespace linvara;
using namespace linvara::bench;

namespace {

// Memory: peak_rss_MiB is the peak resident size of the process over its
// first full read, started with the home generated and the memory that took
// given back (rss_before_MiB is the resident size then): what a user's process
// holds once it has read every browser. peak_rereads_MiB is the peak over the
// timed reads that follow, each of which still holds the previous read until
// the new one replaces it in the table.
// Time: each timed iteration empties the lists and reads again, as a click on
// the unified view does.
void BM_FullReadOfAllBrowsers(benchmark::State& state) {
  const GeneratedHome& home = Home();
  AppServices services;
  services.locations = home.loc;
  services.preferences = std::make_shared<Preferences>();
  services.platform = std::make_shared<FakePlatformServices>();
  services.dispatcher = std::make_shared<InlineDispatcher>();
  services.screen = std::make_shared<ScriptedScreen>();
  AppDelegate app(std::move(services));
  ReturnFreedMemory();
  const double before = ResidentMiB();
  ResetPeak();
  app.EmptyListsForFullRead();
  app.ActClickOpenCookiesAction();
  const double firstRead = PeakResidentMiB();
  ResetPeak();
  for (auto _ : state) {
    app.EmptyListsForFullRead();
    app.ActClickOpenCookiesAction();
    benchmark::DoNotOptimize(app.lists().allbookMarkArray.size());
  }
  state.counters["bookmarks"] = static_cast<double>(app.lists().allbookMarkArray.size());
  state.counters["peak_rss_MiB"] = firstRead;
  state.counters["rss_before_MiB"] = before;
  state.counters["peak_rereads_MiB"] = PeakResidentMiB();
}
BENCHMARK(BM_FullReadOfAllBrowsers)->Unit(benchmark::kMillisecond)->Iterations(5);

// Each browser's reader alone, 30,000 bookmarks.
template <class ReadFn>
void ReadOneBrowser(benchmark::State& state, ReadFn read) {
  const GeneratedHome& home = Home();
  for (auto _ : state) {
    BookmarkLists lists;
    ReaderContext ctx{lists, 1, home.loc.encryptedMarkers()};
    read(ctx, home.loc);
    benchmark::DoNotOptimize(lists.allbookMarkArray.size());
  }
}
void BM_ReadSafari(benchmark::State& state) {
  ReadOneBrowser(state, [](ReaderContext& ctx, const Locations& loc) { (void)SafariReader(ctx).ReadSafariBookMark(loc.safariBookmarks()); });
}
void BM_ReadChrome(benchmark::State& state) {
  ReadOneBrowser(state, [](ReaderContext& ctx, const Locations& loc) { (void)ChromiumReader(ctx).ReadChromeBookMark(loc.chromeDefaultBookmarks()); });
}
void BM_ReadFirefox(benchmark::State& state) {
  ReadOneBrowser(state, [](ReaderContext& ctx, const Locations& loc) {
    (void)FirefoxReader(ctx).ReadFirefoxBookMark({loc.firefoxProfilesFolder(), loc.ChooseFirefoxPlaces()});
  });
}
// The codecs alone, for comparison with the readers.
void BM_ParseChromeJson(benchmark::State& state) {
  const GeneratedHome& home = Home();
  const std::string bytes = ReadFileBytes(home.loc.chromeDefaultBookmarks()).value();
  for (auto _ : state) benchmark::DoNotOptimize(ParseJson(bytes).ok());
}
void BM_ParseSafariPlist(benchmark::State& state) {
  const GeneratedHome& home = Home();
  const std::string bytes = ReadFileBytes(home.loc.safariBookmarks()).value();
  for (auto _ : state) benchmark::DoNotOptimize(ParsePropertyList(bytes).ok());
}
BENCHMARK(BM_ParseChromeJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSafariPlist)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSafari)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadChrome)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFirefox)->Unit(benchmark::kMillisecond);

// 200,000 Firefox rows: the tree is linked through maps, so this is about
// seven times the 30,000-row read, not fifty.
void BM_ReadFirefox200k(benchmark::State& state) {
  static const fs::path profiles = Home().dir / "large" / "Profiles";
  static const bool made = (MustWrite(FirefoxPlaces(200000).Save(profiles / "big.default" / "places.sqlite")), true);
  (void)made;
  for (auto _ : state) {
    BookmarkLists lists;
    ReaderContext ctx{lists, 1, {}};
    (void)FirefoxReader(ctx).ReadFirefoxBookMark({profiles, profiles / "big.default" / "places.sqlite"});
    benchmark::DoNotOptimize(lists.allbookMarkArray.size());
  }
}
BENCHMARK(BM_ReadFirefox200k)->Unit(benchmark::kMillisecond);

}  // namespace

LINVARA_BENCHMARK_MAIN()
