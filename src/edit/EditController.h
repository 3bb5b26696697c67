#pragma once
// Delete, edit and move in the Safari and Chrome trees, the edit sheet of
// every view, Apply Changes, the Chrome write-back and both restores. Every
// change of a tree is written to its working copy and read back; a failed
// write is told and leaves the tree in memory as it was.
#include <filesystem>
#include <string>

#include "app/BookmarkSession.h"
#include "edit/BrowserFileReplacement.h"

namespace linvara {

class EditController {
 public:
  explicit EditController(BookmarkSession& session) : session_(session) {}
  EditController(const EditController&) = delete;
  EditController& operator=(const EditController&) = delete;

  // ---- Commands on the table's selection (bookmark rows only; folder rows are ignored) ----
  Result<void> DeleteSafariBookMarkAction();
  Result<void> DeleteChromeBookMarkAction();
  // Opens the edit sheet for the selected row; false when no row is selected.
  bool EditSelectedBookMarkAction();
  // Takes the fields' texts (an empty field keeps the old value; the mask keeps the stored address).
  Result<void> EditSelectedBookMarkSave();
  void EditSelectedBookMarkCancel();
  // Moves the selected bookmarks to the end of the first folder titled `title` (the chosen entry's title).
  Result<void> MoveSelectedBookMarktoOtherFolderAction(const std::string& title);

  // ---- The same on explicit nodes of the current tree view (the command line) ----
  Result<void> DeleteBookmarks(const NodeList& nodes);
  // Empty texts keep the old values. Outside the Safari view only the node changes.
  Result<void> EditBookmark(const NodePtr& node, const std::string& title, const std::string& address);
  // NotFound when no folder has the title: the working copy is then written from the unchanged tree.
  Result<void> MoveBookmarks(const NodeList& nodes, const std::string& title);

  // ---- The move menu of the Safari view ----
  void getTheChildArrayMenu(const NodePtr& folder, MenuItemModel& item) const;
  // Fills `moveSafariFolderMenuItem` from the Safari tree's top-level folders.
  void BuildSafariMoveMenu();

  // ---- Browser files: refused while the browser runs; a failed write shows the permission alert ----
  void ReplaceSafariBookMark();
  void ReplaceChromeBookMark();
  // Ask first (" Ok " / "Cancel"), then put the first-start backup back.
  void RestoreSafariBookMakrAction();
  void RestoreChromeBookMakrAction();

  // Replaces the low-level writer of every file this controller writes (tests).
  WriteChunkFn writeChunk;

 private:
  NodeList SelectedBookmarks() const;
  Result<void> Commit(Result<void> written);
  Result<void> CommitSafari(const ArrayPtr& children);
  void Replace(BrowserFile browser, Replacement what);
  void AskThenRestore(BrowserFile browser, const char* question);

  BookmarkSession& session_;
};

}  // namespace linvara
