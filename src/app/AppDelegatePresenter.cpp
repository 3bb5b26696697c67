// The controller's view state: the few operations every command uses to show
// its result.
#include <algorithm>

#include "app/AppDelegate.h"
#include "app/Outlets.h"

namespace linvara {

void AppDelegate::UpdateView(unsigned sections, const std::function<void(ViewState&)>& change) {
  view_.Update(sections, [&](ViewState& s) {
    change(s);
    s.bookMarkType = bookMarkType;
  });
}

void AppDelegate::ShowBookmarkRows(NodeList rows) {
  CancelPendingSearches();
  UpdateView(viewsection::kArea | viewsection::kBookmarkTable, [&](ViewState& s) {
    s.area = ContentArea::Bookmarks;
    SetBookmarkTableContent(std::move(rows));
  });
}

void AppDelegate::SetBookmarkTableContent(NodeList rows) {
  UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) {
    s.bookmarkTable.content = std::move(rows);
    s.bookmarkTable.selection.clear();
    ++s.bookmarkTable.reloads;
  });
}

void AppDelegate::ShowContentArea(ContentArea area) {
  UpdateView(viewsection::kArea, [&](ViewState& s) { s.area = area; });
}

void AppDelegate::SetBackButtonHome() {
  UpdateView(viewsection::kButtons, [](ViewState& s) {
    s.button(outlets::kBackBookMarkBtn) = ButtonState{images::kHome, 27.0, 27.0, false};
  });
}

bool AppDelegate::BackButtonShowsHome() const {
  const ButtonState* back = viewState().findButton(outlets::kBackBookMarkBtn);
  return back && back->image == images::kHome;
}

void AppDelegate::SelectTableRows(TableId table, std::vector<std::size_t> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  const unsigned section = table == TableId::Bookmarks ? viewsection::kBookmarkTable : viewsection::kResultTables;
  UpdateView(section, [&](ViewState& s) {
    NodeTableState* t = nullptr;
    switch (table) {
      case TableId::Bookmarks: t = &s.bookmarkTable; break;
      case TableId::LeftDup: t = &s.leftDupTable; break;
      case TableId::RightDup: t = &s.rightDupTable; break;
      case TableId::DeadUrl: t = &s.deadUrlTable; break;
      case TableId::Other: return;
    }
    // Rows past the end of the content cannot be selected.
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](std::size_t r) { return r >= t->content.size(); }),
               rows.end());
    t->selection = rows;
  });
  tableViewSelectionDidChange(table);
}

void AppDelegate::SetFieldText(const std::string& field, const std::string& text) {
  UpdateView(viewsection::kTexts, [&](ViewState& s) { s.text(field).text = text; });
}

}  // namespace linvara
