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
    ChromiumReader(h.ctx).ReadChromeBookMark(TestData(c.file));
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
  ChromiumReader(cjk.ctx).ReadChromeBookMark(TestData("chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks"));
  ASSERT_EQ(cjk.lists.allbookMarkArray.size(), 6u);
  EXPECT_EQ(OrNull(cjk.lists.allbookMarkArray[5]->thetitle()), "维基百科，自由的百科全书");
  EXPECT_EQ(OrNull(cjk.lists.allbookMarkArray[5]->theFullPath()), "/Other Bookmarks");
  EXPECT_EQ(OrNull(cjk.lists.allbookMarkArray[0]->theFullPath()), "/Bookmarks Bar");

  ReaderHarness fr;
  ChromiumReader(fr.ctx).ReadChromeBookMark(TestData("chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks"));
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
  ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks");
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
  ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks");
  ASSERT_TRUE(h.lists.rootNode);
  EXPECT_TRUE(h.lists.rootNode->rawChildren().isDict());
  ASSERT_TRUE(h.lists.rootNode->rootDict());
  EXPECT_EQ(OrNull(h.lists.rootNode->rootDict()->getString("checksum")), "0123");

  ReaderHarness unified;
  ChromiumReader(unified.ctx).ReadChromeBookMark(dir / "Bookmarks");
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
  ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks");
  EXPECT_EQ(Titles(h.lists.ChromeFatherArray), (std::vector<std::string>{"Second", "A"}));
  EXPECT_TRUE(h.lists.rootNode->rawChildren().isArray());
}

TEST(ChromiumReader, BackupNameWhenFileMissingAndBusyAlertWhenUnreadable) {
  TempDir dir;
  WriteText(dir / "Bookmarks.bak", kSmallFile);
  ReaderHarness h;
  ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks");
  EXPECT_EQ(h.lists.chromebookMarkArray.size(), 5u);

  ReaderHarness none;
  RootPtr kept = PRRootBookMarkNode::Create();
  none.lists.rootNode = kept;
  ChromiumReader(none.ctx).ReadChromeBookMark(dir / "elsewhere" / "Bookmarks");
  EXPECT_EQ(none.lists.rootNode, kept);
  EXPECT_TRUE(none.alerts.empty());

  WriteText(dir / "Bookmarks", kSmallFile);
  ReaderHarness busy;
  busy.lists.rootNode = kept;
  busy.ctx.isReadable = [](const fs::path&) { return false; };
  ChromiumReader(busy.ctx).ReadChromeBookMark(dir / "Bookmarks");
  ChromiumReader(busy.ctx).ReadEdgeBookMark(dir / "Bookmarks");
  EXPECT_EQ(busy.alerts, (std::vector<std::string>{kChromeFileBusyMessage, kChromeFileBusyMessage}));
  EXPECT_EQ(busy.lists.rootNode, kept);
  EXPECT_TRUE(busy.lists.allbookMarkArray.empty());
}

TEST(ChromiumReader, RemovalFormDropsEveryMatchKeepsFolders) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
  NodePtr shared = PRBookMarkNode::Create();
  shared->setUrlString("https://shared.example/");
  NodePtr loose = PRBookMarkNode::Create();
  loose->setUrlString("https://loose.example/");
  NodePtr wrongCase = PRBookMarkNode::Create();
  wrongCase->setUrlString("https://BOTTOM.example/");
  ReaderHarness h;
  ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks", NodeList{shared, loose, wrongCase});
  EXPECT_EQ(Titles(h.lists.chromebookMarkArray), (std::vector<std::string>{"Hammer", "Bottom"}));
  EXPECT_EQ(Titles(h.lists.ChromeFatherArray), (std::vector<std::string>{"Bookmarks bar", "Other bookmarks"}));
  EXPECT_EQ(Titles(ChildrenOf(h.lists.ChromeFatherArray[0])), (std::vector<std::string>{"Tools"}));
  NodePtr deep = ChildrenOf(h.lists.ChromeFatherArray[1])[0];
  EXPECT_EQ(Titles(ChildrenOf(deep)), (std::vector<std::string>{"Deeper"}));
}

TEST(ChromiumReader, EdgeInstallsItsOwnRootInEveryView) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
  ReaderHarness h;
  ChromiumReader(h.ctx).ReadEdgeBookMark(dir / "Bookmarks");
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
  ChromiumReader(removal.ctx).ReadEdgeBookMarkwithRemoveArray(dir / "Bookmarks", {bottom});
  EXPECT_EQ(removal.lists.edgebookMarkArray.size(), 4u);
}

TEST(ChromiumReader, OperaReadsFlatWithoutFoldersOrRoot) {
  TempDir dir;
  WriteText(dir / "Bookmarks", kSmallFile);
  ReaderHarness h;
  RootPtr kept = PRRootBookMarkNode::Create();
  h.lists.rootNode = kept;
  ChromiumReader(h.ctx).ReadOperaBookMark(dir / "Bookmarks");
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
  ChromiumReader(removal.ctx).ReadOperaBookMarkWithRemoveArray(dir / "Bookmarks", {shared});
  EXPECT_EQ(Titles(removal.lists.allbookMarkArray), (std::vector<std::string>{"Hammer", "Loose", "Bottom"}));
  EXPECT_EQ(Titles(removal.lists.OperaFatherArray), (std::vector<std::string>{"Loose"}));

  // Opera has no backup name and stops on text that is not UTF-8.
  fs::rename(dir / "Bookmarks", dir / "Bookmarks.bak");
  ReaderHarness missing;
  ChromiumReader(missing.ctx).ReadOperaBookMark(dir / "Bookmarks");
  EXPECT_TRUE(missing.lists.allbookMarkArray.empty());
  WriteText(dir / "Bookmarks", std::string(R"({"roots":{"x":{"type":"url","name":"bad )") + "\xff\xfe" + R"(","url":"u"}}})");
  ReaderHarness invalid;
  ChromiumReader(invalid.ctx).ReadOperaBookMark(dir / "Bookmarks");
  EXPECT_TRUE(invalid.lists.allbookMarkArray.empty());
}

TEST(ChromiumReader, WrongTypesNeverCrashAndAddNothingFromTheBadParts) {
  TempDir dir;
  std::vector<std::pair<std::string, std::string>> noNodes = {
      {"empty", ""},
      {"garbage", "not json {"},
      {"truncated", std::string(kSmallFile).substr(0, 200)},
      {"array-top", "[1,2,3]"},
      {"roots-string", R"({"roots": "bookmark_bar"})"},
      {"roots-number", R"({"roots": 7})"},
      {"entries-not-objects", R"({"roots": {"a": "x", "b": [1], "c": null}})"},
      {"type-number", R"({"roots": {"a": {"type": 1, "name": "x", "url": "https://x.example/"}}})"},
      {"nested-too-deep", std::string(600, '[') + std::string(600, ']')},
  };
  for (const auto& [name, text] : noNodes) {
    SCOPED_TRACE(name);
    WriteText(dir / name, text);
    ReaderHarness h;
    h.ctx.bookMarkType = 3;
    ChromiumReader reader(h.ctx);
    reader.ReadChromeBookMark(dir / name);
    reader.ReadEdgeBookMark(dir / name);
    reader.ReadOperaBookMark(dir / name);
    EXPECT_TRUE(h.lists.allbookMarkArray.empty());
    EXPECT_TRUE(h.lists.ChromeFatherArray.empty());
    EXPECT_TRUE(h.lists.edgeFatherArray.empty());
    EXPECT_TRUE(h.lists.OperaFatherArray.empty());
    EXPECT_TRUE(h.lists.rootNode != nullptr);  // installed from the empty object
  }

  // "children" an object and "name" a number: the folder is kept with no
  // children, the url keeps its address with no title.
  WriteText(dir / "odd", R"({"roots": {"bar": {"type": "folder", "name": "Bar", "children": {"a": {"type": "url"}}},
      "n": {"type": "url", "name": 12, "url": "https://n.example/", "id": 5, "date_added": 77}}})");
  ReaderHarness h;
  ChromiumReader(h.ctx).ReadChromeBookMark(dir / "odd");
  ASSERT_EQ(h.lists.ChromeFatherArray.size(), 2u);
  EXPECT_TRUE(ChildrenOf(h.lists.ChromeFatherArray[0]).empty());
  ASSERT_EQ(h.lists.allbookMarkArray.size(), 1u);
  EXPECT_EQ(h.lists.allbookMarkArray[0]->thetitle(), std::nullopt);
  EXPECT_EQ(h.lists.allbookMarkArray[0]->addDateStr(), std::nullopt);
  EXPECT_EQ(OrNull(h.lists.allbookMarkArray[0]->urlString()), "https://n.example/");
}

TEST(ChromiumReader, ReadingLeavesTheProfileFolderUntouched) {
  TempDir dir;
  fs::copy_file(TestData("chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks"), dir / "Bookmarks");
  const std::string before = FolderFingerprint(dir.path());
  ReaderHarness h;
  ChromiumReader reader(h.ctx);
  reader.ReadChromeBookMark(dir / "Bookmarks");
  reader.ReadEdgeBookMark(dir / "Bookmarks");
  reader.ReadOperaBookMark(dir / "Bookmarks");
  reader.ReadChromeBookMark(dir / "Bookmarks", h.lists.allbookMarkArray);
  EXPECT_EQ(FolderFingerprint(dir.path()), before);
}

}  // namespace
}  // namespace linvara::testing

namespace linvara::testing {
namespace {

TEST(ChromiumReader, LargeReadLetsTheWindowRepaintEveryFewThousandBookmarks) {
  TempDir dir;
  std::string children;
  const int count = 5000;
  for (int i = 0; i < count; ++i) {
    if (i) children += ",";
    children += R"({"id":")" + std::to_string(i + 10) + R"(","name":"n","type":"url","url":"https://e.example/)" +
                std::to_string(i) + "\"}";
  }
  WriteText(dir / "Bookmarks",
            R"({"roots":{"bookmark_bar":{"id":"1","name":"Bar","type":"folder","children":[)" + children + "]}}}");
  ReaderHarness h;
  int ticks = 0;
  std::size_t leavesAtFirstTick = 0;
  h.ctx.keepResponsive = [&] {
    if (ticks++ == 0) leavesAtFirstTick = h.lists.allbookMarkArray.size();
  };
  ChromiumReader(h.ctx).ReadChromeBookMark(dir / "Bookmarks");
  EXPECT_EQ(h.lists.allbookMarkArray.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(ticks, count / static_cast<int>(ReaderContext::kNodesPerResponsivenessTick));
  EXPECT_LT(leavesAtFirstTick, static_cast<std::size_t>(count)) << "ticks come during the read, not after it";
}

}  // namespace
}  // namespace linvara::testing
