#pragma once
// What the benchmarks share: the generated home of 30,000 bookmarks per browser
// (Safari as a binary property list, Chrome, Edge and Opera JSON, Firefox
// places.sqlite; about 150,000 in all), the process's peak resident memory, and
// a main that ends with one summary line per benchmark:
//   BENCH <name> <figure> <unit> <peak resident MiB>
// The figure is the wall time per iteration, or a benchmark's "figure" counter
// with its label as the unit.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Locations.h"
#include "profile/BookmarkTree.h"
#include "profile/ChromiumBookmarksFile.h"
#include "profile/FirefoxPlaces.h"
#include "profile/SafariBookmarksFile.h"

namespace linvara::bench {

namespace fs = std::filesystem;

inline constexpr int kPerBrowser = 30000;
inline constexpr int kPerFolder = 100;

inline std::string Url(const std::string& browser, int i) {
  return "https://site" + std::to_string(i % 5000) + ".example.com/" + browser + "/page/" + std::to_string(i);
}

// `count` bookmarks in folders of kPerFolder, "<Label> bookmark <n>".
inline std::vector<profile::BookmarkEntry> Bookmarks(const std::string& browser, const std::string& label,
                                                     int count = kPerBrowser) {
  return profile::FoldersOfBookmarks(count, count / kPerFolder, [&](int folder, int index) {
    const int n = folder * kPerFolder + index;
    return profile::Leaf(label + " bookmark " + std::to_string(n), Url(browser, n));
  });
}

inline void MustWrite(const Result<void>& written) {
  if (!written) throw std::runtime_error("cannot write the generated home: " + written.error());
}

inline profile::PlacesDatabase FirefoxPlaces(int count) {
  auto places = profile::PlacesDatabase::Create();
  if (!places) throw std::runtime_error(places.error());
  profile::FirefoxBookmarks bookmarks;
  bookmarks.toolbar = Bookmarks("firefox", "Firefox", count);
  MustWrite(places->AddBookmarks(bookmarks));
  return std::move(*places);
}

// In a temporary folder removed at exit, or in $LINVARA_BENCH_HOME, made
// once and kept (for profiling a command on it).
struct GeneratedHome {
  fs::path dir;
  Locations loc;
  bool kept = std::getenv("LINVARA_BENCH_HOME") != nullptr;
  GeneratedHome()
      : dir(std::getenv("LINVARA_BENCH_HOME") ? fs::path(std::getenv("LINVARA_BENCH_HOME"))
                                              : fs::temp_directory_path() / ("linvara-bench-" + std::to_string(::getpid()))),
        loc(Locations::ForHome(dir, Layout::MacOS)) {
    if (kept && fs::exists(loc.safariBookmarks())) return;
    MustWrite(profile::WriteSafariBookmarks(loc.safariBookmarks(), Bookmarks("safari", "Safari")));
    for (const auto& [file, browser] : {std::pair(loc.chromeDefaultBookmarks(), "chrome"),
                                        std::pair(loc.edgeBookmarks(), "edge"), std::pair(loc.operaBookmarks(), "opera")})
      MustWrite(profile::WriteChromiumBookmarks(file, profile::ChromiumRoots(Bookmarks(browser, browser))));
    auto places = profile::WriteFirefoxProfile(loc, "bench.default", FirefoxPlaces(kPerBrowser));
    if (!places) throw std::runtime_error(places.error());
  }
  ~GeneratedHome() {
    std::error_code ec;
    if (!kept) fs::remove_all(dir, ec);
  }
};

// One generated home for every benchmark of the run.
inline const GeneratedHome& Home() {
  static GeneratedHome home;
  return home;
}

// A field of /proc/self/status in MiB ("VmHWM:" peak resident, "VmRSS:" resident now).
inline double StatusMiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(field.size())) / 1024.0;
  return 0;
}
// Peak resident memory (VmHWM) in MiB; ResetPeak starts a new measurement.
inline double PeakResidentMiB() { return StatusMiB("VmHWM:"); }
inline double ResidentMiB() { return StatusMiB("VmRSS:"); }
inline void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
// Gives the memory freed so far back to the system, so that a measurement
// after it starts from what the process really holds.
inline void ReturnFreedMemory() { ::malloc_trim(0); }

// The console report, then the summary lines once every benchmark has run.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  // Without colour codes, so that every summary line starts with "BENCH".
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const auto figure = run.counters.find("figure");
      const auto peak = run.counters.find("peak_rss_MiB");
      char line[512];
      std::snprintf(line, sizeof line, "BENCH %s %.4g %s %.1f", run.benchmark_name().c_str(),
                    figure != run.counters.end() ? figure->second.value : run.GetAdjustedRealTime(),
                    figure != run.counters.end() ? run.report_label.c_str() : benchmark::GetTimeUnitString(run.time_unit),
                    peak != run.counters.end() ? peak->second.value : PeakResidentMiB());
      lines_.emplace_back(line);
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const std::string& line : lines_) std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }

 private:
  std::vector<std::string> lines_;
};

}  // namespace linvara::bench

#define LINVARA_BENCHMARK_MAIN()                                          \
  int main(int argc, char** argv) {                                       \
    benchmark::Initialize(&argc, argv);                                   \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;     \
    linvara::bench::SummaryReporter reporter;                             \
    benchmark::RunSpecifiedBenchmarks(&reporter);                         \
    benchmark::Shutdown();                                                \
    return 0;                                                             \
  }
