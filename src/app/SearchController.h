#pragma once
// The live search of `thesearchField`: one worker per text change over a
// snapshot of the view's flat list, taken on the main thread, so a view load
// can never change the list under a running search. The table takes the
// results of the latest text only (SearchWorkers' generations).
#include <cstdint>
#include <string>

#include "app/BookmarkSession.h"
#include "app/SearchWorkers.h"

namespace linvara {

class SearchController {
 public:
  explicit SearchController(BookmarkSession& session) : session_(session) {}

  // The field's new text: an empty text shows the view's rows again.
  void controlTextDidChange(const std::string& text);
  void StartSearchThread(const std::string& text);
  // Main-thread end of a search; results of a superseded search are dropped.
  void initFilterViewThreadHandle(const NodeList& matches, std::uint64_t generation);
  // A view load or a cleared field: running searches deliver nothing.
  void CancelPendingSearches();
  // A new view starts without a search in flight.
  void ResetSearchState();

  std::uint64_t searchGeneration() const { return workers_.current(); }
  int searchWorkersRunning() const { return workers_.running(); }

  bool bSearchStop = false;
  bool bSearchThreadStart = false;

 private:
  BookmarkSession& session_;
  SearchWorkers workers_;
};

}  // namespace linvara
