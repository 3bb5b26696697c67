// Menu entries, buttons and dialogs send actions by name (app/Actions.h). Each
// built action is installed here with its performer; an action that is not
// built yet runs only a stand-in installed with SetCommandHandler.
#include "app/Actions.h"
#include "app/AppDelegate.h"

namespace linvara {

void AppDelegate::InstallActions() {
  using namespace actions;
  const auto on = [this](const char* action, std::function<void()> run) {
    commandHandlers_[action] = [run = std::move(run)](const MenuItemModel&) { run(); };
  };
  on(kOpenSelectedBookmarks, [this] { OpenSelectedBookmarksAction(); });
  on(kAbout, [this] { ActAboutAction(); });
  on(kProductGuide, [this] { ClickTheProductGuide(); });
  on(kSupport, [this] { SupportAction(); });
  on(kSafariCookies, [this] { ActClickSafariAction(); });
  on(kChromeCookies, [this] { ActClickChromeAction(); });
  on(kNewCookies, [this] { ActClickNewCookiesAction(); });
  on(kOpenCookieFile, [this] { ActOpenCookieFileAction(); });
  on(kRemoveCookieData, [this] { ActRemoveCookieData(); });
  on(kExportCookieData, [this] { ActExportCookieData(); });
  on(kFindDeadLinks, [this] { FindAllDeadURLBookMarksAction(); });
  on(kFindDuplicates, [this] { FindAllDuplicateBookMarksAction(); });
  on(kAutoSelectDuplicates, [this] { AutoSelectDuplicationBookAction(); });
  InstallEditActions();
  InstallUnifiedEditActions();
  InstallHealthRemovalActions();
  on(kCancelDeadLinks, [this] { CancleFindDeadURLAction(); });
  on(kCancelDuplicates, [this] { CancleFindDupAction(); });
  // The unified view's sorts; the sort controller does the work.
  const auto sort = [&](const char* action, bool (SortController::*command)()) {
    on(action, [this, command] { (sorting_.*command)(); });
  };
  sort(kSortAllByAddress, &SortController::SortAllBookMarkByAddress);
  sort(kSortAllByAddressBookmarksFirst, &SortController::SortAllBookMarkAddressAZByURLFirstAddress);
  sort(kSortAllByAddressFoldersFirst, &SortController::SortAllBookMarkAddressAZByFolderFirstAddress);
  sort(kSortAllByNameBookmarksFirst, &SortController::SortAllBookMarkAddressAZByURLFirstTitle);
  sort(kSortAllByNameFoldersFirst, &SortController::SortAllBookMarkAddressAZByFolderFirstTitle);
  sort(kSortAllByName, &SortController::SortAllBookMarkByName);
  sort(kSortAllByHost, &SortController::SortAllBookMarkByHost);
  sort(kSortAllByBrowser, &SortController::SortAllBookMarkByBrowserType);
  sort(kSortAllSelectedByAddress, &SortController::SortSelectedAllBookMarkByAddress);
  sort(kSortAllSelectedByName, &SortController::SortSelectedAllBookMarkByName);
  sort(kSortAllSelectedByHost, &SortController::SortSelectedBookMarkByHost);
  on(kExportAll, [this] { ExportAllBookMarksAction(); });
  on(kExportChrome, [this] { ExportAllChromeBookMarksAction(); });
  on(kCheckForUpdate, [this] { CheckforUpdateAction(); });
  on(kUpdateDownload, [this] { updates_.ClickGoDownloadAction(); });
  on(kUpdateNotNow, [this] { updates_.ClickNotNowAction(); });
  on(kNoUpdateOk, [this] { updates_.ClickOkAction(); });
  on(kEncryptSelected, [this] { EncryptedSelectedBookMarkAction(); });
  on(kDecryptSelected, [this] { DecrypteSelectedBookMarkAction(); });
  on(kCreatePassword, [this] { CreatePasswordAction(); });
  on(kCancelCreatePassword, [this] { CancleCreatePasswordAction(); });
  // The Safari and Chrome tree sorts; a failed write is told by the controller.
  const auto sortTree = [&](const char* action, Result<void> (SortController::*command)()) {
    on(action, [this, command] { (void)(sorting_.*command)(); });
  };
  using S = SortController;
  sortTree(kSortSafariByAddressFoldersFirst, &S::SortSafariBookMarkByAddressFolderFirst);
  sortTree(kSortSafariByAddressFoldersLast, &S::SortSafariBookMarkByAddressFolderLast);
  sortTree(kSortSafariByNameFoldersFirst, &S::SortSafariBookMarkByNameFolderFirst);
  sortTree(kSortSafariByNameFoldersLast, &S::SortSafariBookMarkByNameFolderLast);
  sortTree(kSortChromeByAddressFoldersFirst, &S::SortChromeBookMarkByAdressFolderFirst);
  sortTree(kSortChromeByAddressFoldersLast, &S::SortChromeBookMarkByAdressURLFirst);
  sortTree(kSortChromeByNameFoldersFirst, &S::SortChromeBookMarkByNameFolderFirst);
  sortTree(kSortChromeByNameFoldersLast, &S::SortChromeBookMarkByNameFolderLast);
  sortTree(kSortSafariSelectedByAddressFoldersFirst, &S::SortSelectedBookmarkByAddressFolderFirst);
  sortTree(kSortSafariSelectedByAddressFoldersLast, &S::SortSelectedBookmarkByAddressFolderLast);
  sortTree(kSortSafariSelectedByNameFoldersFirst, &S::SortSelectedBookmarkByNameFirst);
  sortTree(kSortSafariSelectedByNameFoldersLast, &S::SortSelectedBookmarkByName);
  sortTree(kSortChromeSelectedByAddressFoldersFirst, &S::SortSelectedChromeBookmarkByAddressFolderFirst);
  sortTree(kSortChromeSelectedByAddressFoldersLast, &S::SortSelectedChromeBookmarkByAddressFolderLast);
  sortTree(kSortChromeSelectedByNameFoldersFirst, &S::SortSelectedChromeBookmarkByNameFirst);
  sortTree(kSortChromeSelectedByNameFoldersLast, &S::SortSelectedChromeBookmarkByName);
}

void AppDelegate::SetCommandHandler(const std::string& action, CommandHandler handler) {
  const ActionInfo* info = FindAction(action);
  if (info && info->built) return;  // a built action keeps its performer
  if (handler) commandHandlers_[action] = std::move(handler);
  else commandHandlers_.erase(action);
}

bool AppDelegate::CanPerformAction(const std::string& action) const { return commandHandlers_.count(action) > 0; }

bool AppDelegate::PerformMenuAction(const MenuItemModel& item) {
  if (!item.enabled || item.hidden || item.separator) return false;
  using namespace actions;
  // Entry points that check what the command needs from the view before handing over.
  if (item.action == kEditSelected) return EditSelectedBookMarkAction();
  if (item.action == kEncryptSelected) return EncryptedSelectedBookMarkAction();
  if (item.action == kDecryptSelected) return DecrypteSelectedBookMarkAction();
  if (item.action == kApplySafari) return ReplaceSafariBookMark();
  return RunCommandHandler(item.action, &item);
}

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
  return RunCommandHandler(actions::kEditSelected);
}

bool AppDelegate::ExportAllBookMarksAction() {
  exports_.ExportAllBookMarksAction();
  return true;
}

bool AppDelegate::ExportAllChromeBookMarksAction() {
  exports_.ExportAllChromeBookMarksAction();
  return true;
}

bool AppDelegate::ReplaceSafariBookMark() {
  // Without a working copy there is nothing to apply, and nothing is said.
  std::error_code ec;
  if (!std::filesystem::exists(session_.locations().safariWorkingCopy(), ec)) return false;
  return RunCommandHandler(actions::kApplySafari);
}

}  // namespace linvara
