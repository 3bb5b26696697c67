#pragma once
// Removal of what the link-health sheets list, and of empty top-level folders.
// In the Safari and Chrome views the nodes leave through the edit controller
// (the working copy is written and read back); the Safari view then replaces
// Safari's own file, after asking. The unified view reads every browser again
// without the removed addresses and writes nothing.
#include <functional>
#include <string>

#include "app/BookmarkSession.h"
#include "edit/EditController.h"
#include "edit/UnifiedListEditor.h"
#include "health/LinkHealthController.h"

namespace linvara {

namespace healthtexts {
inline constexpr const char* kDeadLinksRemoved = "The selected unreachable bookmark links has been deleted";
inline constexpr const char* kDuplicatesRemoved = "The selected duplicate bookmarks has been deleted";
inline constexpr const char* kRemoveButton = " Remove ";
// "Remove 37 bookmarks from Safari? ..." asked before Safari's file is replaced.
std::string SafariRemovalQuestion(std::size_t count);
}  // namespace healthtexts

class LinkHealthRemoval {
 public:
  LinkHealthRemoval(BookmarkSession& session, LinkHealthController& health, EditController& editing,
                    UnifiedListEditor& unified);
  LinkHealthRemoval(const LinkHealthRemoval&) = delete;
  LinkHealthRemoval& operator=(const LinkHealthRemoval&) = delete;

  // The dead-link sheet's Remove: the ticked rows leave the view, the sheet closes.
  // Refused when the view was read again since the scan; nothing happens when no row is ticked.
  void RemoveSelectedDeadBookMarkAction();
  // The duplicate sheet's Remove: the ticked members of every group, the same way.
  void RemoveAutoDuplicationBookAction();
  // The unified view only: its empty top-level folders leave the lists shown; nothing is written.
  void RemoveEmptyBookMarkFolderAction();
  // The Safari view only: Safari's empty top-level folders leave its tree and the
  // Safari working copy is written; Safari's own file waits for Apply Changes.
  Result<void> RemoveSafariEmptyBookMarkFolderAction();

  // Shows the unified top level after an empty-folder removal; by default the session's table.
  std::function<void(NodeList rows)> showRows;

 private:
  // In the Safari view: refuses while Safari runs, else asks and runs `remove` on " Remove ".
  // Elsewhere runs it at once.
  void ConfirmThenRemove(std::size_t count, std::function<void()> remove);
  // The nodes leave the current view; false when the working copy could not be written.
  bool RemoveFromView(const NodeList& nodes);
  // The sheet closes, its label empties, and the alert says what was removed; Safari's file follows.
  void Finish(const char* sheet, const char* label, const char* removedMessage);

  BookmarkSession& session_;
  LinkHealthController& health_;
  EditController& editing_;
  UnifiedListEditor& unified_;
};

}  // namespace linvara
