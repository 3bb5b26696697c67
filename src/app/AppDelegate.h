#pragma once
// The application controller: owns the node lists, the view state and the
// commands. It talks to the screen only through ScreenInterface, so every
// command runs without a window. The work itself lives in the subsystem units
// (readers, cookies, health, ...); the controller wires them to its state.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/NotificationCenter.h"
#include "app/ScreenInterface.h"
#include "app/SearchWorkers.h"
#include "app/TableRows.h"
#include "app/ViewState.h"
#include "cookies/CookieManager.h"
#include "health/DeadLinkScan.h"
#include "health/DuplicateGroups.h"
#include "model/BookmarkLists.h"
#include "platform/Locations.h"
#include "platform/MainThread.h"
#include "platform/PlatformServices.h"
#include "platform/Preferences.h"
#include "readers/ReadReport.h"

namespace linvara {

struct AppServices {
  Locations locations = Locations::FromEnvironment();
  std::shared_ptr<Preferences> preferences;
  std::shared_ptr<PlatformServices> platform;
  std::shared_ptr<MainThreadDispatcher> dispatcher;
  std::shared_ptr<ScreenInterface> screen;
  std::shared_ptr<NotificationCenter> notifications;
};

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

  // ---- Start-up ----
  void applicationDidFinishLaunching();
  // Closing the main window quits: asks to terminate and answers yes.
  bool windowShouldClose();
  // Every sheet opens 25 points lower than proposed.
  SheetRect windowWillPositionSheet(SheetRect proposed) const;
  void getSystemVersionMajor(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* bugFix) const;
  bool terminateRequested() const { return terminateRequested_; }

  // ---- Presenter: view state (AppDelegatePresenter.cpp) ----
  // The window draws from this state and redraws when the listener is called.
  const ViewState& viewState() const { return view_.state(); }
  void SetViewListener(ViewStateStore::Listener listener) { view_.setListener(std::move(listener)); }
  // Changes the state and notifies the listener once.
  void UpdateView(unsigned sections, const std::function<void(ViewState&)>& change);
  // A view (re)load: shows the bookmark table with these rows, reloaded, nothing
  // selected; a search still running for the old rows is dropped.
  void ShowBookmarkRows(NodeList rows);
  // Replaces the rows of `dataTableView`, reloads it and deselects all.
  void SetBookmarkTableContent(NodeList rows);
  // The start screen (`bookMarkView`), the bookmark table (`theConentView`) or the cookie area.
  void ShowContentArea(ContentArea area);
  // `backBookMarkBtn` at 27 x 27 with "homebtn.png": the view is at its top level.
  void SetBackButtonHome();
  bool BackButtonShowsHome() const;
  // The window reports what the user did to the tables and fields.
  void SelectTableRows(TableId table, std::vector<std::size_t> rows);
  void SetFieldText(const std::string& field, const std::string& text);

  // ---- Presenter: navigation (AppDelegateNavigation.cpp) ----
  void PRLeftTipButtonMouseDownHandle(const Notification& notification);
  // Convenience for the window and tests: posts "PRLeftButtonMouseDown" for the button.
  void PressNavigationButton(const std::string& outlet);
  void awakeFromNib();
  void SafariBackAction();
  void ActAboutAction();
  void ClickTheProductGuide();
  void SupportAction();
  // End of the Apply Changes reminder: remembers a ticked suppression box.
  void savePanelDidEnd12(const AlertResponse& response);
  // Fills the entry's submenu with the child folders of `folder`, recursively.
  void getTheChildArrayMenu(const NodePtr& folder, MenuItemModel& item) const;
  // Runs the action a chosen menu entry carries; false when no command answers to it.
  bool PerformMenuAction(const MenuItemModel& item);
  bool CanPerformAction(const std::string& action) const;
  static std::string ProductGuideUrl();
  static std::string SupportUrl();

  // ---- Presenter: table, selection and search (AppDelegateTable.cpp, AppDelegateSearch.cpp) ----
  std::size_t numberOfRowsInTableView(TableId table) const;
  // What each column of `dataTableView` shows for a row.
  BookmarkRow BookmarkRowAt(std::size_t row) const;
  // Rows of the duplicate and dead-link tables.
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
  // The latest search generation; a view load or a cleared field also opens a
  // new one. Only results of the latest generation reach the table.
  std::uint64_t searchGeneration() const;
  // Search workers started and not yet finished.
  int searchWorkersRunning() const;

  // ---- Presenter: commands of later units (AppDelegatePendingCommands.cpp) ----
  // The navigation and the table reach these commands here. Each checks what the
  // command needs from the view and then hands over to the unit that performs
  // it, installed with SetCommandHandler; without one the press does nothing and
  // the entry point answers false.
  bool EditSelectedBookMarkAction();
  bool EncryptedSelectedBookMarkAction();
  bool DecrypteSelectedBookMarkAction();
  bool ExportAllBookMarksAction();
  bool ExportAllChromeBookMarksAction();
  bool ReplaceSafariBookMark();
  // Receives the chosen menu entry (an empty entry when a button or key started it).
  using CommandHandler = std::function<void(const MenuItemModel& sender)>;
  // Installs (or, with an empty handler, removes) the unit that performs an action.
  void SetCommandHandler(const std::string& action, CommandHandler handler);
  bool HasCommandHandler(const std::string& action) const;

  // ---- Reading browsers ----
  // Called now and then while a reader fills the lists on the main thread; the
  // window lets itself repaint here (user input waits until the read is over).
  std::function<void()> keepResponsiveDuringReads;
  // The browser readers wired to the lists and the current view (AppDelegateRead.cpp).
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
  void EmptyListsForFullRead();
  // The full read of all browsers: view 1, the running-browser and Full Disk
  // Access guards, the five readers, then the unified top level in the table.
  void ActClickOpenCookiesAction();
  // The same without stopping for running browsers (the command line reads
  // anyway and warns); the Full Disk Access alert still shows.
  void ReadAllBrowsersIgnoringRunning();
  // What the reads told: the latest outcome per browser (a full read starts it afresh).
  const ReadReport& lastReadReport() const { return readReport_; }
  // Bundle identifiers of the running browsers that stop a full read (Edge never does).
  std::vector<std::string> RunningBrowsersBlockingFullRead();
  // The unified top level: Safari, Chrome, Edge, Firefox and Opera top-level lists.
  NodeList UnifiedTopLevel() const;

  // ---- Cookies ----
  // The cookie view (AppDelegateCookies.cpp). Its lists, flags and table live in
  // the cookie manager; the window draws the cookie area from cookieManager().
  CookieManager& cookieManager() { return cookieManager_; }
  const CookieManager& cookieManager() const { return cookieManager_; }
  bool binaryCookie() const { return cookieManager_.binaryCookie; }
  void setBinaryCookie(bool binary) { cookieManager_.binaryCookie = binary; }
  const std::string& currentScanFilePath() const { return cookieManager_.currentScanFilePath; }
  void setCurrentScanFilePath(const std::string& path) { cookieManager_.currentScanFilePath = path; }
  bool bSafariCookie() const { return cookieManager_.bSafariCookie; }
  void setBSafariCookie(bool value) { cookieManager_.bSafariCookie = value; }
  bool bOpenCookie() const { return cookieManager_.bOpenCookie; }
  // Installs the cookie commands the navigation and menus reach by action name:
  // "ActClickSafariAction:", "ActClickChromeAction:", "ActClickNewCookiesAction:"
  // (the New Cookies button), "ActOpenCookieFileAction:", "ActRemoveCookieData:",
  // "ActExportCookieData:". Called once when the window is set up.
  void InstallCookieCommands();
  // Home-folder access for the cookie files: a sandbox facility of macOS; granted here.
  bool HasCookieFolderAccess() const { return true; }
  // The Safari and Chrome cookie buttons: scan the browser's cookie file on a worker.
  // A press while a cookie worker runs is ignored (false).
  bool ActClickSafariAction();
  bool ActClickChromeAction();
  bool ScanSafariCookieFile();
  bool ScanChromeCookieFile();
  // Asks for a cookie file (open panel), then OpenCookieFile on the choice.
  void ActOpenCookieFileAction();
  // A cookie file the user chose: scanned by its magic, its entries also kept for New Cookies.
  bool OpenCookieFile(const std::filesystem::path& path);
  bool CheckFilePathISCookie(const std::filesystem::path& path);
  // The New Cookies button: the table shows the opened files' cookies.
  void ShowNewCookies();
  void ActClickNewCookiesAction() {}
  // Removes every cookie of the file scanned last; a failure is shown as an alert.
  bool ActRemoveCookieData();
  // Writes the rows shown to "cookiedata.txt" in the export folder, then shows the folder.
  bool ActExportCookieData();
  void RemoveTheCookieFileNode() {}

  // ---- Link health ----
  // The unreachable-link scan and the duplicate search (AppDelegateHealth.cpp).
  // Both work on a snapshot of the view's list on a worker thread and hand
  // their results to the main thread through the dispatcher.
  // The list they scan: 1 allbookMarkArray, 2 safariBookMarkArray, 3 chromebookMarkArray; empty otherwise.
  NodeList LinkHealthSnapshot() const;
  // Answers "No unreachable bookmark links detected" once unreachable links have
  // been removed (bCleanDeadBook) and returns false; otherwise starts the scan.
  bool FindAllDeadURLBookMarksAction();
  // Empties deadURLArray and starts ScanDeadURlThread on the view's list; a scan still running is stopped.
  void StartScanDeadURlThread();
  // One finding on the main thread: marks it unreachable and ticked, appends it to deadURLArray.
  void FindDeadBookMarkOnMainThread(const NodePtr& node);
  // The end of the scan on the main thread.
  void FindDeadBookMarkFishOnMainThread();
  // Stops a running scan promptly; it reports nothing more.
  void CancelDeadURLScan();
  bool deadURLScanRunning() const { return deadScanRunning_; }
  // Answers "No Duplicate bookmark links detected" after a removal in the unified
  // view (bRemoveAllDupBookmark) and returns false; otherwise starts the search.
  bool FindAllDuplicateBookMarksAction();
  // Empties duplicateArray and starts FindAllDuplicateBookMarkThread on the view's list.
  void StartFindAllDuplicateBookMarkThread();
  // The hand-over of the groups: duplicateArray and dupBookmarkCount.
  void FindAllDuplicateBookMarkOnMainThread(DuplicateGroups result);
  bool duplicateSearchRunning() const { return duplicateSearchRunning_; }
  // The automatic-tick toggle over duplicateArray (bAutoSelect).
  void AutoSelectDuplicationBookAction();
  // Waits until both workers have ended; only where their main-thread calls run
  // inline (the command line). False when the time ran out.
  bool WaitForLinkHealthWorkers(std::chrono::milliseconds timeout);

  ProbeSettings deadLinkProbeSettings;  // concurrency, per-host cap and time-out of the scan
  std::uint32_t dupBookmarkCount = 0;   // members of all groups of the last duplicate search
  // What the window and the command line watch; every call comes on the main thread.
  struct LinkHealthObservers {
    std::function<void(std::size_t probed, std::size_t total)> deadScanProgress;
    std::function<void(const NodePtr& node)> deadLinkFound;  // after it was appended to deadURLArray
    std::function<void()> deadScanFinished;
    std::function<void()> duplicatesFound;        // duplicateArray holds the new groups
    std::function<void()> duplicateTicksChanged;  // the automatic ticks changed members' bSelect
  } linkHealthObservers;

  // ---- Shared state ----
  BookmarkLists& lists() { return lists_; }
  const BookmarkLists& lists() const { return lists_; }
  const Locations& locations() const { return services_.locations; }
  Preferences& preferences() { return *services_.preferences; }
  PlatformServices& platform() { return *services_.platform; }
  ScreenInterface& screen() { return *services_.screen; }
  MainThreadDispatcher& dispatcher() { return *services_.dispatcher; }
  NotificationCenter& notifications() { return *services_.notifications; }

  std::int32_t bookMarkType = 0;  // 0 none, 1 all bookmarks, 2 Safari tree, 3 Chrome tree
  std::int32_t macOSMajor = 10;
  std::int32_t macOsVer = 10;
  std::string theLinvaraPath;

  bool bSearchStop = false;
  bool bSearchThreadStart = false;
  bool bAutoSelect = false;
  bool bRemoveAllDupBookmark = false;
  bool bCheckDupBook = false;
  bool bCleanDeadBook = false;
  bool hasEnterEncryptedPasswd = false;
  bool hasEnterDecryptedPasswd = false;
  bool isEnterEncryptMode = false;
  bool isEnterDecryptMode = false;

  // Welcome page opened on the first start.
  static std::string WelcomePageUrl();

 private:
  AppServices services_;
  BookmarkLists lists_;
  ReadReport readReport_;
  CookieManager cookieManager_;
  int navigationToken_ = 0;
  bool terminateRequested_ = false;

  // ---- Presenter state ----
  void CancelPendingSearches();
  void StartSearchThread(const std::string& text);
  NodeList DefaultContentForView() const;
  NodeList FolderViewContent() const;
  NodeList FlatListContent() const;
  void ShowAllBookmarksView();
  void ShowSafariView();
  void ShowChromeView();
  void ShowListMode(bool flat);
  void PopUpViewMenu(bool toolMenu, const std::string& button);
  void ExportOrApplyPressed();
  void EnterPasswordPressed();
  void SetCookieButtonImages(const std::string& pressed);
  void EmptyViewLists();
  bool FullDiskAccessMissing(const std::filesystem::path& safariFile) const;
  bool RunCommandHandler(const std::string& action, const MenuItemModel* sender = nullptr);
  ViewStateStore view_;
  SearchWorkers searchWorkers_;
  std::map<std::string, CommandHandler> commandHandlers_;
  // ---- Link health workers (declared last: cancelled first when the controller goes) ----
  bool deadScanRunning_ = false;
  bool duplicateSearchRunning_ = false;
  WorkerHandle<DeadLinkScan> deadLinkScan_;
  WorkerHandle<DuplicateSearch> duplicateSearch_;
};

}  // namespace linvara
