// The full read of all browsers and the readers under the controller's
// names; the read controller does the reading.
#include "app/AlertTexts.h"
#include "app/AppDelegate.h"
#include "readers/ReaderContext.h"

namespace linvara {

void AppDelegate::ReadSafariBookMark(const std::filesystem::path& path) { reads_.ReadSafariBookMark(path); }
void AppDelegate::ReadSafariBookMark(const std::filesystem::path& path, const NodeList& removeList) {
  reads_.ReadSafariBookMark(path, &removeList);
}
void AppDelegate::ReadChromeBookMark(const std::filesystem::path& path) { reads_.ReadChromeBookMark(path); }
void AppDelegate::ReadChromeBookMark(const std::filesystem::path& path, const NodeList& removeList) {
  reads_.ReadChromeBookMark(path, &removeList);
}
void AppDelegate::ReadEdgeBookMark() { reads_.ReadEdgeBookMark(); }
void AppDelegate::ReadEdgeBookMarkwithRemoveArray(const NodeList& removeList) { reads_.ReadEdgeBookMark(&removeList); }
void AppDelegate::ReadOperaBookMark() { reads_.ReadOperaBookMark(); }
void AppDelegate::ReadOperaBookMarkWithRemoveArray(const NodeList& removeList) {
  reads_.ReadOperaBookMark(&removeList);
}
void AppDelegate::ReadFirefoxBookMark() { reads_.ReadFirefoxBookMark(); }
void AppDelegate::ReadFirefoxBookMarkwithRemoveArray(const NodeList& removeList) {
  reads_.ReadFirefoxBookMark(&removeList);
}

void AppDelegate::ActClickOpenCookiesAction() {
  session_.bookMarkType = ViewKind::All;
  if (!reads_.RunningBrowsersBlockingFullRead().empty()) {
    AlertSpec sheet;
    sheet.message = alerttexts::kQuitRunningBrowser;
    sheet.defaultButton = " Ok ";
    sheet.alternateButton = "Cancel";
    sheet.asSheet = true;
    session_.screen().ShowAlert(sheet, [](AlertResponse) {});
    return;
  }
  ReadAllBrowsersIgnoringRunning();

  // What the read could not do, in one alert. A Safari file the Full Disk
  // Access alert already explained is not named again.
  ReadReport untold = reads_.lastReadReport();
  if (FullDiskAccessMissing(session_.locations().safariBookmarks())) {
    const BrowserReadOutcome* safari = untold.Find("Safari");
    if (safari && safari->error && safari->error->kind == ErrorKind::Unreadable)
      untold.Record(BrowserReadOutcome{"Safari", safari->file, std::nullopt, 0});
  }
  if (untold.worthTelling()) session_.ShowMessage(untold.Describe(), false);
}

void AppDelegate::TellWhatTheReadCouldNotDo() {
  // A Chromium file that is there but cannot be read is in use by its browser.
  std::string text;
  for (const BrowserReadOutcome& o : reads_.lastReadReport().outcomes) {
    if (!o.worthTelling()) continue;
    const bool busy = o.error && o.error->kind == ErrorKind::Unreadable && o.browser != "Safari";
    text += (text.empty() ? "" : "\n") + (busy ? std::string(kChromeFileBusyMessage) : o.Describe());
  }
  if (!text.empty()) session_.ShowMessage(text, false);
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
  reads_.ReadAllBrowsers();
  ShowBookmarkRows(session_.UnifiedTopLevel());
  search_.ResetSearchState();
}

}  // namespace linvara
