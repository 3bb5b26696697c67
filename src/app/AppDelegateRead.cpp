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
  BookmarkSession& session = app.session();
  ReaderContext ctx{session.lists(), static_cast<std::int32_t>(session.bookMarkType),
                    session.locations().encryptedMarker(), nullptr, nullptr};
  ctx.showAlert = [&session](const std::string& message) { session.ShowMessage(message, false); };
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
  ChromiumReader(ctx).ReadEdgeBookMark(session_.locations().edgeBookmarks());
}

void AppDelegate::ReadEdgeBookMarkwithRemoveArray(const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadEdgeBookMarkwithRemoveArray(session_.locations().edgeBookmarks(), removeList);
}

void AppDelegate::ReadOperaBookMark() {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadOperaBookMark(session_.locations().operaBookmarks());
}

void AppDelegate::ReadOperaBookMarkWithRemoveArray(const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  ChromiumReader(ctx).ReadOperaBookMarkWithRemoveArray(session_.locations().operaBookmarks(), removeList);
}

void AppDelegate::ReadFirefoxBookMark() {
  ReaderContext ctx = MakeReaderContext(*this);
  FirefoxReader(ctx).ReadFirefoxBookMark(FirefoxSourceOf(session_.locations()));
}

void AppDelegate::ReadFirefoxBookMarkwithRemoveArray(const NodeList& removeList) {
  ReaderContext ctx = MakeReaderContext(*this);
  FirefoxReader(ctx).ReadFirefoxBookMarkwithRemoveArray(FirefoxSourceOf(session_.locations()), removeList);
}

std::vector<std::string> AppDelegate::RunningBrowsersBlockingFullRead() {
  static const char* const kBlocking[] = {bundleids::kSafari, bundleids::kOpera, bundleids::kChrome,
                                          bundleids::kFirefox};
  std::vector<std::string> running;
  for (const std::string& id : session_.platform().RunningBundleIdentifiers())
    if (std::find(std::begin(kBlocking), std::end(kBlocking), id) != std::end(kBlocking) &&
        std::find(running.begin(), running.end(), id) == running.end())
      running.push_back(id);
  return running;
}

void AppDelegate::ActClickOpenCookiesAction() {
  session_.bookMarkType = ViewKind::All;
  if (!RunningBrowsersBlockingFullRead().empty()) {
    AlertSpec sheet;
    sheet.message = alerttexts::kQuitRunningBrowser;
    sheet.defaultButton = " Ok ";
    sheet.alternateButton = "Cancel";
    sheet.asSheet = true;
    session_.screen().ShowAlert(sheet, [](AlertResponse) {});
    return;
  }
  ReadAllBrowsersIgnoringRunning();
}

void AppDelegate::ReadAllBrowsersIgnoringRunning() {
  session_.bookMarkType = ViewKind::All;
  const std::filesystem::path safariFile = session_.locations().safariBookmarks();
  // A layout without Safari has no file to ask access for.
  if (!safariFile.empty() && FullDiskAccessMissing(safariFile)) {
    AlertSpec alert;
    alert.message = alerttexts::kFullDiskAccess;
    alert.defaultButton = " Ok ";
    alert.alternateButton = "Cancel";
    alert.informativeText = alerttexts::kFullDiskAccessInfo;
    alert.asSheet = false;
    session_.screen().ShowAlert(alert, [](AlertResponse) {});  // the read goes on whichever button
  }

  ReadSafariBookMark(safariFile);
  ReadChromeBookMark(session_.locations().ChooseChromeBookmarks());
  ReadFirefoxBookMark();
  ReadOperaBookMark();
  ReadEdgeBookMark();

  ShowBookmarkRows(session_.UnifiedTopLevel());
  bSearchThreadStart = false;
  bSearchStop = false;
}

}  // namespace linvara
