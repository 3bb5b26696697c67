// The navigation panel: the dispatcher of every navigation button, the three
// bookmark views with their guards, folder and flat list, going up a level,
// the sort and tool menus, the password check and the one-time view set-up.
#include <filesystem>

#include "app/AlertTexts.h"
#include "app/AppDelegate.h"
#include "app/Outlets.h"
#include "platform/MakerSite.h"
#include "readers/ReaderContext.h"

namespace linvara {

namespace {

// Top-level Safari entries that get no entry in the move menu.
bool LeftOutOfMoveMenu(const OptString& title) {
  if (!title) return false;
  return *title == "History" || *title == "Favorites Bar" || *title == "BookmarksMenu" ||
         *title == "com.apple.ReadingList";
}

AlertSpec QuitBrowserAlert(const char* message) {
  AlertSpec a;
  a.message = message;
  a.defaultButton = " Ok ";
  a.alternateButton = "Cancel";
  a.asSheet = true;
  return a;
}

// Both list-mode buttons shown, the folder tree pressed.
void ShowListModeButtons(ViewState& s) {
  s.button(outlets::kFolderListViewBtn).image = images::kFolderListDown;
  s.button(outlets::kFolderListViewBtn).hidden = false;
  s.button(outlets::kUrlListViewBtn).image = images::kUrlListNom;
  s.button(outlets::kUrlListViewBtn).hidden = false;
}

}  // namespace

std::string AppDelegate::ProductGuideUrl() { return std::string(kMakerSite) + "/guide/how-to-use-linvara.html"; }
std::string AppDelegate::SupportUrl() { return std::string(kMakerSite) + "/support.html"; }

void AppDelegate::PressNavigationButton(const std::string& outlet) {
  notifications().Post(Notification{kLeftButtonMouseDown, outlet});
}

void AppDelegate::PRLeftTipButtonMouseDownHandle(const Notification& notification) {
  using namespace outlets;
  const std::string& b = notification.sender;
  if (b == kAllBookMarkBtn) {
    ShowAllBookmarksView();
  } else if (b == kSafariBookMarkBtn) {
    ShowSafariView();
  } else if (b == kChromeBookMarkBtn) {
    ShowChromeView();
  } else if (b == kFolderListViewBtn) {
    ShowListMode(false);
  } else if (b == kUrlListViewBtn) {
    ShowListMode(true);
  } else if (b == kBackBookMarkBtn) {
    SafariBackAction();
  } else if (b == kSortBookMarkBtn) {
    PopUpViewMenu(false, b);
  } else if (b == kToolBookMarkBtn) {
    PopUpViewMenu(true, b);
  } else if (b == kExportBookMarkBtn) {
    ExportOrApplyPressed();
  } else if (b == kSafariCookieBtn) {
    SetCookieButtonImages(b);
    RunCommandHandler("ActClickSafariAction:");
  } else if (b == kChromeCookieBtn) {
    SetCookieButtonImages(b);
    RunCommandHandler("ActClickChromeAction:");
  } else if (b == kNewCookieBtn) {
    SetCookieButtonImages(b);
    RunCommandHandler("ActClickNewCookiesAction:");
  } else if (b == kConnectBtn) {
    UpdateView(viewsection::kButtons, [](ViewState& s) { s.button(outlets::kConnectBtn).image = images::kConnectBtn; });
    RunCommandHandler("clickConnectHomeAction:");
  } else if (b == kEnterPDButton) {
    EnterPasswordPressed();
  }
  // Any other sender is ignored.
}

// ---- The three bookmark views ----

void AppDelegate::EmptyViewLists() {
  BookmarkLists& l = lists();
  for (NodeList* list : {&l.allbookMarkArray, &l.safariFatherArray, &l.safariBookMarkArray, &l.ChromeFatherArray,
                         &l.chromebookMarkArray, &l.fliterSearchArray, &l.duplicateArray, &l.deadURLArray,
                         &l.folderArray})
    list->clear();
}

void AppDelegate::ShowAllBookmarksView() {
  bookMarkType = 1;
  UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [](ViewState& s) {
    s.button(outlets::kFolderListViewBtn).hidden = false;
    s.button(outlets::kUrlListViewBtn).hidden = false;
    s.bookmarkTableMenu = outlets::kAllBookmarkRightmenu;
    s.button(outlets::kExportBookMarkBtn).image = images::kExportBookmark;
  });
  EmptyListsForFullRead();
  ActClickOpenCookiesAction();
}

bool AppDelegate::FullDiskAccessMissing(const std::filesystem::path& safariFile) const {
  const bool mojaveOrLater = macOsVer >= 14 || macOSMajor >= 11;
  return mojaveOrLater && !IsReadableFile(safariFile);
}

void AppDelegate::ShowSafariView() {
  bookMarkType = 2;
  UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [](ViewState& s) {
    ShowListModeButtons(s);
    s.bookmarkTableMenu = outlets::kSafariRightmenu;
  });

  if (platform().IsRunning(bundleids::kSafari)) {
    screen().ShowAlert(QuitBrowserAlert(alerttexts::kQuitSafari), [](AlertResponse) {});
    return;
  }
  const std::filesystem::path safariFile = locations().safariBookmarks();
  if (FullDiskAccessMissing(safariFile)) {
    AlertSpec a;
    a.message = alerttexts::kFullDiskAccess;
    a.alternateButton = "Cancel";
    a.informativeText = alerttexts::kFullDiskAccessInfo;
    a.asSheet = false;
    screen().ShowAlert(a, [](AlertResponse) {});
    return;
  }

  EmptyViewLists();
  UpdateView(viewsection::kButtons,
             [](ViewState& s) { s.button(outlets::kExportBookMarkBtn).image = images::kApplyChanges; });
  ReadSafariBookMark(safariFile);
  ShowBookmarkRows(lists().safariFatherArray);

  // The move menu: one entry per top-level Safari folder, each with its subfolders.
  MenuItemModel holder;
  for (const NodePtr& node : lists().safariFatherArray) {
    if (!node || !node->isFolder() || LeftOutOfMoveMenu(node->thetitle())) continue;
    MenuItemModel entry;
    entry.title = node->thetitle().value_or("");
    entry.action = "MoveSelectedBookMarktoOtherFolderAction:";
    getTheChildArrayMenu(node, entry);
    holder.submenu.push_back(std::move(entry));
  }
  UpdateView(viewsection::kMenus, [&](ViewState& s) {
    if (MenuItemModel* item = s.findMenuItem(outlets::kMoveSafariFolderMenuItem)) {
      item->submenu = std::move(holder.submenu);
      item->enabled = true;
    }
  });

  if (!preferences().getBool(prefkeys::kBookMarkAlertSuppress)) {
    AlertSpec a;
    a.message = alerttexts::kApplyChangesReminder;
    a.informativeText = alerttexts::kApplyChangesReminderInfo;
    a.asSheet = true;
    a.showSuppressionButton = true;
    screen().ShowAlert(a, [this](AlertResponse r) { savePanelDidEnd12(r); });
  }
}

void AppDelegate::savePanelDidEnd12(const AlertResponse& response) {
  // Only " Ok " (the first button) counts; the box is remembered only when ticked.
  if (response.button != AlertButton::Default) return;
  if (response.suppressionChecked) (void)preferences().set(prefkeys::kBookMarkAlertSuppress, Value(true));
}

void AppDelegate::ShowChromeView() {
  bookMarkType = 3;
  UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [](ViewState& s) {
    ShowListModeButtons(s);
    s.bookmarkTableMenu = outlets::kChromeRightmenu;
  });
  if (platform().IsRunning(bundleids::kChrome)) {
    screen().ShowAlert(QuitBrowserAlert(alerttexts::kQuitChrome), [](AlertResponse) {});
    return;
  }
  EmptyViewLists();
  UpdateView(viewsection::kButtons,
             [](ViewState& s) { s.button(outlets::kExportBookMarkBtn).image = images::kExportBookmark; });
  ReadChromeBookMark(locations().ChooseChromeBookmarks());
  ShowBookmarkRows(lists().ChromeFatherArray);
}

// ---- Folder tree, flat list and going up ----

NodeList AppDelegate::FolderViewContent() const {
  const BookmarkLists& l = lists();
  switch (bookMarkType) {
    case 1: return UnifiedTopLevel();
    case 2: return l.safariFatherArray;
    case 3: return l.ChromeFatherArray;
    default: return {};
  }
}

NodeList AppDelegate::FlatListContent() const {
  const BookmarkLists& l = lists();
  switch (bookMarkType) {
    case 1: return l.allbookMarkArray;
    case 2: return l.safariBookMarkArray;
    case 3: return l.chromebookMarkArray;
    default: return {};
  }
}

void AppDelegate::ShowListMode(bool flat) {
  UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [&](ViewState& s) {
    s.button(outlets::kFolderListViewBtn).image = flat ? images::kFolderListNom : images::kFolderListDown;
    s.button(outlets::kUrlListViewBtn).image = flat ? images::kUrlListDown : images::kUrlListNom;
    if (bookMarkType >= 1 && bookMarkType <= 3) {
      CancelPendingSearches();
      SetBookmarkTableContent(flat ? FlatListContent() : FolderViewContent());
    }
    SetBackButtonHome();
  });
}

void AppDelegate::SafariBackAction() {
  if (BackButtonShowsHome()) {
    // At the top level: back to the start screen, with the view's lists let go.
    CancelPendingSearches();
    BookmarkLists& l = lists();
    for (NodeList* list : {&l.allbookMarkArray, &l.safariFatherArray, &l.safariBookMarkArray, &l.ChromeFatherArray,
                           &l.chromebookMarkArray, &l.edgeFatherArray, &l.edgebookMarkArray, &l.FireFoxFatherArray,
                           &l.FireFoxBookMarkArray, &l.OperaFatherArray})
      list->clear();
    bRemoveAllDupBookmark = false;
    UpdateView(viewsection::kArea | viewsection::kBookmarkTable, [&](ViewState& s) {
      s.area = ContentArea::Start;
      SetBookmarkTableContent({});
    });
    return;
  }
  if (bookMarkType < 1 || bookMarkType > 3) return;

  const NodeList& content = viewState().bookmarkTable.content;
  const NodePtr first = content.empty() ? nullptr : content.front();
  const NodePtr father = first ? first->fatherItem() : nullptr;
  const NodePtr grandfather = father ? father->fatherItem() : nullptr;
  const NodePtr root = lists().rootNode;

  const auto goHome = [&] {
    UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [&](ViewState&) {
      SetBackButtonHome();
      SetBookmarkTableContent(FolderViewContent());
    });
  };
  // The folder above the parent: its children are the level above. A node
  // without one (a top-level entry, or one whose folder has gone) leads home.
  const auto showGrandfatherLevel = [&] {
    if (FolderPtr folder = AsFolder(grandfather)) {
      NodeListPtr children = folder->childrenArray();
      SetBookmarkTableContent(children ? *children : NodeList{});
    } else {
      goHome();
    }
  };

  if (bookMarkType == 2 || bookMarkType == 3) {
    if (!first || (grandfather && grandfather == root)) goHome();
    else showGrandfatherLevel();
    return;
  }
  // The unified view.
  if (!first || (father && father == root)) goHome();
  else if (grandfather && grandfather->isRoot()) SetBookmarkTableContent(FolderViewContent());
  else showGrandfatherLevel();
}

// ---- Menus ----

void AppDelegate::getTheChildArrayMenu(const NodePtr& folder, MenuItemModel& item) const {
  FolderPtr f = AsFolder(folder);
  if (!f) return;
  std::vector<MenuItemModel> submenu;
  for (const NodePtr& child : f->childrenSnapshot()) {
    if (!child || !child->isFolder()) continue;
    MenuItemModel entry;
    entry.title = child->thetitle().value_or("");
    entry.action = "MoveSelectedBookMarktoOtherFolderAction:";
    getTheChildArrayMenu(child, entry);
    submenu.push_back(std::move(entry));
  }
  if (!submenu.empty()) item.submenu = std::move(submenu);
}

void AppDelegate::PopUpViewMenu(bool toolMenu, const std::string& button) {
  std::string menuName;
  switch (bookMarkType) {
    case 1: menuName = toolMenu ? outlets::kBookmarktableMenu : outlets::kSortBookmarkMenu; break;
    case 2: menuName = toolMenu ? outlets::kSafariBookmarkToolMenu : outlets::kSortSafariBookMarkMenu; break;
    case 3: menuName = toolMenu ? outlets::kChromeBookmarkToolMenu : outlets::kSortChromeBookMarkMenu; break;
    default: return;
  }
  if (toolMenu && bookMarkType == 1) {
    UpdateView(viewsection::kMenus, [&](ViewState& s) {
      MenuItemModel* item = s.findMenuItem(outlets::kMoveFolderMenuItem);
      if (!item) return;
      item->submenu.clear();
      item->enabled = !lists().folderArray.empty();
      for (const NodePtr& folder : lists().folderArray) {
        MenuItemModel entry;
        entry.title = folder ? folder->thetitle().value_or("") : "";
        entry.action = "ActMoveToFolderAction:";
        item->submenu.push_back(std::move(entry));
      }
    });
  }
  auto it = viewState().menus.find(menuName);
  if (it == viewState().menus.end()) return;
  screen().PopUpMenuAtButton(it->second, button, 4.0);
}

// ---- Export / Apply Changes, cookies, password ----

void AppDelegate::ExportOrApplyPressed() {
  switch (bookMarkType) {
    case 1: ExportAllBookMarksAction(); break;
    case 2: ReplaceSafariBookMark(); break;
    case 3: ExportAllChromeBookMarksAction(); break;
    default: break;
  }
}

void AppDelegate::SetCookieButtonImages(const std::string& pressed) {
  using namespace outlets;
  UpdateView(viewsection::kButtons, [&](ViewState& s) {
    s.button(kOpenCookieBtn).image = images::kOpenCookieNom;
    s.button(kSafariCookieBtn).image = pressed == kSafariCookieBtn ? images::kSafariCookieDown : images::kSafariCookieNom;
    s.button(kChromeCookieBtn).image = pressed == kChromeCookieBtn ? images::kChromeCookieDown : images::kChromeCookieNom;
    s.button(kNewCookieBtn).image = pressed == kNewCookieBtn ? images::kNewCookieDown : images::kNewCookieNom;
  });
}

void AppDelegate::EnterPasswordPressed() {
  const std::optional<std::string> stored = preferences().getString(prefkeys::kLinvaraPassword);
  const TextState* typed = viewState().findText(outlets::kEnterPWLab);
  const std::string typedText = typed ? typed->text : std::string();
  if (stored && *stored == typedText) {
    UpdateView(viewsection::kTexts, [](ViewState& s) {
      s.text(outlets::kEnterPDWarnLab).hidden = true;
      s.text(outlets::kEnterPWLab).text.clear();
    });
    screen().CloseWindow(outlets::kEnterPDWindow);
    if (isEnterEncryptMode) {
      hasEnterEncryptedPasswd = true;
      EncryptedSelectedBookMarkAction();
    }
    if (isEnterDecryptMode) {
      hasEnterDecryptedPasswd = true;
      DecrypteSelectedBookMarkAction();
    }
    return;
  }
  UpdateView(viewsection::kTexts, [](ViewState& s) {
    s.text(outlets::kEnterPDWarnLab).hidden = false;
    s.text(outlets::kEnterPWLab).text.clear();
  });
  screen().ShakeWindow(outlets::kEnterPDWindow);
}

// ---- About, guide, support ----

void AppDelegate::ActAboutAction() {
  if (!screen().IsWindowVisible(outlets::kAboutWindow)) screen().ShowWindow(outlets::kAboutWindow, false);
}

void AppDelegate::ClickTheProductGuide() { platform().OpenUrl(ProductGuideUrl()); }

void AppDelegate::SupportAction() { platform().OpenUrl(SupportUrl()); }

// ---- One-time set-up ----

void AppDelegate::awakeFromNib() {
  using namespace outlets;
  bSearchStop = false;
  bSearchThreadStart = false;
  UpdateView(viewsection::kImages | viewsection::kButtons | viewsection::kBookmarkTable | viewsection::kMenus |
                 viewsection::kTexts,
             [](ViewState& s) {
    s.imageViews[kLeftView] = images::kLeftImage;
    s.imageViews[kGroudImageView] = images::kTableHead;
    s.imageViews[kTableHeadImageView] = images::kLeftImage;
    s.imageViews[kConnectImageView] = images::kTableHead;
    s.imageViews[kOpeImageView] = images::kBottomImage;
    s.button(kNewCookieBtn).hidden = true;
    s.bookmarkTableMultipleSelection = true;
    if (MenuItemModel* move = s.findMenuItem(kMoveFolderMenuItem)) move->enabled = false;
    s.connectWindowAlpha = 0.95;
    s.connectWindowOpaque = false;
    s.text(kWarnCreatedpasscodelab).hidden = true;
    s.text(kEnterPDWarnLab).hidden = true;
  });
}

}  // namespace linvara
