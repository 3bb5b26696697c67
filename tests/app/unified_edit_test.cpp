// Editing the unified list through the controller: removal from the list,
// folders made in it and moves into them. Nothing in the home may change.
#include <gtest/gtest.h>

#include <algorithm>

#include "PresenterFixture.h"
#include "app/Actions.h"
#include "profile/FirefoxPlaces.h"

namespace linvara::testing {
namespace {

using namespace outlets;
using profile::Folder, profile::Leaf;

constexpr const char* kFolderAlert = "Select one or more bookmarks instead of the bookmarks folder to delete.";
constexpr const char* kQuestion = "Are you sure you want to remove the bookmark from the list ?";

TitleList Without(TitleList from, const TitleList& gone) {
  std::erase_if(from, [&](const std::string& t) { return std::count(gone.begin(), gone.end(), t) > 0; });
  return from;
}

// Safari, Chrome (one address twice) and Firefox in the unified view, optionally
// with a Safari working copy left by a previous run.
struct UnifiedHome : PresenterHome {
  explicit UnifiedHome(bool staleWorkingCopy = false) {
    WriteSafari({Folder("News", {Leaf("Paper", "https://paper.example/")}), Leaf("Weather", "https://weather.example/"),
                 Leaf("Fruit", "https://fruit.example/")});
    WriteChrome(profile::ChromiumRoots({Leaf("Mail", "https://same.example/", "11"),
                                        Folder("Work", {Leaf("Mail copy", "https://same.example/", "13")}, "12")}));
    profile::FirefoxBookmarks firefox;
    firefox.toolbar = {Leaf("Fox A", "https://a.example/"), Leaf("Fox B", "https://b.example/")};
    auto places = profile::PlacesDatabase::Create();
    EXPECT_TRUE(places.ok() && places->AddBookmarks(firefox).ok() &&
                profile::WriteFirefoxProfile(loc, "abcd.default-release", *places).ok());
    if (staleWorkingCopy) {
      EXPECT_TRUE(profile::WriteSafariBookmarks(loc.safariWorkingCopy(), {Leaf("Stale", "https://stale.example/")}).ok());
    }
    Start();
    Press(kAllBookMarkBtn);
    fingerprint = FolderFingerprint(home.path());
  }
  std::string fingerprint;
};

TEST(UnifiedEdit, RemovalRereadsEveryBrowserWithoutTheSelectedAddresses) {
  const struct {
    bool staleWorkingCopy, flatList, confirm;
    TitleList select, alerts, gone;
  } cases[] = {
      // One address takes every bookmark of its browser; Safari comes from its own file.
      {false, true, true, {"Weather", "Fruit", "Mail", "Fox A"}, {kQuestion}, {"Weather", "Fruit", "Mail", "Mail copy", "Fox A"}},
      {true, true, true, {"Fox B"}, {kQuestion}, {"Fox B"}},
      {false, false, true, {"News", "Weather"}, {kFolderAlert}, {}},  // the folder at the selected row
      {false, true, false, {"Fox B"}, {kQuestion}, {}},               // Cancel
      {false, true, true, {}, {}, {}},
  };
  for (const auto& c : cases) {
    UnifiedHome h(c.staleWorkingCopy);
    SCOPED_TRACE(c.select.empty() ? "" : c.select.front());
    const TitleList every = Titles(h.app->lists().allbookMarkArray), top = h.RowTitles();
    if (c.flatList) h.Press(kUrlListViewBtn);
    h.SelectTitles(c.select);
    if (!c.confirm) h.screen->AnswerNextAlert(AlertButton::Alternate);
    h.Perform(actions::kRemoveSelected);
    EXPECT_EQ(h.screen->alertMessages(), c.alerts);
    for (const auto& a : h.screen->alerts)
      EXPECT_EQ(AlertFieldsOf(a.request), (a.request.message == kQuestion ? AlertFields{kQuestion, " Remove ", "Cancel", "", false, false}
                                                                          : AlertFields{kFolderAlert, " OK ", "", "", false, false}));
    EXPECT_EQ(Titles(h.app->lists().allbookMarkArray), Without(every, c.gone));
    if (!c.gone.empty()) {
      EXPECT_EQ(h.RowTitles(), Without(top, c.gone)) << "the top level again";
    }
    EXPECT_EQ(FolderFingerprint(h.home.path()), h.fingerprint);
  }
}

TEST(UnifiedEdit, MoveTakesTheSelectedBookmarksOutOfTheRowsIntoTheFolder) {
  const struct {
    TitleList made;  // folders, in the order made
    const char* moveTo;
    TitleList select;
    std::size_t target;  // index in `made`
    TitleList children, topRows;
  } cases[] = {
      {{"Later"}, "Later", {"Fox A", "Weather"}, 0, {"Weather", "Fox A"}, {"Later"}},  // in row order
      {{"A", "B"}, "B", {"Mail"}, 1, {"Mail"}, {"B", "A"}},
      {{"A", "B"}, "A", {"Mail"}, 0, {"Mail"}, {"A", "A"}},  // it takes the place of the first made folder
      {{"A", ""}, "", {"Fruit"}, 1, {"Fruit"}, {"", "A"}},
      {{"A", "B"}, "unknown", {"Fruit"}, 0, {"Fruit"}, {"A", "A"}},
      {{"A", "B"}, "A", {"B", "Mail"}, 0, {"Mail"}, {"A"}},  // a selected folder row is dropped
  };
  for (const auto& c : cases) {
    UnifiedHome h;
    SCOPED_TRACE(c.moveTo);
    h.Press(kUrlListViewBtn);
    const TitleList flat = h.RowTitles();
    h.Perform(actions::kNewFolder);
    h.app->SetFieldText(kNewFolderlab, "never made");
    h.Perform(actions::kNewFolderCancel);
    for (const std::string& title : c.made) {
      h.Perform(actions::kNewFolder);
      h.app->SetFieldText(kNewFolderlab, title);
      h.Perform(actions::kNewFolderSave);
    }
    EXPECT_EQ(h.screen->windowsShown, TitleList(c.made.size() + 1, kNewFolderWindow));
    EXPECT_TRUE(h.screen->visibleWindows.empty());
    const NodeList made = h.app->lists().folderArray;
    ASSERT_EQ(Titles(made), c.made);
    const MenuItemModel* menu = h.view().findMenuItem(kMoveFolderMenuItem);
    EXPECT_EQ(menu->enabled ? menu->submenu.size() : 0u, c.made.size());

    h.SelectTitles(c.select);
    h.Perform(actions::kMoveToFolder, c.moveTo);
    EXPECT_EQ(Titles(AsFolder(made[c.target])->childrenSnapshot()), c.children);
    TitleList rows = c.topRows;
    for (const std::string& t : Without(flat, c.select)) rows.push_back(t);
    EXPECT_EQ(h.RowTitles(), rows);
    EXPECT_EQ(Titles(h.app->lists().allbookMarkArray), rows);
    EXPECT_EQ(h.app->lists().folderArray, made);
    EXPECT_EQ(FolderFingerprint(h.home.path()), h.fingerprint);
  }
}

}  // namespace
}  // namespace linvara::testing
