#include "edit/EditController.h"

#include "app/Actions.h"
#include "app/Outlets.h"
#include "edit/ChromeTreeRebuild.h"
#include "edit/EditTexts.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/TreeCommit.h"

namespace linvara {
namespace {

bool LeftOutOfMoveMenu(const OptString& title) {
  return title && (*title == "History" || *title == "Favorites Bar" || *title == "BookmarksMenu" ||
                   *title == "com.apple.ReadingList");
}

NodeList BookmarksOnly(const NodeList& nodes) {
  NodeList out;
  for (const NodePtr& node : nodes)
    if (node && node->isLeaf()) out.push_back(node);
  return out;
}

}  // namespace

NodeList EditController::SelectedBookmarks() const {
  return BookmarksOnly(session_.viewState().bookmarkTable.selectedNodes());
}

Result<void> EditController::Commit(Result<void> written) {
  if (!written) session_.ShowMessage(edittexts::WorkingCopyWriteFailed(written.error()), true);
  return written;
}

Result<void> EditController::CommitSafari(const ArrayPtr& children) {
  return Commit(CommitSafariTree(session_, children, writeChunk));
}

// ---- Delete ----

Result<void> EditController::DeleteSafariBookMarkAction() {
  if (session_.bookMarkType != ViewKind::Safari) return Fail("not the Safari view");
  return DeleteBookmarks(SelectedBookmarks());
}

Result<void> EditController::DeleteChromeBookMarkAction() {
  if (session_.bookMarkType != ViewKind::Chrome) return Fail("not the Chrome view");
  return DeleteBookmarks(SelectedBookmarks());
}

Result<void> EditController::DeleteBookmarks(const NodeList& nodes) {
  const NodeList removed = BookmarksOnly(nodes);
  const BookmarkLists& lists = session_.lists();
  const NodeList ancestors = AncestorsOf(removed, lists.rootNode);
  switch (session_.bookMarkType) {
    case ViewKind::Safari:
      return CommitSafari(removeManyBookMarkfromSafariBookMarkWithArray(lists, ancestors, removed));
    case ViewKind::Chrome:
      return Commit(CommitChromeTree(
          session_, removeManyBookMarkfromChromeBookMarkWithArray(lists, ancestors, removed), writeChunk));
    default:
      return Fail("deleting works in the Safari and Chrome views");
  }
}

// ---- Edit ----

bool EditController::EditSelectedBookMarkAction() {
  NodePtr node = session_.viewState().bookmarkTable.selectedNode();
  if (!node) return false;
  session_.UpdateView(viewsection::kTexts, [&](ViewState& s) {
    if (OptString title = node->thetitle()) s.text(outlets::kEditBookMarkNamelab).text = *title;
    if (OptString url = node->urlString())
      s.text(outlets::kEditBookMarkURLlab).text = node->bEncrytedBookmark() ? edittexts::kEncryptedAddressMask : *url;
  });
  session_.screen().ShowWindow(outlets::kEditBookMarkWindow, true);
  return true;
}

Result<void> EditController::EditSelectedBookMarkSave() {
  const ViewState& s = session_.viewState();
  const TextState* title = s.findText(outlets::kEditBookMarkNamelab);
  const TextState* address = s.findText(outlets::kEditBookMarkURLlab);
  NodePtr node = s.bookmarkTable.selectedNode();
  session_.screen().CloseWindow(outlets::kEditBookMarkWindow);
  return EditBookmark(node, title ? title->text : "", address ? address->text : "");
}

void EditController::EditSelectedBookMarkCancel() { session_.screen().CloseWindow(outlets::kEditBookMarkWindow); }

Result<void> EditController::EditBookmark(const NodePtr& node, const std::string& title, const std::string& address) {
  const OptString oldTitle = node ? node->thetitle() : std::nullopt;
  const OptString oldAddress = node ? node->urlString() : std::nullopt;
  if (node) {
    if (!title.empty()) node->setThetitle(title);
    // The mask stands for the stored address of an encrypted bookmark, never for a new one.
    const bool mask = node->bEncrytedBookmark() && address == edittexts::kEncryptedAddressMask;
    if (!address.empty() && !mask) node->setUrlString(address);
    session_.UpdateView(viewsection::kBookmarkTable, [](ViewState& v) { ++v.bookmarkTable.reloads; });
  }
  if (session_.bookMarkType != ViewKind::Safari) return {};
  NodeList edited;
  if (node) edited.push_back(node);
  const BookmarkLists& lists = session_.lists();
  Result<void> written =
      CommitSafari(EditManyBookMarkfromSafariBookMarkWithArray(lists, AncestorsOf(edited, lists.rootNode), edited));
  if (!written && node) {
    node->setThetitle(oldTitle);
    node->setUrlString(oldAddress);
  }
  return written;
}

// ---- Move ----

Result<void> EditController::MoveSelectedBookMarktoOtherFolderAction(const std::string& title) {
  if (session_.bookMarkType != ViewKind::Safari) return Fail("moving works in the Safari view");
  return MoveBookmarks(SelectedBookmarks(), title);
}

Result<void> EditController::MoveBookmarks(const NodeList& nodes, const std::string& title) {
  const BookmarkLists& lists = session_.lists();
  const NodeList moved = BookmarksOnly(nodes);
  FolderPtr target = getMovedBookFolderItemwithSelectMenuItemTitle(lists.safariFatherArray, title);
  if (!target) {
    // Nothing leaves its place: the working copy holds the tree as it is.
    Result<void> written = CommitSafari(removeManyBookMarkfromSafariBookMarkWithArray(lists, {}, {}));
    if (!written) return written;
    session_.ShowMessage(edittexts::kMoveTargetMissing, true);
    return Fail(edittexts::kMoveTargetMissing, ErrorKind::NotFound);
  }
  return CommitSafari(MovedSafariChildren(lists, moved, target));
}

void EditController::getTheChildArrayMenu(const NodePtr& folder, MenuItemModel& item) const {
  FolderPtr f = AsFolder(folder);
  if (!f) return;
  std::vector<MenuItemModel> submenu;
  for (const NodePtr& child : f->childrenSnapshot()) {
    if (!child || !child->isFolder()) continue;
    MenuItemModel entry;
    entry.title = child->thetitle().value_or("");
    entry.action = actions::kMoveToSafariFolder;
    getTheChildArrayMenu(child, entry);
    submenu.push_back(std::move(entry));
  }
  if (!submenu.empty()) item.submenu = std::move(submenu);
}

void EditController::BuildSafariMoveMenu() {
  std::vector<MenuItemModel> entries;
  for (const NodePtr& node : session_.lists().safariFatherArray) {
    if (!node || !node->isFolder() || LeftOutOfMoveMenu(node->thetitle())) continue;
    MenuItemModel entry;
    entry.title = node->thetitle().value_or("");
    entry.action = actions::kMoveToSafariFolder;
    getTheChildArrayMenu(node, entry);
    entries.push_back(std::move(entry));
  }
  session_.UpdateView(viewsection::kMenus, [&](ViewState& s) {
    if (MenuItemModel* item = s.findMenuItem(outlets::kMoveSafariFolderMenuItem)) {
      item->submenu = std::move(entries);
      item->enabled = true;
    }
  });
}

// ---- Browser files ----

void EditController::Replace(BrowserFile browser, Replacement what) {
  if (auto refusal = RunningBrowserRefusal(session_.platform(), browser, what)) {
    session_.ShowMessage(*refusal, true);
    return;
  }
  ReplaceOptions options;
  options.writeChunk = writeChunk;
  const Locations& loc = session_.locations();
  Result<std::filesystem::path> done =
      what == Replacement::Restore      ? RestoreBookMark(loc, browser, options)
      : browser == BrowserFile::Safari ? linvara::ReplaceSafariBookMark(loc, options)
                                       : linvara::ReplaceChromeBookMark(loc, options);
  // A missing source is silent; so is a restore that could not write, as it always was.
  if (!done && done.errorKind() == ErrorKind::WriteFailed && what == Replacement::Apply)
    session_.ShowMessage(edittexts::PermissionProblem(), false);
}

void EditController::ReplaceSafariBookMark() { Replace(BrowserFile::Safari, Replacement::Apply); }

void EditController::ReplaceChromeBookMark() { Replace(BrowserFile::Chrome, Replacement::Apply); }

void EditController::AskThenRestore(BrowserFile browser, const char* question) {
  AlertSpec ask;
  ask.message = question;
  ask.defaultButton = " Ok ";
  ask.alternateButton = "Cancel";
  ask.asSheet = true;
  session_.screen().ShowAlert(ask, [this, browser](AlertResponse r) {
    if (r.button == AlertButton::Default) Replace(browser, Replacement::Restore);
  });
}

void EditController::RestoreSafariBookMakrAction() {
  AskThenRestore(BrowserFile::Safari, edittexts::kRestoreSafariQuestion);
}

void EditController::RestoreChromeBookMakrAction() {
  AskThenRestore(BrowserFile::Chrome, edittexts::kRestoreChromeQuestion);
}

}  // namespace linvara
