// The address, name, host and browser orders, pair by pair and over lists.
#include <gtest/gtest.h>

#include "sort/BookmarkOrders.h"
#include "sort/SortTestSupport.h"

namespace linvara::testing {
namespace {

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

TEST(BookmarkOrders, SelectionFormOrdersOnlySelectedEntries) {
  const NodeList rows = {Mark("d"), Mark("x"), Mark("y"), Mark("c"), Mark("b"), Mark("a")};
  const NodeSelection selection = MakeSelection({rows[0], rows[3], rows[5]});
  EXPECT_EQ(CompareNodes(kNameMarks, rows[0], rows[1], &selection), S);
  EXPECT_EQ(CompareNodes(kNameMarks, rows[0], rows[3], &selection), A);
  EXPECT_EQ(Titles(SortNodes(rows, kNameMarks, &selection)), (std::vector<std::string>{"a", "x", "y", "c", "b", "d"}));
}

}  // namespace
}  // namespace linvara::testing
