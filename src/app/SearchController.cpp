#include "app/SearchController.h"

#include "app/Outlets.h"

namespace linvara {

void SearchController::CancelPendingSearches() { workers_.Cancel(); }

void SearchController::ResetSearchState() {
  bSearchStop = false;
  bSearchThreadStart = false;
}

void SearchController::controlTextDidChange(const std::string& text) {
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

void SearchController::StartSearchThread(const std::string& text) {
  // A search still running is superseded by this one.
  if (bSearchThreadStart) bSearchStop = true;
  session_.lists().fliterSearchArray.clear();
  workers_.Start(session_.sharedDispatcher(), session_.FlatList(), text,
                 [this](const NodeList& matches, std::uint64_t generation) {
                   initFilterViewThreadHandle(matches, generation);
                 });
}

void SearchController::initFilterViewThreadHandle(const NodeList& matches, std::uint64_t generation) {
  if (generation != workers_.current()) return;  // an older text: its rows would be wrong
  session_.lists().fliterSearchArray = matches;
  // No match shows an empty table that says so, never the whole list.
  session_.UpdateView(viewsection::kBookmarkTable | viewsection::kTexts, [&](ViewState& s) {
    s.text(outlets::kBookmarkStatus).text = matches.empty() ? "No matches" : "";
    session_.SetBookmarkTableContent(matches);
  });
  bSearchThreadStart = true;
  bSearchStop = false;
}

}  // namespace linvara
