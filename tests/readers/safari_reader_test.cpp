#include <gtest/gtest.h>

#include "platform/Locations.h"
#include "readers/ReaderTestSupport.h"
#include "readers/SafariReader.h"

namespace linvara::testing {
namespace {

std::string SafariFile(std::string name) { return "safari_bookmarks/safari14-2020_" + name + "_Bookmarks.plist"; }

ReadResult ReadSafari(ReaderHarness& h, const DictPtr& root, bool xml = false) {
  TempDir dir;
  Must(profile::WriteSafariPropertyList(dir / "Bookmarks.plist", root,
                                        xml ? profile::PlistFormat::Xml : profile::PlistFormat::Binary));
  return SafariReader(h.ctx).ReadSafariBookMark(dir / "Bookmarks.plist");
}

TEST(SafariReaderRealFiles, EveryLeafIsReadInDocumentOrderWithItsPath) {
  const std::vector<std::tuple<std::string, std::size_t, std::size_t, std::string, std::string>> cases = {
      // file, leaves, and one leaf's index, title and path
      {"nested-readinglist", 17, 0, "Ruby Programming Language", "/BookmarksBar/Development/Ruby"},
      {"nested-readinglist", 17, 8, "Apple", "/BookmarksBar"},  // the bar's own leaves after those of its folders
      {"nested-readinglist", 17, 11, "Bing", "/"},
      {"nested-readinglist", 17, 14, "Introduction: Getting Started", "/com.apple.ReadingList"},
      {"empty-folders", 2, 1, "Redux", "/BookmarksBar/Development/JavaScript/React"},
      {"duplicates", 5, 4, "Ruby on Rails", "/BookmarksBar/Development"},
  };
  for (const auto& [file, leaves, index, title, path] : cases) {
    SCOPED_TRACE(file + " " + title);
    ReaderHarness h;
    ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(TestData(SafariFile(file))).ok());
    ASSERT_EQ(h.lists.safariBookMarkArray.size(), leaves);
    EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[index]->thetitle()), title);
    EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[index]->theFullPath()), path);
  }
}

TEST(SafariReaderRealFiles, TopLevelListHoldsEveryKindOfEntry) {
  ReaderHarness h;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(TestData(SafariFile("nested-readinglist"))).ok());
  ASSERT_EQ(Titles(h.lists.safariFatherArray),
            (std::vector<std::string>{"History", "BookmarksBar", "BookmarksMenu", "Bing", "DuckDuckGo", "Google",
                                      "com.apple.ReadingList"}));
  EXPECT_TRUE(h.lists.safariBookMarkArray.at(14)->readlistDict() != nullptr);
  const NodePtr& proxy = h.lists.safariFatherArray[0];
  ASSERT_TRUE(proxy->isFolder());
  EXPECT_EQ(OrNull(AsFolder(proxy)->idenetifierStr()), "History");
  EXPECT_EQ(OrNull(AsFolder(proxy)->faBookMarkType()), "WebBookmarkTypeProxy");
  EXPECT_EQ(proxy->fatherItem(), nullptr);
  const NodePtr& bar = h.lists.safariFatherArray[1];
  ASSERT_EQ(Titles(ChildrenOf(bar)), (std::vector<std::string>{"Development", "Apple", "Amazon.com", "GitHub"}));
  EXPECT_EQ(bar->fatherItem(), h.lists.rootNode);
  NodePtr development = ChildrenOf(bar)[0];
  EXPECT_EQ(development->fatherItem(), bar);
  EXPECT_EQ(OrNull(development->theFullPath()), "/BookmarksBar");
  // The unified view leaves the root empty.
  ASSERT_TRUE(h.lists.rootNode);
  EXPECT_EQ(h.lists.rootNode->rootDict(), nullptr);
}

TEST(SafariReader, FavoritesBarByServerIdMarksEverythingBelow) {
  auto sync = Dictionary::make();
  sync->set("ServerID", "Favorites Bar");
  ReaderHarness h;
  ASSERT_TRUE(ReadSafari(h, profile::SafariRootDictionary(
                                {profile::WithKey(Folder("Bar title in file",
                                                         {Folder("News", {Leaf("Paper", "https://paper.example/")}),
                                                          Leaf("Top", "https://top.example/")}),
                                                  "Sync", sync),
                                 Folder("Favorites Bar", {Leaf("Plain", "https://plain.example/")})}))
                  .ok());
  ASSERT_EQ(h.lists.safariFatherArray.size(), 2u);
  EXPECT_EQ(OrNull(h.lists.safariFatherArray[0]->thetitle()), "Favorites Bar");
  EXPECT_TRUE(h.lists.safariFatherArray[0]->bFavBookmark());
  EXPECT_EQ(Value(AsFolder(h.lists.safariFatherArray[0])->syncDict()), Value(sync));
  EXPECT_FALSE(h.lists.safariFatherArray[1]->bFavBookmark());
  EXPECT_TRUE(ChildrenOf(h.lists.safariFatherArray[0]).at(0)->bFavBookmark());
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray.at(0)->theFullPath()), "/Favorites Bar/News");
  std::vector<bool> favorite;
  for (const auto& leaf : h.lists.allbookMarkArray) favorite.push_back(leaf->bFavBookmark());
  EXPECT_EQ(favorite, (std::vector<bool>{true, true, false}));
}

TEST(SafariReader, EntriesWithMissingKeysAreStillRead) {
  DictPtr root = profile::SafariRootDictionary({Leaf("Whole", "https://whole.example/", "UUID-Whole"),
                                                Leaf("x", "https://no-uri.example/"), Leaf("No address", ""),
                                                Folder("")});
  ArrayPtr top = root->getArray("Children");
  top->at(1).asDict()->remove("URIDictionary");
  top->at(2).asDict()->remove("URLString");
  top->at(3).asDict()->remove("Title");
  ReaderHarness h;
  ASSERT_TRUE(ReadSafari(h, root, /*xml=*/true).ok());
  const NodeList& leaves = h.lists.allbookMarkArray;
  ASSERT_EQ(leaves.size(), 3u);
  EXPECT_EQ(OrNull(leaves[0]->bookMarkType()), "WebBookmarkTypeLeaf");
  EXPECT_EQ(OrNull(leaves[0]->bookMarkUUID()), "UUID-Whole");
  EXPECT_EQ(leaves[0]->fatherItem(), h.lists.rootNode);
  EXPECT_TRUE(leaves[0]->dataDict()->contains("URIDictionary"));
  EXPECT_EQ(OrNull(leaves[1]->thetitle()), " ");
  EXPECT_EQ(leaves[2]->urlString(), std::nullopt);
  ASSERT_EQ(h.lists.safariFatherArray.size(), 4u);
  EXPECT_EQ(h.lists.safariFatherArray[3]->thetitle(), std::nullopt);
}

// Markers are found anywhere in the address, letter case ignored.
TEST(SafariReader, AddressUnderAnyMarkerIsEncrypted) {
  ReaderHarness h;
  for (const auto& marker : Locations::ForHome("/home/tester", Layout::Linux).encryptedMarkers())
    h.ctx.encryptedMarkers.push_back(marker);
  ASSERT_TRUE(ReadSafari(h, profile::SafariRootDictionary(
                                {Leaf("Linux page", "file:///home/tester/.local/share/Linvara/1/encrypt.html"),
                                 Leaf("Mac page", "file:///home/tester/Library/Application Support/Linvara/2/e.html"),
                                 Leaf("Upper case", "FILE:///USERS/TESTER/LIBRARY/APPLICATION SUPPORT/x.html"),
                                 Leaf("Other user", "file:///Users/someone/Library/Application Support/x.html"),
                                 Leaf("Elsewhere", "file:///home/tester/Documents/page.html")}))
                  .ok());
  std::vector<bool> encrypted;
  for (const auto& leaf : h.lists.allbookMarkArray) encrypted.push_back(leaf->bEncrytedBookmark());
  EXPECT_EQ(encrypted, (std::vector<bool>{true, true, true, false, false}));
}

// An entry of unknown shape is skipped with its subtree; a proxy, even nested, stays a folder.
TEST(SafariReader, OnlyEntriesOfKnownShapeAreRead) {
  DictPtr root = profile::SafariRootDictionary(
      {profile::WithKey(Folder("Odd", {Leaf("Hidden", "https://hidden.example/")}), "WebBookmarkType",
                        "WebBookmarkTypeSomethingNew"),
       Leaf("Kept", "https://kept.example/"),
       Folder("Inner", {Leaf("Deep", "https://deep.example/"), profile::Proxy("History")})});
  root->getArray("Children")->at(2).asDict()->getArray("Children")->insert(1, Value(true));
  root->getArray("Children")->append(Value("a string entry"));
  root->getArray("Children")->append(Value(42));
  ReaderHarness h;
  ASSERT_TRUE(ReadSafari(h, root).ok());
  EXPECT_EQ(Titles(h.lists.safariFatherArray), (std::vector<std::string>{"Kept", "Inner"}));
  EXPECT_EQ(Titles(h.lists.allbookMarkArray), (std::vector<std::string>{"Kept", "Deep"}));
  const NodeList inner = ChildrenOf(h.lists.safariFatherArray[1]);
  ASSERT_EQ(Titles(inner), (std::vector<std::string>{"Deep", "History"}));
  EXPECT_TRUE(inner[1]->isFolder());
  EXPECT_EQ(OrNull(inner[1]->theFullPath()), "/Inner");
  EXPECT_EQ(inner[1]->fatherItem(), h.lists.safariFatherArray[1]);
}

TEST(SafariReader, MatchRuleIsExactAddressEquality) {
  NodePtr a = WithAddress("https://a.example/");
  NodePtr noAddress = PRFaBookMarkNode::Create();
  EXPECT_TRUE(istheBookMarkNodeintheArray({a}, WithAddress("https://a.example/")));
  EXPECT_FALSE(istheBookMarkNodeintheArray({a}, WithAddress("https://A.example/")));
  EXPECT_FALSE(istheBookMarkNodeintheArray({noAddress}, noAddress));
}

// Unlike a missing one, a file that is there but malformed still installs a root.
TEST(SafariReader, MalformedFileInstallsARoot) {
  TempDir dir;
  const std::string head = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
  for (const std::string& bytes : {head + "<dict><key>Children</key><array><dict>",
                                   head + "<array><string>x</string></array></plist>",
                                   head + "<dict><key>Children</key><string>x</string></dict></plist>"}) {
    SCOPED_TRACE(bytes);
    WriteText(dir / "bad.plist", bytes);
    ReaderHarness b;
    b.ctx.bookMarkType = 2;
    EXPECT_EQ(SafariReader(b.ctx).ReadSafariBookMark(dir / "bad.plist").errorKind(), ErrorKind::Malformed);
    EXPECT_TRUE(b.lists.rootNode != nullptr);
  }
}

}  // namespace
}  // namespace linvara::testing
