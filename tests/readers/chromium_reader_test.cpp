#include <gtest/gtest.h>

#include "model/Json.h"
#include "readers/ChromiumReader.h"
#include "readers/ReaderTestSupport.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

const char* kSmallFile = R"({
  "checksum": "0123",
  "roots": {
    "bookmark_bar": {"children": [
        {"date_added": "13245", "id": "4", "name": "Tools", "type": "folder", "children": [
            {"date_added": "13246", "id": "5", "name": "Hammer", "type": "url", "url": "https://hammer.example/"},
            {"id": "6", "name": "Odd", "type": "separator"},
            "not an object"
        ]},
        {"date_added": "13247", "id": "7", "name": "Shared", "type": "url", "url": "https://shared.example/"}
      ], "id": "1", "name": "Bookmarks bar", "type": "folder"},
    "loose": {"date_added": "1", "id": "8", "name": "Loose", "type": "url", "url": "https://loose.example/"},
    "other": {"children": [
        {"id": "9", "name": "Deep", "type": "folder", "children": [
           {"id": "10", "name": "Shared again", "type": "url", "url": "https://shared.example/"},
           {"id": "11", "name": "Deeper", "type": "folder", "children": [
              {"id": "12", "name": "Bottom", "type": "url", "url": "https://bottom.example/"}]}]}
      ], "id": "2", "name": "Other bookmarks", "type": "folder"},
    "sync_transaction_version": "3"
  },
  "version": 1
})";

TEST(ChromiumReaderRealFiles, ChromeFilesGiveTreesPathsAndCounts) {
  struct Case {
    const char* file;
    std::size_t leaves;
    std::vector<std::string> top;
  };
  std::vector<Case> cases = {
      {"chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks", 6,
       {"Bookmarks Bar", "Other Bookmarks", "Mobile Bookmarks"}},
      {"chromium_bookmarks/chromium-linux-2021-02_Bookmarks", 5, {"Bookmarks", "Other bookmarks", "Mobile bookmarks"}},
      {"chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks", 21,
       {"Barre de favoris", "Autres favoris", "Favoris sur mobile"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ReaderHarness h;
    ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(TestData(c.file)).ok());
    EXPECT_EQ(Titles(h.lists.ChromeFatherArray), c.top);
    EXPECT_EQ(h.lists.chromebookMarkArray.size(), c.leaves);
    EXPECT_EQ(h.lists.allbookMarkArray, h.lists.chromebookMarkArray);
    for (const auto& top : h.lists.ChromeFatherArray) {
      EXPECT_EQ(OrNull(top->theFullPath()), "/");
      EXPECT_EQ(top->fatherItem(), h.lists.rootNode);
    }
    for (const auto& leaf : h.lists.chromebookMarkArray) {
      EXPECT_EQ(OrNull(leaf->bookMarkFrom()), "Chrome");
      EXPECT_EQ(OrNull(leaf->bookMarkType()), "url");
      EXPECT_TRUE(leaf->addDateStr().has_value());
      EXPECT_FALSE(leaf->bFavBookmark());
      EXPECT_FALSE(leaf->bEncrytedBookmark());
    }
  }

  ReaderHarness cjk;
  ASSERT_TRUE(ChromiumReader(cjk.ctx).ReadChromeBookMark(TestData("chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks")).ok());
  ASSERT_EQ(cjk.lists.allbookMarkArray.size(), 6u);
  EXPECT_EQ(OrNull(cjk.lists.allbookMarkArray[5]->thetitle()), "维基百科，自由的百科全书");
  EXPECT_EQ(OrNull(cjk.lists.allbookMarkArray[5]->theFullPath()), "/Other Bookmarks");
  EXPECT_EQ(OrNull(cjk.lists.allbookMarkArray[0]->theFullPath()), "/Bookmarks Bar");

  ReaderHarness fr;
  ASSERT_TRUE(ChromiumReader(fr.ctx).ReadChromeBookMark(TestData("chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks")).ok());
  const NodeList& all = fr.lists.allbookMarkArray;
  EXPECT_EQ(OrNull(all[1]->thetitle()), "Human Verification");
  EXPECT_EQ(OrNull(all[1]->theFullPath()), "/Barre de favoris/Todo/Today");
  EXPECT_EQ(OrNull(all[9]->urlString()), "chrome://newtab/");
  EXPECT_EQ(OrNull(all[10]->theFullPath()), "/Autres favoris/Custom Root/e-commerce");
  EXPECT_EQ(OrNull(all[20]->theFullPath()), "/Autres favoris/Custom Root/search");
  // The raw record keeps keys the reader does not interpret.
  EXPECT_TRUE(all[0]->dataDict()->contains("meta_info") || all[0]->dataDict()->contains("date_last_used"));
}

TEST(ChromiumReader, TreeFatherLinksRootEntriesAndKeyFill) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  // A url placed directly in "roots" is a top-level entry with the path "/" and no father.
  EXPECT_EQ(Titles(h.lists.ChromeFatherArray), (std::vector<std::string>{"Bookmarks bar", "Loose", "Other bookmarks"}));
  EXPECT_EQ(h.lists.ChromeFatherArray[1]->fatherItem(), nullptr);
  EXPECT_EQ(OrNull(h.lists.ChromeFatherArray[1]->theFullPath()), "/");
  EXPECT_EQ(Titles(h.lists.chromebookMarkArray),
            (std::vector<std::string>{"Hammer", "Shared", "Loose", "Shared again", "Bottom"}));
  EXPECT_EQ(Paths(h.lists.chromebookMarkArray),
            (std::vector<std::string>{"/Bookmarks bar/Tools", "/Bookmarks bar", "/", "/Other bookmarks/Deep",
                                      "/Other bookmarks/Deep/Deeper"}));
  NodePtr tools = ChildrenOf(h.lists.ChromeFatherArray[0])[0];
  EXPECT_EQ(OrNull(tools->theFullPath()), "/Bookmarks bar");
  EXPECT_EQ(tools->fatherItem(), h.lists.ChromeFatherArray[0]);
  EXPECT_EQ(Titles(ChildrenOf(tools)), (std::vector<std::string>{"Hammer"}));
  EXPECT_EQ(OrNull(AsFolder(tools)->faBookMarkType()), "folder");
  EXPECT_EQ(OrNull(tools->bookMarkUUID()), "4");
  const NodePtr& hammer = h.lists.chromebookMarkArray[0];
  EXPECT_EQ(OrNull(hammer->addDateStr()), "13246");
  EXPECT_EQ(OrNull(hammer->bookMarkUUID()), "5");
  EXPECT_EQ(hammer->fatherItem(), tools);
}

TEST(ChromiumReader, ChromeViewFillsRootWithRawRoots) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
  ReaderHarness h;
  h.ctx.bookMarkType = 3;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  ASSERT_TRUE(h.lists.rootNode);
  EXPECT_TRUE(h.lists.rootNode->rawChildren().isDict());
  ASSERT_TRUE(h.lists.rootNode->rootDict());
  EXPECT_EQ(OrNull(h.lists.rootNode->rootDict()->getString("checksum")), "0123");

  ReaderHarness unified;
  ASSERT_TRUE(ChromiumReader(unified.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  ASSERT_TRUE(unified.lists.rootNode);
  EXPECT_EQ(unified.lists.rootNode->rootDict(), nullptr);
}

TEST(ChromiumReader, WorkingCopyRootsArrayIsReadInOrder) {
  TempDir dir;
  WriteText(dir / "Bookmarks", R"({"roots": [
      {"type": "folder", "name": "Second", "children": [{"type": "url", "name": "B", "url": "https://b.example/"}]},
      {"type": "url", "name": "A", "url": "https://a.example/"}, 5, "x"]})");
  ReaderHarness h;
  h.ctx.bookMarkType = 3;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  EXPECT_EQ(Titles(h.lists.ChromeFatherArray), (std::vector<std::string>{"Second", "A"}));
  EXPECT_TRUE(h.lists.rootNode->rawChildren().isArray());
}

TEST(ChromiumReader, BackupNameIsReadWhenTheFileIsMissing) {
  TempDir dir;
  WriteText(dir / "Bookmarks.bak", kSmallFile);
  ReaderHarness h;
  EXPECT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  EXPECT_EQ(h.lists.chromebookMarkArray.size(), 5u);

  ReaderHarness none;
  RootPtr kept = PRRootBookMarkNode::Create();
  none.lists.rootNode = kept;
  EXPECT_EQ(ChromiumReader(none.ctx).ReadChromeBookMark(dir / "elsewhere" / "Bookmarks").errorKind(),
            ErrorKind::NotFound);
  EXPECT_EQ(none.lists.rootNode, kept);
}

TEST(ChromiumReader, UnreadableFileIsReportedAndChangesNothing) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
  ReaderHarness busy;
  RootPtr kept = PRRootBookMarkNode::Create();
  busy.lists.rootNode = kept;
  busy.ctx.isReadable = [](const fs::path&) { return false; };
  EXPECT_EQ(ChromiumReader(busy.ctx).ReadChromeBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Unreadable);
  EXPECT_EQ(ChromiumReader(busy.ctx).ReadEdgeBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Unreadable);
  EXPECT_EQ(busy.lists.rootNode, kept);
  EXPECT_TRUE(busy.lists.allbookMarkArray.empty());
}

TEST(ChromiumReader, EdgeInstallsItsOwnRootInEveryView) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadEdgeBookMark(dir / "Bookmarks").ok());
  ASSERT_TRUE(h.lists.rootNode);
  ASSERT_TRUE(h.lists.rootNode->rootDict());
  EXPECT_TRUE(h.lists.rootNode->rawChildren().isDict());
  EXPECT_EQ(Titles(h.lists.edgeFatherArray), (std::vector<std::string>{"Bookmarks bar", "Loose", "Other bookmarks"}));
  EXPECT_EQ(h.lists.edgebookMarkArray.size(), 5u);
  EXPECT_TRUE(h.lists.ChromeFatherArray.empty());
  EXPECT_EQ(h.lists.edgeFatherArray[0]->fatherItem(), h.lists.rootNode);
  for (const auto& leaf : h.lists.allbookMarkArray) EXPECT_EQ(OrNull(leaf->bookMarkFrom()), "Microsoft Edge");

  ReaderHarness removal;
  NodePtr bottom = PRBookMarkNode::Create();
  bottom->setUrlString("https://bottom.example/");
  ASSERT_TRUE(ChromiumReader(removal.ctx).ReadEdgeBookMarkwithRemoveArray(dir / "Bookmarks", {bottom}).ok());
  EXPECT_EQ(removal.lists.edgebookMarkArray.size(), 4u);
}

TEST(ChromiumReader, OperaReadsFlatWithoutFoldersOrRoot) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
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

  NodePtr shared = PRBookMarkNode::Create();
  shared->setUrlString("https://shared.example/");
  ReaderHarness removal;
  ASSERT_TRUE(ChromiumReader(removal.ctx).ReadOperaBookMarkWithRemoveArray(dir / "Bookmarks", {shared}).ok());
  EXPECT_EQ(Titles(removal.lists.allbookMarkArray), (std::vector<std::string>{"Hammer", "Loose", "Bottom"}));
  EXPECT_EQ(Titles(removal.lists.OperaFatherArray), (std::vector<std::string>{"Loose"}));

  // Opera has no backup name and stops on text that is not UTF-8.
  fs::rename(dir / "Bookmarks", dir / "Bookmarks.bak");
  ReaderHarness missing;
  EXPECT_EQ(ChromiumReader(missing.ctx).ReadOperaBookMark(dir / "Bookmarks").errorKind(), ErrorKind::NotFound);
  WriteText(dir / "Bookmarks", std::string(R"({"roots":{"x":{"type":"url","name":"bad )") + "\xff\xfe" + R"(","url":"u"}}})");
  ReaderHarness invalid;
  EXPECT_EQ(ChromiumReader(invalid.ctx).ReadOperaBookMark(dir / "Bookmarks").errorKind(), ErrorKind::Malformed);
  EXPECT_TRUE(invalid.lists.allbookMarkArray.empty());
}

TEST(ChromiumReader, OperaCountsOnlyBookmarksBelowTheFolderLimit) {
  TempDir dir;
  std::string text = R"({"roots":{"bar":)";
  for (int level = 1; level <= 515; ++level)
    text += R"({"type":"folder","children":[{"type":"url","name":"b","url":"https://)" + std::to_string(level) +
            R"(.example/"})" + (level < 515 ? "," : "");
  for (int level = 1; level <= 515; ++level) text += "]}";
  WriteText(dir / "Bookmarks", text + "}}");
  ReaderHarness h;
  const ReadResult result = ChromiumReader(h.ctx).ReadOperaBookMark(dir / "Bookmarks");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(h.lists.allbookMarkArray.size(), 512u);
  EXPECT_EQ(result->entriesBelowFolderLimit, 3u);
}

// As Chromium reads its own file: one bad byte or a lone surrogate escape no longer drops the file.
TEST(ChromiumReader, InvalidUtf8AndLoneSurrogatesReadAsReplacementCharacters) {
  TempDir dir;
  WriteText(dir / "Bookmarks", std::string(R"({"roots":{"bar":{"type":"folder","name":"Bar","children":[)") +
                                   R"({"type":"url","name":"caf)" + "\xE9" + R"(","url":"https://a.example/"},)" +
                                   R"({"type":"url","name":"\ud800x","url":"https://b.example/"},)" +
                                   R"({"type":"url","name":"\ud83d\ude00","url":"https://c.example/"}]}}})");
  ReaderHarness h;
  ASSERT_TRUE(ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks").ok());
  EXPECT_EQ(Titles(h.lists.allbookMarkArray),
            (std::vector<std::string>{"caf\xEF\xBF\xBD", "\xEF\xBF\xBDx", "\xF0\x9F\x98\x80"}));
}

TEST(ChromiumReader, FileWithoutRootsIsMalformedAndAddsNothing) {
  TempDir dir;
  std::vector<std::pair<std::string, std::string>> malformed = {
      {"array-top", "[1,2,3]"},
      {"roots-string", R"({"roots": "bookmark_bar"})"},
      {"roots-number", R"({"roots": 7})"},
  };
  for (const auto& [name, text] : malformed) {
    SCOPED_TRACE(name);
    WriteText(dir / name, text);
    ReaderHarness h;
    h.ctx.bookMarkType = 3;
    ChromiumReader reader(h.ctx);
    EXPECT_EQ(reader.ReadChromeBookMark(dir / name).errorKind(), ErrorKind::Malformed);
    EXPECT_EQ(reader.ReadEdgeBookMark(dir / name).errorKind(), ErrorKind::Malformed);
    EXPECT_EQ(reader.ReadOperaBookMark(dir / name).errorKind(), ErrorKind::Malformed);
    EXPECT_TRUE(h.lists.allbookMarkArray.empty());
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
