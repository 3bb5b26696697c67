#pragma once
// The application controller: builds the bookmark session and the subsystem
// controllers, runs the launch and the navigation dispatcher, and keeps the
// operation names every menu, button and table reaches. It holds no
// subsystem's state: the lists, the view and the view state live in the
// session, each subsystem's flags and workers in its controller. It talks to
// the screen only through ScreenInterface, so every command runs without a window.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/BookmarkSession.h"
#include "app/SearchController.h"
#include "app/TableRows.h"
#include "cookies/CookieManager.h"
#include "crypto/EncryptionController.h"
#include "edit/EditController.h"
#include "edit/UnifiedListEditor.h"
#include "export/BookmarkExportController.h"
#include "health/LinkHealthController.h"
#include "health/LinkHealthRemoval.h"
#include "readers/BookmarkReadController.h"
#include "sort/SortController.h"
#include "update/PRUpdateController.h"

namespace linvara {

struct SheetRect {
  double x = 0, y = 0, width = 0, height = 0;
  bool operator==(const SheetRect&) const = default;
};

class AppDelegate {
 public:
  explicit AppDelegate(AppServices services);
  ~AppDelegate();
  AppDelegate(const AppDelegate&) = delete;
  AppDelegate& operator=(const AppDelegate&) = delete;

  // ---- The session and the controllers ----
  BookmarkSession& session() { return session_; }
  const BookmarkSession& session() const { return session_; }
  BookmarkLists& lists() { return session_.lists(); }
  const BookmarkLists& lists() const { return session_.lists(); }
  CookieManager& cookieManager() { return cookieManager_; }
  const CookieManager& cookieManager() const { return cookieManager_; }
  BookmarkReadController& reads() { return reads_; }
  const BookmarkReadController& reads() const { return reads_; }
  LinkHealthController& linkHealth() { return linkHealth_; }
  EditController& editing() { return editing_; }
  const LinkHealthController& linkHealth() const { return linkHealth_; }
  UnifiedListEditor& unifiedListEditor() { return unifiedListEditor_; }
  SortController& sorting() { return sorting_; }
  BookmarkExportController& exports() { return exports_; }
  PRUpdateController& updates() { return updates_; }
  EncryptionController& encryption() { return encryption_; }
  const EncryptionController& encryption() const { return encryption_; }
  // The window draws from this state and redraws when the listener is called.
  const ViewState& viewState() const { return session_.viewState(); }
  void SetViewListener(ViewStateStore::Listener listener) { session_.SetViewListener(std::move(listener)); }

  // ---- Start-up ----
  void applicationDidFinishLaunching();
  // Closing the main window quits: asks to terminate and answers yes.
  bool windowShouldClose();
  bool terminateRequested() const { return terminateRequested_; }
  // Every sheet opens 25 points lower than proposed.
  SheetRect windowWillPositionSheet(SheetRect proposed) const;
  void getSystemVersionMajor(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* bugFix);
  void awakeFromNib();
  static std::string WelcomePageUrl();
  static std::string ProductGuideUrl();
  static std::string SupportUrl();

  // ---- Navigation (AppDelegateNavigation.cpp) ----
  void PRLeftTipButtonMouseDownHandle(const Notification& notification);
  // Posts "PRLeftButtonMouseDown" for the button, as a press of it does.
  void PressNavigationButton(const std::string& outlet);
  void SafariBackAction();
  void ActAboutAction();
  void ClickTheProductGuide();
  void SupportAction();
  // End of the Apply Changes reminder: remembers a ticked suppression box.
  void savePanelDidEnd12(const AlertResponse& response);
  // Fills the entry's submenu with the child folders of `folder`, recursively.
  void getTheChildArrayMenu(const NodePtr& folder, MenuItemModel& item) const;

  // ---- Actions (AppDelegateActions.cpp) ----
  // Runs the action a chosen menu entry carries; false when nothing performs it.
  bool PerformMenuAction(const MenuItemModel& item);
  // Whether the action can run: it is built, or a stand-in was installed for it.
  bool CanPerformAction(const std::string& action) const;
  // Installs (or, with an empty handler, removes) a performer for an action
  // that is not built yet; the entry points below hand over to it.
  using CommandHandler = std::function<void(const MenuItemModel& sender)>;
  void SetCommandHandler(const std::string& action, CommandHandler handler);
  bool EditSelectedBookMarkAction();
  // Save panels naming the folder of an HTML export (the export controller does the work).
  bool ExportAllBookMarksAction();
  bool ExportAllChromeBookMarksAction();
  // The user's update check (the update controller does the work).
  void CheckforUpdateAction() { updates_.CheckforUpdateAction(); }
  bool ReplaceSafariBookMark();

  // ---- Table, selection and search (AppDelegateTable.cpp, AppDelegateSearch.cpp) ----
  // A view (re)load: shows the bookmark table with these rows, reloaded, nothing
  // selected; a search still running for the old rows is dropped.
  void ShowBookmarkRows(NodeList rows);
  // The window reports what the user did to the tables and fields.
  void SelectTableRows(TableId table, std::vector<std::size_t> rows);
  void SetFieldText(const std::string& field, const std::string& text);
  std::size_t numberOfRowsInTableView(TableId table) const;
  // What each column of `dataTableView` shows for a row.
  BookmarkRow BookmarkRowAt(std::size_t row) const;
  ResultRow ResultRowAt(TableId table, std::size_t row) const;
  // The check box of a duplicate or dead-link row: flips the node's `bSelect`.
  void CheckTheFileAction(TableId table, std::size_t row);
  void DoubleClickTableViewBookMarkAction();
  void tableViewSelectionDidChange(TableId table);
  void OpenSelectedBookmarksAction();
  // Text change of a control; only `thesearchField` starts a search.
  void controlTextDidChange(const std::string& control, const std::string& text);
  // Main-thread end of a search; results of a superseded search are dropped.
  void initFilterViewThreadHandle(const NodeList& matches, std::uint64_t generation);
  // The latest search generation; only its results reach the table.
  std::uint64_t searchGeneration() const;
  int searchWorkersRunning() const;

  // ---- Reading browsers (AppDelegateRead.cpp) ----
  void ReadSafariBookMark(const std::filesystem::path& path);
  void ReadSafariBookMark(const std::filesystem::path& path, const NodeList& removeList);
  void ReadChromeBookMark(const std::filesystem::path& path);
  void ReadChromeBookMark(const std::filesystem::path& path, const NodeList& removeList);
  void ReadEdgeBookMark();
  void ReadEdgeBookMarkwithRemoveArray(const NodeList& removeList);
  void ReadOperaBookMark();
  void ReadOperaBookMarkWithRemoveArray(const NodeList& removeList);
  void ReadFirefoxBookMark();
  void ReadFirefoxBookMarkwithRemoveArray(const NodeList& removeList);
  // Step 1 of the full read, done by the all-bookmarks button: empties every list it refills.
  void EmptyListsForFullRead() { session_.EmptyLists(ListGroup::FullRead); }
  // The full read of all browsers: the running-browser and Full Disk Access
  // guards, the five readers, then the unified top level in the table.
  void ActClickOpenCookiesAction();
  // The same without stopping for running browsers (the command line reads
  // anyway and warns); the Full Disk Access alert still shows.
  void ReadAllBrowsersIgnoringRunning();

  // ---- Cookies (AppDelegateCookies.cpp): the cookie manager does the work ----
  bool ActClickSafariAction();
  bool ActClickChromeAction();
  void ActClickNewCookiesAction();
  // Asks for a cookie file (open panel), then scans the choice.
  void ActOpenCookieFileAction();
  // A cookie file the user chose: scanned by its magic, its entries also kept for New Cookies.
  bool CheckFilePathISCookie(const std::filesystem::path& path);
  // Asks first (a sheet, " Remove " or "Cancel"), then removes every cookie of
  // the file scanned last; a failure is shown as an alert. False while busy.
  bool ActRemoveCookieData();
  // Writes the rows shown to "cookiedata.txt" in the export folder, then shows the folder.
  bool ActExportCookieData();

  // ---- Encryption (AppDelegateCrypto.cpp): the encryption controller does the work ----
  bool EncryptedSelectedBookMarkAction();
  bool DecrypteSelectedBookMarkAction();
  void CreatePasswordAction();
  void CancleCreatePasswordAction();

  // ---- Editing and write-back (AppDelegateEdit.cpp): the edit controller does the work ----
  void DeleteSafariBookMarkAction();
  void DeleteChromeBookMarkAction();
  void EditSelectedBookMarkSave();
  void EditSelectedBookMarkCancel();
  void MoveSelectedBookMarktoOtherFolderAction(const MenuItemModel& sender);
  void ReplaceChromeBookMark();
  void RestoreSafariBookMakrAction();
  void RestoreChromeBookMakrAction();

  // ---- Link health: the link-health controller does the work ----
  void FindAllDeadURLBookMarksAction() { linkHealth_.FindAllDeadURLBookMarksAction(); }
  void CancleFindDeadURLAction() { linkHealth_.CancleFindDeadURLAction(); }
  void FindAllDuplicateBookMarksAction() { linkHealth_.FindAllDuplicateBookMarksAction(); }
  void AutoSelectDuplicationBookAction() { linkHealth_.AutoSelectDuplicationBookAction(); }
  void CancleFindDupAction() { linkHealth_.CancleFindDupAction(); }
  void FindSafariDeadURLBookMarksAction() { linkHealth_.FindSafariDeadURLBookMarksAction(); }
  void CancleFindSafariDeadURLAction() { linkHealth_.CancleFindSafariDeadURLAction(); }
  void FindSafariDupBookMarkAction() { linkHealth_.FindSafariDupBookMarkAction(); }
  void RemoveSelectedDeadBookMarkAction() { healthRemoval_.RemoveSelectedDeadBookMarkAction(); }
  void RemoveAutoDuplicationBookAction() { healthRemoval_.RemoveAutoDuplicationBookAction(); }
  void RemoveEmptyBookMarkFolderAction() { healthRemoval_.RemoveEmptyBookMarkFolderAction(); }
  void RemoveSafariEmptyBookMarkFolderAction() { (void)healthRemoval_.RemoveSafariEmptyBookMarkFolderAction(); }

  // ---- Unified list editing (AppDelegateUnifiedEdit.cpp): the unified list editor does the work ----
  void RemoveSelectedBookMarkAction();
  void AddNewBookMarkFolder();
  void NewFolderSave();
  void NewBookMarkCancel();
  // The chosen entry of the move menu names the folder by its title.
  void ActMoveToFolderAction(const MenuItemModel& sender);

  // ---- Start-up state ----
  std::int32_t macOSMajor = 10;
  std::int32_t macOsVer = 10;
  std::string theLinvaraPath;

 private:
  void InstallActions();
  void InstallEditActions();
  void InstallUnifiedEditActions();
  void InstallHealthRemovalActions();
  bool RunCommandHandler(const std::string& action, const MenuItemModel* sender = nullptr);
  void CancelPendingSearches();
  void ShowAllBookmarksView();
  void ShowSafariView();
  void ShowChromeView();
  void ShowListMode(bool flat);
  void PopUpViewMenu(bool toolMenu, const std::string& button);
  void ExportOrApplyPressed();
  void EnterPasswordPressed();
  void SetCookieButtonImages(const std::string& pressed);
  void ShowCookieArea();
  void CookiesChanged();
  bool FullDiskAccessMissing(const std::filesystem::path& safariFile) const;
  // After a single view's read: one alert naming the files that could not be read.
  void TellWhatTheReadCouldNotDo();

  BookmarkSession session_;
  int navigationToken_ = 0;
  bool terminateRequested_ = false;
  std::map<std::string, CommandHandler> commandHandlers_;
  // Controllers, declared last: their workers are cancelled first when the controller goes.
  BookmarkReadController reads_;
  CookieManager cookieManager_;
  LinkHealthController linkHealth_;
  EditController editing_;
  UnifiedListEditor unifiedListEditor_;
  LinkHealthRemoval healthRemoval_;
  SortController sorting_;
  BookmarkExportController exports_;
  PRUpdateController updates_;
  SearchController search_;
  EncryptionController encryption_;
};

}  // namespace linvara
