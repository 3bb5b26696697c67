// The search field: the search controller does the work.
#include "app/AppDelegate.h"
#include "app/Outlets.h"

namespace linvara {

void AppDelegate::CancelPendingSearches() { search_.CancelPendingSearches(); }

std::uint64_t AppDelegate::searchGeneration() const { return search_.searchGeneration(); }

int AppDelegate::searchWorkersRunning() const { return search_.searchWorkersRunning(); }

void AppDelegate::controlTextDidChange(const std::string& control, const std::string& text) {
  if (control == outlets::kSearchField) search_.controlTextDidChange(text);
}

void AppDelegate::initFilterViewThreadHandle(const NodeList& matches, std::uint64_t generation) {
  search_.initFilterViewThreadHandle(matches, generation);
}

}  // namespace linvara
