// The full read of all browsers through the All Bookmarks button, on homes made
// of the real browser files: order, counts, the root that stays, damaged files,
// and that nothing in the home is touched.
#include <gtest/gtest.h>

#include <functional>

#include "PresenterFixture.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

struct FullReadHome : PresenterHome {
  fs::path FirefoxPlaces() const { return loc.firefoxProfilesFolder() / "abcd.default-release" / "places.sqlite"; }

  // Safari 17, Chrome 6, Firefox 32, Opera 5, Edge 21 leaves.
  void PutAllBrowsers() {
    CopyTestFile("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist", loc.safariBookmarks());
    CopyTestFile("chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks", loc.chromeDefaultBookmarks());
    CopyTestFile("firefox_places/firefox-fedora-2020-08_schema53_tags_places.sqlite", FirefoxPlaces());
    CopyTestFile("chromium_bookmarks/chromium-linux-2021-02_Bookmarks", loc.operaBookmarks());
    CopyTestFile("chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks", loc.edgeBookmarks());
  }
  // Presses All Bookmarks, the controller started first when it is not yet.
  const BookmarkLists& FullRead() {
    if (!app) Start();
    Press(outlets::kAllBookMarkBtn);
    return app->lists();
  }
};

std::vector<std::string> Browsers(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const auto& n : nodes)
    if (out.empty() || out.back() != OrNull(n->bookMarkFrom())) out.push_back(OrNull(n->bookMarkFrom()));
  return out;
}

TEST(FullRead, UnifiedViewShowsEveryBrowserInReadingOrder) {
  FullReadHome h;
  h.PutAllBrowsers();
  h.Start();
  const std::string before = FolderFingerprint(h.home.path());
  const BookmarkLists& l = h.FullRead();
  EXPECT_EQ(Browsers(l.allbookMarkArray),
            (std::vector<std::string>{"Safari", "Chrome", "Firefox", "Opera", "Microsoft Edge"}));
  EXPECT_EQ(l.allbookMarkArray.size(), 17u + 6u + 32u + 5u + 21u);  // Firefox's 31 tag entries are no bookmarks
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
  ASSERT_EQ(h.rows().size(), 7u + 3u + 3u + 4u + 1u);  // Safari, Chrome, Edge, Firefox, Opera
  EXPECT_EQ(OrNull(h.rows().front()->thetitle()), "History");
  EXPECT_EQ(OrNull(h.rows().back()->thetitle()), "YouTube");
  EXPECT_TRUE(h.screen->alerts.empty());
  EXPECT_EQ(FolderFingerprint(h.home.path()), before);
}

// The root of the last reader that installs one stays: Edge's, else Firefox's,
// else Chrome's (its file in Profile 2 here), else Safari's; Opera installs none.
TEST(FullRead, RootOfTheLastReaderThatInstallsOneStays) {
  const struct {
    const char* home;
    bool edge, places, firefoxFolder, chrome;
    std::size_t bookmarks;
    std::function<bool(const BookmarkLists&)> rootIsRight;
  } cases[] = {
      {"every browser", true, true, true, true, 81,
       [](const BookmarkLists& l) {
         return l.rootNode && l.rootNode->rootDict() && l.edgeFatherArray.front()->fatherItem() == l.rootNode;
       }},
      {"no Edge", false, true, true, true, 60,
       [](const BookmarkLists& l) { return l.rootNode && OrNull(l.rootNode->titleStr()) == "root"; }},
      {"no Edge, no places file", false, false, true, true, 28, [](const BookmarkLists& l) { return !l.rootNode; }},
      {"no Edge, no Firefox", false, false, false, true, 28,
       [](const BookmarkLists& l) {
         return l.rootNode && !l.rootNode->rootDict() && l.ChromeFatherArray.front()->fatherItem() == l.rootNode;
       }},
      {"Safari and Opera", false, false, false, false, 22,
       [](const BookmarkLists& l) { return l.rootNode && l.safariFatherArray[1]->fatherItem() == l.rootNode; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.home);
    FullReadHome h;
    h.PutAllBrowsers();
    if (!c.edge) fs::remove(h.loc.edgeBookmarks());
    if (!c.places) fs::remove(h.FirefoxPlaces());
    if (!c.firefoxFolder) fs::remove_all(h.loc.firefoxProfilesFolder());
    if (!c.firefoxFolder && c.chrome) {
      fs::create_directories(h.loc.chromeProfile2Bookmarks().parent_path());
      fs::rename(h.loc.chromeDefaultBookmarks(), h.loc.chromeProfile2Bookmarks());
    }
    if (!c.chrome) fs::remove(h.loc.chromeDefaultBookmarks());
    const BookmarkLists& l = h.FullRead();
    EXPECT_EQ(l.allbookMarkArray.size(), c.bookmarks);
    EXPECT_TRUE(c.rootIsRight(l));
  }
}

// Damaged files are skipped; one alert names each, the report keeps why.
TEST(FullRead, BadFilesNeverStopTheOtherBrowsers) {
  FullReadHome h;
  h.PutAllBrowsers();
  const std::string safari = ReadText(h.loc.safariBookmarks());
  WriteText(h.loc.safariBookmarks(), safari.substr(0, safari.size() / 3));
  WriteText(h.loc.chromeDefaultBookmarks(), R"({"roots": "bookmark_bar"})");
  WriteText(h.FirefoxPlaces(), std::string(8192, 'z'));
  WriteText(h.loc.edgeBookmarks(), R"({"roots": {"bookmark_bar": {"type": "folder", "children": {"x": 1}}}})");
  const BookmarkLists& l = h.FullRead();
  EXPECT_EQ(Browsers(l.allbookMarkArray), (std::vector<std::string>{"Opera"}));
  EXPECT_EQ(l.allbookMarkArray.size(), 5u);
  EXPECT_EQ(l.edgeFatherArray.size(), 1u);
  EXPECT_EQ(h.rows().size(), 2u);  // the Edge folder and YouTube

  ASSERT_EQ(h.screen->alerts.size(), 1u);
  const std::string& message = h.screen->alerts[0].request.message;
  for (const fs::path& file : {h.loc.safariBookmarks(), h.loc.chromeDefaultBookmarks(), h.FirefoxPlaces()})
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  const ReadReport& report = h.app->reads().lastReadReport();
  ASSERT_TRUE(report.Find("Firefox") && report.Find("Firefox")->error);
  EXPECT_EQ(report.Find("Firefox")->error->kind, ErrorKind::Malformed);
  EXPECT_FALSE(report.Find("Opera")->error);
}

TEST(FullRead, EmptyHomeShowsAnEmptyTable) {
  FullReadHome h;
  EXPECT_TRUE(h.FullRead().allbookMarkArray.empty());
  EXPECT_EQ(h.view().area, ContentArea::Bookmarks);
  EXPECT_TRUE(h.screen->alerts.empty());
  EXPECT_FALSE(fs::exists(h.loc.firefoxProfilesFolder()));
}

}  // namespace
}  // namespace linvara::testing
