// Sorting: the address, name, host and browser orders pair by pair, their text rules and the stable merge
// sort; the sort keys they compare against the collator comparing the texts themselves, and the record sort
// of SortNodes against a merge that asks the order pair by pair; the sort commands of the views, the unified
// list's rows through the session's view state, and the Safari and Chrome trees with the order written and
// the working copies on real files.
#include <gtest/gtest.h>

#include <curl/curl.h>
#include <unicode/ucol.h>

#include <memory>
#include <numeric>
#include <random>

#include "app/Outlets.h"
#include "app/ScriptedScreen.h"
#include "edit/EditTexts.h"
#include "edit/SafariTreeRebuild.h"
#include "model/Json.h"
#include "model/PropertyList.h"
#include "readers/BookmarkReadController.h"
#include "sort/BookmarkOrders.h"
#include "sort/MergeSort.h"
#include "sort/SortController.h"
#include "sort/TextOrder.h"
#include "sort/UrlHost.h"
#include "support/TestSupport.h"

namespace linvara::testing {
namespace {

// Nodes carrying records as a reader leaves them ("Title" in each record, a folder's children under "Children").
NodePtr Mark(const std::string& title, const std::string& url = "u", const std::string& browser = "Safari") {
  NodePtr node = PRBookMarkNode::Create();
  node->setThetitle(title), node->setUrlString(url), node->setBookMarkFrom(browser);
  DictPtr data = Dictionary::make();
  data->set("Title", title);
  node->setDataDict(data);
  return node;
}

FolderPtr Dir(const std::string& title, const NodeList& children = {}) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle(title);
  for (const NodePtr& child : children) folder->appendChild(child), child->setFatherItem(folder);
  DictPtr item = Dictionary::make();
  item->set("Title", title), item->set("Children", Array::make());
  folder->setItemDict(item);
  return folder;
}

// "a,B[c,d]": the titles of records, each folder with its children in brackets.
std::string Outline(const ArrayPtr& records) {
  std::string out;
  for (const Value& record : *records) {
    out += (out.empty() ? "" : ",") + record.asDict()->getString("Title").value_or("?");
    if (ArrayPtr children = record.asDict()->getArray("Children")) out += "[" + Outline(children) + "]";
  }
  return out;
}

constexpr BookmarkOrder kAddrMarks{SortKey::Address, false}, kAddrFolders{SortKey::Address, true},
    kNameMarks{SortKey::Name, false}, kNameFolders{SortKey::Name, true}, kHost{SortKey::Host},
    kBrowser{SortKey::Browser};
constexpr Ordering B = Ordering::Before, S = Ordering::Same, A = Ordering::After;

TEST(BookmarkOrders, PairsAnswerAsTheOrdersDefine) {
  const NodePtr httpsA = Mark("x", "https://a.example/"), httpB = Mark("y", "http://b.example/"), bare = Mark("n", ""),
                schemeOnly = Mark("s", "http://"), paren = Mark("p", "(p.example"), letter = Mark("l", "a.example"),
                alpha = Dir("Alpha"), beta = Dir("Beta"), untitledDir = Dir(""), apple = Mark("apple"),
                APPLE = Mark("APPLE"), eclairAccent = Mark("\xC3\xA9" "clair"), eclair = Mark("eclair"),
                underscore = Mark("_u"), untitled = Mark(""), hostUp = Mark("1", "http://WWW.Example.com/a"),
                hostLow = Mark("2", "https://www.example.com/b"), fileUrl = Mark("f", "file:///Users/me/page.html"),
                notUrl = Mark("u", "not a url"), noScheme = Mark("v", "example.com/x"),
                hostB = Mark("3", "http://b.example/"), chrome = Mark("c", "u", "Chrome"),
                safari = Mark("s", "u", "Safari"), safariLow = Mark("t", "u", "safari"),
                edge = Mark("e", "u", "Microsoft Edge"), opera = Mark("o", "u", "Opera");
  const std::tuple<const char*, BookmarkOrder, NodePtr, NodePtr, Ordering> cases[] = {
      {"https a, http b: schemes stripped", kAddrMarks, httpsA, httpB, B},
      {"https a, http b: addresses whole", kAddrFolders, httpsA, httpB, A},
      {"empty address first", kAddrMarks, bare, letter, B}, {"empty address, other side", kAddrMarks, letter, bare, B},
      {"empty after stripping", kAddrMarks, schemeOnly, letter, B}, {"punctuation first", kAddrMarks, letter, paren, A},
      {"bookmark, folder", kAddrMarks, letter, alpha, B}, {"folder, bookmark", kAddrMarks, alpha, letter, A},
      {"folder, addressless", kAddrMarks, alpha, bare, B}, {"ff: bookmark, folder", kAddrFolders, letter, alpha, A},
      {"ff: addressless, folder", kAddrFolders, bare, alpha, B}, {"ff: folder first", kAddrFolders, alpha, letter, B},
      {"untitled folder", kAddrMarks, untitledDir, alpha, B}, {"folders by title", kAddrFolders, beta, alpha, A},
      {"letter case", kNameMarks, apple, APPLE, S}, {"accents", kNameMarks, eclairAccent, eclair, S},
      {"punctuation first", kNameMarks, apple, underscore, A}, {"empty title first", kNameMarks, apple, untitled, B},
      {"bookmark, folder", kNameMarks, apple, alpha, B}, {"folder, bookmark", kNameMarks, alpha, apple, A},
      {"ff: bookmark, folder", kNameFolders, apple, alpha, A}, {"ff: folder, bookmark", kNameFolders, alpha, apple, B},
      {"names ff: empty title before folder", kNameFolders, untitled, alpha, B},
      {"same host, other case", kHost, hostUp, hostLow, S}, {"hosts in order", kHost, hostB, hostLow, B},
      {"file address: no host", kHost, hostLow, fileUrl, B}, {"file address, other side", kHost, fileUrl, hostLow, B},
      {"unparsable: no host", kHost, hostLow, notUrl, B}, {"no scheme: no host", kHost, hostLow, noScheme, B},
      {"host order skips folders", kHost, alpha, hostLow, S},
      {"Chrome before Safari", kBrowser, chrome, safari, B}, {"Edge before Opera", kBrowser, edge, opera, B},
      {"tags in other case", kBrowser, safari, safariLow, S}, {"folder after bookmark", kBrowser, alpha, chrome, A},
      {"folders without titleStr", kBrowser, alpha, beta, S},
  };
  for (const auto& [what, order, a, b, expected] : cases) EXPECT_EQ(CompareNodes(order, a, b), expected) << what;
}

TEST(TextOrder, PunctuationRuleLooksAtTheFirstUnitOnly) {
  for (const char* text : {"(paren", "_under", "\xE3\x80\x8C" "x"}) EXPECT_TRUE(StartsWithPunctuation(text)) << text;
  // "$" is a symbol; an emoji starts with a surrogate unit; an empty text has no first unit.
  for (const char* text : {"a(", "9", "$", " x", "\xF0\x9F\x98\x80", ""})
    EXPECT_FALSE(StartsWithPunctuation(text)) << text;
  EXPECT_EQ(PunctuationRule(true, false), Ordering::Before);
  EXPECT_EQ(PunctuationRule(false, true), Ordering::After);
  EXPECT_FALSE(PunctuationRule(true, true));
}

TEST(TextOrder, StripSchemeRemovesEveryOccurrence) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://a.com/https://b", "a.com/b"}, {"http://a/?u=http://b", "a/?u=b"}, {"HTTP://a", "HTTP://a"},
      {"http://", ""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(StripScheme(in), out) << in;
}

// The host as curl's URL parser alone gives it.
std::optional<std::string> CurlHost(const std::string& address) {
  CURLU* url = curl_url();
  char* host = nullptr;
  std::optional<std::string> out;
  if (curl_url_set(url, CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
      curl_url_get(url, CURLUPART_HOST, &host, 0) == CURLUE_OK && host)
    out = host;
  curl_free(host);
  curl_url_cleanup(url);
  return out;
}

TEST(UrlHost, ReadsTheHostCurlReads) {
  UrlHostReader reader;
  for (const char* address :
       {"https://www.example.com/a?b#c", "HTTP://WWW.Example.COM", "http://under_score.example/", "chrome://settings",
        "ftp://ftp.example.org/pub", "https://xn--bcher-kva.example/", "http://user:pw@host.example/",
        "http://host.example:8080/", "http://host.example:99999/", "http://127.1/", "http://0x7f.1/", "http://[::1]/",
        "http://1.2.3.4/", "http://a.b.3/", "file://host.example/x", "file:///Users/me/x", "http://a b/",
        "http://ex%41mple.com/", "http://.dot.example/", "http://dot.example./", "http:/one/slash", "://nohost",
        "mailto:me@example.com", "javascript:void(0)", "http://caf\xC3\xA9.example/", "http:///path", "x:/"}) {
    EXPECT_EQ(reader.HostOf(address), CurlHost(address)) << address;
  }
}

TEST(StableMergeSort, AnyAnswersGiveAPermutation) {
  std::mt19937 random(7);
  for (std::size_t count : {0u, 1u, 3u, 17u, 1000u}) {
    std::vector<std::size_t> all(count);
    std::iota(all.begin(), all.end(), std::size_t{0});
    auto indices = all;
    StableMergeSort(indices, [&](std::size_t, std::size_t) { return static_cast<Ordering>(static_cast<int>(random() % 3) - 1); });
    std::sort(indices.begin(), indices.end());
    EXPECT_EQ(indices, all);
  }
}

TEST(StableMergeSort, EqualElementsKeepTheirOrder) {
  std::vector<std::string> items = {"b1", "a1", "c1", "b2", "a2", "b3", "c2", "a3", "b4"};  // by letter only
  StableMergeSort(items, [](const std::string& a, const std::string& b) {
    return static_cast<Ordering>((a[0] > b[0]) - (a[0] < b[0]));
  });
  EXPECT_EQ(items, (std::vector<std::string>{"a1", "a2", "a3", "b1", "b2", "b3", "b4", "c1", "c2"}));
}

// Texts whose keys share long starts, differ past the first 16 key bytes, or
// differ only in case, accents, composition or width.
const char* const kTrickyTexts[] = {
    "", "a", "A", "\xC3\xA1", "ab", "a b", "a-b", "(a", "_a", "9", "10", "\xEF\xAC\x81", "fi", "fj",
    "Stra\xC3\x9F" "e", "strasse", "\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86", "\xED\x95\x9C",
    "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB", "\xE6\x94\xB6\xE8\x97\x8F", "\xE6\x94\xB6\xE8\x97\x8F\xE5\xA4\xB9",
    "\xF0\x9F\x98\x80", "\xEF\xBC\xA1", "International Business Machines A", "international business machines a",
    "International Business Machines B", "International Business Machines", "Internationale Bu",
    "Caf\xC3\xA9 de la Paix, Paris 75009", "Cafe\xCC\x81 de la Paix, Paris 75009", "Cafe de la Paix, Paris 75010",
    "\xD0\x96\xD0\xB8\xD0\xBB\xD0\xBE\xD0\xB9 \xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\xB6\xD0\xB8\xD0\xBB\xD0\xBE\xD0\xB9",
    "\xFF\xFE not UTF-8", "abcdefghij", "abcdefghik", "abcdefgh", "Bookmarks Bar", "Bookmarks Menu", "favourites",
    "Favourites A", "Favourites B",
};

Ordering Sign(int c) { return c < 0 ? Ordering::Before : c > 0 ? Ordering::After : Ordering::Same; }

TEST(SortKeys, KeyedComparisonMatchesTheCollator) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UCollator, void (*)(UCollator*)> collator(ucol_open("", &status), ucol_close);
  ucol_setStrength(collator.get(), UCOL_PRIMARY);
  ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
  ASSERT_TRUE(U_SUCCESS(status));
  for (const char* a : kTrickyTexts) {
    for (const char* b : kTrickyTexts) {
      status = U_ZERO_ERROR;
      const UCollationResult expected = ucol_strcollUTF8(collator.get(), a, -1, b, -1, &status);
      EXPECT_EQ(CompareText(a, b), Sign(expected)) << a << " vs " << b;
    }
  }
}

TEST(SortKeys, SortNodesAgreesWithTheOrderPairByPair) {
  NodeList nodes;
  int n = 0;
  for (const char* text : kTrickyTexts) {
    const std::string s = text;
    nodes.push_back(Mark(s, (n % 3 ? "https://" : "http://") + s + ".example/" + std::to_string(n % 4),
                         n % 2 ? "Safari" : "Chrome"));
    if (n++ % 4 == 0) nodes.push_back(Dir(s));
  }
  nodes.push_back(nullptr);
  NodeList chosen;
  for (std::size_t i = 0; i < nodes.size(); i += 3) chosen.push_back(nodes[i]);
  const NodeSelection selection = MakeSelection(chosen);
  for (const SortKey key : {SortKey::Address, SortKey::Name, SortKey::Host, SortKey::Browser}) {
    for (const bool foldersFirst : {false, true}) {
      for (const NodeSelection* limit : {static_cast<const NodeSelection*>(nullptr), &selection}) {
        const BookmarkOrder order{key, foldersFirst};
        SCOPED_TRACE(std::to_string(static_cast<int>(key)) + (foldersFirst ? " folders first" : "") +
                     (limit ? " selected" : ""));
        // Under a selection only the selected entries move, sorted among themselves into their places.
        std::vector<std::size_t> places;
        for (std::size_t i = 0; i < nodes.size(); ++i)
          if (!limit || limit->count(nodes[i].get())) places.push_back(i);
        std::vector<std::size_t> indices(places.size());
        std::iota(indices.begin(), indices.end(), std::size_t{0});
        StableMergeSort(indices, [&](std::size_t i, std::size_t j) {
          return CompareNodes(order, nodes[places[i]], nodes[places[j]], limit);
        });
        NodeList expected = nodes;
        for (std::size_t k = 0; k < places.size(); ++k) expected[places[k]] = nodes[places[indices[k]]];
        EXPECT_EQ(SortNodes(nodes, order, limit), expected);
      }
    }
  }
}

TEST(SortController, UnifiedSortsReorderTheRowsAndTheUnifiedList) {
  using C = SortController;
  const std::tuple<bool (C::*)(), std::vector<std::size_t>, std::vector<std::string>> cases[] = {
      {&C::SortAllBookMarkByName, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkByAddress, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkAddressAZByURLFirstAddress, {}, {"a", "b", "c", "F"}},
      {&C::SortAllBookMarkAddressAZByFolderFirstAddress, {}, {"F", "a", "c", "b"}},
      {&C::SortAllBookMarkAddressAZByFolderFirstTitle, {}, {"F", "a", "b", "c"}},
      {&C::SortAllBookMarkByHost, {}, {"a", "b", "F", "c"}},
      {&C::SortSelectedAllBookMarkByName, {0, 2, 3}, {"a", "F", "b", "c"}},
      {&C::SortSelectedAllBookMarkByName, {}, {}},  // nothing selected: nothing sorted
  };
  for (const auto& [command, selection, expected] : cases) {
    BookmarkSession session{AppServices{}};
    SortController sorting{session};
    const NodeList rows = {Mark("b", "https://b.example/"), Dir("F"), Mark("a", "http://a.example/"),
                           Mark("c", "http://c.example/")};
    session.bookMarkType = ViewKind::All;
    session.SetBookmarkTableContent(rows);
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) { s.bookmarkTable.selection = selection; });
    EXPECT_EQ((sorting.*command)(), !expected.empty());
    const NodeList& shown = session.viewState().bookmarkTable.content;
    EXPECT_EQ(Titles(shown), expected.empty() ? Titles(rows) : expected);
    EXPECT_EQ(session.lists().allbookMarkArray, expected.empty() ? NodeList{} : shown);
    EXPECT_EQ(session.lists().partialSortSelection.size(), selection.size());
  }
}

TEST(TreeSort, SortsEveryFolderAtEveryDepth) {
  const std::tuple<BookmarkOrder, std::vector<std::size_t>, const char*> cases[] = {
      {{SortKey::Name, true}, {}, "Alpha[],Beta[Inner[Deep[],x,y],b1,b2],a,z"},
      {{SortKey::Name, false}, {}, "a,z,Alpha[],Beta[b1,b2,Inner[x,y,Deep[]]]"},
      {{SortKey::Address, true}, {}, "Alpha[],Beta[Inner[Deep[],y,x],b2,b1],z,a"},
      // Selected top-level entries (by position) only are ordered; every folder below fully.
      {{SortKey::Name, true}, {0, 2}, "a,Beta[Inner[Deep[],x,y],b1,b2],z,Alpha[]"},
      {{SortKey::Name, false}, {0, 1, 3}, "z,Alpha[],a,Beta[b1,b2,Inner[x,y,Deep[]]]"},
  };
  for (const auto& [order, selected, outline] : cases) {
    BookmarkLists lists;
    lists.safariFatherArray = {Mark("z"),
                               Dir("Beta", {Mark("b2"), Dir("Inner", {Mark("y"), Dir("Deep"), Mark("x")}), Mark("b1")}),
                               Mark("a"), Dir("Alpha")};
    NodeList chosen;
    for (std::size_t i : selected) chosen.push_back(lists.safariFatherArray[i]);
    const NodeSelection selection = MakeSelection(chosen);
    const NodeList before = lists.safariFatherArray;
    const TreeSortOrder siblings{order, selected.empty() ? nullptr : &selection};
    EXPECT_EQ(Outline(SafariChildrenOfWholeTree(lists, siblings)), outline);
    EXPECT_EQ(lists.safariFatherArray, before);  // the nodes keep their order
  }
}

// A Safari or Chrome view read from a real browser file, in a home folder of its own.
struct TreeSortFixture {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  BookmarkSession session{AppServices{loc, nullptr, std::make_shared<FakePlatformServices>(), nullptr, screen, nullptr, ""}};
  SortController sorting{session};
  TreeFormat format;
  std::filesystem::path file;

  // A file under tests/data; the view follows the folder (safari_bookmarks or chromium_bookmarks).
  explicit TreeSortFixture(const std::string& relative)
      : format(relative.rfind("safari", 0) == 0 ? TreeFormat::Safari : TreeFormat::Chrome), file(TestData(relative)) {
    const bool safari = format == TreeFormat::Safari;
    session.bookMarkType = safari ? ViewKind::Safari : ViewKind::Chrome;
    BookmarkReadController reads(session);
    safari ? reads.ReadSafariBookMark(file) : reads.ReadChromeBookMark(file);
    session.SetBookmarkTableContent(TopLevel());
  }
  const NodeList& TopLevel() {
    return format == TreeFormat::Safari ? session.lists().safariFatherArray : session.lists().ChromeFatherArray;
  }
  const NodeList& Flat() {
    return format == TreeFormat::Safari ? session.lists().safariBookMarkArray : session.lists().chromebookMarkArray;
  }
  std::filesystem::path WorkingCopy() const {
    return format == TreeFormat::Safari ? loc.safariWorkingCopy() : loc.chromeWorkingCopy();
  }
  void SelectRows(const std::vector<std::size_t>& rows) {
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) { s.bookmarkTable.selection = rows; });
  }
};

// The entries of a bookmark file, each without its children list, the root's own keys included. "roots" must stay
// an object; the order of its keys is checked with the sort command of the command line.
void CollectEntries(const Value& entry, const char* childrenKey, std::vector<Value>& into) {
  DictPtr dict = entry.asDict();
  if (!dict) return into.push_back(WholeSeconds(entry));
  DictPtr bare = dict->copy();
  bare->remove(childrenKey);
  bare->remove("roots");
  into.push_back(WholeSeconds(Value(bare)));
  if (ArrayPtr children = dict->getArray(childrenKey))
    for (const Value& child : *children) CollectEntries(child, childrenKey, into);
  if (DictPtr roots = dict->getDict("roots"))
    for (const auto& [key, root] : *roots) {
      DictPtr rootDict = root.asDict();  // each key stays with its root
      into.push_back(Value(key + " holds " + (rootDict ? rootDict->getString("id").value_or("") : "")));
      CollectEntries(root, childrenKey, into);
    }
}

Value ReadTreeFile(const std::filesystem::path& path, TreeFormat format) {
  Result<Value> read = format == TreeFormat::Safari ? ReadPropertyListFile(path) : ReadJsonFile(path);
  EXPECT_TRUE(read.ok()) << path;
  return read.ok() ? *read : Value();
}

const char* const kRealFiles[] = {
    "safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist",
    "safari_bookmarks/safari14-2020_empty-folders_Bookmarks.plist",
    "safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist",
    "chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks",
    "chromium_bookmarks/chromium-linux-2021-02_Bookmarks",
    "chromium_bookmarks/chrome-2017-01_cjk-title_Bookmarks",
};

TEST(TreeSort, WorkingCopyHoldsEveryEntryOfTheBrowserFileUnchanged) {
  const BookmarkOrder orders[] = {{SortKey::Address, true}, {SortKey::Address, false}, {SortKey::Name, false}};
  for (const char* file : kRealFiles)
    for (const BookmarkOrder& order : orders) {
      SCOPED_TRACE(std::string(file) + (order.key == SortKey::Address ? " address" : " name"));
      TreeSortFixture f(file);
      const char* childrenKey = f.format == TreeFormat::Safari ? "Children" : "children";
      ASSERT_TRUE(f.sorting.SortTree(f.format, order, false).ok());
      std::vector<Value> before, after;
      CollectEntries(ReadTreeFile(f.file, f.format), childrenKey, before);
      CollectEntries(ReadTreeFile(f.WorkingCopy(), f.format), childrenKey, after);
      ASSERT_EQ(after.size(), before.size());
      for (const Value& entry : before) {
        auto match = std::find(after.begin(), after.end(), entry);
        ASSERT_NE(match, after.end()) << "an entry changed or went missing: " << SerializeJson(entry);
        after.erase(match);
      }
    }
}

TEST(TreeSort, ReadBackShowsTheTopLevelOrTheSortedFlatList) {
  for (const bool folderMode : {true, false}) {
    TreeSortFixture f("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist");
    f.session.UpdateView(viewsection::kButtons, [&](ViewState& s) {
      s.button(outlets::kFolderListViewBtn).image = folderMode ? images::kFolderListDown : images::kFolderListNom;
      s.button(outlets::kBackBookMarkBtn).image = "backbtn.png";
    });
    const NodeList before = f.TopLevel();
    ASSERT_TRUE(f.sorting.SortSafariBookMarkByNameFolderLast().ok());
    EXPECT_NE(f.TopLevel().front(), before.front());  // read back: new nodes
    EXPECT_TRUE(f.session.BackButtonShowsHome());
    EXPECT_EQ(f.session.viewState().bookmarkTable.content, folderMode ? f.TopLevel() : f.Flat());
    ASSERT_GT(f.Flat().size(), 2u);
    for (std::size_t i = 1; i < f.Flat().size(); ++i)
      EXPECT_NE(CompareNodes({SortKey::Name, false}, f.Flat()[i - 1], f.Flat()[i]), Ordering::After) << i;
  }
}

TEST(TreeSort, FailedWriteKeepsTheTreeAndTellsWhy) {
  TreeSortFixture f("chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks");
  f.sorting.writeChunk = [](int, const char*, std::size_t) -> long { return -1; };
  const NodeList before = f.TopLevel();
  EXPECT_FALSE(f.sorting.SortChromeBookMarkByNameFolderFirst().ok());
  EXPECT_EQ(f.TopLevel(), before);
  EXPECT_FALSE(std::filesystem::exists(f.WorkingCopy()));
  ASSERT_EQ(f.screen->alerts.size(), 1u);
  EXPECT_EQ(f.screen->alerts.back().request.message.rfind(edittexts::WorkingCopyWriteFailed(""), 0), 0u);
}

TEST(TreeSort, SelectionSortNeedsASelectedRowInItsView) {
  TreeSortFixture f("safari_bookmarks/safari14-2020_empty-folders_Bookmarks.plist");
  EXPECT_FALSE(f.sorting.SortSelectedBookmarkByName().ok());       // no row selected
  EXPECT_FALSE(f.sorting.SortChromeBookMarkByNameFolderLast().ok());  // not the Chrome view
  EXPECT_FALSE(std::filesystem::exists(f.WorkingCopy()));
  f.SelectRows({0, 1});
  EXPECT_TRUE(f.sorting.SortSelectedBookmarkByName().ok());
  EXPECT_EQ(f.session.lists().partialSortSelection.size(), 2u);
}

}  // namespace
}  // namespace linvara::testing
