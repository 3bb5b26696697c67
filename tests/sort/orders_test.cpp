// The address, name, host and browser orders, pair by pair and over lists.
#include <gtest/gtest.h>

#include "sort/BookmarkOrders.h"
#include "sort/SortTestSupport.h"

namespace linvara::testing {
namespace {

constexpr BookmarkOrder kAddressBookmarksFirst{SortKey::Address, false};
constexpr BookmarkOrder kAddressFoldersFirst{SortKey::Address, true};
constexpr BookmarkOrder kNameBookmarksFirst{SortKey::Name, false};
constexpr BookmarkOrder kNameFoldersFirst{SortKey::Name, true};
constexpr BookmarkOrder kHost{SortKey::Host, false};
constexpr BookmarkOrder kBrowser{SortKey::Browser, false};

constexpr Ordering B = Ordering::Before, S = Ordering::Same, A = Ordering::After;

struct PairCase {
  const char* what;
  BookmarkOrder order;
  NodePtr a, b;
  Ordering expected;
};

TEST(BookmarkOrders, PairsAnswerAsTheOrdersDefine) {
  const NodePtr httpsA = Mark("x", "https://a.example/"), httpB = Mark("y", "http://b.example/");
  const NodePtr noAddress = Mark("n", ""), onlyScheme = Mark("s", "http://");
  const NodePtr paren = Mark("(p", "(paren.example"), letter = Mark("l", "a.example");
  const NodePtr folderA = Dir("Alpha"), folderUntitled = Dir("");
  const NodePtr lower = Mark("apple", "u"), upper = Mark("APPLE", "v"), accented = Mark("\xC3\xA9" "clair", "w"),
                plain = Mark("eclair", "z"), underscore = Mark("_under", "q"), untitled = Mark("", "r");
  const NodePtr hostUpper = Mark("h1", "http://WWW.Example.com/a"), hostLower = Mark("h2", "https://www.example.com/b"),
                fileUrl = Mark("f", "file:///Users/me/page.html"), notUrl = Mark("nu", "not a url"),
                hostB = Mark("hb", "http://b.example/");
  const NodePtr chrome = Mark("c", "u", "Chrome"), safari = Mark("s", "u", "Safari"), safariLower = Mark("s2", "u", "safari"),
                edge = Mark("e", "u", "Microsoft Edge"), opera = Mark("o", "u", "Opera");
  const NodePtr folderB = Dir("Beta");

  const PairCase cases[] = {
      {"https a before http b when schemes are stripped", kAddressBookmarksFirst, httpsA, httpB, B},
      {"http b before https a when addresses stay whole", kAddressFoldersFirst, httpsA, httpB, A},
      {"empty address first", kAddressBookmarksFirst, noAddress, letter, B},
      {"empty address first from the other side too", kAddressBookmarksFirst, letter, noAddress, B},
      {"address empty after stripping", kAddressBookmarksFirst, onlyScheme, letter, B},
      {"punctuation first in addresses", kAddressBookmarksFirst, letter, paren, A},
      {"bookmark before folder", kAddressBookmarksFirst, letter, folderA, B},
      {"folder after bookmark", kAddressBookmarksFirst, folderA, letter, A},
      {"folder before an addressless bookmark", kAddressBookmarksFirst, folderA, noAddress, B},
      {"folders first: bookmark after folder", kAddressFoldersFirst, letter, folderA, A},
      {"folders first: addressless bookmark before folder", kAddressFoldersFirst, noAddress, folderA, B},
      {"folders first: folder before bookmark", kAddressFoldersFirst, folderA, letter, B},
      {"untitled folder under an address order", kAddressBookmarksFirst, folderUntitled, folderA, B},
      {"folders by title under an address order", kAddressFoldersFirst, folderB, folderA, A},
      {"titles differing in case", kNameBookmarksFirst, lower, upper, S},
      {"titles differing in accents", kNameBookmarksFirst, accented, plain, S},
      {"punctuation first in titles", kNameBookmarksFirst, lower, underscore, A},
      {"empty title first", kNameBookmarksFirst, lower, untitled, B},
      {"names: bookmark before folder", kNameBookmarksFirst, lower, folderA, B},
      {"names: folder after bookmark", kNameBookmarksFirst, folderA, lower, A},
      {"names, folders first: bookmark after folder", kNameFoldersFirst, lower, folderA, A},
      {"names, folders first: folder before bookmark", kNameFoldersFirst, folderA, lower, B},
      {"names, folders first: empty title before a folder", kNameFoldersFirst, untitled, folderA, B},
      {"names, folders first: folders by title", kNameFoldersFirst, folderB, folderA, A},
      {"same host in other letter case", kHost, hostUpper, hostLower, S},
      {"hosts in order", kHost, hostB, hostLower, B},
      {"file address has no host", kHost, hostLower, fileUrl, B},
      {"file address has no host, other side", kHost, fileUrl, hostLower, B},
      {"unparsable address has no host", kHost, hostLower, notUrl, B},
      {"address without a scheme has no host", kHost, hostLower, Mark("ns", "example.com/x"), B},
      {"host order ignores folders", kHost, folderA, hostLower, S},
      {"Chrome before Safari", kBrowser, chrome, safari, B},
      {"Microsoft Edge before Opera", kBrowser, edge, opera, B},
      {"browser tags in other letter case", kBrowser, safari, safariLower, S},
      {"bookmarks before folders by browser", kBrowser, folderA, chrome, A},
      {"folders without titleStr keep their order", kBrowser, folderA, folderB, S},
  };
  for (const PairCase& c : cases) EXPECT_EQ(CompareNodes(c.order, c.a, c.b), c.expected) << c.what;
}

TEST(BookmarkOrders, SelectionLimitedFormsCompareOnlySelectedPairs) {
  const NodePtr a = Mark("a", "http://a.example/"), b = Mark("b", "http://b.example/");
  const NodeSelection onlyB = MakeSelection({b}), both = MakeSelection({a, b});
  for (const BookmarkOrder& order : {kAddressBookmarksFirst, kNameBookmarksFirst, kHost}) {
    EXPECT_EQ(CompareNodes(order, b, a, &onlyB), S);
    EXPECT_EQ(CompareNodes(order, b, a, &both), A);
  }
}

TEST(BookmarkOrders, BrowserOrderGroupsBrowsersKeepingTheirOrder) {
  const NodeList rows = {Mark("S1", "u", "Safari"), Mark("C1", "u", "Chrome"), Dir("F"), Mark("O1", "u", "Opera"),
                         Mark("S2", "u", "Safari"), Mark("E1", "u", "Microsoft Edge"), Mark("X1", "u", "Firefox"),
                         Dir("G"), Mark("C2", "u", "Chrome")};
  EXPECT_EQ(Titles(SortNodes(rows, kBrowser)),
            (std::vector<std::string>{"C1", "C2", "X1", "E1", "O1", "S1", "S2", "F", "G"}));
}

TEST(BookmarkOrders, HostSortKeepsSameHostInOtherCaseInOrder) {
  const NodeList rows = {Mark("2", "http://Z.example/"), Mark("1", "https://z.EXAMPLE/x"), Mark("3", "http://a.example/")};
  EXPECT_EQ(Titles(SortNodes(rows, kHost)), (std::vector<std::string>{"3", "2", "1"}));
}

TEST(BookmarkOrders, SelectionSortOrdersOnlySelectedRows) {
  const NodeList rows = {Mark("d", "u"), Mark("x", "u"), Mark("y", "u"), Mark("c", "u"), Mark("b", "u"), Mark("a", "u")};
  const NodeSelection selection = MakeSelection({rows[0], rows[3], rows[5]});
  EXPECT_EQ(Titles(SortNodes(rows, kNameBookmarksFirst, &selection)),
            (std::vector<std::string>{"a", "x", "y", "c", "b", "d"}));
}

TEST(BookmarkOrders, MissingEntriesStayInTheList) {
  const NodeList rows = {Mark("b", "u"), nullptr, Mark("a", "u")};
  for (const BookmarkOrder& order : {kAddressFoldersFirst, kNameFoldersFirst, kHost, kBrowser})
    EXPECT_EQ(SortNodes(rows, order).size(), 3u);
}

}  // namespace
}  // namespace linvara::testing
