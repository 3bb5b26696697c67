// The view definition's buttons and menus: which entries each menu offers and
// the controller action each entry sends.
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
      Item("Open in Browser", "OpenSelectedBookmarksAction:"),
      Item("Edit Bookmark", "EditSelectedBookMarkAction:"),
      Item("Remove from List", "RemoveSelectedBookMarkAction:"),
  });
  s.menus[kSortBookmarkMenu] = Menu(kSortBookmarkMenu, {
      Item("Sort by Name", "SortAllBookMarkByName:"),
      Item("Sort by Address", "SortAllBookMarkByAddress:"),
      Item("Sort by Host", "SortAllBookMarkByHost:"),
      Item("Sort by Browser", "SortAllBookMarkByBrowserType:"),
      Separator(),
      Item("Sort by Address, Bookmarks First", "SortAllBookMarkAddressAZByURLFirstAddress:"),
      Item("Sort by Address, Folders First", "SortAllBookMarkAddressAZByFolderFirstAddress:"),
      Item("Sort by Name, Bookmarks First", "SortAllBookMarkAddressAZByURLFirstTitle:"),
      Item("Sort by Name, Folders First", "SortAllBookMarkAddressAZByFolderFirstTitle:"),
      Separator(),
      Item("Sort Selected by Name", "SortSelectedAllBookMarkByName:"),
      Item("Sort Selected by Address", "SortSelectedAllBookMarkByAddress:"),
      Item("Sort Selected by Host", "SortSelectedBookMarkByHost:"),
  });
  s.menus[kBookmarktableMenu] = Menu(kBookmarktableMenu, {
      Item("Find Unreachable Links", "FindAllDeadURLBookMarksAction:"),
      Item("Find Duplicates", "FindAllDuplicateBookMarksAction:"),
      Item("Remove Empty Folders", "RemoveEmptyBookMarkFolderAction:"),
      Separator(),
      Item("New Folder", "AddNewBookMarkFolder:"),
      SubmenuHolder("Move to Folder", kMoveFolderMenuItem),
      Separator(),
      Item("Export Bookmarks", "ExportAllBookMarksAction:"),
  });

  // Safari view.
  s.menus[kSafariRightmenu] = Menu(kSafariRightmenu, {
      Item("Open in Browser", "OpenSelectedBookmarksAction:"),
      Item("Edit Bookmark", "EditSelectedBookMarkAction:"),
      Item("Delete", "DeleteSafariBookMarkAction:"),
      SubmenuHolder("Move to Folder", kMoveSafariFolderMenuItem),
      Separator(),
      Item("Encrypt Selected Bookmarks", "EncryptedSelectedBookMarkAction:", kEncryptSelectedBookmarkMenuItem),
      Item("Decrypt Selected Bookmarks", "DecrypteSelectedBookMarkAction:", kDecryptSelectedBookmarkMenuItem),
  });
  s.menus[kSortSafariBookMarkMenu] = Menu(kSortSafariBookMarkMenu, {
      Item("Sort by Name, Folders First", "SortSafariBookMarkByNameFolderFirst:"),
      Item("Sort by Name, Folders Last", "SortSafariBookMarkByNameFolderLast:"),
      Item("Sort by Address, Folders First", "SortSafariBookMarkByAddressFolderFirst:"),
      Item("Sort by Address, Folders Last", "SortSafariBookMarkByAddressFolderLast:"),
      Separator(),
      Item("Sort Selected by Name, Folders First", "SortSelectedBookmarkByNameFirst:"),
      Item("Sort Selected by Name, Folders Last", "SortSelectedBookmarkByName:"),
      Item("Sort Selected by Address, Folders First", "SortSelectedBookmarkByAddressFolderFirst:"),
      Item("Sort Selected by Address, Folders Last", "SortSelectedBookmarkByAddressFolderLast:"),
  });
  s.menus[kSafariBookmarkToolMenu] = Menu(kSafariBookmarkToolMenu, {
      Item("Find Unreachable Links", "FindSafariDeadURLBookMarksAction:"),
      Item("Find Duplicates", "FindSafariDupBookMarkAction:"),
      Item("Remove Empty Folders", "RemoveSafariEmptyBookMarkFolderAction:"),
      Separator(),
      Item("Encrypt Bookmark", "EncryptedSelectedBookMarkAction:", kEncryptBookmarkMenuItem),
      Item("Decrypt Bookmark", "DecrypteSelectedBookMarkAction:", kDecryptBookmarkMenuItem),
      Separator(),
      Item("Apply Changes", "ReplaceSafariBookMark"),
      Item("Restore Safari Bookmarks", "RestoreSafariBookMakrAction:"),
  });

  // Chrome view.
  s.menus[kChromeRightmenu] = Menu(kChromeRightmenu, {
      Item("Open in Browser", "OpenSelectedBookmarksAction:"),
      Item("Edit Bookmark", "EditSelectedBookMarkAction:"),
      Item("Delete", "DeleteChromeBookMarkAction:"),
  });
  s.menus[kSortChromeBookMarkMenu] = Menu(kSortChromeBookMarkMenu, {
      Item("Sort by Name, Folders First", "SortChromeBookMarkByNameFolderFirst:"),
      Item("Sort by Name, Folders Last", "SortChromeBookMarkByNameFolderLast:"),
      Item("Sort by Address, Folders First", "SortChromeBookMarkByAdressFolderFirst:"),
      Item("Sort by Address, Folders Last", "SortChromeBookMarkByAdressURLFirst:"),
      Separator(),
      Item("Sort Selected by Name, Folders First", "SortSelectedChromeBookmarkByNameFirst:"),
      Item("Sort Selected by Name, Folders Last", "SortSelectedChromeBookmarkByName:"),
      Item("Sort Selected by Address, Folders First", "SortSelectedChromeBookmarkByAddressFolderFirst:"),
      Item("Sort Selected by Address, Folders Last", "SortSelectedChromeBookmarkByAddressFolderLast:"),
  });
  s.menus[kChromeBookmarkToolMenu] = Menu(kChromeBookmarkToolMenu, {
      Item("Find Unreachable Links", "FindAllDeadURLBookMarksAction:"),
      Item("Find Duplicates", "FindAllDuplicateBookMarksAction:"),
      Separator(),
      Item("Export Bookmarks", "ExportAllChromeBookMarksAction:"),
      Item("Restore Chrome Bookmarks", "RestoreChromeBookMakrAction:"),
  });
  return s;
}

}  // namespace linvara
