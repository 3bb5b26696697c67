#include <gtest/gtest.h>

#include <set>

#include "edit/ChromeTreeRebuild.h"
#include "edit/EditTestSupport.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/WorkingCopies.h"

namespace linvara::testing {
namespace {

TEST(ChromeRebuild, RemovalWritesOnlyFoldersHoldingARemovedBookmarkAnew) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<KeyRow>>> cases = {
      {{"Bar/Tools/Hammer"},
       {{"Bar/Tools", "children", "Odd|text"}, {"Bar/Tools", "x", "tools-extra"}, {"Bar", "x", "bar-extra"},
        {"Bar", "children", "Tools|Shared"}}},
      {{"Other/Deep/Deeper/Bottom", "Bar/Shared"},
       {{"Other/Deep/Deeper", "children", ""}, {"Other/Deep", "children", "Shared again|Deeper"},
        {"Bar", "children", "Tools"}}},
      {{"Loose"}, {{"Other", "children", "Deep"}}},
  };
  for (const auto& [paths, rows] : cases) {
    SCOPED_TRACE(paths.front());
    TreeHarness t(3);
    t.ReadChrome(std::string(kSmallChromiumFile));
    NodeList removed;
    for (const auto& p : paths) removed.push_back(FindNode(t.lists.ChromeFatherArray, p));
    Value roots =
        removeManyBookMarkfromChromeBookMarkWithArray(t.lists, AncestorsOf(removed, t.lists.rootNode), removed);
    ASSERT_TRUE(roots.isDict());
    auto asArray = Array::make();
    for (const auto& [key, value] : *roots.asDict()) asArray->append(value);
    ExpectRows(asArray, rows);
    // The roots keep their keys in order; a removed top-level bookmark takes its key along.
    std::vector<std::string> keys;
    for (const auto& [key, value] : *roots.asDict()) keys.push_back(key);
    std::vector<std::string> expected{"bookmark_bar", "loose", "other", "sync_transaction_version"};
    if (paths.front() == "Loose") expected.erase(expected.begin() + 1);
    EXPECT_EQ(keys, expected);
  }
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

}  // namespace
}  // namespace linvara::testing
