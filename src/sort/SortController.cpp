#include "sort/SortController.h"

#include "app/Outlets.h"
#include "edit/ChromeTreeRebuild.h"
#include "edit/EditTexts.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/TreeCommit.h"

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

Result<void> SortController::SortTree(TreeFormat format, const BookmarkOrder& order, bool selectedOnly) {
  if (!selectedOnly) return SortAndWriteTree(format, order, nullptr);
  return SortTreeSelection(format, order, session_.viewState().bookmarkTable.selectedNodes());
}

Result<void> SortController::SortTreeSelection(TreeFormat format, const BookmarkOrder& order, NodeList selected) {
  if (selected.empty()) return Fail("no row is selected");
  session_.lists().partialSortSelection = std::move(selected);
  const NodeSelection selection = MakeSelection(session_.lists().partialSortSelection);
  return SortAndWriteTree(format, order, &selection);
}

Result<void> SortController::SortAndWriteTree(TreeFormat format, const BookmarkOrder& order,
                                              const NodeSelection* selection) {
  BookmarkLists& lists = session_.lists();
  const bool safari = format == TreeFormat::Safari;
  if (session_.bookMarkType != (safari ? ViewKind::Safari : ViewKind::Chrome))
    return Fail(safari ? "not the Safari view" : "not the Chrome view");
  const TreeSortOrder siblings{order, selection};
  Result<void> written = safari ? CommitSafariTree(session_, SafariChildrenOfWholeTree(lists, siblings), writeChunk)
                                : CommitChromeTree(session_, ChromeRootsOfWholeTree(lists, siblings), writeChunk);
  if (!written) {
    session_.ShowMessage(edittexts::WorkingCopyWriteFailed(written.error()), true);
    return written;
  }

  // The flat list read back: Safari sorts it by the full order; Chrome by the
  // form the top level used, whose selection holds the nodes before the read
  // back, so after a selection sort it keeps the order just read.
  NodeList& topLevel = safari ? lists.safariFatherArray : lists.ChromeFatherArray;
  NodeList& flat = safari ? lists.safariBookMarkArray : lists.chromebookMarkArray;
  const NodeSelection* flatSelection = safari ? nullptr : selection;
  const ButtonState* listMode = session_.viewState().findButton(outlets::kFolderListViewBtn);
  const bool folderMode = listMode && listMode->image == images::kFolderListDown;
  session_.UpdateView(viewsection::kBookmarkTable | viewsection::kButtons, [&](ViewState&) {
    if (folderMode) session_.SetBookmarkTableContent(topLevel);
    flat = SortNodes(flat, order, flatSelection);
    if (!folderMode) session_.SetBookmarkTableContent(flat);
    session_.SetBackButtonHome();
  });
  return {};
}

}  // namespace linvara
