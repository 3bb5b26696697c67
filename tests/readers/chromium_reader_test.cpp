#include <gtest/gtest.h>

#include "readers/ChromiumReader.h"
#include "readers/ReaderTestSupport.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

TEST(ChromiumReaderRealFiles, ChromeFilesGiveTreesWithPaths) {
  struct Case {
    std::string file;
    std::size_t leaves;
    std::vector<std::string> top;
    std::vector<std::tuple<std::size_t, std::string, std::string>> samples;  // index, title, path
  };
  const std::vector<Case> cases = {
      {"chrome-2017-01_cjk-title_Bookmarks", 6, {"Bookmarks Bar", "Other Bookmarks", "Mobile Bookmarks"},
       {{5, "维基百科，自由的百科全书", "/Other Bookmarks"}}},
      {"chromium-linux-2021-02_Bookmarks", 5, {"Bookmarks", "Other bookmarks", "Mobile bookmarks"},
       {{0, "Browser-history", "/Bookmarks/github"}}},
      {"chrome-2023-09_fr-nested_Bookmarks", 21, {"Barre de favoris", "Autres favoris", "Favoris sur mobile"},
       {{1, "Human Verification", "/Barre de favoris/Todo/Today"},
        {13, "Cdiscount : Meuble, Déco, High Tech, Bricolage, Jardin, Sport", "/Autres favoris/Custom Root/search"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ReaderHarness h;
    ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(TestData("chromium_bookmarks/" + c.file)).ok());
    EXPECT_EQ(Titles(h.lists.ChromeFatherArray), c.top);
    ASSERT_EQ(h.lists.allbookMarkArray.size(), c.leaves);
    for (const auto& [index, title, path] : c.samples) {
      EXPECT_EQ(OrNull(h.lists.allbookMarkArray[index]->thetitle()), title);
      EXPECT_EQ(OrNull(h.lists.allbookMarkArray[index]->theFullPath()), path);
    }
  }
}

TEST(ChromiumReader, TreeLinksEveryEntryToItsFather) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallChromiumFile);
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  // A url placed directly in "roots" is a top-level entry with the path "/" and no father.
  ASSERT_EQ(Titles(h.lists.ChromeFatherArray), (std::vector<std::string>{"Bar", "Loose", "Other"}));
  EXPECT_EQ(h.lists.ChromeFatherArray[1]->fatherItem(), nullptr);
  EXPECT_EQ(OrNull(h.lists.ChromeFatherArray[1]->theFullPath()), "/");
  ASSERT_EQ(Titles(h.lists.chromebookMarkArray),
            (std::vector<std::string>{"Hammer", "Shared", "Loose", "Shared again", "Bottom"}));
  EXPECT_EQ(Paths(h.lists.chromebookMarkArray),
            (std::vector<std::string>{"/Bar/Tools", "/Bar", "/", "/Other/Deep", "/Other/Deep/Deeper"}));
  NodePtr tools = ChildrenOf(h.lists.ChromeFatherArray[0]).at(0);
  EXPECT_EQ(tools->fatherItem(), h.lists.ChromeFatherArray[0]);
  EXPECT_EQ(Titles(ChildrenOf(tools)), (std::vector<std::string>{"Hammer"}));
  EXPECT_EQ(OrNull(AsFolder(tools)->faBookMarkType()), "folder");
  EXPECT_EQ(OrNull(tools->bookMarkUUID()), "4");
  const NodePtr& hammer = h.lists.chromebookMarkArray[0];
  EXPECT_EQ(OrNull(hammer->addDateStr()), "13246");
  EXPECT_EQ(OrNull(hammer->bookMarkType()), "url");
  EXPECT_EQ(OrNull(hammer->bookMarkFrom()), "Chrome");
  EXPECT_EQ(OrNull(hammer->bookMarkUUID()), "5");
  EXPECT_EQ(OrNull(hammer->dataDict()->getString("guid")), "g5");  // the raw record keeps keys not read
  EXPECT_EQ(hammer->fatherItem(), tools);
}

// "roots" is an object in the browser's file (ChromiumReader.TreeLinksEveryEntryToItsFather) and may be an
// array in a working copy.
TEST(ChromiumReader, ChromeViewReadsRootsGivenAsAnArray) {
  TempDir dir;
  WriteText(dir / "array", R"({"roots": [{"type": "folder", "name": "Second", "children": []},
                                           {"type": "url", "name": "A", "url": "https://a.example/"}, 5, "x"]})");
  ReaderHarness working;
  working.ctx.bookMarkType = 3;
  ASSERT_TRUE(ChromiumReader(working.ctx).ReadChromeBookMark(dir / "array").ok());
  EXPECT_EQ(Titles(working.lists.ChromeFatherArray), (std::vector<std::string>{"Second", "A"}));
}

TEST(ChromiumReader, MissingFileFallsBackToTheBackupExceptInOpera) {
  TempDir dir;
  WriteText(dir / "Bookmarks.bak", kSmallChromiumFile);
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  EXPECT_EQ(h.lists.chromebookMarkArray.size(), 5u);
  ReaderHarness other;
  RootPtr kept = PRRootBookMarkNode::Create();
  other.lists.rootNode = kept;
  ChromiumReader reader(other.ctx);
  EXPECT_EQ(reader.ReadOperaBookMark(dir / "Bookmarks").errorKind(), ErrorKind::NotFound);
  other.ctx.isReadable = [](const fs::path&) { return false; };  // a file the browser holds
  EXPECT_EQ(reader.ReadChromeBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Unreadable);
  EXPECT_EQ(reader.ReadEdgeBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Unreadable);
  EXPECT_EQ(other.lists.rootNode, kept);
  EXPECT_TRUE(other.lists.allbookMarkArray.empty());
}

TEST(ChromiumReader, EdgeInstallsItsOwnRootInEveryView) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallChromiumFile);
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadEdgeBookMark(dir / "Bookmarks").ok());
  ASSERT_TRUE(h.lists.rootNode && h.lists.rootNode->rootDict());
  ASSERT_EQ(Titles(h.lists.edgeFatherArray), (std::vector<std::string>{"Bar", "Loose", "Other"}));
  EXPECT_EQ(h.lists.edgebookMarkArray.size(), 5u);
  EXPECT_TRUE(h.lists.ChromeFatherArray.empty());
  EXPECT_EQ(h.lists.edgeFatherArray[0]->fatherItem(), h.lists.rootNode);
  for (const auto& leaf : h.lists.allbookMarkArray) EXPECT_EQ(OrNull(leaf->bookMarkFrom()), "Microsoft Edge");
  ReaderHarness removal;
  const NodeList bottom{WithAddress("https://bottom.example/")};
  ASSERT_TRUE(ChromiumReader(removal.ctx).ReadEdgeBookMarkwithRemoveArray(dir / "Bookmarks", bottom).ok());
  EXPECT_EQ(removal.lists.edgebookMarkArray.size(), 4u);
}

TEST(ChromiumReader, OperaReadsFlatWithoutFoldersOrRoot) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallChromiumFile);
  ReaderHarness h;
  RootPtr kept = PRRootBookMarkNode::Create();
  h.lists.rootNode = kept;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadOperaBookMark(dir / "Bookmarks").ok());
  EXPECT_EQ(h.lists.rootNode, kept);
  // First level: Loose; second level: Shared (in the bar); the rest is deeper.
  EXPECT_EQ(Titles(h.lists.allbookMarkArray),
            (std::vector<std::string>{"Hammer", "Shared", "Loose", "Shared again", "Bottom"}));
  EXPECT_EQ(Titles(h.lists.OperaFatherArray), (std::vector<std::string>{"Shared", "Loose"}));
  for (const auto& leaf : h.lists.allbookMarkArray) {
    EXPECT_EQ(OrNull(leaf->bookMarkFrom()), "Opera");
    EXPECT_EQ(OrNull(leaf->theFullPath()), "");
    EXPECT_EQ(leaf->fatherItem(), nullptr);
  }

  ReaderHarness removal;
  const NodeList shared{WithAddress("https://shared.example/")};
  ASSERT_TRUE(ChromiumReader(removal.ctx).ReadOperaBookMarkWithRemoveArray(dir / "Bookmarks", shared).ok());
  EXPECT_EQ(Titles(removal.lists.allbookMarkArray), (std::vector<std::string>{"Hammer", "Loose", "Bottom"}));
  EXPECT_EQ(Titles(removal.lists.OperaFatherArray), (std::vector<std::string>{"Loose"}));
}

TEST(ChromiumReader, OperaCountsOnlyBookmarksBelowTheFolderLimit) {
  TempDir dir;
  WriteChromiumFile(dir / "Bookmarks", FolderChain(515));
  ReaderHarness h;
  const ReadResult result = ChromiumReader(h.ctx).ReadOperaBookMark(dir / "Bookmarks");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(h.lists.allbookMarkArray.size(), 512u);
  EXPECT_EQ(result->entriesBelowFolderLimit, 3u);
}

// As Chromium reads its own file, a bad byte no longer drops the file; Opera still stops on it.
TEST(ChromiumReader, InvalidTextReadsAsReplacementCharactersExceptInOpera) {
  TempDir dir;
  WriteText(dir / "Bookmarks", R"({"roots":{"bar":{"type":"folder","name":"Bar","children":[{"type":"url","name":"caf)"
                               "\xE9" R"(","url":"https://a.example/"},)"
                               R"({"type":"url","name":"\ud800x","url":"https://b.example/"}]}}})");
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  EXPECT_EQ(Titles(h.lists.allbookMarkArray), (std::vector<std::string>{"caf\xEF\xBF\xBD", "\xEF\xBF\xBDx"}));
  ReaderHarness opera;
  EXPECT_EQ(ChromiumReader(opera.ctx).ReadOperaBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Malformed);
  EXPECT_TRUE(opera.lists.allbookMarkArray.empty());
}

TEST(ChromiumReader, FileWithoutRootsIsMalformed) {
  TempDir dir;
  for (const std::string text : {"[1,2,3]", R"({"roots": "bookmark_bar"})", R"({"roots": 7})"}) {
    SCOPED_TRACE(text);
    WriteText(dir / "Bookmarks", text);
    ReaderHarness h;
    h.ctx.bookMarkType = 3;
    ChromiumReader reader(h.ctx);
    EXPECT_EQ(reader.ReadChromeBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Malformed);
    EXPECT_EQ(reader.ReadEdgeBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Malformed);
    EXPECT_EQ(reader.ReadOperaBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Malformed);
    EXPECT_TRUE(h.lists.rootNode != nullptr);  // installed from the empty object
  }
}

TEST(ChromiumReader, EntriesOfWrongTypesAreSkipped) {
  TempDir dir;
  WriteText(dir / "odd", R"({"roots": {"a": "x", "b": [1], "c": null, "t": {"type": 1, "url": "https://t.example/"},
      "bar": {"type": "folder", "name": "Bar", "children": {"a": {"type": "url"}}},
      "n": {"type": "url", "name": 12, "url": "https://n.example/", "id": 5, "date_added": 77}}})");
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "odd").ok());
  // "children" an object: the folder is kept with no children; "name" a number: no title.
  ASSERT_EQ(h.lists.ChromeFatherArray.size(), 2u);
  EXPECT_TRUE(ChildrenOf(h.lists.ChromeFatherArray[0]).empty());
  ASSERT_EQ(h.lists.allbookMarkArray.size(), 1u);
  EXPECT_EQ(h.lists.allbookMarkArray[0]->thetitle(), std::nullopt);
  EXPECT_EQ(h.lists.allbookMarkArray[0]->addDateStr(), std::nullopt);
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->urlString()), "https://n.example/");
}

}  // namespace
}  // namespace linvara::testing
