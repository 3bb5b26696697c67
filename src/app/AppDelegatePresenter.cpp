// What the window reports to the controller about its tables and fields, and
// the view load every bookmark view ends with.
#include <algorithm>

#include "app/AppDelegate.h"
#include "app/Outlets.h"

namespace linvara {

void AppDelegate::ShowBookmarkRows(NodeList rows) {
  CancelPendingSearches();
  session_.UpdateView(viewsection::kArea | viewsection::kBookmarkTable | viewsection::kTexts, [&](ViewState& s) {
    s.area = ContentArea::Bookmarks;
    s.text(outlets::kBookmarkStatus).text.clear();
    session_.SetBookmarkTableContent(std::move(rows));
  });
}

void AppDelegate::SelectTableRows(TableId table, std::vector<std::size_t> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  const unsigned section = table == TableId::Bookmarks ? viewsection::kBookmarkTable : viewsection::kResultTables;
  session_.UpdateView(section, [&](ViewState& s) {
    NodeTableState* t = s.table(table);
    if (!t) return;
    // Rows past the end of the content cannot be selected.
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](std::size_t r) { return r >= t->content.size(); }),
               rows.end());
    t->selection = rows;
  });
  tableViewSelectionDidChange(table);
}

void AppDelegate::SetFieldText(const std::string& field, const std::string& text) {
  session_.UpdateView(viewsection::kTexts, [&](ViewState& s) { s.text(field).text = text; });
}

}  // namespace linvara
