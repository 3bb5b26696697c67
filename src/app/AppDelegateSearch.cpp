// The live search of `thesearchField`: one worker per text change over a
// snapshot of the view's flat list, taken here on the main thread, so a view
// load can never change the list under a running search. The table takes the
// results of the latest text only (SearchWorkers' generations).
#include "app/AppDelegate.h"
#include "app/Outlets.h"

namespace linvara {

void AppDelegate::CancelPendingSearches() { searchWorkers_.Cancel(); }

std::uint64_t AppDelegate::searchGeneration() const { return searchWorkers_.current(); }

int AppDelegate::searchWorkersRunning() const { return searchWorkers_.running(); }

void AppDelegate::controlTextDidChange(const std::string& control, const std::string& text) {
  if (control != outlets::kSearchField) return;
  session_.UpdateView(viewsection::kTexts, [&](ViewState& s) { s.text(outlets::kSearchField).text = text; });
  if (text.empty()) {
    CancelPendingSearches();
    session_.UpdateView(viewsection::kBookmarkTable | viewsection::kTexts, [&](ViewState& s) {
      s.text(outlets::kBookmarkStatus).text.clear();
      session_.SetBookmarkTableContent(session_.SearchDefaultContent());
    });
    return;
  }
  StartSearchThread(text);
}

void AppDelegate::StartSearchThread(const std::string& text) {
  // A search still running is superseded by this one.
  if (bSearchThreadStart) bSearchStop = true;
  lists().fliterSearchArray.clear();
  searchWorkers_.Start(session_.sharedDispatcher(), session_.FlatList(), text,
                       [this](const NodeList& matches, std::uint64_t generation) {
                         initFilterViewThreadHandle(matches, generation);
                       });
}

void AppDelegate::initFilterViewThreadHandle(const NodeList& matches, std::uint64_t generation) {
  if (generation != searchWorkers_.current()) return;  // an older text: its rows would be wrong
  lists().fliterSearchArray = matches;
  // No match shows an empty table that says so, never the whole list.
  session_.UpdateView(viewsection::kBookmarkTable | viewsection::kTexts, [&](ViewState& s) {
    s.text(outlets::kBookmarkStatus).text = matches.empty() ? "No matches" : "";
    session_.SetBookmarkTableContent(matches);
  });
  bSearchThreadStart = true;
  bSearchStop = false;
}

}  // namespace linvara
