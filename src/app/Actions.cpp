#include "app/Actions.h"

#include <algorithm>

namespace linvara {

std::span<const ActionInfo> AllActions() {
  using P = ActionPerformer;
  // `built` false: not built yet; the entries that send it are drawn disabled.
  static constexpr ActionInfo kActions[] = {
    {actions::kOpenSelectedBookmarks, P::Presenter, true},
    {actions::kAbout, P::Presenter, true},
    {actions::kProductGuide, P::Presenter, true},
    {actions::kSupport, P::Presenter, true},
    {actions::kConnectHome, P::Presenter, false},
    {actions::kSafariCookies, P::Cookies, true},
    {actions::kChromeCookies, P::Cookies, true},
    {actions::kNewCookies, P::Cookies, true},
    {actions::kOpenCookieFile, P::Cookies, true},
    {actions::kRemoveCookieData, P::Cookies, true},
    {actions::kExportCookieData, P::Cookies, true},
    {actions::kFindDeadLinks, P::LinkHealth, true},
    {actions::kFindSafariDeadLinks, P::LinkHealth, true},
    {actions::kFindDuplicates, P::LinkHealth, true},
    {actions::kFindSafariDuplicates, P::LinkHealth, true},
    {actions::kAutoSelectDuplicates, P::LinkHealth, true},
    {actions::kCancelDeadLinks, P::LinkHealth, true},
    {actions::kCancelSafariDeadLinks, P::LinkHealth, true},
    {actions::kCancelDuplicates, P::LinkHealth, true},
    {actions::kRemoveDeadLinks, P::LinkHealth, true},
    {actions::kRemoveDuplicates, P::LinkHealth, true},
    {actions::kRemoveEmptyFolders, P::LinkHealth, true},
    {actions::kRemoveSafariEmptyFolders, P::LinkHealth, true},
    {actions::kEditSelected, P::Editing, true},
    {actions::kEditSave, P::Editing, true},
    {actions::kEditCancel, P::Editing, true},
    {actions::kDeleteSafari, P::Editing, true},
    {actions::kDeleteChrome, P::Editing, true},
    {actions::kRemoveSelected, P::Editing, true},
    {actions::kMoveToSafariFolder, P::Editing, true},
    {actions::kMoveToFolder, P::Editing, true},
    {actions::kNewFolder, P::Editing, true},
    {actions::kNewFolderSave, P::Editing, true},
    {actions::kNewFolderCancel, P::Editing, true},
    {actions::kApplySafari, P::Editing, true},
    {actions::kApplyChrome, P::Editing, true},
    {actions::kRestoreSafari, P::Editing, true},
    {actions::kRestoreChrome, P::Editing, true},
    {actions::kSortAllByName, P::Sorting, true},
    {actions::kSortAllByAddress, P::Sorting, true},
    {actions::kSortAllByHost, P::Sorting, true},
    {actions::kSortAllByBrowser, P::Sorting, true},
    {actions::kSortAllByAddressBookmarksFirst, P::Sorting, true},
    {actions::kSortAllByAddressFoldersFirst, P::Sorting, true},
    {actions::kSortAllByNameBookmarksFirst, P::Sorting, true},
    {actions::kSortAllByNameFoldersFirst, P::Sorting, true},
    {actions::kSortAllSelectedByName, P::Sorting, true},
    {actions::kSortAllSelectedByAddress, P::Sorting, true},
    {actions::kSortAllSelectedByHost, P::Sorting, true},
    {actions::kSortSafariByNameFoldersFirst, P::Sorting, true},
    {actions::kSortSafariByNameFoldersLast, P::Sorting, true},
    {actions::kSortSafariByAddressFoldersFirst, P::Sorting, true},
    {actions::kSortSafariByAddressFoldersLast, P::Sorting, true},
    {actions::kSortSafariSelectedByNameFoldersFirst, P::Sorting, true},
    {actions::kSortSafariSelectedByNameFoldersLast, P::Sorting, true},
    {actions::kSortSafariSelectedByAddressFoldersFirst, P::Sorting, true},
    {actions::kSortSafariSelectedByAddressFoldersLast, P::Sorting, true},
    {actions::kSortChromeByNameFoldersFirst, P::Sorting, true},
    {actions::kSortChromeByNameFoldersLast, P::Sorting, true},
    {actions::kSortChromeByAddressFoldersFirst, P::Sorting, true},
    {actions::kSortChromeByAddressFoldersLast, P::Sorting, true},
    {actions::kSortChromeSelectedByNameFoldersFirst, P::Sorting, true},
    {actions::kSortChromeSelectedByNameFoldersLast, P::Sorting, true},
    {actions::kSortChromeSelectedByAddressFoldersFirst, P::Sorting, true},
    {actions::kSortChromeSelectedByAddressFoldersLast, P::Sorting, true},
    {actions::kEncryptSelected, P::Encryption, true},
    {actions::kDecryptSelected, P::Encryption, true},
    {actions::kCreatePassword, P::Encryption, true},
    {actions::kCancelCreatePassword, P::Encryption, true},
    {actions::kExportAll, P::Export, true},
    {actions::kExportChrome, P::Export, true},
    {actions::kCheckForUpdate, P::Update, true},
    {actions::kUpdateDownload, P::Update, true},
    {actions::kUpdateNotNow, P::Update, true},
    {actions::kNoUpdateOk, P::Update, true},
  };
  return kActions;
}

const ActionInfo* FindAction(std::string_view name) {
  const auto all = AllActions();
  const auto it = std::find_if(all.begin(), all.end(), [&](const ActionInfo& a) { return a.name == name; });
  return it == all.end() ? nullptr : &*it;
}

}  // namespace linvara
