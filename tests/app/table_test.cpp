// The bookmark table driven like a user: opening the selection, double-click,
// selection changes and the result tables.
#include <gtest/gtest.h>

#include "PresenterFixture.h"

using namespace linvara;
using namespace linvara::testing;
using namespace linvara::outlets;

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
  MenuItemModel open;
  open.action = "OpenSelectedBookmarksAction:";
  EXPECT_TRUE(app.PerformMenuAction(open));
  EXPECT_EQ(h.platform->openedUrls.size(), 3u);
  EXPECT_EQ(h.platform->openedUrls.back(), "https://weather.example/");
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(h.screen->alerts[0].request.informativeText, "Not opened:\nnot an address: not a web address");
}

// Editing belongs to another unit: without its handler a double-click does nothing.
TEST_F(Table, DoubleClickOnABookmarkRunsTheEditCommand) {
  AppDelegate& app = h.Start();
  h.Press(kSafariBookMarkBtn);
  h.SelectTitles({"Weather"});
  EXPECT_FALSE(app.EditSelectedBookMarkAction()) << "no editing unit installed: nothing is reported done";
  int edits = 0;
  app.SetCommandHandler("EditSelectedBookMarkAction:", [&](const MenuItemModel&) { ++edits; });
  app.SelectTableRows(TableId::Bookmarks, {});
  EXPECT_FALSE(app.EditSelectedBookMarkAction()) << "no selection, no edit";
  app.DoubleClickTableViewBookMarkAction();
  EXPECT_EQ(edits, 0);
  h.Open("Weather");
  EXPECT_EQ(edits, 1);
  EXPECT_EQ(h.BackImage(), "homebtn.png") << "a bookmark does not descend";
}

// Sorting belongs to another unit: unavailable until its handler is installed.
TEST_F(Table, MenuCommandRunsOnlyWhenPerformableAndEnabled) {
  AppDelegate& app = h.Start();
  h.Press(kSafariBookMarkBtn);
  MenuItemModel sort;
  sort.action = "SortAllBookMarkByName:";
  EXPECT_FALSE(app.PerformMenuAction(sort));
  int sorts = 0;
  app.SetCommandHandler(sort.action, [&](const MenuItemModel& sender) { sorts += sender.action == sort.action; });
  EXPECT_TRUE(app.PerformMenuAction(sort));
  sort.enabled = false;
  EXPECT_FALSE(app.PerformMenuAction(sort));
  EXPECT_EQ(sorts, 1);
}

TEST_F(Table, EncryptionNeedsSelectedSafariBookmarks) {
  AppDelegate& app = h.Start();
  int runs = 0;
  app.SetCommandHandler("EncryptedSelectedBookMarkAction:", [&](const MenuItemModel&) { ++runs; });
  h.Press(kAllBookMarkBtn);
  h.SelectTitles({"Weather"});
  EXPECT_FALSE(app.EncryptedSelectedBookMarkAction()) << "the unified view's root is not Safari's";
  h.Press(kSafariBookMarkBtn);
  h.SelectTitles({"News"});
  EXPECT_FALSE(app.EncryptedSelectedBookMarkAction()) << "folders are skipped";
  h.SelectTitles({"News", "Weather"});
  EXPECT_TRUE(app.EncryptedSelectedBookMarkAction());
  EXPECT_EQ(runs, 1);
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
  EXPECT_EQ(app.numberOfRowsInTableView(TableId::Other), 0u);
}

TEST_F(Table, DuplicateMemberTableShowsTheSelectedGroup) {
  AppDelegate& app = h.Start();
  h.Press(kAllBookMarkBtn);
  // A duplicate group as the duplicate search hands it over: a folder node whose children are the members.
  NodePtr safariMember = app.lists().safariBookMarkArray.front();  // Menu Item
  NodePtr chromeMember = app.lists().chromebookMarkArray.front();  // Mail
  FolderPtr group = PRFaBookMarkNode::Create();
  group->setThetitle(std::string("Mail"));
  group->appendChild(safariMember);
  group->appendChild(chromeMember);
  app.session().SetResultTableContent(TableId::LeftDup, {group});

  EXPECT_EQ(app.numberOfRowsInTableView(TableId::LeftDup), 1u);
  EXPECT_EQ(app.ResultRowAt(TableId::LeftDup, 0).title, "Mail");
  app.SelectTableRows(TableId::LeftDup, {0});
  ASSERT_EQ(app.numberOfRowsInTableView(TableId::RightDup), 2u);
  EXPECT_EQ(app.ResultRowAt(TableId::RightDup, 0).path, "/BookmarksMenu        --Safari bookmark");
  EXPECT_EQ(app.ResultRowAt(TableId::RightDup, 1).path, "/Bookmarks bar/Work        --Chrome bookmark");

  EXPECT_FALSE(app.ResultRowAt(TableId::RightDup, 1).checked);
  app.CheckTheFileAction(TableId::RightDup, 1);
  EXPECT_TRUE(chromeMember->bSelect());
  EXPECT_TRUE(app.ResultRowAt(TableId::RightDup, 1).checked);
  app.CheckTheFileAction(TableId::RightDup, 1);
  EXPECT_FALSE(chromeMember->bSelect());
}
