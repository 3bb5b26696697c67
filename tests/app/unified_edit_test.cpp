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
constexpr const char* kRemoveQuestion = "Are you sure you want to remove the bookmark from the list ?";

// Safari, Chrome (one address twice) and Firefox, read by the All Bookmarks button.
struct UnifiedHome : PresenterHome {
  explicit UnifiedHome(bool staleSafariWorkingCopy = false) {
    WriteSafari({Folder("News", {Leaf("Paper", "https://paper.example/")}), Leaf("Weather", "https://weather.example/"),
                 Leaf("Fruit", "https://fruit.example/")});
    WriteChrome(profile::ChromiumRoots({Leaf("Mail", "https://same.example/", "11"),
                                        Folder("Work", {Leaf("Mail copy", "https://same.example/", "13")}, "12"),
                                        Leaf("Docs", "https://docs.example/", "14")}));
    profile::FirefoxBookmarks firefox;
    firefox.toolbar = {Leaf("Fox A", "https://a.example/"), Leaf("Fox B", "https://b.example/")};
    auto places = profile::PlacesDatabase::Create();
    EXPECT_TRUE(places.ok() && places->AddBookmarks(firefox).ok());
    EXPECT_TRUE(profile::WriteFirefoxProfile(loc, "abcd.default-release", *places).ok());
    if (staleSafariWorkingCopy) {
      // Left by a previous run's Safari view: it must not show in the unified view.
      auto written = profile::WriteSafariBookmarks(loc.safariWorkingCopy(), {Leaf("Stale", "https://stale.example/")});
      EXPECT_TRUE(written.ok());
    }
    Start();
    Press(kAllBookMarkBtn);
  }
  void Send(const char* action, const std::string& title = {}) {
    MenuItemModel item;
    item.action = action;
    item.title = title;
    app->PerformMenuAction(item);
  }
  TitleList Titles(const NodeList& nodes) const {
    TitleList t;
    for (const NodePtr& n : nodes) t.push_back(OrNull(n->thetitle()));
    return t;
  }
};

TitleList Without(TitleList from, const TitleList& gone) {
  from.erase(std::remove_if(from.begin(), from.end(),
                            [&](const std::string& t) { return std::count(gone.begin(), gone.end(), t) > 0; }),
             from.end());
  return from;
}

TEST(UnifiedEdit, RemovalRereadsEveryBrowserWithoutTheSelectedAddresses) {
  const struct {
    const char* name;
    bool staleWorkingCopy;
    bool flatList;  // select in the list of every bookmark, else in the top level
    TitleList select;
    bool confirm;
    TitleList alerts;
    TitleList gone;  // leave the list of every bookmark
  } cases[] = {
      {"one Chrome address takes both of its bookmarks", false, true, {"Mail"}, true, {kRemoveQuestion},
       {"Mail", "Mail copy"}},
      {"a Firefox bookmark leaves its neighbour", true, true, {"Fox A"}, true, {kRemoveQuestion}, {"Fox A"}},
      {"Safari from its own file, no working copy", false, true, {"Weather", "Fruit", "Fox B"}, true,
       {kRemoveQuestion}, {"Weather", "Fruit", "Fox B"}},
      {"Safari from its own file, not a stale working copy", true, true, {"Weather"}, true, {kRemoveQuestion},
       {"Weather"}},
      {"a folder at the selected row stops it", false, false, {"News", "Weather"}, true, {kFolderAlert}, {}},
      {"Cancel stops it", false, true, {"Docs"}, false, {kRemoveQuestion}, {}},
      {"nothing selected, nothing asked", false, true, {}, true, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UnifiedHome h(c.staleWorkingCopy);
    const std::string home = FolderFingerprint(h.home.path());
    const TitleList before = h.Titles(h.app->lists().allbookMarkArray);
    const TitleList rowsBefore = h.RowTitles();
    if (c.flatList) h.Press(kUrlListViewBtn);
    h.SelectTitles(c.select);
    if (!c.confirm) h.screen->AnswerNextAlert(AlertButton::Alternate);

    h.Send(actions::kRemoveSelected);

    EXPECT_EQ(h.screen->alertMessages(), c.alerts);
    for (const auto& shown : h.screen->alerts) {
      const bool question = shown.request.message == kRemoveQuestion;
      EXPECT_EQ(AlertFieldsOf(shown.request),
                (AlertFields{shown.request.message, question ? " Remove " : " OK ", question ? "Cancel" : "", "",
                             false, false}));
    }
    EXPECT_EQ(h.Titles(h.app->lists().allbookMarkArray), Without(before, c.gone));
    const bool removed = c.confirm && c.alerts == TitleList{kRemoveQuestion};
    if (removed) {
      EXPECT_EQ(h.RowTitles(), Without(rowsBefore, c.gone)) << "the top level, rebuilt";
    }
    EXPECT_EQ(FolderFingerprint(h.home.path()), home);
  }
}

TEST(UnifiedEdit, FoldersTakeTheSelectedBookmarksOutOfTheList) {
  const struct {
    const char* name;
    TitleList made;  // folders made, in order
    const char* moveTo;
    TitleList select;
    std::size_t target;   // index in `made` of the folder that receives
    TitleList children;   // its children afterwards
    TitleList topRows;    // the rows of made folders afterwards
  } cases[] = {
      {"two bookmarks, in row order", {"Later"}, "Later", {"Fox A", "Weather"}, 0, {"Weather", "Fox A"}, {"Later"}},
      {"a new folder is the first row", {"A", "B"}, "B", {"Docs"}, 1, {"Docs"}, {"B", "A"}},
      {"the target replaces the first made folder", {"A", "B"}, "A", {"Docs"}, 0, {"Docs"}, {"A", "A"}},
      {"an empty name is chosen by its empty title", {"A", ""}, "", {"Fruit"}, 1, {"Fruit"}, {"", "A"}},
      {"an unknown title falls back to the first folder", {"A", "B"}, "C", {"Fruit"}, 0, {"Fruit"}, {"A", "A"}},
      {"a selected folder row is dropped, not moved", {"A", "B"}, "A", {"B", "Mail"}, 0, {"Mail"}, {"A"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UnifiedHome h;
    const std::string home = FolderFingerprint(h.home.path());
    h.Press(kUrlListViewBtn);
    const TitleList flat = h.RowTitles();
    h.app->SetFieldText(kNewFolderlab, "never made");
    h.Send(actions::kNewFolder);
    h.Send(actions::kNewFolderCancel);
    for (const std::string& title : c.made) {
      h.Send(actions::kNewFolder);
      h.app->SetFieldText(kNewFolderlab, title);
      h.Send(actions::kNewFolderSave);
    }
    EXPECT_EQ(h.screen->windowsShown, TitleList(c.made.size() + 1, kNewFolderWindow));
    EXPECT_FALSE(h.screen->IsWindowVisible(kNewFolderWindow));
    const NodeList made = h.app->lists().folderArray;
    ASSERT_EQ(h.Titles(made), c.made);
    for (const NodePtr& f : made)
      EXPECT_EQ((TitleList{OrNull(f->bookMarkUUID()), OrNull(f->urlString()), OrNull(f->bookMarkFrom()),
                           OrNull(f->bookMarkType()), f->fatherItem() ? "father" : "", AsFolder(f)->itemDict() ? "dict" : ""}),
                (TitleList{"Folder", "", "Folder", "Folder", "", ""}));
    const MenuItemModel* menu = h.view().findMenuItem(kMoveFolderMenuItem);
    ASSERT_TRUE(menu && menu->enabled);
    TitleList entries;
    for (const MenuItemModel& e : menu->submenu) entries.push_back(e.title);
    EXPECT_EQ(entries, c.made);

    h.SelectTitles(c.select);
    h.Send(actions::kMoveToFolder, c.moveTo);

    EXPECT_EQ(h.Titles(AsFolder(made[c.target])->childrenSnapshot()), c.children);
    TitleList rows = c.topRows;
    for (const std::string& t : Without(flat, c.select)) rows.push_back(t);
    EXPECT_EQ(h.RowTitles(), rows);
    EXPECT_EQ(h.Titles(h.app->lists().allbookMarkArray), rows);
    EXPECT_EQ(h.app->lists().folderArray, made);
    EXPECT_EQ(FolderFingerprint(h.home.path()), home);
  }
}

}  // namespace
}  // namespace linvara::testing
