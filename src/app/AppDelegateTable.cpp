// The bookmark table and the result tables: rows, double-click, selection
// changes and opening the selected bookmarks.
#include "app/AppDelegate.h"
#include "app/Outlets.h"

namespace linvara {

namespace {

NodePtr NodeAt(const NodeTableState* t, std::size_t row) {
  return t && row < t->content.size() ? t->content[row] : nullptr;
}

}  // namespace

std::size_t AppDelegate::numberOfRowsInTableView(TableId table) const {
  const NodeTableState* t = viewState().table(table);
  return t ? t->content.size() : 0;
}

BookmarkRow AppDelegate::BookmarkRowAt(std::size_t row) const {
  return MakeBookmarkRow(NodeAt(&viewState().bookmarkTable, row));
}

ResultRow AppDelegate::ResultRowAt(TableId table, std::size_t row) const {
  const NodePtr node = NodeAt(viewState().table(table), row);
  switch (table) {
    case TableId::LeftDup: return MakeDuplicateGroupRow(node);
    case TableId::RightDup: return MakeDuplicateMemberRow(node, session_.bookMarkType);
    case TableId::DeadUrl: return MakeDeadLinkRow(node);
    default: return {};
  }
}

void AppDelegate::CheckTheFileAction(TableId table, std::size_t row) {
  const NodePtr node = NodeAt(viewState().table(table), row);
  if (!node) return;
  node->setBSelect(!node->bSelect());
  session_.UpdateView(viewsection::kResultTables, [](ViewState&) {});
}

void AppDelegate::DoubleClickTableViewBookMarkAction() {
  const NodePtr node = viewState().bookmarkTable.selectedNode();
  if (!node) return;
  if (FolderPtr folder = AsFolder(node)) {
    // Descend into the folder; the rows shown so far are kept for the way back.
    lists().LastLeveArray = viewState().bookmarkTable.content;
    session_.UpdateView(viewsection::kBookmarkTable | viewsection::kButtons, [&](ViewState& s) {
      if (IsBookmarkView(session_.bookMarkType)) {
        CancelPendingSearches();
        NodeListPtr children = folder->childrenArray();
        session_.SetBookmarkTableContent(children ? *children : NodeList{});
      }
      s.button(outlets::kBackBookMarkBtn) = ButtonState{images::kBack, 25.0, 23.0, false};
    });
    return;
  }
  EditSelectedBookMarkAction();
}

void AppDelegate::tableViewSelectionDidChange(TableId table) {
  if (table == TableId::LeftDup) {
    const std::vector<std::size_t>& chosen = viewState().leftDupTable.selection;
    if (!chosen.empty()) linkHealth_.ShowDuplicateGroupMembers(chosen.front());
    return;
  }
  if (table != TableId::Bookmarks) return;
  const NodePtr node = viewState().bookmarkTable.selectedNode();
  if (!node || !node->isLeaf()) return;
  const bool encrypted = node->bEncrytedBookmark();
  session_.UpdateView(viewsection::kMenus, [&](ViewState& s) {
    const auto setHidden = [&](const char* id, bool hidden) {
      if (MenuItemModel* item = s.findMenuItem(id)) item->hidden = hidden;
    };
    setHidden(outlets::kEncryptBookmarkMenuItem, encrypted);
    setHidden(outlets::kDecryptBookmarkMenuItem, !encrypted);
    setHidden(outlets::kEncryptSelectedBookmarkMenuItem, encrypted);
    setHidden(outlets::kDecryptSelectedBookmarkMenuItem, !encrypted);
  });
}

void AppDelegate::OpenSelectedBookmarksAction() {
  // Walk the rows in order: each selected bookmark whose address may be opened, once;
  // the refused ones are named in one alert.
  std::string refused;
  for (const NodePtr& node : viewState().bookmarkTable.selectedNodes()) {
    if (!node || !node->isLeaf()) continue;
    const std::string url = node->urlString().value_or("");
    const AddressOpenDecision decision = DecideAddressOpen(url, session_.locations().dataFolder());
    if (decision.allowed)
      session_.platform().OpenUrl(url);
    else
      refused += (refused.empty() ? "" : "\n") + url + ": " + decision.refusal;
  }
  if (refused.empty()) return;
  session_.ShowMessage("Only web pages (http and https) and the pages of encrypted bookmarks are opened.", false,
                       "Not opened:\n" + refused);
}

}  // namespace linvara
