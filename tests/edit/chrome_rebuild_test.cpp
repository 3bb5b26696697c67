#include <gtest/gtest.h>

#include <set>

#include "edit/ChromeTreeRebuild.h"
#include "edit/EditTestSupport.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/WorkingCopies.h"

namespace linvara::testing {
namespace {

// A separator and a string among the children; a url and a string directly in "roots".
const char* kFile = R"({"checksum": "0123", "roots": {
  "bookmark_bar": {"id": "1", "name": "Bar", "type": "folder", "x": "bar-extra", "children": [
    {"id": "4", "name": "Tools", "type": "folder", "x": "tools-extra", "children": [
      {"id": "5", "name": "Hammer", "type": "url", "url": "https://h.example/"},
      {"id": "6", "name": "Odd", "type": "separator"}, "text"]},
    {"id": "7", "name": "Shared", "type": "url", "url": "https://shared.example/"}]},
  "loose": {"id": "8", "name": "Loose", "type": "url", "url": "https://loose.example/"},
  "other": {"id": "2", "name": "Other", "type": "folder", "children": [
    {"id": "9", "name": "Deep", "type": "folder", "children": [
      {"id": "10", "name": "Deeper", "type": "folder", "children": [
        {"id": "12", "name": "Bottom", "type": "url", "url": "https://bottom.example/"}]}]}]},
  "sync_transaction_version": "3"}, "version": 1})";

TEST(ChromeRebuild, RemovalWritesOnlyFoldersHoldingARemovedBookmarkAnew) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<KeyRow>>> cases = {
      {{"Bar/Tools/Hammer"},
       {{"Bar/Tools", "children", "Odd|text"}, {"Bar/Tools", "x", "tools-extra"}, {"Bar", "x", "bar-extra"},
        {"Bar", "children", "Tools|Shared"}}},
      {{"Other/Deep/Deeper/Bottom", "Bar/Shared"},
       {{"Other/Deep/Deeper", "children", ""}, {"Other/Deep", "children", "Deeper"}, {"Bar", "children", "Tools"}}},
  };
  for (const auto& [paths, rows] : cases) {
    SCOPED_TRACE(paths.front());
    TreeHarness t(3);
    t.ReadChrome(std::string(kFile));
    NodeList removed;
    for (const auto& p : paths) removed.push_back(FindNode(t.lists.ChromeFatherArray, p));
    Value roots =
        removeManyBookMarkfromChromeBookMarkWithArray(t.lists, AncestorsOf(removed, t.lists.rootNode), removed);
    ASSERT_TRUE(roots.isDict());
    auto asArray = Array::make();
    for (const auto& [key, value] : *roots.asDict()) asArray->append(value);
    ExpectRows(asArray, rows);
    // Untouched roots are the objects read; the others keep their keys in order.
    std::vector<std::string> keys;
    for (const auto& [key, value] : *roots.asDict()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"bookmark_bar", "loose", "other", "sync_transaction_version"}));
  }
}

TEST(ChromeRebuild, TopLevelBookmarkRemovalDropsItsRootKey) {
  TreeHarness t(3);
  t.ReadChrome(std::string(kFile));
  NodeList removed{FindNode(t.lists.ChromeFatherArray, "Loose")};
  Value roots = removeManyBookMarkfromChromeBookMarkWithArray(t.lists, AncestorsOf(removed, nullptr), removed);
  EXPECT_FALSE(roots.asDict()->contains("loose"));
  EXPECT_EQ(roots.asDict()->get("other"), Value(AsFolder(FindNode(t.lists.ChromeFatherArray, "Other"))->itemDict()));
}

void CollectIds(const Value& v, std::vector<std::string>& ids) {
  if (DictPtr d = v.asDict()) {
    if (auto id = d->getString("id")) ids.push_back(*id);
    for (const auto& [key, value] : *d) CollectIds(value, ids);
  } else if (ArrayPtr a = v.asArray()) {
    for (const Value& item : *a) CollectIds(item, ids);
  }
}

TEST(ChromeWorkingCopy, NothingRemovedWritesTheFileAsReadWithRootsAsAnObject) {
  for (const std::string name :
       {"chrome-2017-01_cjk-title_Bookmarks", "chromium-linux-2021-02_Bookmarks", "chrome-2023-09_fr-nested_Bookmarks"}) {
    SCOPED_TRACE(name);
    const auto file = TestData("chromium_bookmarks/" + name);
    TreeHarness t(3);
    t.ReadChrome(file);
    const std::string text = ChromeWorkingCopyText(
        t.lists.rootNode->rootDict(), removeManyBookMarkfromChromeBookMarkWithArray(t.lists, {}, {}));
    Value written = *Must(ParseJson(text));
    EXPECT_EQ(written, *Must(ReadJsonFile(file)));
    EXPECT_TRUE(written.asDict()->get("roots").isDict());
    EXPECT_TRUE(written.asDict()->contains("checksum"));
    std::vector<std::string> ids;
    CollectIds(written, ids);
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
  }
}

TEST(ChromeWorkingCopy, RootsArrayOfEarlierVersionsIsWrittenAsAnObject) {
  TreeHarness t(3);
  t.ReadChrome(std::string(R"({"roots": [{"id": "1", "name": "A", "type": "folder", "children": []},
                                         {"id": "2", "name": "B", "type": "folder", "children": []}]})"));
  Value roots = removeManyBookMarkfromChromeBookMarkWithArray(t.lists, {}, {});
  ASSERT_TRUE(roots.isDict());
  EXPECT_EQ(Render(roots.asDict()->get("bookmark_bar")), "id=1,name=A,type=folder");
  EXPECT_EQ(Render(roots.asDict()->get("other")), "id=2,name=B,type=folder");
}

}  // namespace
}  // namespace linvara::testing
