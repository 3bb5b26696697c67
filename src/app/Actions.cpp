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
    {actions::kFindSafariDeadLinks, P::LinkHealth, false},
    {actions::kFindDuplicates, P::LinkHealth, true},
    {actions::kFindSafariDuplicates, P::LinkHealth, false},
    {actions::kAutoSelectDuplicates, P::LinkHealth, true},
    {actions::kCancelDeadLinks, P::LinkHealth, false},
    {actions::kCancelSafariDeadLinks, P::LinkHealth, false},
    {actions::kCancelDuplicates, P::LinkHealth, false},
    {actions::kRemoveDeadLinks, P::LinkHealth, false},
    {actions::kRemoveDuplicates, P::LinkHealth, false},
    {actions::kRemoveEmptyFolders, P::LinkHealth, false},
    {actions::kRemoveSafariEmptyFolders, P::LinkHealth, false},
    {actions::kEditSelected, P::Editing, true},
    {actions::kEditSave, P::Editing, true},
    {actions::kEditCancel, P::Editing, true},
    {actions::kDeleteSafari, P::Editing, true},
    {actions::kDeleteChrome, P::Editing, true},
    {actions::kRemoveSelected, P::Editing, false},
    {actions::kMoveToSafariFolder, P::Editing, true},
    {actions::kMoveToFolder, P::Editing, false},
    {actions::kNewFolder, P::Editing, false},
    {actions::kNewFolderSave, P::Editing, false},
    {actions::kNewFolderCancel, P::Editing, false},
    {actions::kApplySafari, P::Editing, true},
    {actions::kApplyChrome, P::Editing, true},
    {actions::kRestoreSafari, P::Editing, true},
    {actions::kRestoreChrome, P::Editing, true},
    {actions::kSortAllByName, P::Sorting, false},
    {actions::kSortAllByAddress, P::Sorting, false},
    {actions::kSortAllByHost, P::Sorting, false},
    {actions::kSortAllByBrowser, P::Sorting, false},
    {actions::kSortAllByAddressBookmarksFirst, P::Sorting, false},
    {actions::kSortAllByAddressFoldersFirst, P::Sorting, false},
    {actions::kSortAllByNameBookmarksFirst, P::Sorting, false},
    {actions::kSortAllByNameFoldersFirst, P::Sorting, false},
    {actions::kSortAllSelectedByName, P::Sorting, false},
    {actions::kSortAllSelectedByAddress, P::Sorting, false},
    {actions::kSortAllSelectedByHost, P::Sorting, false},
    {actions::kSortSafariByNameFoldersFirst, P::Sorting, false},
    {actions::kSortSafariByNameFoldersLast, P::Sorting, false},
    {actions::kSortSafariByAddressFoldersFirst, P::Sorting, false},
    {actions::kSortSafariByAddressFoldersLast, P::Sorting, false},
    {actions::kSortSafariSelectedByNameFoldersFirst, P::Sorting, false},
    {actions::kSortSafariSelectedByNameFoldersLast, P::Sorting, false},
    {actions::kSortSafariSelectedByAddressFoldersFirst, P::Sorting, false},
    {actions::kSortSafariSelectedByAddressFoldersLast, P::Sorting, false},
    {actions::kSortChromeByNameFoldersFirst, P::Sorting, false},
    {actions::kSortChromeByNameFoldersLast, P::Sorting, false},
    {actions::kSortChromeByAddressFoldersFirst, P::Sorting, false},
    {actions::kSortChromeByAddressFoldersLast, P::Sorting, false},
    {actions::kSortChromeSelectedByNameFoldersFirst, P::Sorting, false},
    {actions::kSortChromeSelectedByNameFoldersLast, P::Sorting, false},
    {actions::kSortChromeSelectedByAddressFoldersFirst, P::Sorting, false},
    {actions::kSortChromeSelectedByAddressFoldersLast, P::Sorting, false},
    {actions::kEncryptSelected, P::Encryption, true},
    {actions::kDecryptSelected, P::Encryption, true},
    {actions::kCreatePassword, P::Encryption, true},
    {actions::kCancelCreatePassword, P::Encryption, true},
    {actions::kExportAll, P::Export, false},
    {actions::kExportChrome, P::Export, false},
    {actions::kCheckForUpdate, P::Update, false},
    {actions::kUpdateDownload, P::Update, false},
    {actions::kUpdateNotNow, P::Update, false},
    {actions::kNoUpdateOk, P::Update, false},
  };
  return kActions;
}

const ActionInfo* FindAction(std::string_view name) {
  const auto all = AllActions();
  const auto it = std::find_if(all.begin(), all.end(), [&](const ActionInfo& a) { return a.name == name; });
  return it == all.end() ? nullptr : &*it;
}

}  // namespace linvara
