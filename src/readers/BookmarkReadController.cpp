#include "readers/BookmarkReadController.h"

#include <algorithm>

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
// Each read makes new nodes: the lists' generation grows.
ReaderContext MakeReaderContext(BookmarkSession& session, const std::function<void()>& keepResponsive,
                                ReadAhead* readAhead) {
  session.NoteListsReread();
  ReaderContext ctx{session.lists(), static_cast<std::int32_t>(session.bookMarkType),
                    session.locations().encryptedMarkers()};
  ctx.keepResponsive = keepResponsive;
  ctx.readAhead = readAhead;
  return ctx;
}

FirefoxSource FirefoxSourceOf(const Locations& locations) {
  return {locations.firefoxProfilesFolder(), locations.ChooseFirefoxPlaces()};
}

}  // namespace

void BookmarkReadController::Record(const char* browser, const std::filesystem::path& file, const ReadResult& result) {
  report_.Record(BrowserReadOutcome::Of(browser, file, result));
}

void BookmarkReadController::ReadSafariBookMark(const std::filesystem::path& path, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(session_, keepResponsive, readAhead_);
  SafariReader reader(ctx);
  Record(kSafari, path, removeList ? reader.ReadSafariBookMark(path, *removeList) : reader.ReadSafariBookMark(path));
}

void BookmarkReadController::ReadChromeBookMark(const std::filesystem::path& path, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(session_, keepResponsive, readAhead_);
  ChromiumReader reader(ctx);
  Record(kChrome, path, removeList ? reader.ReadChromeBookMark(path, *removeList) : reader.ReadChromeBookMark(path));
}

void BookmarkReadController::ReadEdgeBookMark(const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(session_, keepResponsive, readAhead_);
  ChromiumReader reader(ctx);
  const std::filesystem::path path = session_.locations().edgeBookmarks();
  Record(kEdge, path,
         removeList ? reader.ReadEdgeBookMarkwithRemoveArray(path, *removeList) : reader.ReadEdgeBookMark(path));
}

void BookmarkReadController::ReadOperaBookMark(const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(session_, keepResponsive, readAhead_);
  ChromiumReader reader(ctx);
  const std::filesystem::path path = session_.locations().operaBookmarks();
  Record(kOpera, path,
         removeList ? reader.ReadOperaBookMarkWithRemoveArray(path, *removeList) : reader.ReadOperaBookMark(path));
}

void BookmarkReadController::ReadFirefoxBookMark(const NodeList* removeList) {
  ReadFirefox(FirefoxSourceOf(session_.locations()), removeList);
}

void BookmarkReadController::ReadFirefox(const FirefoxSource& source, const NodeList* removeList) {
  ReaderContext ctx = MakeReaderContext(session_, keepResponsive, readAhead_);
  FirefoxReader reader(ctx);
  Record(kFirefox, source.placesFile.value_or(source.profilesFolder),
         removeList ? reader.ReadFirefoxBookMarkwithRemoveArray(source, *removeList) : reader.ReadFirefoxBookMark(source));
}

void BookmarkReadController::ReadAllBrowsers() {
  report_ = ReadReport{};
  const Locations& loc = session_.locations();
  const std::filesystem::path safari = loc.safariBookmarks(), chrome = loc.ChooseChromeBookmarks();
  const FirefoxSource firefox = FirefoxSourceOf(loc);
  // The files are parsed, in reading order, on two threads while the nodes of the file before are made.
  ReadAhead ahead;
  SafariReader::QueueReadAhead(ahead, safari);
  ChromiumReader::QueueReadAhead(ahead, chrome);
  FirefoxReader::QueueReadAhead(ahead, firefox);
  ChromiumReader::QueueOperaReadAhead(ahead, loc.operaBookmarks());
  ChromiumReader::QueueReadAhead(ahead, loc.edgeBookmarks());
  ahead.Start(2);
  readAhead_ = &ahead;
  struct Forget {
    ReadAhead*& pointer;
    ~Forget() { pointer = nullptr; }
  } forget{readAhead_};
  ReadSafariBookMark(safari);
  ReadChromeBookMark(chrome);
  ReadFirefox(firefox, nullptr);
  ReadOperaBookMark();
  ReadEdgeBookMark();
}

std::vector<std::string> BookmarkReadController::RunningBrowsersBlockingFullRead() {
  static const char* const kBlocking[] = {bundleids::kSafari, bundleids::kOpera, bundleids::kChrome,
                                          bundleids::kFirefox};
  std::vector<std::string> running;
  for (const std::string& id : session_.platform().RunningBundleIdentifiers())
    if (std::find(std::begin(kBlocking), std::end(kBlocking), id) != std::end(kBlocking) &&
        std::find(running.begin(), running.end(), id) == running.end())
      running.push_back(id);
  return running;
}

}  // namespace linvara
