// The bookmark table and the result tables: rows, double-click, selection
// changes and opening the selected bookmarks.
#include "app/AppDelegate.h"
#include "app/Outlets.h"

namespace linvara {

namespace {

const NodeTableState* TableOf(const ViewState& s, TableId table) {
  switch (table) {
    case TableId::Bookmarks: return &s.bookmarkTable;
    case TableId::LeftDup: return &s.leftDupTable;
    case TableId::RightDup: return &s.rightDupTable;
    case TableId::DeadUrl: return &s.deadUrlTable;
    case TableId::Other: return nullptr;
  }
  return nullptr;
}

NodePtr NodeAt(const NodeTableState* t, std::size_t row) {
  return t && row < t->content.size() ? t->content[row] : nullptr;
}

}  // namespace

std::size_t AppDelegate::numberOfRowsInTableView(TableId table) const {
  const NodeTableState* t = TableOf(viewState(), table);
  return t ? t->content.size() : 0;
}

BookmarkRow AppDelegate::BookmarkRowAt(std::size_t row) const {
  return MakeBookmarkRow(NodeAt(&viewState().bookmarkTable, row));
}

ResultRow AppDelegate::ResultRowAt(TableId table, std::size_t row) const {
  const NodePtr node = NodeAt(TableOf(viewState(), table), row);
  switch (table) {
    case TableId::LeftDup: return MakeDuplicateGroupRow(node);
    case TableId::RightDup: return MakeDuplicateMemberRow(node, bookMarkType);
    case TableId::DeadUrl: return MakeDeadLinkRow(node);
    default: return {};
  }
}

void AppDelegate::CheckTheFileAction(TableId table, std::size_t row) {
  const NodePtr node = NodeAt(TableOf(viewState(), table), row);
  if (!node) return;
  node->setBSelect(!node->bSelect());
  UpdateView(viewsection::kResultTables, [](ViewState&) {});
}

void AppDelegate::DoubleClickTableViewBookMarkAction() {
  const NodePtr node = viewState().bookmarkTable.selectedNode();
  if (!node) return;
  if (FolderPtr folder = AsFolder(node)) {
    // Descend into the folder; the rows shown so far are kept for the way back.
    lists().LastLeveArray = viewState().bookmarkTable.content;
    UpdateView(viewsection::kBookmarkTable | viewsection::kButtons, [&](ViewState& s) {
      if (bookMarkType >= 1 && bookMarkType <= 3) {
        CancelPendingSearches();
        NodeListPtr children = folder->childrenArray();
        SetBookmarkTableContent(children ? *children : NodeList{});
      }
      s.button(outlets::kBackBookMarkBtn) = ButtonState{images::kBack, 25.0, 23.0, false};
    });
    return;
  }
  EditSelectedBookMarkAction();
}

void AppDelegate::tableViewSelectionDidChange(TableId table) {
  if (table == TableId::LeftDup) {
    const NodePtr group = viewState().leftDupTable.selectedNode();
    FolderPtr folder = AsFolderOrRoot(group);
    if (!folder) return;
    NodeListPtr members = folder->childrenArray();
    UpdateView(viewsection::kResultTables, [&](ViewState& s) {
      s.rightDupTable.content = members ? *members : NodeList{};
      s.rightDupTable.selection.clear();
      ++s.rightDupTable.reloads;
    });
    return;
  }
  if (table != TableId::Bookmarks) return;
  const NodePtr node = viewState().bookmarkTable.selectedNode();
  if (!node || !node->isLeaf()) return;
  const bool encrypted = node->bEncrytedBookmark();
  UpdateView(viewsection::kMenus, [&](ViewState& s) {
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
    const AddressOpenDecision decision = DecideAddressOpen(url, locations().dataFolder());
    if (decision.allowed)
      platform().OpenUrl(url);
    else
      refused += (refused.empty() ? "" : "\n") + url + ": " + decision.refusal;
  }
  if (refused.empty()) return;
  AlertSpec alert;
  alert.message = "Only web pages (http and https) and the pages of encrypted bookmarks are opened.";
  alert.informativeText = "Not opened:\n" + refused;
  screen().ShowAlert(alert, [](AlertResponse) {});
}

}  // namespace linvara
