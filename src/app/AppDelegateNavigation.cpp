// The navigation panel: the dispatcher of every navigation button, the three
// bookmark views with their guards, folder and flat list, going up a level,
// the sort and tool menus, the password check and the one-time view set-up.
#include <filesystem>

#include "app/Actions.h"
#include "app/AlertTexts.h"
#include "app/AppDelegate.h"
#include "app/Outlets.h"
#include "platform/MakerSite.h"
#include "readers/ReaderContext.h"

namespace linvara {

namespace {

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
  session_.notifications().Post(Notification{kLeftButtonMouseDown, outlet});
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
  } else if (b == kSafariCookieBtn || b == kChromeCookieBtn || b == kNewCookieBtn) {
    // A cookie button turns the window to the cookie area.
    session_.UpdateView(viewsection::kArea | viewsection::kButtons, [&](ViewState& s) {
      SetCookieButtonImages(b);
      s.area = ContentArea::Cookies;
    });
    RunCommandHandler(b == kSafariCookieBtn   ? actions::kSafariCookies
                      : b == kChromeCookieBtn ? actions::kChromeCookies
                                              : actions::kNewCookies);
  } else if (b == kConnectBtn) {
    session_.UpdateView(viewsection::kButtons,
                        [](ViewState& s) { s.button(outlets::kConnectBtn).image = images::kConnectBtn; });
    RunCommandHandler(actions::kConnectHome);
  } else if (b == kEnterPDButton) {
    EnterPasswordPressed();
  }
  // Any other sender is ignored.
}

// ---- The three bookmark views ----

void AppDelegate::ShowAllBookmarksView() {
  session_.bookMarkType = ViewKind::All;
  session_.UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [](ViewState& s) {
    s.button(outlets::kFolderListViewBtn).hidden = false;
    s.button(outlets::kUrlListViewBtn).hidden = false;
    s.bookmarkTableMenu = BookmarkSession::MenusOf(ViewKind::All).tableMenu;
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
  session_.bookMarkType = ViewKind::Safari;
  session_.UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [](ViewState& s) {
    ShowListModeButtons(s);
    s.bookmarkTableMenu = BookmarkSession::MenusOf(ViewKind::Safari).tableMenu;
  });

  if (session_.platform().IsRunning(bundleids::kSafari)) {
    session_.screen().ShowAlert(QuitBrowserAlert(alerttexts::kQuitSafari), [](AlertResponse) {});
    return;
  }
  const std::filesystem::path safariFile = session_.locations().safariBookmarks();
  if (FullDiskAccessMissing(safariFile)) {
    AlertSpec a;
    a.message = alerttexts::kFullDiskAccess;
    a.alternateButton = "Cancel";
    a.informativeText = alerttexts::kFullDiskAccessInfo;
    a.asSheet = false;
    session_.screen().ShowAlert(a, [](AlertResponse) {});
    return;
  }

  session_.EmptyLists(ListGroup::ViewLists);
  session_.UpdateView(viewsection::kButtons,
             [](ViewState& s) { s.button(outlets::kExportBookMarkBtn).image = images::kApplyChanges; });
  ReadSafariBookMark(safariFile);
  TellWhatTheReadCouldNotDo();
  ShowBookmarkRows(lists().safariFatherArray);

  // The move menu: one entry per top-level Safari folder, each with its subfolders.
  editing_.BuildSafariMoveMenu();

  if (!session_.preferences().getBool(prefkeys::kBookMarkAlertSuppress)) {
    AlertSpec a;
    a.message = alerttexts::kApplyChangesReminder;
    a.informativeText = alerttexts::kApplyChangesReminderInfo;
    a.asSheet = true;
    a.showSuppressionButton = true;
    session_.screen().ShowAlert(a, [this](AlertResponse r) { savePanelDidEnd12(r); });
  }
}

void AppDelegate::savePanelDidEnd12(const AlertResponse& response) {
  // Only " Ok " (the first button) counts; the box is remembered only when ticked.
  if (response.button != AlertButton::Default) return;
  if (response.suppressionChecked) (void)session_.preferences().set(prefkeys::kBookMarkAlertSuppress, Value(true));
}

void AppDelegate::ShowChromeView() {
  session_.bookMarkType = ViewKind::Chrome;
  session_.UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [](ViewState& s) {
    ShowListModeButtons(s);
    s.bookmarkTableMenu = BookmarkSession::MenusOf(ViewKind::Chrome).tableMenu;
  });
  if (session_.platform().IsRunning(bundleids::kChrome)) {
    session_.screen().ShowAlert(QuitBrowserAlert(alerttexts::kQuitChrome), [](AlertResponse) {});
    return;
  }
  session_.EmptyLists(ListGroup::ViewLists);
  session_.UpdateView(viewsection::kButtons,
             [](ViewState& s) { s.button(outlets::kExportBookMarkBtn).image = images::kExportBookmark; });
  ReadChromeBookMark(session_.locations().ChooseChromeBookmarks());
  TellWhatTheReadCouldNotDo();
  ShowBookmarkRows(lists().ChromeFatherArray);
}

// ---- Folder tree, flat list and going up ----

void AppDelegate::ShowListMode(bool flat) {
  session_.UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [&](ViewState& s) {
    s.button(outlets::kFolderListViewBtn).image = flat ? images::kFolderListNom : images::kFolderListDown;
    s.button(outlets::kUrlListViewBtn).image = flat ? images::kUrlListDown : images::kUrlListNom;
    if (IsBookmarkView(session_.bookMarkType)) {
      CancelPendingSearches();
      session_.SetBookmarkTableContent(flat ? session_.FlatList() : session_.TopLevel());
    }
    session_.SetBackButtonHome();
  });
}

void AppDelegate::SafariBackAction() {
  if (session_.BackButtonShowsHome()) {
    // At the top level: back to the start screen, with the view's lists let go.
    CancelPendingSearches();
    session_.EmptyLists(ListGroup::Browsers);
    session_.UpdateView(viewsection::kArea | viewsection::kBookmarkTable, [&](ViewState& s) {
      s.area = ContentArea::Start;
      session_.SetBookmarkTableContent({});
    });
    return;
  }
  if (!IsBookmarkView(session_.bookMarkType)) return;

  const NodeList& content = viewState().bookmarkTable.content;
  const NodePtr first = content.empty() ? nullptr : content.front();
  const NodePtr father = first ? first->fatherItem() : nullptr;
  const NodePtr grandfather = father ? father->fatherItem() : nullptr;
  const NodePtr root = lists().rootNode;

  const auto goHome = [&] {
    session_.UpdateView(viewsection::kButtons | viewsection::kBookmarkTable, [&](ViewState&) {
      session_.SetBackButtonHome();
      session_.SetBookmarkTableContent(session_.TopLevel());
    });
  };
  // The folder above the parent: its children are the level above. A node
  // without one (a top-level entry, or one whose folder has gone) leads home.
  const auto showGrandfatherLevel = [&] {
    if (FolderPtr folder = AsFolder(grandfather)) {
      NodeListPtr children = folder->childrenArray();
      session_.SetBookmarkTableContent(children ? *children : NodeList{});
    } else {
      goHome();
    }
  };

  if (IsTreeView(session_.bookMarkType)) {
    if (!first || (grandfather && grandfather == root)) goHome();
    else showGrandfatherLevel();
    return;
  }
  // The unified view.
  if (!first || (father && father == root)) goHome();
  else if (grandfather && grandfather->isRoot()) session_.SetBookmarkTableContent(session_.TopLevel());
  else showGrandfatherLevel();
}

// ---- Menus ----

void AppDelegate::getTheChildArrayMenu(const NodePtr& folder, MenuItemModel& item) const {
  editing_.getTheChildArrayMenu(folder, item);
}

void AppDelegate::PopUpViewMenu(bool toolMenu, const std::string& button) {
  if (!IsBookmarkView(session_.bookMarkType)) return;
  const ViewMenuNames menus = BookmarkSession::MenusOf(session_.bookMarkType);
  const std::string menuName = toolMenu ? menus.toolMenu : menus.sortMenu;
  if (toolMenu && session_.bookMarkType == ViewKind::All) unifiedListEditor_.RebuildMoveFolderMenu();
  auto it = viewState().menus.find(menuName);
  if (it == viewState().menus.end()) return;
  session_.screen().PopUpMenuAtButton(it->second, button, 4.0);
}

// ---- Export / Apply Changes, cookies ----

void AppDelegate::ExportOrApplyPressed() {
  switch (session_.bookMarkType) {
    case ViewKind::All: ExportAllBookMarksAction(); break;
    case ViewKind::Safari: ReplaceSafariBookMark(); break;
    case ViewKind::Chrome: ExportAllChromeBookMarksAction(); break;
    case ViewKind::None: break;
  }
}

void AppDelegate::SetCookieButtonImages(const std::string& pressed) {
  using namespace outlets;
  session_.UpdateView(viewsection::kButtons, [&](ViewState& s) {
    s.button(kOpenCookieBtn).image = images::kOpenCookieNom;
    s.button(kSafariCookieBtn).image = pressed == kSafariCookieBtn ? images::kSafariCookieDown : images::kSafariCookieNom;
    s.button(kChromeCookieBtn).image = pressed == kChromeCookieBtn ? images::kChromeCookieDown : images::kChromeCookieNom;
    s.button(kNewCookieBtn).image = pressed == kNewCookieBtn ? images::kNewCookieDown : images::kNewCookieNom;
  });
}

// ---- About, guide, support ----

void AppDelegate::ActAboutAction() {
  if (!session_.screen().IsWindowVisible(outlets::kAboutWindow)) session_.screen().ShowWindow(outlets::kAboutWindow, false);
}

void AppDelegate::ClickTheProductGuide() { session_.platform().OpenUrl(ProductGuideUrl()); }

void AppDelegate::SupportAction() { session_.platform().OpenUrl(SupportUrl()); }

// ---- One-time set-up ----

void AppDelegate::awakeFromNib() {
  using namespace outlets;
  search_.ResetSearchState();
  session_.UpdateView(viewsection::kImages | viewsection::kButtons | viewsection::kBookmarkTable | viewsection::kMenus |
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
