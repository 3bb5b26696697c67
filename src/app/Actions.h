#pragma once
// Every action a menu entry, button or dialog of the window sends, declared
// once: its name, the controller that performs it and whether it is built.
// An action that is not built yet has no performer; its entries are drawn
// disabled.
#include <span>
#include <string_view>

namespace linvara {

// Who performs an action.
enum class ActionPerformer {
  Presenter,   // the application controller itself: views, table, windows
  Cookies,     // CookieManager
  LinkHealth,  // LinkHealthController
  Editing,
  Sorting,
  Encryption,
  Export,
  Update,
};

struct ActionInfo {
  std::string_view name;
  ActionPerformer performer;
  bool built;
  // A subsystem controller performs it (not the application controller).
  constexpr bool needsController() const { return performer != ActionPerformer::Presenter; }
};

std::span<const ActionInfo> AllActions();
// The declaration of an action; null for a name no entry sends.
const ActionInfo* FindAction(std::string_view name);

namespace actions {
// Presenter
inline constexpr const char* kOpenSelectedBookmarks = "OpenSelectedBookmarksAction:";
inline constexpr const char* kAbout = "ActAboutAction:";
inline constexpr const char* kProductGuide = "ClickTheProductGuide:";
inline constexpr const char* kSupport = "SupportAction:";
inline constexpr const char* kConnectHome = "clickConnectHomeAction:";
// Cookies
inline constexpr const char* kSafariCookies = "ActClickSafariAction:";
inline constexpr const char* kChromeCookies = "ActClickChromeAction:";
inline constexpr const char* kNewCookies = "ActClickNewCookiesAction:";
inline constexpr const char* kOpenCookieFile = "ActOpenCookieFileAction:";
inline constexpr const char* kRemoveCookieData = "ActRemoveCookieData:";
inline constexpr const char* kExportCookieData = "ActExportCookieData:";
// Link health
inline constexpr const char* kFindDeadLinks = "FindAllDeadURLBookMarksAction:";
inline constexpr const char* kFindSafariDeadLinks = "FindSafariDeadURLBookMarksAction:";
inline constexpr const char* kFindDuplicates = "FindAllDuplicateBookMarksAction:";
inline constexpr const char* kFindSafariDuplicates = "FindSafariDupBookMarkAction:";
inline constexpr const char* kAutoSelectDuplicates = "AutoSelectDuplicationBookAction:";
inline constexpr const char* kCancelDeadLinks = "CancleFindDeadURLAction:";
inline constexpr const char* kCancelSafariDeadLinks = "CancleFindSafariDeadURLAction:";
inline constexpr const char* kCancelDuplicates = "CancleFindDupAction:";
inline constexpr const char* kRemoveDeadLinks = "RemoveSelectedDeadBookMarkAction:";
inline constexpr const char* kRemoveDuplicates = "RemoveAutoDuplicationBookAction:";
inline constexpr const char* kRemoveEmptyFolders = "RemoveEmptyBookMarkFolderAction:";
inline constexpr const char* kRemoveSafariEmptyFolders = "RemoveSafariEmptyBookMarkFolderAction:";
// Editing
inline constexpr const char* kEditSelected = "EditSelectedBookMarkAction:";
inline constexpr const char* kEditSave = "EditSelectedBookMarkSave:";
inline constexpr const char* kEditCancel = "EditSelectedBookMarkCancel:";
inline constexpr const char* kDeleteSafari = "DeleteSafariBookMarkAction:";
inline constexpr const char* kDeleteChrome = "DeleteChromeBookMarkAction:";
inline constexpr const char* kRemoveSelected = "RemoveSelectedBookMarkAction:";
inline constexpr const char* kMoveToSafariFolder = "MoveSelectedBookMarktoOtherFolderAction:";
inline constexpr const char* kMoveToFolder = "ActMoveToFolderAction:";
inline constexpr const char* kNewFolder = "AddNewBookMarkFolder:";
inline constexpr const char* kNewFolderSave = "NewFolderSave:";
inline constexpr const char* kNewFolderCancel = "NewBookMarkCancel:";
inline constexpr const char* kApplySafari = "ReplaceSafariBookMark";
inline constexpr const char* kApplyChrome = "ReplaceChromeBookMark";
inline constexpr const char* kRestoreSafari = "RestoreSafariBookMakrAction:";
inline constexpr const char* kRestoreChrome = "RestoreChromeBookMakrAction:";
// Sorting
inline constexpr const char* kSortAllByName = "SortAllBookMarkByName:";
inline constexpr const char* kSortAllByAddress = "SortAllBookMarkByAddress:";
inline constexpr const char* kSortAllByHost = "SortAllBookMarkByHost:";
inline constexpr const char* kSortAllByBrowser = "SortAllBookMarkByBrowserType:";
inline constexpr const char* kSortAllByAddressBookmarksFirst = "SortAllBookMarkAddressAZByURLFirstAddress:";
inline constexpr const char* kSortAllByAddressFoldersFirst = "SortAllBookMarkAddressAZByFolderFirstAddress:";
inline constexpr const char* kSortAllByNameBookmarksFirst = "SortAllBookMarkAddressAZByURLFirstTitle:";
inline constexpr const char* kSortAllByNameFoldersFirst = "SortAllBookMarkAddressAZByFolderFirstTitle:";
inline constexpr const char* kSortAllSelectedByName = "SortSelectedAllBookMarkByName:";
inline constexpr const char* kSortAllSelectedByAddress = "SortSelectedAllBookMarkByAddress:";
inline constexpr const char* kSortAllSelectedByHost = "SortSelectedBookMarkByHost:";
inline constexpr const char* kSortSafariByNameFoldersFirst = "SortSafariBookMarkByNameFolderFirst:";
inline constexpr const char* kSortSafariByNameFoldersLast = "SortSafariBookMarkByNameFolderLast:";
inline constexpr const char* kSortSafariByAddressFoldersFirst = "SortSafariBookMarkByAddressFolderFirst:";
inline constexpr const char* kSortSafariByAddressFoldersLast = "SortSafariBookMarkByAddressFolderLast:";
inline constexpr const char* kSortSafariSelectedByNameFoldersFirst = "SortSelectedBookmarkByNameFirst:";
inline constexpr const char* kSortSafariSelectedByNameFoldersLast = "SortSelectedBookmarkByName:";
inline constexpr const char* kSortSafariSelectedByAddressFoldersFirst = "SortSelectedBookmarkByAddressFolderFirst:";
inline constexpr const char* kSortSafariSelectedByAddressFoldersLast = "SortSelectedBookmarkByAddressFolderLast:";
inline constexpr const char* kSortChromeByNameFoldersFirst = "SortChromeBookMarkByNameFolderFirst:";
inline constexpr const char* kSortChromeByNameFoldersLast = "SortChromeBookMarkByNameFolderLast:";
inline constexpr const char* kSortChromeByAddressFoldersFirst = "SortChromeBookMarkByAdressFolderFirst:";
inline constexpr const char* kSortChromeByAddressFoldersLast = "SortChromeBookMarkByAdressURLFirst:";
inline constexpr const char* kSortChromeSelectedByNameFoldersFirst = "SortSelectedChromeBookmarkByNameFirst:";
inline constexpr const char* kSortChromeSelectedByNameFoldersLast = "SortSelectedChromeBookmarkByName:";
inline constexpr const char* kSortChromeSelectedByAddressFoldersFirst = "SortSelectedChromeBookmarkByAddressFolderFirst:";
inline constexpr const char* kSortChromeSelectedByAddressFoldersLast = "SortSelectedChromeBookmarkByAddressFolderLast:";
// Encryption
inline constexpr const char* kEncryptSelected = "EncryptedSelectedBookMarkAction:";
inline constexpr const char* kDecryptSelected = "DecrypteSelectedBookMarkAction:";
inline constexpr const char* kCreatePassword = "CreatePasswordAction:";
inline constexpr const char* kCancelCreatePassword = "CancleCreatePasswordAction:";
// Export
inline constexpr const char* kExportAll = "ExportAllBookMarksAction:";
inline constexpr const char* kExportChrome = "ExportAllChromeBookMarksAction:";
// Update
inline constexpr const char* kCheckForUpdate = "CheckforUpdateAction:";
inline constexpr const char* kUpdateDownload = "ClickGoDownloadAction:";
inline constexpr const char* kUpdateNotNow = "ClickNotNowAction:";
inline constexpr const char* kNoUpdateOk = "ClickOkAction:";
}  // namespace actions

}  // namespace linvara
