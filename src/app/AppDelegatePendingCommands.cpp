// Entry points of commands whose work lives in other units (editing, Apply
// Changes, encryption, export). Each checks here what the command needs from
// the current view, then hands over to the handler its unit installs with
// SetCommandHandler. Without a handler nothing happens and the entry point
// answers false: no press is ever reported as done when it was not.
#include <filesystem>

#include "app/AppDelegate.h"

namespace linvara {

void AppDelegate::SetCommandHandler(const std::string& action, CommandHandler handler) {
  if (handler) commandHandlers_[action] = std::move(handler);
  else commandHandlers_.erase(action);
}

bool AppDelegate::HasCommandHandler(const std::string& action) const { return commandHandlers_.count(action) > 0; }

bool AppDelegate::RunCommandHandler(const std::string& action, const MenuItemModel* sender) {
  auto it = commandHandlers_.find(action);
  if (it == commandHandlers_.end()) return false;
  // A copy: the handler may replace itself.
  CommandHandler handler = it->second;
  MenuItemModel none;
  handler(sender ? *sender : none);
  return true;
}

bool AppDelegate::EditSelectedBookMarkAction() {
  // The edit dialog works on the selected row; nothing selected, nothing to edit.
  if (viewState().bookmarkTable.selection.empty()) return false;
  return RunCommandHandler("EditSelectedBookMarkAction:");
}

bool AppDelegate::EncryptedSelectedBookMarkAction() {
  // Encryption rewrites the Safari working copy from the Safari tree: the Safari view only,
  // and only for selected bookmarks (folders are skipped).
  if (bookMarkType != 2) return false;
  bool anyBookmark = false;
  for (const NodePtr& node : viewState().bookmarkTable.selectedNodes()) anyBookmark |= node && node->isLeaf();
  if (!anyBookmark) return false;
  return RunCommandHandler("EncryptedSelectedBookMarkAction:");
}

bool AppDelegate::DecrypteSelectedBookMarkAction() {
  if (bookMarkType != 2) return false;  // the same rewrite as encryption
  return RunCommandHandler("DecrypteSelectedBookMarkAction:");
}

bool AppDelegate::ExportAllBookMarksAction() { return RunCommandHandler("ExportAllBookMarksAction:"); }

bool AppDelegate::ExportAllChromeBookMarksAction() { return RunCommandHandler("ExportAllChromeBookMarksAction:"); }

bool AppDelegate::ReplaceSafariBookMark() {
  // Without a working copy there is nothing to apply, and nothing is said.
  std::error_code ec;
  if (!std::filesystem::exists(locations().safariWorkingCopy(), ec)) return false;
  return RunCommandHandler("ReplaceSafariBookMark");
}

}  // namespace linvara
