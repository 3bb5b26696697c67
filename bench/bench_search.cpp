// The table's search on the generated home (BenchSupport.h): a search worker
// over the snapshot of the unified flat list (about 150,000 rows), from the
// start of the worker to the matches handed to the main thread, for typical
// three-letter texts and for text that matches nothing.
#include <future>

#include "BenchSupport.h"
#include "app/BookmarkSession.h"
#include "app/SearchWorkers.h"
#include "readers/BookmarkReadController.h"

using namespace linvara;
using namespace linvara::bench;

namespace {

// The home read once, as the full read fills the lists.
BookmarkSession& LoadedSession() {
  static BookmarkSession* session = [] {
    AppServices services;
    services.locations = Home().loc;
    services.preferences = std::make_shared<Preferences>();
    services.platform = std::make_shared<FakePlatformServices>();
    services.dispatcher = std::make_shared<InlineDispatcher>();
    auto* loaded = new BookmarkSession(std::move(services));
    loaded->bookMarkType = ViewKind::All;
    BookmarkReadController reads(*loaded);
    reads.ReadAllBrowsers();
    return loaded;
  }();
  return *session;
}

void SearchFor(benchmark::State& state, const std::string& text) {
  BookmarkSession& session = LoadedSession();
  SearchWorkers workers;
  std::size_t found = 0;
  for (auto _ : state) {
    std::promise<std::size_t> delivered;
    workers.Start(session.sharedDispatcher(), session.lists().allbookMarkArray, text,
                  [&](const NodeList& matches, std::uint64_t) { delivered.set_value(matches.size()); });
    found = delivered.get_future().get();
  }
  state.counters["rows"] = static_cast<double>(session.lists().allbookMarkArray.size());
  state.counters["matches"] = static_cast<double>(found);
}

void BM_SearchThreeLetters(benchmark::State& state) { SearchFor(state, "ark"); }
void BM_SearchCapitals(benchmark::State& state) { SearchFor(state, "EDG"); }
void BM_SearchNoMatch(benchmark::State& state) { SearchFor(state, "qzx"); }
BENCHMARK(BM_SearchThreeLetters)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchCapitals)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchNoMatch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

LINVARA_BENCHMARK_MAIN()
