#include <gtest/gtest.h>

#include "platform/Locations.h"
#include "readers/ReaderTestSupport.h"
#include "readers/SafariReader.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

TEST(SafariReaderRealFiles, NestedFileGivesEveryLeafInDocumentOrderWithPaths) {
  ReaderHarness h;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(TestData("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist")).ok());

  // History proxy, BookmarksBar, BookmarksMenu, three root leaves, the reading list.
  EXPECT_EQ(Titles(h.lists.safariFatherArray),
            (std::vector<std::string>{"History", "BookmarksBar", "BookmarksMenu", "Bing", "DuckDuckGo", "Google",
                                      "com.apple.ReadingList"}));
  ASSERT_EQ(h.lists.safariBookMarkArray.size(), 17u);
  EXPECT_EQ(h.lists.allbookMarkArray, h.lists.safariBookMarkArray);
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[0]->thetitle()), "Ruby Programming Language");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[0]->theFullPath()), "/BookmarksBar/Development/Ruby");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[6]->thetitle()), "Node.js");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[6]->theFullPath()), "/BookmarksBar/Development/JavaScript");
  // The bar's own leaves come after the leaves of its folders, as in the file.
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[8]->thetitle()), "Apple");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[8]->theFullPath()), "/BookmarksBar");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[11]->thetitle()), "Bing");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[11]->theFullPath()), "/");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[14]->urlString()),
            "https://guides.hanamirb.org/introduction/getting-started/");
  EXPECT_EQ(OrNull(h.lists.safariBookMarkArray[14]->theFullPath()), "/com.apple.ReadingList");
  EXPECT_TRUE(h.lists.safariBookMarkArray[14]->readlistDict() != nullptr);

  const NodePtr& proxy = h.lists.safariFatherArray[0];
  ASSERT_TRUE(proxy->isFolder());
  EXPECT_EQ(OrNull(AsFolder(proxy)->idenetifierStr()), "History");
  EXPECT_EQ(OrNull(AsFolder(proxy)->faBookMarkType()), "WebBookmarkTypeProxy");
  EXPECT_EQ(proxy->fatherItem(), nullptr);
  EXPECT_TRUE(ChildrenOf(proxy).empty());

  const NodePtr& bar = h.lists.safariFatherArray[1];
  EXPECT_EQ(Titles(ChildrenOf(bar)), (std::vector<std::string>{"Development", "Apple", "Amazon.com", "GitHub"}));
  EXPECT_EQ(bar->fatherItem(), h.lists.rootNode);
  NodePtr development = ChildrenOf(bar)[0];
  EXPECT_EQ(development->fatherItem(), bar);
  EXPECT_EQ(OrNull(development->theFullPath()), "/BookmarksBar");
  for (const auto& n : h.lists.safariBookMarkArray) {
    EXPECT_EQ(OrNull(n->bookMarkFrom()), "Safari");
    EXPECT_FALSE(n->bFavBookmark());
    EXPECT_FALSE(n->bEncrytedBookmark());
    EXPECT_TRUE(n->dataDict() != nullptr);
  }
  // The unified view leaves the root empty.
  ASSERT_TRUE(h.lists.rootNode);
  EXPECT_EQ(h.lists.rootNode->rootDict(), nullptr);
}

TEST(SafariReaderRealFiles, EmptyFoldersAndDuplicates) {
  ReaderHarness h;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(TestData("safari_bookmarks/safari14-2020_empty-folders_Bookmarks.plist")).ok());
  EXPECT_EQ(Titles(h.lists.allbookMarkArray), (std::vector<std::string>{"React", "Redux"}));
  EXPECT_EQ(Paths(h.lists.allbookMarkArray),
            (std::vector<std::string>{"/BookmarksBar/Development/JavaScript/React",
                                      "/BookmarksBar/Development/JavaScript/React"}));

  ReaderHarness d;
  ASSERT_TRUE(SafariReader(d.ctx).ReadSafariBookMark(TestData("safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist")).ok());
  EXPECT_EQ(d.lists.safariBookMarkArray.size(), 5u);
  EXPECT_EQ(Paths(d.lists.safariBookMarkArray),
            (std::vector<std::string>{"/BookmarksBar/Ruby", "/BookmarksBar/Ruby", "/BookmarksBar/Ruby",
                                      "/BookmarksBar/Development", "/BookmarksBar/Development"}));
}

TEST(SafariReaderRealFiles, SafariViewFillsRootFromTheFile) {
  ReaderHarness h;
  h.ctx.bookMarkType = 2;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(TestData("safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist")).ok());
  RootPtr root = h.lists.rootNode;
  ASSERT_TRUE(root);
  EXPECT_EQ(OrNull(root->rootBookMarkUUID()), "AD677383-01A0-4288-BFFF-AF746A19357A");
  EXPECT_EQ(OrNull(root->bmType()), "WebBookmarkTypeList");
  EXPECT_EQ(OrNull(root->titleStr()), "");
  EXPECT_EQ(root->rootbmFileVersion().asInt(), 1);
  ASSERT_TRUE(root->rawChildren().isArray());
  EXPECT_EQ(root->rawChildren().asArray()->size(), 3u);
  EXPECT_TRUE(root->syncDict() != nullptr);
  ASSERT_TRUE(root->rootDict());
  EXPECT_TRUE(root->rootDict()->contains("Children"));
}

TEST(SafariReader, FavoritesBarByServerIdMarksEverythingBelow) {
  TempDir dir;
  auto bar = SafariList("Bar title in file", {SafariList("News", {SafariLeaf("Paper", "https://paper.example/")}),
                                              SafariLeaf("Top", "https://top.example/")});
  auto sync = Dictionary::make();
  sync->set("ServerID", "Favorites Bar");
  bar->set("Sync", sync);
  auto lookalike = SafariList("Favorites Bar", {SafariLeaf("Plain", "https://plain.example/")});
  WriteSafariFile(dir / "Bookmarks.plist", SafariRoot({bar, lookalike}));

  ReaderHarness h;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(dir / "Bookmarks.plist").ok());
  ASSERT_EQ(h.lists.safariFatherArray.size(), 2u);
  EXPECT_EQ(OrNull(h.lists.safariFatherArray[0]->thetitle()), "Favorites Bar");
  EXPECT_TRUE(h.lists.safariFatherArray[0]->bFavBookmark());
  EXPECT_EQ(Value(AsFolder(h.lists.safariFatherArray[0])->syncDict()), Value(sync));
  EXPECT_FALSE(h.lists.safariFatherArray[1]->bFavBookmark());

  ASSERT_EQ(h.lists.allbookMarkArray.size(), 3u);
  EXPECT_TRUE(h.lists.allbookMarkArray[0]->bFavBookmark());
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->theFullPath()), "/Favorites Bar/News");
  EXPECT_TRUE(ChildrenOf(h.lists.safariFatherArray[0])[0]->bFavBookmark());
  EXPECT_TRUE(h.lists.allbookMarkArray[1]->bFavBookmark());
  EXPECT_FALSE(h.lists.allbookMarkArray[2]->bFavBookmark());
}

TEST(SafariReader, LeafFillEncryptedMarkAndMissingValues) {
  TempDir dir;
  auto noUri = SafariLeaf("x", "https://no-uri.example/");
  noUri->remove("URIDictionary");
  auto noUrl = SafariLeaf("No address", "");
  noUrl->remove("URLString");
  auto untitledList = SafariList("", {});
  untitledList->remove("Title");
  WriteSafariFile(dir / "Bookmarks.plist",
                  SafariRoot({SafariLeaf("Locked", "FILE:///USERS/TESTER/LIBRARY/APPLICATION SUPPORT/Linvara/1/e.html"),
                              SafariLeaf("Other user", "file:///Users/someone/Library/Application Support/x.html"),
                              noUri, noUrl, untitledList}),
                  false);
  ReaderHarness h;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(dir / "Bookmarks.plist").ok());
  ASSERT_EQ(h.lists.allbookMarkArray.size(), 4u);
  EXPECT_TRUE(h.lists.allbookMarkArray[0]->bEncrytedBookmark());
  EXPECT_FALSE(h.lists.allbookMarkArray[1]->bEncrytedBookmark());
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[2]->thetitle()), " ");
  EXPECT_EQ(h.lists.allbookMarkArray[3]->urlString(), std::nullopt);
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->bookMarkType()), "WebBookmarkTypeLeaf");
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->bookMarkUUID()), "UUID-Locked");
  EXPECT_EQ(h.lists.allbookMarkArray[0]->fatherItem(), h.lists.rootNode);
  ASSERT_EQ(h.lists.safariFatherArray.size(), 5u);
  EXPECT_EQ(h.lists.safariFatherArray[4]->thetitle(), std::nullopt);
  // The raw record is a copy: changing the node's dictionary leaves the file's value alone.
  EXPECT_TRUE(h.lists.allbookMarkArray[0]->dataDict()->contains("URIDictionary"));
}

TEST(SafariReader, UnknownTypesAndNonDictionariesAreSkippedWithTheirSubtree) {
  TempDir dir;
  auto odd = SafariList("Odd", {SafariLeaf("Hidden", "https://hidden.example/")});
  odd->set("WebBookmarkType", "WebBookmarkTypeSomethingNew");
  auto root = SafariRoot({odd, SafariLeaf("Kept", "https://kept.example/")});
  root->getArray("Children")->append(Value("a string entry"));
  root->getArray("Children")->append(Value(42));
  auto inner = SafariList("Inner", {SafariLeaf("Deep", "https://deep.example/")});
  inner->getArray("Children")->append(Value(true));
  root->getArray("Children")->append(inner);
  WriteSafariFile(dir / "Bookmarks.plist", root);
  ReaderHarness h;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(dir / "Bookmarks.plist").ok());
  EXPECT_EQ(Titles(h.lists.safariFatherArray), (std::vector<std::string>{"Kept", "Inner"}));
  EXPECT_EQ(Titles(h.lists.allbookMarkArray), (std::vector<std::string>{"Kept", "Deep"}));
}

TEST(SafariReader, NestedProxyStaysInItsFolder) {
  TempDir dir;
  auto proxy = Dictionary::make();
  proxy->set("Title", "History");
  proxy->set("WebBookmarkType", "WebBookmarkTypeProxy");
  proxy->set("WebBookmarkIdentifier", "History");
  auto folder = SafariList("Box", {SafariLeaf("A", "https://a.example/")});
  folder->getArray("Children")->append(proxy);
  WriteSafariFile(dir / "Bookmarks.plist", SafariRoot({folder}));
  ReaderHarness h;
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(dir / "Bookmarks.plist").ok());
  NodeList children = ChildrenOf(h.lists.safariFatherArray[0]);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_TRUE(children[1]->isFolder());
  EXPECT_EQ(OrNull(children[1]->theFullPath()), "/Box");
  EXPECT_EQ(children[1]->fatherItem(), h.lists.safariFatherArray[0]);
  EXPECT_EQ(h.lists.allbookMarkArray.size(), 1u);
}

TEST(SafariReader, MatchRuleIsExactAddressEquality) {
  NodePtr a = PRBookMarkNode::Create();
  a->setUrlString("https://a.example/");
  NodePtr sameAddress = PRBookMarkNode::Create();
  sameAddress->setUrlString("https://a.example/");
  NodePtr upper = PRBookMarkNode::Create();
  upper->setUrlString("https://A.example/");
  NodePtr noAddress = PRFaBookMarkNode::Create();
  EXPECT_TRUE(istheBookMarkNodeintheArray({a}, sameAddress));
  EXPECT_FALSE(istheBookMarkNodeintheArray({a}, upper));
  EXPECT_FALSE(istheBookMarkNodeintheArray({noAddress}, noAddress));
  EXPECT_FALSE(istheBookMarkNodeintheArray({}, a));
}

TEST(SafariReader, MissingFileKeepsTheRootAndABadFileInstallsOne) {
  TempDir dir;
  ReaderHarness h;
  RootPtr before = PRRootBookMarkNode::Create();
  h.lists.rootNode = before;
  EXPECT_EQ(SafariReader(h.ctx).ReadSafariBookMark(dir / "absent.plist").errorKind(), ErrorKind::NotFound);
  EXPECT_EQ(h.lists.rootNode, before);

  std::vector<std::pair<std::string, std::string>> bad = {
      {"truncated-xml", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Children</key><array><dict>"},
      {"array-root", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>"},
      {"children-string",
       "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Children</key><string>x</string></dict></plist>"},
  };
  for (const auto& [name, bytes] : bad) {
    SCOPED_TRACE(name);
    WriteText(dir / name, bytes);
    ReaderHarness b;
    b.ctx.bookMarkType = 2;
    EXPECT_EQ(SafariReader(b.ctx).ReadSafariBookMark(dir / name).errorKind(), ErrorKind::Malformed);
    EXPECT_TRUE(b.lists.rootNode != nullptr);
    EXPECT_TRUE(b.lists.safariFatherArray.empty());
  }
}

TEST(SafariReader, AddressUnderAnyMarkerIsEncrypted) {
  TempDir dir;
  WriteSafariFile(dir / "Bookmarks.plist",
                  SafariRoot({SafariLeaf("Linux page", "file:///home/tester/.local/share/Linvara/1/encrypt.html"),
                              SafariLeaf("Mac page", "file:///home/tester/Library/Application Support/Linvara/2/encrypt.html"),
                              SafariLeaf("Elsewhere", "file:///home/tester/Documents/page.html")}));
  ReaderHarness h;
  h.ctx.encryptedMarkers = Locations::ForHome("/home/tester", Layout::Linux).encryptedMarkers();
  ASSERT_TRUE(SafariReader(h.ctx).ReadSafariBookMark(dir / "Bookmarks.plist").ok());
  ASSERT_EQ(h.lists.allbookMarkArray.size(), 3u);
  EXPECT_TRUE(h.lists.allbookMarkArray[0]->bEncrytedBookmark());
  EXPECT_TRUE(h.lists.allbookMarkArray[1]->bEncrytedBookmark());
  EXPECT_FALSE(h.lists.allbookMarkArray[2]->bEncrytedBookmark());
}

}  // namespace
}  // namespace linvara::testing
