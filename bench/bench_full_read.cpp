// Full read of all browsers on a generated home: 30,000 bookmarks per browser
// (Safari as a binary property list, Chrome, Edge and Opera JSON, Firefox
// places.sqlite), about 150,000 in all. Reports the time of one full read and
// the peak resident memory of the process while reading.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "app/AppDelegate.h"
#include "app/ScriptedScreen.h"
#include "model/FileBytes.h"
#include "model/Json.h"
#include "model/PropertyList.h"
#include "profile/ChromiumBookmarksFile.h"
#include "profile/FirefoxPlaces.h"
#include "profile/SafariBookmarksFile.h"
#include "readers/ChromiumReader.h"
#include "readers/FirefoxReader.h"
#include "readers/SafariReader.h"

namespace fs = std::filesystem;
using namespace linvara;

namespace {

constexpr int kPerBrowser = 30000;
constexpr int kPerFolder = 100;

std::string Url(const std::string& browser, int i) {
  return "https://site" + std::to_string(i % 5000) + ".example.com/" + browser + "/page/" + std::to_string(i);
}

// `count` bookmarks in folders of kPerFolder, "<Browser> bookmark <n>".
std::vector<profile::BookmarkEntry> Bookmarks(const std::string& browser, const std::string& label,
                                              int count = kPerBrowser) {
  return profile::FoldersOfBookmarks(count, count / kPerFolder, [&](int folder, int index) {
    const int n = folder * kPerFolder + index;
    return profile::Leaf(label + " bookmark " + std::to_string(n), Url(browser, n));
  });
}

void MustWrite(const Result<void>& written) {
  if (!written) throw std::runtime_error("cannot write the generated home: " + written.error());
}

profile::PlacesDatabase FirefoxPlaces(int count) {
  auto places = profile::PlacesDatabase::Create();
  if (!places) throw std::runtime_error(places.error());
  profile::FirefoxBookmarks bookmarks;
  bookmarks.toolbar = Bookmarks("firefox", "Firefox", count);
  MustWrite(places->AddBookmarks(bookmarks));
  return std::move(*places);
}

struct GeneratedHome {
  fs::path dir;
  Locations loc;
  GeneratedHome()
      : dir(fs::temp_directory_path() / ("linvara-bench-" + std::to_string(::getpid()))),
        loc(Locations::ForHome(dir, Layout::MacOS)) {
    MustWrite(profile::WriteSafariBookmarks(loc.safariBookmarks(), Bookmarks("safari", "Safari")));
    for (const auto& [file, browser] : {std::pair(loc.chromeDefaultBookmarks(), "chrome"),
                                        std::pair(loc.edgeBookmarks(), "edge"), std::pair(loc.operaBookmarks(), "opera")})
      MustWrite(profile::WriteChromiumBookmarks(file, profile::ChromiumRoots(Bookmarks(browser, browser))));
    auto places = profile::WriteFirefoxProfile(loc, "bench.default", FirefoxPlaces(kPerBrowser));
    if (!places) throw std::runtime_error(places.error());
  }
  ~GeneratedHome() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

// One generated home for every benchmark of the run.
const GeneratedHome& Home() {
  static GeneratedHome home;
  return home;
}

// Peak resident memory (VmHWM) in MiB; ResetPeak starts a new measurement.
double PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_FullReadOfAllBrowsers(benchmark::State& state) {
  const GeneratedHome& home = Home();
  AppServices services;
  services.locations = home.loc;
  services.preferences = std::make_shared<Preferences>();
  services.platform = std::make_shared<FakePlatformServices>();
  services.dispatcher = std::make_shared<InlineDispatcher>();
  services.screen = std::make_shared<ScriptedScreen>();
  AppDelegate app(std::move(services));
  ResetPeak();
  const double before = PeakResidentMiB();
  for (auto _ : state) {
    app.EmptyListsForFullRead();
    app.ActClickOpenCookiesAction();
    benchmark::DoNotOptimize(app.lists().allbookMarkArray.size());
  }
  state.counters["bookmarks"] = static_cast<double>(app.lists().allbookMarkArray.size());
  state.counters["peak_rss_MiB"] = PeakResidentMiB();
  state.counters["rss_before_MiB"] = before;
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

BENCHMARK_MAIN();
