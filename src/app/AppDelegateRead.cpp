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

// The context every reader gets: the lists, the view, the marker and the busy-file alert.
ReaderContext MakeReaderContext(AppDelegate& app) {
  ReaderContext ctx{app.lists(), app.bookMarkType, app.locations().encryptedMarker(), nullptr, nullptr};
  ctx.showAlert = [&app](const std::string& message) {
    AlertSpec alert;
    alert.message = message;
    alert.defaultButton = " Ok ";
    alert.asSheet = false;
    app.screen().ShowAlert(alert, [](AlertResponse) {});
  };
  ctx.keepResponsive = app.keepResponsiveDuringReads;
  return ctx;
}

FirefoxSource FirefoxSourceOf(const Locations& locations) {
  return {locations.firefoxProfilesFolder(), locations.ChooseFirefoxPlaces()};
}

}  // namespace

void AppDelegate::ReadSafariBookMark(const std::filesystem::path& path) {
  ReaderContext ctx = MakeReaderContext(*this);
  SafariReader(ctx).ReadSafariBookMark(path);
}

void AppDelegate::ReadSafariBookMark(const std::filesystem::path& path, const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  SafariReader(ctx).ReadSafariBookMark(path, removeList);
}

void AppDelegate::ReadChromeBookMark(const std::filesystem::path& path) {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadChromeBookMark(path);
}

void AppDelegate::ReadChromeBookMark(const std::filesystem::path& path, const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadChromeBookMark(path, removeList);
}

void AppDelegate::ReadEdgeBookMark() {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadEdgeBookMark(locations().edgeBookmarks());
}

void AppDelegate::ReadEdgeBookMarkwithRemoveArray(const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadEdgeBookMarkwithRemoveArray(locations().edgeBookmarks(), removeList);
}

void AppDelegate::ReadOperaBookMark() {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadOperaBookMark(locations().operaBookmarks());
}

void AppDelegate::ReadOperaBookMarkWithRemoveArray(const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadOperaBookMarkWithRemoveArray(locations().operaBookmarks(), removeList);
}

void AppDelegate::ReadFirefoxBookMark() {
  ReaderContext ctx = MakeReaderContext(*this);
  FirefoxReader(ctx).ReadFirefoxBookMark(FirefoxSourceOf(locations()));
}

void AppDelegate::ReadFirefoxBookMarkwithRemoveArray(const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  FirefoxReader(ctx).ReadFirefoxBookMarkwithRemoveArray(FirefoxSourceOf(locations()), removeList);
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

  ReadSafariBookMark(safariFile);
  ReadChromeBookMark(locations().ChooseChromeBookmarks());
  ReadFirefoxBookMark();
  ReadOperaBookMark();
  ReadEdgeBookMark();

  ShowBookmarkRows(UnifiedTopLevel());
  bSearchThreadStart = false;
  bSearchStop = false;
}

}  // namespace linvara
