#pragma once
// Names of the window's outlets and image resources, shared by the controller
// and the window so that both spell them the same way.
namespace linvara::outlets {

// Navigation buttons (the identities the dispatcher compares).
inline constexpr const char* kAllBookMarkBtn = "allBookMarkBtn";
inline constexpr const char* kSafariBookMarkBtn = "safariBookMarkBtn";
inline constexpr const char* kChromeBookMarkBtn = "chromeBookMarkBtn";
inline constexpr const char* kFolderListViewBtn = "folderListViewBtn";
inline constexpr const char* kUrlListViewBtn = "urlListViewBtn";
inline constexpr const char* kBackBookMarkBtn = "backBookMarkBtn";
inline constexpr const char* kSortBookMarkBtn = "sortBookMarkBtn";
inline constexpr const char* kToolBookMarkBtn = "toolBookMarkBtn";
inline constexpr const char* kExportBookMarkBtn = "exportBookMarkBtn";
inline constexpr const char* kOpenCookieBtn = "openCookieBtn";
inline constexpr const char* kSafariCookieBtn = "safariCookieBtn";
inline constexpr const char* kChromeCookieBtn = "chromeCookieBtn";
inline constexpr const char* kNewCookieBtn = "newCookieBtn";
inline constexpr const char* kConnectBtn = "connectBtn";
inline constexpr const char* kEnterPDButton = "enterPDButton";

// Menus.
inline constexpr const char* kAllBookmarkRightmenu = "allBookmarkRightmenu";
inline constexpr const char* kSafariRightmenu = "safariRightmenu";
inline constexpr const char* kChromeRightmenu = "chromeRightmenu";
inline constexpr const char* kSortBookmarkMenu = "sortBookmarkMenu";
inline constexpr const char* kSortSafariBookMarkMenu = "sortSafariBookMarkMenu";
inline constexpr const char* kSortChromeBookMarkMenu = "sortChromeBookMarkMenu";
inline constexpr const char* kBookmarktableMenu = "bookmarktableMenu";
inline constexpr const char* kSafariBookmarkToolMenu = "safariBookmarkToolMenu";
inline constexpr const char* kChromeBookmarkToolMenu = "chromeBookmarkToolMenu";

// Menu entries the controller addresses.
inline constexpr const char* kMoveFolderMenuItem = "moveFolderMenuItem";
inline constexpr const char* kMoveSafariFolderMenuItem = "moveSafariFolderMenuItem";
inline constexpr const char* kEncryptBookmarkMenuItem = "encryptBookmarkMenuItem";
inline constexpr const char* kDecryptBookmarkMenuItem = "decryptBookmarkMenuItem";
inline constexpr const char* kEncryptSelectedBookmarkMenuItem = "encryptSelectedBookmarkMenuItem";
inline constexpr const char* kDecryptSelectedBookmarkMenuItem = "decryptSelectedBookmarkMenuItem";

// Labels and text fields.
inline constexpr const char* kSearchField = "thesearchField";
inline constexpr const char* kEnterPWLab = "enterPWLab";
inline constexpr const char* kEnterPDWarnLab = "enterPDWarnLab";
inline constexpr const char* kWarnCreatedpasscodelab = "warnCreatedpasscodelab";
// The line under the bookmark table; empty: the window counts the rows.
inline constexpr const char* kBookmarkStatus = "bookmarkStatus";

// Windows and sheets.
inline constexpr const char* kEnterPDWindow = "enterPDWindow";
inline constexpr const char* kAboutWindow = "aboutWindow";
inline constexpr const char* kConnectWindow = "connectWindow";
// The edit sheet and its two fields.
inline constexpr const char* kEditBookMarkWindow = "editBookMarkWindow";
inline constexpr const char* kEditBookMarkNamelab = "editBookMarkNamelab";
inline constexpr const char* kEditBookMarkURLlab = "editBookMarkURLlab";

// Decorative image views.
inline constexpr const char* kLeftView = "leftView";
inline constexpr const char* kGroudImageView = "groudImageView";
inline constexpr const char* kTableHeadImageView = "tableHeadImageView";
inline constexpr const char* kConnectImageView = "connectImageView";
inline constexpr const char* kOpeImageView = "opeImageView";

}  // namespace linvara::outlets

namespace linvara::images {
inline constexpr const char* kHome = "homebtn.png";
inline constexpr const char* kBack = "backbtn.png";
inline constexpr const char* kFolderListDown = "folderlistdown.png";
inline constexpr const char* kFolderListNom = "folderlistnom.png";
inline constexpr const char* kUrlListDown = "urllistdown.png";
inline constexpr const char* kUrlListNom = "urllistnom.png";
inline constexpr const char* kExportBookmark = "exportbookmark.png";
inline constexpr const char* kApplyChanges = "applychanges.png";
inline constexpr const char* kOpenCookieNom = "opencookienom.png";
inline constexpr const char* kSafariCookieDown = "safaricookiedown.png";  // lower-case s
inline constexpr const char* kSafariCookieNom = "Safaricookienom.png";    // capital S
inline constexpr const char* kChromeCookieDown = "chromecookiedown.png";
inline constexpr const char* kChromeCookieNom = "chromecookienom.png";
inline constexpr const char* kNewCookieDown = "newcookiedown.png";
inline constexpr const char* kNewCookieNom = "newcookienom.png";
inline constexpr const char* kConnectBtn = "Connectbtn.png";
inline constexpr const char* kBottomImage = "bottomimage.png";
inline constexpr const char* kLeftImage = "leftimage.png";
inline constexpr const char* kTableHead = "tablehead.png";
// Row icons.
inline constexpr const char* kFolderLogo = "folderlogo";
inline constexpr const char* kSafariLogo = "safarilogo";
inline constexpr const char* kChromeLogo = "chromelogo";
inline constexpr const char* kFirefoxLogo = "firefoxlogo";
inline constexpr const char* kOperaLogo = "operalogo";
inline constexpr const char* kEdgeLogo = "edgelogo";
inline constexpr const char* kLock = "lock";
}  // namespace linvara::images
