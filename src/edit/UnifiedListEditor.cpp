#include "edit/UnifiedListEditor.h"

#include <algorithm>
#include <array>

#include "app/Actions.h"
#include "app/Outlets.h"

namespace linvara {

namespace {

constexpr const char* kFolderSelectedMessage = "Select one or more bookmarks instead of the bookmarks folder to delete.";
constexpr const char* kRemoveQuestion = "Are you sure you want to remove the bookmark from the list ?";
constexpr const char* kListFolderTag = "Folder";

// The browsers a removal reads again, each with the addresses to leave out.
struct RemoveList {
  const char* browser;
  NodeList nodes;
};

}  // namespace

UnifiedListEditor::UnifiedListEditor(BookmarkSession& session, BookmarkReadController& reads)
    : session_(session), reads_(reads) {
  showRows = [this](NodeList rows) {
    session_.UpdateView(viewsection::kArea | viewsection::kBookmarkTable, [&](ViewState& s) {
      s.area = ContentArea::Bookmarks;
      session_.SetBookmarkTableContent(std::move(rows));
    });
  };
}

FolderPtr UnifiedListEditor::MakeListFolder(const std::string& title) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle(title);
  folder->setBookMarkUUID(kListFolderTag);
  folder->setUrlString(std::string());
  folder->setBookMarkFrom(kListFolderTag);
  folder->setBookMarkType(kListFolderTag);
  folder->setChildrenArray(std::make_shared<NodeList>());
  return folder;
}

// ---- Remove from the list ----

void UnifiedListEditor::RemoveSelectedBookMarkAction() {
  if (!InUnifiedView()) return;
  const NodeTableState& table = session_.viewState().bookmarkTable;
  if (table.selection.empty()) return;
  const NodePtr selected = table.selectedNode();
  if (selected && selected->isFolder()) {
    AlertSpec alert;
    alert.message = kFolderSelectedMessage;
    alert.defaultButton = " OK ";
    session_.screen().ShowAlert(alert, [](AlertResponse) {});
    return;
  }
  AlertSpec question;
  question.message = kRemoveQuestion;
  question.defaultButton = " Remove ";
  question.alternateButton = "Cancel";
  session_.screen().ShowAlert(question, [this, rows = table.content, selection = table.selection](AlertResponse a) {
    if (a.button == AlertButton::Default) RemoveAndReread(rows, selection);
  });
}

void UnifiedListEditor::RemoveAndReread(const NodeList& rows, const std::vector<std::size_t>& selection) {
  NodeList removed;
  for (std::size_t row : selection)
    if (row < rows.size()) removed.push_back(rows[row]);
  RereadWithout(removed);
}

void UnifiedListEditor::RereadWithout(const NodeList& removed) {
  std::array<RemoveList, 5> remove{{{"Safari", {}}, {"Chrome", {}}, {"Opera", {}}, {"Microsoft Edge", {}}, {"Firefox", {}}}};
  for (const NodePtr& node : removed) {
    if (!node) continue;
    const OptString from = node->bookMarkFrom();
    for (RemoveList& list : remove)
      if (from && *from == list.browser) list.nodes.push_back(node);
  }

  BookmarkLists& l = session_.lists();
  for (NodeList* list : {&l.allbookMarkArray, &l.safariFatherArray, &l.safariBookMarkArray, &l.ChromeFatherArray,
                         &l.chromebookMarkArray, &l.edgeFatherArray, &l.edgebookMarkArray, &l.FireFoxFatherArray,
                         &l.FireFoxBookMarkArray, &l.OperaFatherArray})
    list->clear();

  // Safari from its own file, the one the unified view was read from.
  const Locations& loc = session_.locations();
  reads_.ReadSafariBookMark(loc.safariBookmarks(), &remove[0].nodes);
  reads_.ReadChromeBookMark(loc.ChooseChromeBookmarks(), &remove[1].nodes);
  reads_.ReadOperaBookMark(&remove[2].nodes);
  reads_.ReadEdgeBookMark(&remove[3].nodes);
  reads_.ReadFirefoxBookMark(&remove[4].nodes);
  showRows(session_.UnifiedTopLevel());
}

// ---- New folder ----

void UnifiedListEditor::AddNewBookMarkFolder() {
  if (!InUnifiedView()) return;
  session_.screen().ShowWindow(outlets::kNewFolderWindow, true);
}

void UnifiedListEditor::NewBookMarkCancel() { session_.screen().CloseWindow(outlets::kNewFolderWindow); }

void UnifiedListEditor::NewFolderSave() {
  session_.screen().CloseWindow(outlets::kNewFolderWindow);
  if (!InUnifiedView()) return;
  const TextState* typed = session_.viewState().findText(outlets::kNewFolderlab);
  const FolderPtr folder = MakeListFolder(typed ? typed->text : std::string());

  NodeList rows = session_.viewState().bookmarkTable.content;
  rows.insert(rows.begin(), folder);
  BookmarkLists& l = session_.lists();
  l.allbookMarkArray.insert(l.allbookMarkArray.begin(), folder);
  l.folderArray.push_back(folder);
  showRows(std::move(rows));
  RebuildMoveFolderMenu();
}

void UnifiedListEditor::RebuildMoveFolderMenu() {
  session_.UpdateView(viewsection::kMenus, [&](ViewState& s) {
    MenuItemModel* item = s.findMenuItem(outlets::kMoveFolderMenuItem);
    if (!item) return;
    item->submenu.clear();
    for (const NodePtr& folder : session_.lists().folderArray) {
      MenuItemModel entry;
      entry.title = folder ? folder->thetitle().value_or("") : "";
      entry.action = actions::kMoveToFolder;
      item->submenu.push_back(std::move(entry));
    }
    item->enabled = !item->submenu.empty();
  });
}

// ---- Move into a folder ----

void UnifiedListEditor::ActMoveToFolderAction(const std::string& folderTitle) {
  if (!InUnifiedView()) return;
  BookmarkLists& l = session_.lists();
  const auto named = std::find_if(l.folderArray.begin(), l.folderArray.end(),
                                  [&](const NodePtr& f) { return f && f->thetitle() == folderTitle; });
  const FolderPtr target = AsFolder(named != l.folderArray.end() ? *named
                                    : l.folderArray.empty()      ? nullptr
                                                                 : l.folderArray.front());
  if (!target) return;

  const NodeTableState& table = session_.viewState().bookmarkTable;
  NodeList kept;
  for (std::size_t row = 0; row < table.content.size(); ++row) {
    const NodePtr& node = table.content[row];
    const bool selected = std::binary_search(table.selection.begin(), table.selection.end(), row);
    if (!selected) kept.push_back(node);
    else if (node && node->isLeaf()) target->appendChild(node);
  }
  // The target takes the place of the first made folder in the rows: they all share one identifier.
  const auto first = std::find_if(kept.begin(), kept.end(), [&](const NodePtr& n) {
    return n && n->isFolder() && n->bookMarkUUID() == target->bookMarkUUID();
  });
  if (first != kept.end()) *first = target;

  l.allbookMarkArray = kept;
  showRows(std::move(kept));
}

}  // namespace linvara
