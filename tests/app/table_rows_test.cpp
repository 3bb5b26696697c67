// What the table's cells show for each kind of node.
#include <gtest/gtest.h>

#include <tuple>

#include "app/Outlets.h"
#include "app/TableRows.h"
#include "cookies/CookieText.h"

using namespace linvara;

namespace {

NodePtr Leaf(const std::string& title, const std::string& url, const std::string& from) {
  NodePtr n = PRBookMarkNode::Create();
  n->setThetitle(title);
  n->setUrlString(url);
  n->setBookMarkFrom(from);
  return n;
}

using Kind = BookmarkRow::Kind;
// The Name and Type cells of a row: kind, icon, title, title's y, address line, type text.
using NameCells = std::tuple<Kind, std::string, std::string, double, std::string, std::string>;
NameCells NameCellsOf(const NodePtr& node) {
  const BookmarkRow r = MakeBookmarkRow(node);
  return {r.kind, r.icon, r.title, r.titleY, r.addressLine, r.type};
}

}  // namespace

// A bookmark shows its browser's icon and type, none for an unknown browser.
TEST(BookmarkRows, BookmarkShowsTheIconAndTypeOfItsBrowser) {
  const struct {
    const char *from, *icon, *type;
  } cases[] = {
      {"Safari", "safarilogo", "Safari bookmark"},
      {"Chrome", "chromelogo", "Chrome bookmark"},
      {"Firefox", "firefoxlogo", "Firefox bookmark"},
      {"Opera", "operalogo", "Opera bookmark"},
      {"Microsoft Edge", "edgelogo", "Microsoft Edge bookmark"},
      {"Folder", "", ""},
      {"safari", "", ""},
  };
  for (const auto& c : cases) {
    NodePtr n = Leaf("Apple", "https://apple.example/", c.from);
    EXPECT_EQ(NameCellsOf(n), (NameCells{Kind::Bookmark, c.icon, "Apple", 21, "https://apple.example/", c.type}))
        << c.from;
  }
  NodePtr n = Leaf("A", "https://a.example/", "Chrome");
  n->setBookMarkUUID("42");
  n->setTheFullPath("/Bookmarks bar/News");
  EXPECT_EQ(MakeBookmarkRow(n).uuid, "42");
  EXPECT_EQ(MakeBookmarkRow(n).path, "/Bookmarks bar/News");
}

// A folder shows "(null)" untitled and no address; an encrypted bookmark a lock
// and asterisks; a leaf no reader filled counts as Safari's; a root keeps the cells as made.
TEST(BookmarkRows, NodesOtherThanPlainBookmarksShowTheCellsOfTheirKind) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setUrlString("http://ignored.example/");
  EXPECT_EQ(NameCellsOf(folder), (NameCells{Kind::Folder, "folderlogo", "(null)", 8, "", ""}));
  folder->setThetitle("News");
  EXPECT_EQ(MakeBookmarkRow(folder).title, "News");
  NodePtr secret = Leaf("Secret", "file:///Users/tester/Library/Application%20Support/Linvara/x/e.html", "Safari");
  secret->setBEncrytedBookmark(true);
  EXPECT_EQ(NameCellsOf(secret),
            (NameCells{Kind::Bookmark, "lock", "Secret", 21, std::string(29, '*'), "Safari bookmark"}));
  const NodePtr unfilled = PRBookMarkNode::Create();
  EXPECT_EQ(NameCellsOf(unfilled), (NameCells{Kind::Bookmark, "safarilogo", " ", 21, "", "Safari bookmark"}));
  EXPECT_EQ(MakeBookmarkRow(unfilled).path + MakeBookmarkRow(unfilled).date, "");
  EXPECT_EQ(NameCellsOf(PRRootBookMarkNode::Create()), (NameCells{Kind::Other, "", "", 0, "", ""}));
}

TEST(BookmarkRows, DateColumnConvertsChromiumMicrosecondsSince1601) {
  // 2021-01-01 00:00:00 UTC = 1609459200 s since 1970 = 13253932800 s since 1601.
  EXPECT_EQ(ChromiumTimeToUnixSeconds("13253932800000000"), 1609459200);
  EXPECT_EQ(ChromiumTimeToUnixSeconds("11644473600000000"), 0);
  EXPECT_FALSE(ChromiumTimeToUnixSeconds("").has_value());
  EXPECT_FALSE(ChromiumTimeToUnixSeconds("12x").has_value());
  EXPECT_FALSE(ChromiumTimeToUnixSeconds("99999999999999999999999").has_value());

  NodePtr n = Leaf("A", "https://a.example/", "Chrome");
  n->setAddDateStr("13253932800000000");
  // Same text as the cookie date routine gives for that instant.
  EXPECT_EQ(MakeBookmarkRow(n).date, GetNSStringDate(GetDateTime(1609459200, kDateSecondsSince1970)));
  EXPECT_EQ(MakeBookmarkRow(n).date.size(), std::string("01-01-2021 00:00").size());

  n->setAddDateStr("not a number");
  EXPECT_EQ(MakeBookmarkRow(n).date, "");
  n->setAddDateStr(std::nullopt);
  EXPECT_EQ(MakeBookmarkRow(n).date, "");
}

TEST(ResultRows, CellsOfEachResultTable) {
  NodePtr chrome = Leaf("A", "https://a.example/", "Chrome");
  chrome->setTheFullPath("/Bookmarks bar");
  const ResultRow unified = MakeDuplicateMemberRow(chrome, ViewKind::All);
  EXPECT_EQ((std::vector<std::string>{unified.title, unified.addressLine, unified.path}),
            (std::vector<std::string>{"A", "https://a.example/", "/Bookmarks bar        --Chrome bookmark"}));
  EXPECT_EQ(unified.node, chrome);
  for (ViewKind otherView : {ViewKind::Safari, ViewKind::Chrome}) EXPECT_EQ(MakeDuplicateMemberRow(chrome, otherView).path, "/Bookmarks bar");
  NodePtr unknown = Leaf("B", "https://b.example/", "Folder");
  unknown->setTheFullPath("/");
  EXPECT_EQ(MakeDuplicateMemberRow(unknown, ViewKind::All).path, "/        --");

  const ResultRow dead = MakeDeadLinkRow(chrome);
  EXPECT_EQ((std::vector<std::string>{dead.title, dead.addressLine}),
            (std::vector<std::string>{"A", "https://a.example/"}));
  EXPECT_EQ(MakeDuplicateGroupRow(chrome).title, "A");
  // The check box follows the node's selection.
  EXPECT_FALSE(unified.checked || dead.checked);
  chrome->setBSelect(true);
  EXPECT_TRUE(MakeDuplicateMemberRow(chrome, ViewKind::All).checked && MakeDeadLinkRow(chrome).checked);
}
