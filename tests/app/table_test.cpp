// The bookmark and result tables: what a row's cells show for each kind of
// node, and the table driven like a user (opening, double-click, selection,
// the live search with worker results pumped onto the test's main thread).
#include <gtest/gtest.h>

#include <future>
#include <tuple>

#include "PresenterFixture.h"
#include "app/SearchWorkers.h"
#include "app/TableRows.h"
#include "cookies/CookieText.h"
#include "model/SearchMatch.h"

using namespace linvara;
using namespace linvara::testing;
using namespace linvara::outlets;

namespace {

using Kind = BookmarkRow::Kind;
// The Name and Type cells of a row: kind, icon, title, title's y, address line, type text.
using NameCells = std::tuple<Kind, std::string, std::string, double, std::string, std::string>;
NameCells NameCellsOf(const NodePtr& node) {
  const BookmarkRow r = MakeBookmarkRow(node);
  return {r.kind, r.icon, r.title, r.titleY, r.addressLine, r.type};
}

}  // namespace

// A bookmark shows its browser's icon and type (none for an unknown browser, Safari's
// for a leaf no reader filled); a folder "(null)" untitled and no address; an
// encrypted bookmark a lock and asterisks; a root keeps the cells as made.
TEST(BookmarkRows, EachKindOfNodeShowsItsCells) {
  const auto leaf = [](const char* from) { return BrowserLeaf("Apple", "https://apple.example/", from); };
  const auto bookmark = [](const char* icon, const char* type) {
    return NameCells{Kind::Bookmark, icon, "Apple", 21, "https://apple.example/", type};
  };
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setUrlString("http://ignored.example/");
  NodePtr secret = BrowserLeaf("Secret", "file:///Users/tester/Library/Application%20Support/Linvara/x/e.html", "Safari");
  secret->setBEncrytedBookmark(true);
  const NodePtr unfilled = PRBookMarkNode::Create();
  const std::pair<NodePtr, NameCells> cases[] = {
      {leaf("Safari"), bookmark("safarilogo", "Safari bookmark")},
      {leaf("Chrome"), bookmark("chromelogo", "Chrome bookmark")},
      {leaf("Firefox"), bookmark("firefoxlogo", "Firefox bookmark")},
      {leaf("Opera"), bookmark("operalogo", "Opera bookmark")},
      {leaf("Microsoft Edge"), bookmark("edgelogo", "Microsoft Edge bookmark")},
      {leaf("Folder"), bookmark("", "")},
      {leaf("safari"), bookmark("", "")},
      {folder, {Kind::Folder, "folderlogo", "(null)", 8, "", ""}},
      {secret, {Kind::Bookmark, "lock", "Secret", 21, std::string(29, '*'), "Safari bookmark"}},
      {unfilled, {Kind::Bookmark, "safarilogo", " ", 21, "", "Safari bookmark"}},
      {PRRootBookMarkNode::Create(), {Kind::Other, "", "", 0, "", ""}},
  };
  for (const auto& [node, cells] : cases) EXPECT_EQ(NameCellsOf(node), cells) << OrNull(node->bookMarkFrom());
  EXPECT_EQ(MakeBookmarkRow(unfilled).path + MakeBookmarkRow(unfilled).date, "");
  folder->setThetitle("News");
  EXPECT_EQ(MakeBookmarkRow(folder).title, "News");
}

TEST(BookmarkRows, DateColumnConvertsChromiumMicrosecondsSince1601) {
  // 2021-01-01 00:00:00 UTC = 1609459200 s since 1970 = 13253932800 s since 1601.
  EXPECT_EQ(ChromiumTimeToUnixSeconds("13253932800000000"), 1609459200);
  EXPECT_EQ(ChromiumTimeToUnixSeconds("11644473600000000"), 0);
  EXPECT_FALSE(ChromiumTimeToUnixSeconds("").has_value());
  EXPECT_FALSE(ChromiumTimeToUnixSeconds("12x").has_value());
  EXPECT_FALSE(ChromiumTimeToUnixSeconds("99999999999999999999999").has_value());

  NodePtr n = BrowserLeaf("A", "https://a.example/", "Chrome");
  n->setAddDateStr("13253932800000000");
  EXPECT_EQ(MakeBookmarkRow(n).date, GetNSStringDate(GetDateTime(1609459200, kDateSecondsSince1970)));

  n->setAddDateStr("not a number");
  EXPECT_EQ(MakeBookmarkRow(n).date, "");
  n->setAddDateStr(std::nullopt);
  EXPECT_EQ(MakeBookmarkRow(n).date, "");
}

// A duplicate member's path names its browser in the unified view only (the
// other cells are checked where the sheets draw them, tests/ui).
TEST(ResultRows, MemberPathNamesTheBrowserInTheUnifiedViewOnly) {
  NodePtr chrome = BrowserLeaf("A", "https://a.example/", "Chrome");
  chrome->setTheFullPath("/Bookmarks bar");
  const ResultRow unified = MakeDuplicateMemberRow(chrome, ViewKind::All);
  EXPECT_EQ((std::vector<std::string>{unified.title, unified.addressLine, unified.path}),
            (std::vector<std::string>{"A", "https://a.example/", "/Bookmarks bar        --Chrome bookmark"}));
  for (ViewKind otherView : {ViewKind::Safari, ViewKind::Chrome}) EXPECT_EQ(MakeDuplicateMemberRow(chrome, otherView).path, "/Bookmarks bar");
  NodePtr unknown = BrowserLeaf("B", "https://b.example/", "Folder");
  unknown->setTheFullPath("/");
  EXPECT_EQ(MakeDuplicateMemberRow(unknown, ViewKind::All).path, "/        --");
}

using Table = QuietPresenterTest;

TEST_F(Table, OpeningTheSelectionOpensItsWebAddressesOnce) {
  AppDelegate& app = h.Start();
  h.Press(kAllBookMarkBtn);
  app.OpenSelectedBookmarksAction();  // nothing selected: nothing opens
  h.SelectTitles({"Weather", "News", "Fruit Stand"});
  app.OpenSelectedBookmarksAction();
  EXPECT_EQ(h.platform->openedUrls, (TitleList{"https://shop.example/apple", "https://weather.example/"}))
      << "in row order, once each";
  // The context menu's command; an address that is no web address is skipped.
  h.SelectTitles({"Broken", "Weather"});
  EXPECT_TRUE(h.Perform("OpenSelectedBookmarksAction:"));
  EXPECT_EQ(h.platform->openedUrls.size(), 3u);
  EXPECT_EQ(h.platform->openedUrls.back(), "https://weather.example/");
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(h.screen->alerts[0].request.informativeText, "Not opened:\nnot an address: not a web address");
}

TEST_F(Table, DoubleClickOnABookmarkOpensTheEditSheet) {
  AppDelegate& app = h.Start();
  h.Press(kSafariBookMarkBtn);
  app.SelectTableRows(TableId::Bookmarks, {});
  EXPECT_FALSE(app.EditSelectedBookMarkAction()) << "no selection, no edit";
  app.DoubleClickTableViewBookMarkAction();
  EXPECT_TRUE(h.screen->windowsShown.empty());
  h.Open("Weather");
  EXPECT_EQ(h.screen->windowsShown, (std::vector<std::string>{"editBookMarkWindow"}));
  EXPECT_EQ(app.viewState().findText("editBookMarkNamelab")->text, "Weather");
  EXPECT_EQ(h.BackImage(), "homebtn.png") << "a bookmark does not descend";
}

// An unknown action or a disabled entry runs nothing.
TEST_F(Table, MenuCommandRunsOnlyWhenAvailable) {
  AppDelegate& app = h.Start();
  h.Press(kAllBookMarkBtn);
  EXPECT_FALSE(h.Perform("NoSuchAction:"));
  MenuItemModel sort;
  sort.action = "SortAllBookMarkByName:";
  sort.enabled = false;
  const NodeList before = h.rows();
  EXPECT_FALSE(app.PerformMenuAction(sort));
  EXPECT_EQ(h.rows(), before) << "a disabled entry runs nothing";
  sort.enabled = true;
  EXPECT_TRUE(app.PerformMenuAction(sort));
}

// Selecting one bookmark shows the encrypt or decrypt items for its state; a
// folder or no selection leaves them as they are.
TEST_F(Table, EncryptionItemsFollowTheSelectedBookmark) {
  AppDelegate& app = h.Start();
  h.Press(kSafariBookMarkBtn);
  const auto hidden = [&] {  // encrypt, decrypt, encrypt selected, decrypt selected
    std::vector<bool> flags;
    for (const char* id : {kEncryptBookmarkMenuItem, kDecryptBookmarkMenuItem, kEncryptSelectedBookmarkMenuItem,
                           kDecryptSelectedBookmarkMenuItem})
      flags.push_back(h.view().findMenuItem(id)->hidden);
    return flags;
  };
  const std::vector<bool> plain = {false, true, false, true}, encrypted = {true, false, true, false};
  h.SelectTitles({"Weather"});
  EXPECT_EQ(hidden(), plain);
  app.lists().safariBookMarkArray.back()->setBEncrytedBookmark(true);  // Weather
  h.SelectTitles({"Weather"});
  EXPECT_EQ(hidden(), encrypted);
  h.SelectTitles({"News"});
  EXPECT_EQ(hidden(), encrypted);
  app.SelectTableRows(TableId::Bookmarks, {});
  EXPECT_EQ(hidden(), encrypted);
}

TEST_F(Table, RowsOfTheBookmarkTable) {
  AppDelegate& app = h.Start();
  h.Press(kChromeBookMarkBtn);
  h.Open("Other bookmarks");
  ASSERT_EQ(app.numberOfRowsInTableView(TableId::Bookmarks), 1u);
  const BookmarkRow row = app.BookmarkRowAt(0);
  EXPECT_EQ((TitleList{row.title, row.type, row.uuid}), (TitleList{"Apple Store", "Chrome bookmark", "13"}));
  EXPECT_FALSE(row.date.empty()) << "the reader's date_added reaches the Date column";
  EXPECT_EQ(app.BookmarkRowAt(5).kind, BookmarkRow::Kind::Other) << "past the end: an empty row";
}

// Matches of title or address, letter case folded, in list order; no match: an
// empty table that says so. A cleared field (also while searches still run,
// unpumped or handing over meanwhile): the view's default content, the flat list
// in the unified view (results of older texts handed over meanwhile are dropped).
// Another view loaded meanwhile: its content. No view: nothing.
TEST(SearchMatches, TheTableShowsWhatTheLastTextFinds) {
  std::vector<std::string> manyThenCleared;
  for (int i = 0; i < 50; ++i) manyThenCleared.push_back(i % 2 ? "apple" : "pie");
  manyThenCleared.push_back("");
  const struct {
    const char *view, *viewLoadedMeanwhile;
    std::vector<std::string> texts;
    TitleList matches;
    NodeList BookmarkLists::*shown;  // null: the matches
    const char* status;
  } cases[] = {
      {kSafariBookMarkBtn, nullptr, {"APPLE"}, {"apple pie", "Fruit Stand"}, nullptr, ""},
      {kAllBookMarkBtn, nullptr, {"apple"}, {"apple pie", "Fruit Stand", "Apple Store"}, nullptr, ""},
      {kSafariBookMarkBtn, nullptr, {"zebra"}, {}, nullptr, "No matches"},
      {kAllBookMarkBtn, nullptr, {"apple", "zebra"}, {}, nullptr, "No matches"},
      {kSafariBookMarkBtn, nullptr, {"zebra", ""}, {}, &BookmarkLists::safariFatherArray, ""},
      {kChromeBookMarkBtn, nullptr, {"apple", ""}, {}, &BookmarkLists::ChromeFatherArray, ""},
      {kAllBookMarkBtn, nullptr, manyThenCleared, {}, &BookmarkLists::allbookMarkArray, ""},
      {kSafariBookMarkBtn, kChromeBookMarkBtn, {"zebra"}, {}, &BookmarkLists::ChromeFatherArray, ""},
      {nullptr, nullptr, {"apple", ""}, {}, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.view ? c.view : "no view") + " " + c.texts[0]);
    SampleHome h(false);
    h.Start();
    if (c.view) h.Press(c.view);
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      h.TypeSearch(c.texts[i]);
      if (i % 7 == 6 || c.texts.size() == 2) {
        ASSERT_TRUE(h.SettleSearch());
      }
    }
    if (c.viewLoadedMeanwhile) h.Press(c.viewLoadedMeanwhile);
    ASSERT_TRUE(h.SettleSearch());
    if (c.shown) {
      EXPECT_EQ(h.rows(), h.app->lists().*c.shown);
    } else {
      EXPECT_EQ(h.RowTitles(), c.matches);
    }
    if (!c.shown && !c.texts.back().empty()) {
      EXPECT_EQ(h.app->lists().fliterSearchArray, h.rows());
    }
    const TextState* status = h.view().findText(kBookmarkStatus);
    EXPECT_EQ(status ? status->text : "", c.status);
    EXPECT_TRUE(h.view().bookmarkTable.selection.empty());
    EXPECT_EQ(h.view().findText(kSearchField)->text, c.texts.back());
  }
}

using Search = QuietPresenterTest;

TEST_F(Search, OtherFieldsStartNoSearch) {
  h.Start();
  h.app->controlTextDidChange(kEnterPWLab, "apple");
  ASSERT_TRUE(h.SettleSearch());
  EXPECT_EQ(h.app->searchGeneration(), 0u);
}

// A long list is scanned in parts at once; the matches still come in list order.
TEST(SearchMatches, ALongListGivesItsMatchesInListOrder) {
  NodeList rows;
  for (int i = 0; i < 50001; ++i) {
    rows.push_back(PRBookMarkNode::Create());
    rows.back()->setThetitle((i % 3 ? "other " : "Match ") + std::to_string(i));
  }
  std::promise<NodeList> delivered;
  SearchWorkers workers;
  workers.Start(std::make_shared<InlineDispatcher>(), rows, "match",
                [&](const NodeList& matches, std::uint64_t) { delivered.set_value(matches); });
  const NodeList matches = delivered.get_future().get();
  EXPECT_EQ(matches.size(), 16667u);
  EXPECT_EQ(matches, FilterBySearch(rows, "match"));
}
