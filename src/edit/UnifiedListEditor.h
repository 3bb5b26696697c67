#pragma once
// Editing of the unified list: removing the selected bookmarks from it,
// folders made in it, and moving bookmarks into those folders. Everything
// happens in the lists in memory; no file is written. A removal reads the
// browsers again with their readers' removal forms.
#include <functional>
#include <string>

#include "app/BookmarkSession.h"
#include "readers/BookmarkReadController.h"

namespace linvara {

class UnifiedListEditor {
 public:
  UnifiedListEditor(BookmarkSession& session, BookmarkReadController& reads);
  UnifiedListEditor(const UnifiedListEditor&) = delete;
  UnifiedListEditor& operator=(const UnifiedListEditor&) = delete;

  // Shows rebuilt rows in the bookmark table; by default the session's table, reloaded.
  std::function<void(NodeList rows)> showRows;

  // Asks, then reads every browser again without the addresses of the selected rows.
  void RemoveSelectedBookMarkAction();
  // Reads every browser again, each without the addresses of its nodes in `removed`
  // (a node of another tag is dropped), and shows the unified top level.
  void RereadWithout(const NodeList& removed);
  // The new-folder sheet and its two buttons.
  void AddNewBookMarkFolder();
  void NewFolderSave();
  void NewBookMarkCancel();
  // Moves the selected bookmarks into the made folder titled `folderTitle`
  // (the first made folder when none has that title).
  void ActMoveToFolderAction(const std::string& folderTitle);

  // Fills `moveFolderMenuItem` with one entry per made folder; disabled while there is none.
  void RebuildMoveFolderMenu();

  // A folder as the new-folder command makes it.
  static FolderPtr MakeListFolder(const std::string& title);

 private:
  bool InUnifiedView() const { return session_.bookMarkType == ViewKind::All; }
  void RemoveAndReread(const NodeList& rows, const std::vector<std::size_t>& selection);

  BookmarkSession& session_;
  BookmarkReadController& reads_;
};

}  // namespace linvara
