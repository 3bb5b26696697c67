#pragma once
// A Safari or Chrome view read from a real browser file, in a home folder of its own.
#include <string>

#include "app/ScriptedScreen.h"
#include "readers/BookmarkReadController.h"
#include "sort/SortController.h"
#include "support/TestSupport.h"

namespace linvara::testing {

struct TreeSortFixture {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  BookmarkSession session{AppServices{loc, nullptr, std::make_shared<FakePlatformServices>(), nullptr, screen, nullptr}};
  SortController sorting{session};
  TreeFormat format;
  std::filesystem::path file;

  // A file under tests/data; the view follows the folder (safari_bookmarks or chromium_bookmarks).
  explicit TreeSortFixture(const std::string& relative)
      : format(relative.rfind("safari", 0) == 0 ? TreeFormat::Safari : TreeFormat::Chrome), file(TestData(relative)) {
    const bool safari = format == TreeFormat::Safari;
    session.bookMarkType = safari ? ViewKind::Safari : ViewKind::Chrome;
    BookmarkReadController reads(session);
    safari ? reads.ReadSafariBookMark(file) : reads.ReadChromeBookMark(file);
    session.SetBookmarkTableContent(TopLevel());
  }
  const NodeList& TopLevel() {
    return format == TreeFormat::Safari ? session.lists().safariFatherArray : session.lists().ChromeFatherArray;
  }
  const NodeList& Flat() {
    return format == TreeFormat::Safari ? session.lists().safariBookMarkArray : session.lists().chromebookMarkArray;
  }
  std::filesystem::path WorkingCopy() const {
    return format == TreeFormat::Safari ? loc.safariWorkingCopy() : loc.chromeWorkingCopy();
  }
  void SelectRows(const std::vector<std::size_t>& rows) {
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) { s.bookmarkTable.selection = rows; });
  }
};

}  // namespace linvara::testing
