// Sorting the unified list of 150,000 bookmarks (five browsers of 30,000) by
// name and by host through the unified view's sort commands, and a
// whole-tree sort of a 30,000-bookmark Safari tree with its write and read back.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "app/BookmarkSession.h"
#include "profile/SafariBookmarksFile.h"
#include "FreshSafariView.h"
#include "sort/SortController.h"

using namespace linvara;

namespace {

constexpr int kPerBrowser = 30000;
constexpr int kPerFolder = 100;
const char* const kBrowsers[] = {"Safari", "Chrome", "Microsoft Edge", "Firefox", "Opera"};
const char* const kWords[] = {"Apple", "banana", "Café", "delta", "Écho", "forum", "Guide", "hôtel", "index",
                              "(draft)", "journal", "kilo", "Lima", "métro", "news", "Óscar", "_private", "Zürich"};

NodePtr MakeBookmark(std::mt19937& random, const char* browser, int n) {
  NodePtr node = PRBookMarkNode::Create();
  const auto word = [&] { return std::string(kWords[random() % std::size(kWords)]); };
  node->setThetitle(word() + " " + word() + " " + std::to_string(n));
  const std::string host = "site" + std::to_string(random() % 5000) + (random() % 2 ? ".Example.com" : ".example.org");
  node->setUrlString((random() % 3 ? "https://" : "http://") + host + "/page/" + std::to_string(n));
  node->setBookMarkFrom(browser);
  DictPtr data = Dictionary::make();
  data->set("URLString", *node->urlString());
  node->setDataDict(data);
  return node;
}

// The unified flat list: every browser's bookmarks in reading order.
const NodeList& UnifiedList() {
  static const NodeList rows = [] {
    std::mt19937 random(42);
    NodeList list;
    for (const char* browser : kBrowsers)
      for (int i = 0; i < kPerBrowser; ++i) list.push_back(MakeBookmark(random, browser, i));
    return list;
  }();
  return rows;
}

void SortUnified(benchmark::State& state, bool (SortController::*command)()) {
  BookmarkSession session{AppServices{}};
  SortController sorting{session};
  session.bookMarkType = ViewKind::All;
  for (auto _ : state) {
    state.PauseTiming();
    session.SetBookmarkTableContent(UnifiedList());
    state.ResumeTiming();
    (sorting.*command)();
    benchmark::DoNotOptimize(session.lists().allbookMarkArray.data());
  }
  state.counters["rows"] = static_cast<double>(UnifiedList().size());
}

void BM_SortUnifiedByName(benchmark::State& state) { SortUnified(state, &SortController::SortAllBookMarkByName); }
void BM_SortUnifiedByHost(benchmark::State& state) { SortUnified(state, &SortController::SortAllBookMarkByHost); }
BENCHMARK(BM_SortUnifiedByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortUnifiedByHost)->Unit(benchmark::kMillisecond);

// A whole-tree name sort, folders first, of a Safari tree of 300 folders of
// 100 bookmarks: the sorted rebuild, the one-step write of the working copy,
// its read back and the sort of the flat list read. Each iteration starts
// from Safari's own file.
struct GeneratedSafariHome {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("linvara-bench-sort-" + std::to_string(::getpid()));
  Locations loc = Locations::ForHome(dir, Layout::MacOS);
  GeneratedSafariHome() {
    std::mt19937 random(7);
    const auto word = [&] { return std::string(kWords[random() % std::size(kWords)]); };
    auto bookmarks = profile::FoldersOfBookmarks(kPerBrowser, kPerBrowser / kPerFolder, [&](int folder, int index) {
      const int n = folder * kPerFolder + index;
      return profile::Leaf(word() + " " + word() + " " + std::to_string(n),
                           "https://site" + std::to_string(random() % 5000) + ".example.com/page/" + std::to_string(n));
    });
    auto written = profile::WriteSafariBookmarks(loc.safariBookmarks(), bookmarks);
    if (!written) throw std::runtime_error(written.error());
  }
  ~GeneratedSafariHome() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

void BM_SortSafariTreeWriteReadBack(benchmark::State& state) {
  static GeneratedSafariHome home;
  TimeOnFreshSafariView(state, home.loc, [](BookmarkSession& session) {
    return SortController(session).SortSafariBookMarkByNameFolderFirst();
  });
  state.counters["bookmarks"] = kPerBrowser;
}
BENCHMARK(BM_SortSafariTreeWriteReadBack)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
