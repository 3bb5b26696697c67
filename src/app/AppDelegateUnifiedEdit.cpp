// The unified view's list editing under the controller's names; the unified
// list editor does the work.
#include "app/Actions.h"
#include "app/AppDelegate.h"

namespace linvara {

void AppDelegate::InstallUnifiedEditActions() {
  using namespace actions;
  unifiedListEditor_.showRows = [this](NodeList rows) { ShowBookmarkRows(std::move(rows)); };
  commandHandlers_[kRemoveSelected] = [this](const MenuItemModel&) { RemoveSelectedBookMarkAction(); };
  commandHandlers_[kNewFolder] = [this](const MenuItemModel&) { AddNewBookMarkFolder(); };
  commandHandlers_[kNewFolderSave] = [this](const MenuItemModel&) { NewFolderSave(); };
  commandHandlers_[kNewFolderCancel] = [this](const MenuItemModel&) { NewBookMarkCancel(); };
  commandHandlers_[kMoveToFolder] = [this](const MenuItemModel& sender) { ActMoveToFolderAction(sender); };
}

void AppDelegate::RemoveSelectedBookMarkAction() { unifiedListEditor_.RemoveSelectedBookMarkAction(); }
void AppDelegate::AddNewBookMarkFolder() { unifiedListEditor_.AddNewBookMarkFolder(); }
void AppDelegate::NewFolderSave() { unifiedListEditor_.NewFolderSave(); }
void AppDelegate::NewBookMarkCancel() { unifiedListEditor_.NewBookMarkCancel(); }
void AppDelegate::ActMoveToFolderAction(const MenuItemModel& sender) {
  unifiedListEditor_.ActMoveToFolderAction(sender.title);
}

}  // namespace linvara
