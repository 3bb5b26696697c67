#include "health/LinkHealthRemoval.h"

#include <unordered_set>

#include "app/Outlets.h"
#include "edit/EditTexts.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/TreeCommit.h"
#include "health/DuplicateGroups.h"
#include "health/EmptyFolders.h"

namespace linvara {

std::string healthtexts::SafariRemovalQuestion(std::size_t count) {
  return "Remove " + std::to_string(count) + (count == 1 ? " bookmark" : " bookmarks") +
         " from Safari? Safari's file is changed now; the previous file is kept in the backup history.";
}

namespace {
NodeList Ticked(const NodeList& nodes) {
  NodeList ticked;
  for (const NodePtr& node : nodes)
    if (node && node->bSelect()) ticked.push_back(node);
  return ticked;
}
}  // namespace

LinkHealthRemoval::LinkHealthRemoval(BookmarkSession& session, LinkHealthController& health, EditController& editing,
                                     UnifiedListEditor& unified)
    : session_(session), health_(health), editing_(editing), unified_(unified) {
  showRows = [this](NodeList rows) { session_.SetBookmarkTableContent(std::move(rows)); };
}

void LinkHealthRemoval::ConfirmThenRemove(std::size_t count, std::function<void()> remove) {
  if (count == 0) return;
  if (session_.bookMarkType != ViewKind::Safari) {
    remove();
    return;
  }
  if (auto refusal = RunningBrowserRefusal(session_.platform(), BrowserFile::Safari, Replacement::Apply)) {
    session_.ShowMessage(*refusal, true);
    return;
  }
  AlertSpec ask;
  ask.message = healthtexts::SafariRemovalQuestion(count);
  ask.defaultButton = healthtexts::kRemoveButton;
  ask.alternateButton = "Cancel";
  ask.asSheet = true;
  session_.screen().ShowAlert(ask, [remove = std::move(remove)](AlertResponse answer) {
    if (answer.button == AlertButton::Default) remove();
  });
}

bool LinkHealthRemoval::RemoveFromView(const NodeList& nodes) {
  switch (session_.bookMarkType) {
    case ViewKind::Safari:
    case ViewKind::Chrome: return editing_.DeleteBookmarks(nodes).ok();
    case ViewKind::All: unified_.RereadWithout(nodes); return true;
    case ViewKind::None: break;
  }
  return false;
}

void LinkHealthRemoval::Finish(const char* sheet, const char* label, const char* removedMessage) {
  session_.screen().CloseWindow(sheet);
  session_.UpdateView(viewsection::kTexts, [&](ViewState& s) { s.text(label).text.clear(); });
  session_.ShowMessage(removedMessage, true);
  // The removal is real in the Safari view: the working copy replaces Safari's file at once.
  if (session_.bookMarkType == ViewKind::Safari) editing_.ReplaceSafariBookMark();
}

void LinkHealthRemoval::RemoveSelectedDeadBookMarkAction() {
  if (health_.RefuseOutdatedResults(HealthResults::DeadLinks)) return;
  const NodeList ticked = Ticked(session_.viewState().deadUrlTable.content);
  ConfirmThenRemove(ticked.size(), [this, ticked] {
    health_.CancelDeadURLScan();  // its nodes are about to be replaced
    if (!RemoveFromView(ticked)) return;
    session_.lists().deadURLArray.clear();
    session_.SetResultTableContent(TableId::DeadUrl, {});
    Finish(outlets::kDeadURLWindow, outlets::kShowDeadBookmarklab, healthtexts::kDeadLinksRemoved);
  });
}

void LinkHealthRemoval::RemoveAutoDuplicationBookAction() {
  if (health_.RefuseOutdatedResults(HealthResults::Duplicates)) return;
  const NodeList groups = session_.viewState().leftDupTable.content;
  NodeList ticked;
  for (const NodePtr& group : groups) {
    const NodeList members = Ticked(DuplicateGroupMembers(group));
    ticked.insert(ticked.end(), members.begin(), members.end());
  }
  ConfirmThenRemove(ticked.size(), [this, groups, ticked] {
    if (!RemoveFromView(ticked)) return;
    // Each group keeps its unticked members; the left table shows them all again.
    std::unordered_set<const PRBookMarkNode*> removed;
    for (const NodePtr& node : ticked) removed.insert(node.get());
    for (const NodePtr& group : groups) {
      auto kept = std::make_shared<NodeList>();
      for (const NodePtr& member : DuplicateGroupMembers(group))
        if (!removed.count(member.get())) kept->push_back(member);
      if (FolderPtr folder = AsFolder(group)) folder->setChildrenArray(kept);
    }
    session_.SetResultTableContent(TableId::LeftDup, groups);
    health_.ShowDuplicateGroupMembers(0);
    session_.lists().duplicateArray.clear();
    Finish(outlets::kFindDupWindow, outlets::kShowDupBookmarklab, healthtexts::kDuplicatesRemoved);
  });
}

void LinkHealthRemoval::RemoveEmptyBookMarkFolderAction() {
  if (session_.bookMarkType != ViewKind::All) return;
  BookmarkLists& l = session_.lists();
  for (NodeList* list : {&l.safariFatherArray, &l.ChromeFatherArray, &l.edgeFatherArray, &l.OperaFatherArray,
                         &l.FireFoxFatherArray})
    *list = WithoutEmptyTopLevelFolders(*list);
  showRows(session_.UnifiedTopLevel());
}

Result<void> LinkHealthRemoval::RemoveSafariEmptyBookMarkFolderAction() {
  if (session_.bookMarkType != ViewKind::Safari) return Fail("empty Safari folders are removed in the Safari view");
  const BookmarkLists& lists = session_.lists();
  const NodeList empty = EmptyTopLevelFolders(lists.safariFatherArray);
  Result<void> written =
      CommitSafariTree(session_, removeManyBookMarkfromSafariBookMarkWithArray(lists, {}, empty), editing_.writeChunk);
  if (!written) session_.ShowMessage(edittexts::WorkingCopyWriteFailed(written.error()), true);
  return written;
}

}  // namespace linvara
