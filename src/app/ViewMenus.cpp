// The view definition's buttons and menus: which entries each menu offers and
// the controller action each entry sends.
#include "app/Actions.h"
#include "app/Outlets.h"
#include "app/ViewState.h"

namespace linvara {
namespace {

MenuItemModel Item(std::string title, std::string action, std::string identifier = {}) {
  MenuItemModel item;
  item.title = std::move(title);
  item.action = std::move(action);
  item.identifier = std::move(identifier);
  return item;
}

MenuItemModel Separator() {
  MenuItemModel item;
  item.separator = true;
  return item;
}

// A menu entry that only holds a submenu (built when the view opens).
MenuItemModel SubmenuHolder(std::string title, std::string identifier) {
  MenuItemModel item = Item(std::move(title), {}, std::move(identifier));
  item.enabled = false;
  return item;
}

MenuModel Menu(std::string name, std::vector<MenuItemModel> items) { return MenuModel{std::move(name), std::move(items)}; }

}  // namespace

ViewState MakeInitialViewState() {
  using namespace outlets;
  ViewState s;

  for (const char* name : {kAllBookMarkBtn, kSafariBookMarkBtn, kChromeBookMarkBtn, kFolderListViewBtn,
                           kUrlListViewBtn, kBackBookMarkBtn, kSortBookMarkBtn, kToolBookMarkBtn,
                           kExportBookMarkBtn, kOpenCookieBtn, kSafariCookieBtn, kChromeCookieBtn, kNewCookieBtn,
                           kConnectBtn})
    s.buttons[name] = ButtonState{};

  // Launch: the back button shows the top level.
  s.buttons[kBackBookMarkBtn] = ButtonState{images::kHome, 27.0, 27.0, false};

  for (const char* name : {kSearchField, kEnterPWLab, kEnterPDWarnLab, kWarnCreatedpasscodelab})
    s.texts[name] = TextState{};

  // Unified view.
  s.menus[kAllBookmarkRightmenu] = Menu(kAllBookmarkRightmenu, {
      Item("Open in Browser", actions::kOpenSelectedBookmarks),
      Item("Edit Bookmark", actions::kEditSelected),
      Item("Remove from List", actions::kRemoveSelected),
  });
  s.menus[kSortBookmarkMenu] = Menu(kSortBookmarkMenu, {
      Item("Sort by Name", actions::kSortAllByName),
      Item("Sort by Address", actions::kSortAllByAddress),
      Item("Sort by Host", actions::kSortAllByHost),
      Item("Sort by Browser", actions::kSortAllByBrowser),
      Separator(),
      Item("Sort by Address, Bookmarks First", actions::kSortAllByAddressBookmarksFirst),
      Item("Sort by Address, Folders First", actions::kSortAllByAddressFoldersFirst),
      Item("Sort by Name, Bookmarks First", actions::kSortAllByNameBookmarksFirst),
      Item("Sort by Name, Folders First", actions::kSortAllByNameFoldersFirst),
      Separator(),
      Item("Sort Selected by Name", actions::kSortAllSelectedByName),
      Item("Sort Selected by Address", actions::kSortAllSelectedByAddress),
      Item("Sort Selected by Host", actions::kSortAllSelectedByHost),
  });
  s.menus[kBookmarktableMenu] = Menu(kBookmarktableMenu, {
      Item("Find Unreachable Links", actions::kFindDeadLinks),
      Item("Find Duplicates", actions::kFindDuplicates),
      Item("Remove Empty Folders", actions::kRemoveEmptyFolders),
      Separator(),
      Item("New Folder", actions::kNewFolder),
      SubmenuHolder("Move to Folder", kMoveFolderMenuItem),
      Separator(),
      Item("Export Bookmarks", actions::kExportAll),
  });

  // Safari view.
  s.menus[kSafariRightmenu] = Menu(kSafariRightmenu, {
      Item("Open in Browser", actions::kOpenSelectedBookmarks),
      Item("Edit Bookmark", actions::kEditSelected),
      Item("Delete", actions::kDeleteSafari),
      SubmenuHolder("Move to Folder", kMoveSafariFolderMenuItem),
      Separator(),
      Item("Encrypt Selected Bookmarks", actions::kEncryptSelected, kEncryptSelectedBookmarkMenuItem),
      Item("Decrypt Selected Bookmarks", actions::kDecryptSelected, kDecryptSelectedBookmarkMenuItem),
  });
  s.menus[kSortSafariBookMarkMenu] = Menu(kSortSafariBookMarkMenu, {
      Item("Sort by Name, Folders First", actions::kSortSafariByNameFoldersFirst),
      Item("Sort by Name, Folders Last", actions::kSortSafariByNameFoldersLast),
      Item("Sort by Address, Folders First", actions::kSortSafariByAddressFoldersFirst),
      Item("Sort by Address, Folders Last", actions::kSortSafariByAddressFoldersLast),
      Separator(),
      Item("Sort Selected by Name, Folders First", actions::kSortSafariSelectedByNameFoldersFirst),
      Item("Sort Selected by Name, Folders Last", actions::kSortSafariSelectedByNameFoldersLast),
      Item("Sort Selected by Address, Folders First", actions::kSortSafariSelectedByAddressFoldersFirst),
      Item("Sort Selected by Address, Folders Last", actions::kSortSafariSelectedByAddressFoldersLast),
  });
  s.menus[kSafariBookmarkToolMenu] = Menu(kSafariBookmarkToolMenu, {
      Item("Find Unreachable Links", actions::kFindSafariDeadLinks),
      Item("Find Duplicates", actions::kFindSafariDuplicates),
      Item("Remove Empty Folders", actions::kRemoveSafariEmptyFolders),
      Separator(),
      Item("Encrypt Bookmark", actions::kEncryptSelected, kEncryptBookmarkMenuItem),
      Item("Decrypt Bookmark", actions::kDecryptSelected, kDecryptBookmarkMenuItem),
      Separator(),
      Item("Apply Changes", actions::kApplySafari),
      Item("Restore Safari Bookmarks", actions::kRestoreSafari),
  });

  // Chrome view.
  s.menus[kChromeRightmenu] = Menu(kChromeRightmenu, {
      Item("Open in Browser", actions::kOpenSelectedBookmarks),
      Item("Edit Bookmark", actions::kEditSelected),
      Item("Delete", actions::kDeleteChrome),
  });
  s.menus[kSortChromeBookMarkMenu] = Menu(kSortChromeBookMarkMenu, {
      Item("Sort by Name, Folders First", actions::kSortChromeByNameFoldersFirst),
      Item("Sort by Name, Folders Last", actions::kSortChromeByNameFoldersLast),
      Item("Sort by Address, Folders First", actions::kSortChromeByAddressFoldersFirst),
      Item("Sort by Address, Folders Last", actions::kSortChromeByAddressFoldersLast),
      Separator(),
      Item("Sort Selected by Name, Folders First", actions::kSortChromeSelectedByNameFoldersFirst),
      Item("Sort Selected by Name, Folders Last", actions::kSortChromeSelectedByNameFoldersLast),
      Item("Sort Selected by Address, Folders First", actions::kSortChromeSelectedByAddressFoldersFirst),
      Item("Sort Selected by Address, Folders Last", actions::kSortChromeSelectedByAddressFoldersLast),
  });
  s.menus[kChromeBookmarkToolMenu] = Menu(kChromeBookmarkToolMenu, {
      Item("Find Unreachable Links", actions::kFindDeadLinks),
      Item("Find Duplicates", actions::kFindDuplicates),
      Separator(),
      Item("Export Bookmarks", actions::kExportChrome),
      Item("Apply Changes to Chrome", actions::kApplyChrome),
      Item("Restore Chrome Bookmarks", actions::kRestoreChrome),
  });
  return s;
}

}  // namespace linvara
