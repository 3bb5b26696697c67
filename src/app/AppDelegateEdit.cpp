// Editing and write-back: the operation names menus, sheets and the table
// reach, handed to the edit controller.
#include "app/Actions.h"
#include "app/AppDelegate.h"

namespace linvara {

void AppDelegate::InstallEditActions() {
  using namespace actions;
  const auto on = [this](const char* action, std::function<void(const MenuItemModel&)> run) {
    commandHandlers_[action] = std::move(run);
  };
  on(kDeleteSafari, [this](const MenuItemModel&) { DeleteSafariBookMarkAction(); });
  on(kDeleteChrome, [this](const MenuItemModel&) { DeleteChromeBookMarkAction(); });
  on(kEditSelected, [this](const MenuItemModel&) { editing_.EditSelectedBookMarkAction(); });
  on(kEditSave, [this](const MenuItemModel&) { EditSelectedBookMarkSave(); });
  on(kEditCancel, [this](const MenuItemModel&) { EditSelectedBookMarkCancel(); });
  on(kMoveToSafariFolder, [this](const MenuItemModel& sender) { MoveSelectedBookMarktoOtherFolderAction(sender); });
  on(kApplySafari, [this](const MenuItemModel&) { editing_.ReplaceSafariBookMark(); });
  on(kApplyChrome, [this](const MenuItemModel&) { ReplaceChromeBookMark(); });
  on(kRestoreSafari, [this](const MenuItemModel&) { RestoreSafariBookMakrAction(); });
  on(kRestoreChrome, [this](const MenuItemModel&) { RestoreChromeBookMakrAction(); });
}

void AppDelegate::DeleteSafariBookMarkAction() { (void)editing_.DeleteSafariBookMarkAction(); }
void AppDelegate::DeleteChromeBookMarkAction() { (void)editing_.DeleteChromeBookMarkAction(); }
void AppDelegate::EditSelectedBookMarkSave() { (void)editing_.EditSelectedBookMarkSave(); }
void AppDelegate::EditSelectedBookMarkCancel() { editing_.EditSelectedBookMarkCancel(); }
void AppDelegate::MoveSelectedBookMarktoOtherFolderAction(const MenuItemModel& sender) {
  (void)editing_.MoveSelectedBookMarktoOtherFolderAction(sender.title);
}
void AppDelegate::ReplaceChromeBookMark() { editing_.ReplaceChromeBookMark(); }
void AppDelegate::RestoreSafariBookMakrAction() { editing_.RestoreSafariBookMakrAction(); }
void AppDelegate::RestoreChromeBookMakrAction() { editing_.RestoreChromeBookMakrAction(); }

}  // namespace linvara
