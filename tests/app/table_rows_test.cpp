// What the table's cells show for each kind of node.
#include <gtest/gtest.h>

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

}  // namespace

TEST(BookmarkRows, FolderShowsFolderIconNullTitleAndNoAddress) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setUrlString("http://ignored.example/");
  BookmarkRow row = MakeBookmarkRow(folder);
  EXPECT_EQ(row.kind, BookmarkRow::Kind::Folder);
  EXPECT_EQ(row.icon, "folderlogo");
  EXPECT_EQ(row.title, "(null)");
  EXPECT_EQ(row.titleY, 8);
  EXPECT_EQ(row.addressLine, "");

  folder->setThetitle("News");
  EXPECT_EQ(MakeBookmarkRow(folder).title, "News");
}

TEST(BookmarkRows, BookmarkCellsAndTheIconAndTypeOfEachBrowser) {
  const struct {
    const char* from;
    const char* icon;
    const char* type;
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
    n->setBookMarkUUID("42");
    n->setTheFullPath("/Bookmarks bar/News");
    BookmarkRow row = MakeBookmarkRow(n);
    EXPECT_EQ(row.kind, BookmarkRow::Kind::Bookmark) << c.from;
    EXPECT_EQ(row.icon, c.icon) << c.from;
    EXPECT_EQ(row.type, c.type) << c.from;
    EXPECT_EQ((std::vector<std::string>{row.title, row.addressLine, row.uuid, row.path}),
              (std::vector<std::string>{"Apple", "https://apple.example/", "42", "/Bookmarks bar/News"}));
    EXPECT_EQ(row.titleY, 21);
  }
}

TEST(BookmarkRows, EncryptedBookmarkShowsTwentyNineAsterisksAndLock) {
  NodePtr n = Leaf("Secret", "file:///Users/tester/Library/Application%20Support/Linvara/x/encrypt.html", "Safari");
  n->setBEncrytedBookmark(true);
  BookmarkRow row = MakeBookmarkRow(n);
  EXPECT_EQ(row.addressLine, std::string(29, '*'));
  EXPECT_EQ(row.icon, "lock");
  EXPECT_EQ(row.title, "Secret");
}

TEST(BookmarkRows, UnfilledLeafAndRootRows) {
  // A leaf no reader filled: the title " ", empty address, empty path.
  BookmarkRow leaf = MakeBookmarkRow(PRBookMarkNode::Create());
  EXPECT_EQ(leaf.title, " ");
  EXPECT_EQ(leaf.addressLine, "");
  EXPECT_EQ(leaf.path, "");
  EXPECT_EQ(leaf.date, "");
  // A root keeps the cell as made.
  BookmarkRow root = MakeBookmarkRow(PRRootBookMarkNode::Create());
  EXPECT_EQ(root.kind, BookmarkRow::Kind::Other);
  EXPECT_EQ(root.icon, "");
  EXPECT_EQ(root.title, "");
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

TEST(ResultRows, DuplicateMemberPathInUnifiedViewNamesTheBrowser) {
  NodePtr chrome = Leaf("A", "https://a.example/", "Chrome");
  chrome->setTheFullPath("/Bookmarks bar");
  chrome->setBSelect(true);
  ResultRow unified = MakeDuplicateMemberRow(chrome, 1);
  EXPECT_EQ(unified.path, "/Bookmarks bar        --Chrome bookmark");
  EXPECT_EQ(unified.title, "A");
  EXPECT_EQ(unified.addressLine, "https://a.example/");
  EXPECT_TRUE(unified.checked);
  EXPECT_EQ(unified.node, chrome);

  EXPECT_EQ(MakeDuplicateMemberRow(chrome, 2).path, "/Bookmarks bar");
  EXPECT_EQ(MakeDuplicateMemberRow(chrome, 3).path, "/Bookmarks bar");

  NodePtr unknown = Leaf("B", "https://b.example/", "Folder");
  unknown->setTheFullPath("/");
  EXPECT_EQ(MakeDuplicateMemberRow(unknown, 1).path, "/        --");
}

TEST(ResultRows, DeadLinkAndGroupRows) {
  NodePtr n = Leaf("Gone", "http://gone.invalid/", "Safari");
  EXPECT_FALSE(MakeDeadLinkRow(n).checked);
  n->setBSelect(true);
  ResultRow dead = MakeDeadLinkRow(n);
  EXPECT_TRUE(dead.checked);
  EXPECT_EQ(dead.title, "Gone");
  EXPECT_EQ(dead.addressLine, "http://gone.invalid/");
  EXPECT_EQ(MakeDuplicateGroupRow(n).title, "Gone");
}

TEST(OpenableAddresses, OnlyWellFormedAddressesOpen) {
  for (const char* good : {"https://apple.example/pie", "http://x.example",
                           "file:///Users/tester/Library/Application%20Support/Linvara/a/encrypt.html"})
    EXPECT_TRUE(IsOpenableWebAddress(good)) << good;
  for (const char* bad : {"", "apple pie", "http://has space.example/", "1http://x.example/", "https:",
                          "javascript:alert(1)", "JavaScript:alert(1)", "data:text/html,hi"})
    EXPECT_FALSE(IsOpenableWebAddress(bad)) << bad;
}
