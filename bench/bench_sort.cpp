// Sorting the unified list of 150,000 bookmarks (five browsers of 30,000) by
// name and by host through the unified view's sort commands, and the
// in-memory part of a whole-tree sort of a 30,000-bookmark tree.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "app/BookmarkSession.h"
#include "sort/SortController.h"
#include "sort/TreeSort.h"

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

// A Safari tree of 300 folders of 100 bookmarks: the records of a whole-tree
// name sort, folders first (no file written).
void BM_SortTreeRecords(benchmark::State& state) {
  static const NodeList topLevel = [] {
    std::mt19937 random(7);
    NodeList top;
    for (int f = 0; f < kPerBrowser / kPerFolder; ++f) {
      FolderPtr folder = PRFaBookMarkNode::Create();
      folder->setThetitle("Folder " + std::to_string(random() % 1000));
      folder->setItemDict(Dictionary::make());
      for (int i = 0; i < kPerFolder; ++i) folder->appendChild(MakeBookmark(random, "Safari", f * kPerFolder + i));
      top.push_back(folder);
    }
    return top;
  }();
  for (auto _ : state)
    benchmark::DoNotOptimize(SortBookmarkTree(topLevel, TreeFormat::Safari, {SortKey::Name, true}).records->size());
}
BENCHMARK(BM_SortTreeRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
