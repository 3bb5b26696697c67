#include "app/BookmarkSession.h"

#include "app/Outlets.h"

namespace linvara {

BookmarkSession::BookmarkSession(AppServices services) : services_(std::move(services)) {
  if (!services_.preferences) services_.preferences = std::make_shared<Preferences>();
  if (!services_.platform) services_.platform = std::make_shared<HostPlatformServices>(services_.locations);
  if (!services_.dispatcher) services_.dispatcher = std::make_shared<InlineDispatcher>();
  if (!services_.notifications) services_.notifications = std::make_shared<NotificationCenter>();
  if (!services_.screen) services_.screen = std::make_shared<DefaultAnswerScreen>();
}

void BookmarkSession::UpdateView(unsigned sections, const std::function<void(ViewState&)>& change) {
  view_.Update(sections, [&](ViewState& s) {
    change(s);
    s.bookMarkType = bookMarkType;
  });
}

void BookmarkSession::SetBookmarkTableContent(NodeList rows) { SetResultTableContent(TableId::Bookmarks, std::move(rows)); }

void BookmarkSession::SetResultTableContent(TableId table, NodeList rows) {
  const unsigned section = table == TableId::Bookmarks ? viewsection::kBookmarkTable : viewsection::kResultTables;
  UpdateView(section, [&](ViewState& s) {
    NodeTableState* t = s.table(table);
    if (!t) return;
    t->content = std::move(rows);
    t->selection.clear();
    ++t->reloads;
  });
}

void BookmarkSession::ShowContentArea(ContentArea area) {
  UpdateView(viewsection::kArea, [&](ViewState& s) { s.area = area; });
}

void BookmarkSession::SetBackButtonHome() {
  UpdateView(viewsection::kButtons, [](ViewState& s) {
    s.button(outlets::kBackBookMarkBtn) = ButtonState{images::kHome, 27.0, 27.0, false};
  });
}

bool BookmarkSession::BackButtonShowsHome() const {
  const ButtonState* back = viewState().findButton(outlets::kBackBookMarkBtn);
  return back && back->image == images::kHome;
}

void BookmarkSession::ShowMessage(const std::string& message, bool asSheet, const std::string& informativeText) {
  AlertSpec alert;
  alert.message = message;
  alert.defaultButton = " Ok ";
  alert.informativeText = informativeText;
  alert.asSheet = asSheet;
  screen().ShowAlert(alert, [](AlertResponse) {});
}

NodeList BookmarkSession::TopLevel() const {
  switch (bookMarkType) {
    case ViewKind::All: return UnifiedTopLevel();
    case ViewKind::Safari: return lists_.safariFatherArray;
    case ViewKind::Chrome: return lists_.ChromeFatherArray;
    case ViewKind::None: break;
  }
  return {};
}

NodeList BookmarkSession::FlatList() const {
  switch (bookMarkType) {
    case ViewKind::All: return lists_.allbookMarkArray;
    case ViewKind::Safari: return lists_.safariBookMarkArray;
    case ViewKind::Chrome: return lists_.chromebookMarkArray;
    case ViewKind::None: break;
  }
  return {};
}

NodeList BookmarkSession::SearchDefaultContent() const {
  return bookMarkType == ViewKind::All ? lists_.allbookMarkArray : TopLevel();
}

NodeList BookmarkSession::UnifiedTopLevel() const {
  NodeList rows;
  for (const NodeList* list : {&lists_.safariFatherArray, &lists_.ChromeFatherArray, &lists_.edgeFatherArray,
                               &lists_.FireFoxFatherArray, &lists_.OperaFatherArray})
    rows.insert(rows.end(), list->begin(), list->end());
  return rows;
}

ViewMenuNames BookmarkSession::MenusOf(ViewKind view) {
  using namespace outlets;
  switch (view) {
    case ViewKind::All: return {kAllBookmarkRightmenu, kSortBookmarkMenu, kBookmarktableMenu};
    case ViewKind::Safari: return {kSafariRightmenu, kSortSafariBookMarkMenu, kSafariBookmarkToolMenu};
    case ViewKind::Chrome: return {kChromeRightmenu, kSortChromeBookMarkMenu, kChromeBookmarkToolMenu};
    case ViewKind::None: break;
  }
  return {"", "", ""};
}

void BookmarkSession::EmptyLists(ListGroup group) {
  NoteListsReread();
  BookmarkLists& l = lists_;
  for (NodeList* list : {&l.allbookMarkArray, &l.safariFatherArray, &l.safariBookMarkArray, &l.ChromeFatherArray,
                         &l.chromebookMarkArray})
    list->clear();
  if (group != ListGroup::ViewLists)
    for (NodeList* list : {&l.edgeFatherArray, &l.edgebookMarkArray, &l.FireFoxFatherArray, &l.FireFoxBookMarkArray,
                           &l.OperaFatherArray})
      list->clear();
  if (group != ListGroup::Browsers)
    for (NodeList* list : {&l.fliterSearchArray, &l.duplicateArray, &l.deadURLArray, &l.folderArray}) list->clear();
}

}  // namespace linvara
