// Link health's removals and the Safari view's sheets under the controller's
// names; the link-health controller and its removal do the work.
#include "app/Actions.h"
#include "app/AppDelegate.h"

namespace linvara {

void AppDelegate::InstallHealthRemovalActions() {
  using namespace actions;
  healthRemoval_.showRows = [this](NodeList rows) { ShowBookmarkRows(std::move(rows)); };
  const auto on = [this](const char* action, void (AppDelegate::*command)()) {
    commandHandlers_[action] = [this, command](const MenuItemModel&) { (this->*command)(); };
  };
  on(kFindSafariDeadLinks, &AppDelegate::FindSafariDeadURLBookMarksAction);
  on(kCancelSafariDeadLinks, &AppDelegate::CancleFindSafariDeadURLAction);
  on(kFindSafariDuplicates, &AppDelegate::FindSafariDupBookMarkAction);
  on(kRemoveDeadLinks, &AppDelegate::RemoveSelectedDeadBookMarkAction);
  on(kRemoveDuplicates, &AppDelegate::RemoveAutoDuplicationBookAction);
  on(kRemoveEmptyFolders, &AppDelegate::RemoveEmptyBookMarkFolderAction);
  on(kRemoveSafariEmptyFolders, &AppDelegate::RemoveSafariEmptyBookMarkFolderAction);
}

}  // namespace linvara
