// Reading the browsers' bookmark files into the controller's lists: the
// readers wired to the current view, and the full read of all browsers.
#include <algorithm>

#include "app/AlertTexts.h"
#include "app/AppDelegate.h"
#include "readers/ChromiumReader.h"
#include "readers/FirefoxReader.h"
#include "readers/SafariReader.h"

namespace linvara {

namespace {

constexpr const char* kSafari = "Safari";
constexpr const char* kChrome = "Chrome";
constexpr const char* kEdge = "Microsoft Edge";
constexpr const char* kFirefox = "Firefox";
constexpr const char* kOpera = "Opera";

// The context every reader gets: the lists, the view and the encrypted-bookmark markers.
ReaderContext MakeReaderContext(AppDelegate& app) {
  ReaderContext ctx{app.lists(), app.bookMarkType, app.locations().encryptedMarkers()};
  ctx.keepResponsive = app.keepResponsiveDuringReads;
  return ctx;
}

FirefoxSource FirefoxSourceOf(const Locations& locations) {
  return {locations.firefoxProfilesFolder(), locations.ChooseFirefoxPlaces()};
}

std::filesystem::path FirefoxFileOf(const Locations& locations) {
  auto places = locations.ChooseFirefoxPlaces();
  return places ? *places : locations.firefoxProfilesFolder();
}

// Each reader in one form: the removal form when a list is given.
ReadResult ReadSafari(AppDelegate& app, const std::filesystem::path& path, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(app);
  SafariReader reader(ctx);
  return removeList ? reader.ReadSafariBookMark(path, *removeList) : reader.ReadSafariBookMark(path);
}

ReadResult ReadChrome(AppDelegate& app, const std::filesystem::path& path, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(app);
  ChromiumReader reader(ctx);
  return removeList ? reader.ReadChromeBookMark(path, *removeList) : reader.ReadChromeBookMark(path);
}

ReadResult ReadEdge(AppDelegate& app, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(app);
  ChromiumReader reader(ctx);
  const std::filesystem::path path = app.locations().edgeBookmarks();
  return removeList ? reader.ReadEdgeBookMarkwithRemoveArray(path, *removeList) : reader.ReadEdgeBookMark(path);
}

ReadResult ReadOpera(AppDelegate& app, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(app);
  ChromiumReader reader(ctx);
  const std::filesystem::path path = app.locations().operaBookmarks();
  return removeList ? reader.ReadOperaBookMarkWithRemoveArray(path, *removeList) : reader.ReadOperaBookMark(path);
}

ReadResult ReadFirefox(AppDelegate& app, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(app);
  FirefoxReader reader(ctx);
  const FirefoxSource source = FirefoxSourceOf(app.locations());
  return removeList ? reader.ReadFirefoxBookMarkwithRemoveArray(source, *removeList)
                    : reader.ReadFirefoxBookMark(source);
}

// A Chromium file that is there but cannot be read: the busy alert.
void ShowBusyAlertWhenUnreadable(AppDelegate& app, const ReadResult& result) {
  if (result || result.errorKind() != ErrorKind::Unreadable) return;
  AlertSpec alert;
  alert.message = kChromeFileBusyMessage;
  alert.defaultButton = " Ok ";
  alert.asSheet = false;
  app.screen().ShowAlert(alert, [](AlertResponse) {});
}

}  // namespace

void AppDelegate::ReadSafariBookMark(const std::filesystem::path& path) {
  readReport_.Record(BrowserReadOutcome::Of(kSafari, path, ReadSafari(*this, path, nullptr)));
}

void AppDelegate::ReadSafariBookMark(const std::filesystem::path& path, const NodeList& removeList) {
  readReport_.Record(BrowserReadOutcome::Of(kSafari, path, ReadSafari(*this, path, &removeList)));
}

void AppDelegate::ReadChromeBookMark(const std::filesystem::path& path) {
  ReadResult result = ReadChrome(*this, path, nullptr);
  readReport_.Record(BrowserReadOutcome::Of(kChrome, path, result));
  ShowBusyAlertWhenUnreadable(*this, result);
}

void AppDelegate::ReadChromeBookMark(const std::filesystem::path& path, const NodeList& removeList) {
  ReadResult result = ReadChrome(*this, path, &removeList);
  readReport_.Record(BrowserReadOutcome::Of(kChrome, path, result));
  ShowBusyAlertWhenUnreadable(*this, result);
}

void AppDelegate::ReadEdgeBookMark() {
  ReadResult result = ReadEdge(*this, nullptr);
  readReport_.Record(BrowserReadOutcome::Of(kEdge, locations().edgeBookmarks(), result));
  ShowBusyAlertWhenUnreadable(*this, result);
}

void AppDelegate::ReadEdgeBookMarkwithRemoveArray(const NodeList& removeList) {
  ReadResult result = ReadEdge(*this, &removeList);
  readReport_.Record(BrowserReadOutcome::Of(kEdge, locations().edgeBookmarks(), result));
  ShowBusyAlertWhenUnreadable(*this, result);
}

void AppDelegate::ReadOperaBookMark() {
  readReport_.Record(BrowserReadOutcome::Of(kOpera, locations().operaBookmarks(), ReadOpera(*this, nullptr)));
}

void AppDelegate::ReadOperaBookMarkWithRemoveArray(const NodeList& removeList) {
  readReport_.Record(BrowserReadOutcome::Of(kOpera, locations().operaBookmarks(), ReadOpera(*this, &removeList)));
}

void AppDelegate::ReadFirefoxBookMark() {
  readReport_.Record(BrowserReadOutcome::Of(kFirefox, FirefoxFileOf(locations()), ReadFirefox(*this, nullptr)));
}

void AppDelegate::ReadFirefoxBookMarkwithRemoveArray(const NodeList& removeList) {
  readReport_.Record(
      BrowserReadOutcome::Of(kFirefox, FirefoxFileOf(locations()), ReadFirefox(*this, &removeList)));
}

void AppDelegate::EmptyListsForFullRead() {
  BookmarkLists& l = lists();
  for (NodeList* list : {&l.allbookMarkArray, &l.safariFatherArray, &l.safariBookMarkArray, &l.ChromeFatherArray,
                         &l.chromebookMarkArray, &l.edgeFatherArray, &l.edgebookMarkArray, &l.FireFoxFatherArray,
                         &l.FireFoxBookMarkArray, &l.OperaFatherArray, &l.fliterSearchArray, &l.duplicateArray,
                         &l.deadURLArray, &l.folderArray})
    list->clear();
}

std::vector<std::string> AppDelegate::RunningBrowsersBlockingFullRead() {
  static const char* const kBlocking[] = {bundleids::kSafari, bundleids::kOpera, bundleids::kChrome,
                                          bundleids::kFirefox};
  std::vector<std::string> running;
  for (const std::string& id : platform().RunningBundleIdentifiers())
    if (std::find(std::begin(kBlocking), std::end(kBlocking), id) != std::end(kBlocking) &&
        std::find(running.begin(), running.end(), id) == running.end())
      running.push_back(id);
  return running;
}

NodeList AppDelegate::UnifiedTopLevel() const {
  const BookmarkLists& l = lists();
  NodeList rows;
  for (const NodeList* list :
       {&l.safariFatherArray, &l.ChromeFatherArray, &l.edgeFatherArray, &l.FireFoxFatherArray, &l.OperaFatherArray})
    rows.insert(rows.end(), list->begin(), list->end());
  return rows;
}

void AppDelegate::ActClickOpenCookiesAction() {
  bookMarkType = 1;
  if (!RunningBrowsersBlockingFullRead().empty()) {
    AlertSpec sheet;
    sheet.message = alerttexts::kQuitRunningBrowser;
    sheet.defaultButton = " Ok ";
    sheet.alternateButton = "Cancel";
    sheet.asSheet = true;
    screen().ShowAlert(sheet, [](AlertResponse) {});
    return;
  }
  ReadAllBrowsersIgnoringRunning();

  // What the read could not do, in one alert. A Safari file the Full Disk
  // Access alert already explained is not named again.
  ReadReport untold = readReport_;
  if (FullDiskAccessMissing(locations().safariBookmarks())) {
    const BrowserReadOutcome* safari = untold.Find(kSafari);
    if (safari && safari->error && safari->error->kind == ErrorKind::Unreadable)
      untold.Record(BrowserReadOutcome{kSafari, safari->file, std::nullopt, 0});
  }
  if (untold.worthTelling()) {
    AlertSpec alert;
    alert.message = untold.Describe();
    alert.defaultButton = " Ok ";
    alert.asSheet = false;
    screen().ShowAlert(alert, [](AlertResponse) {});
  }
}

void AppDelegate::ReadAllBrowsersIgnoringRunning() {
  bookMarkType = 1;
  const std::filesystem::path safariFile = locations().safariBookmarks();
  // A layout without Safari has no file to ask access for.
  if (!safariFile.empty() && FullDiskAccessMissing(safariFile)) {
    AlertSpec alert;
    alert.message = alerttexts::kFullDiskAccess;
    alert.defaultButton = " Ok ";
    alert.alternateButton = "Cancel";
    alert.informativeText = alerttexts::kFullDiskAccessInfo;
    alert.asSheet = false;
    screen().ShowAlert(alert, [](AlertResponse) {});  // the read goes on whichever button
  }

  // The five readers; what they could not read goes to the report, not to alerts.
  readReport_ = ReadReport{};
  const std::filesystem::path chromeFile = locations().ChooseChromeBookmarks();
  readReport_.Record(BrowserReadOutcome::Of(kSafari, safariFile, ReadSafari(*this, safariFile, nullptr)));
  readReport_.Record(BrowserReadOutcome::Of(kChrome, chromeFile, ReadChrome(*this, chromeFile, nullptr)));
  readReport_.Record(BrowserReadOutcome::Of(kFirefox, FirefoxFileOf(locations()), ReadFirefox(*this, nullptr)));
  readReport_.Record(BrowserReadOutcome::Of(kOpera, locations().operaBookmarks(), ReadOpera(*this, nullptr)));
  readReport_.Record(BrowserReadOutcome::Of(kEdge, locations().edgeBookmarks(), ReadEdge(*this, nullptr)));

  ShowBookmarkRows(UnifiedTopLevel());
  bSearchThreadStart = false;
  bSearchStop = false;
}

}  // namespace linvara
