#include "sort/SortController.h"

#include "app/Outlets.h"

namespace linvara {

void SortController::ShowRows(NodeList rows) {
  // A reload keeps the selected row numbers, as a table reload does.
  session_.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) {
    s.bookmarkTable.content = std::move(rows);
    ++s.bookmarkTable.reloads;
  });
}

bool SortController::SortAllRows(const BookmarkOrder& order) {
  if (session_.bookMarkType != ViewKind::All) return false;
  NodeList sorted = SortNodes(session_.viewState().bookmarkTable.content, order);
  session_.lists().allbookMarkArray = sorted;
  ShowRows(std::move(sorted));
  return true;
}

bool SortController::SortSelectedRows(const BookmarkOrder& order) {
  if (session_.bookMarkType != ViewKind::All) return false;
  const ViewState& view = session_.viewState();
  NodeList selected = view.bookmarkTable.selectedNodes();
  if (selected.empty()) return false;
  session_.lists().partialSortSelection = std::move(selected);
  const NodeSelection selection = MakeSelection(session_.lists().partialSortSelection);
  NodeList sorted = SortNodes(view.bookmarkTable.content, order, &selection);
  session_.lists().allbookMarkArray = sorted;
  ShowRows(std::move(sorted));
  return true;
}

bool SortController::SortTree(TreeFormat format, const BookmarkOrder& order, bool selectedOnly,
                              const TreeWriteBack& writeBack) {
  BookmarkLists& lists = session_.lists();
  const bool safari = format == TreeFormat::Safari;
  NodeList& topLevel = safari ? lists.safariFatherArray : lists.ChromeFatherArray;
  NodeList& flat = safari ? lists.safariBookMarkArray : lists.chromebookMarkArray;

  std::optional<NodeSelection> selection;
  if (selectedOnly) {
    NodeList selected = session_.viewState().bookmarkTable.selectedNodes();
    if (selected.empty()) return false;
    lists.partialSortSelection = std::move(selected);
    selection = MakeSelection(lists.partialSortSelection);
  }

  SortedTree sorted = SortBookmarkTree(topLevel, format, order, selection ? &*selection : nullptr);
  topLevel = sorted.topLevel;
  session_.SetBookmarkTableContent(topLevel);
  if (writeBack) writeBack(sorted);

  // The flat list read back: Safari sorts it by the full order; Chrome by the
  // form the top level used, whose selection holds the nodes before the read
  // back, so after a selection sort it keeps the order just read.
  const NodeSelection* flatSelection = !safari && selection ? &*selection : nullptr;
  const ButtonState* listMode = session_.viewState().findButton(outlets::kFolderListViewBtn);
  const bool folderMode = listMode && listMode->image == images::kFolderListDown;
  session_.UpdateView(viewsection::kBookmarkTable | viewsection::kButtons, [&](ViewState&) {
    if (folderMode) session_.SetBookmarkTableContent(topLevel);
    flat = SortNodes(flat, order, flatSelection);
    if (!folderMode) session_.SetBookmarkTableContent(flat);
    session_.SetBackButtonHome();
  });
  return true;
}

}  // namespace linvara
