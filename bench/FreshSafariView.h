#pragma once
// Times one command on the Safari view of a generated home, read afresh from
// Safari's own file before each iteration; the read and the release of the
// nodes stay outside the timed part.
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

#include "app/BookmarkSession.h"
#include "readers/BookmarkReadController.h"

namespace linvara {

// `command(session)` returns a Result<void>; a failure ends the benchmark with its message.
template <class Command>
void TimeOnFreshSafariView(benchmark::State& state, const Locations& loc, Command&& command) {
  std::unique_ptr<BookmarkSession> session;
  for (auto _ : state) {
    state.PauseTiming();
    AppServices services;
    services.locations = loc;
    session = std::make_unique<BookmarkSession>(std::move(services));
    session->bookMarkType = ViewKind::Safari;
    BookmarkReadController(*session).ReadSafariBookMark(loc.safariBookmarks());
    state.ResumeTiming();
    auto done = command(*session);
    if (!done) state.SkipWithError(done.error().c_str());
    benchmark::DoNotOptimize(session->lists().safariBookMarkArray.size());
    state.PauseTiming();
    session.reset();
    state.ResumeTiming();
  }
}

}  // namespace linvara
