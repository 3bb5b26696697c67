#include <gtest/gtest.h>

#include "app/Outlets.h"
#include "app/ScriptedScreen.h"
#include "edit/EditController.h"
#include "edit/EditTestSupport.h"
#include "edit/EditTexts.h"
#include "edit/ReplacementHistory.h"
#include "readers/BookmarkReadController.h"

namespace linvara::testing {
namespace {

using profile::NestedFolders;

struct EditFixture {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  std::shared_ptr<FakePlatformServices> platform = std::make_shared<FakePlatformServices>();
  BookmarkSession session{AppServices{loc, nullptr, platform, nullptr, screen, nullptr}};
  EditController edit{session};

  // History; Bar > [A, Sub > [B], Secret (encrypted)]; Top; Level 1 > ... > Level 7 > [Bottom]
  EditFixture() {
    const std::string secret = "file://" + home.path().string() + "/Library/Application Support/Linvara/1/encrypt.html";
    Must(profile::WriteSafariBookmarks(
        loc.safariBookmarks(),
        {profile::Proxy("History"),
         Folder("Bar", {Leaf("A", "https://a.example/"), Folder("Sub", {Leaf("B", "https://b.example/")}),
                        Leaf("Secret", secret)}),
         Leaf("Top", "https://top.example/"), NestedFolders(7, Leaf("Bottom", "https://bottom.example/"))}));
    session.bookMarkType = ViewKind::Safari;
    BookmarkReadController(session).ReadSafariBookMark(loc.safariBookmarks());
    session.SetBookmarkTableContent(session.lists().safariFatherArray);
  }
  NodePtr Node(const std::string& path) const { return FindNode(session.lists().safariFatherArray, path); }
  // Shows a folder's rows (or the top level for "") and selects the rows with these titles.
  void Select(const std::string& folder, const std::vector<std::string>& titles) {
    NodeList rows = folder.empty() ? session.lists().safariFatherArray : ChildrenOf(Node(folder));
    session.SetBookmarkTableContent(rows);
    session.UpdateView(viewsection::kBookmarkTable, [&](ViewState& s) {
      for (std::size_t i = 0; i < rows.size(); ++i)
        for (const auto& t : titles)
          if (OrNull(rows[i]->thetitle()) == t) s.bookmarkTable.selection.push_back(i);
    });
  }
  void Type(const std::string& title, const std::string& address) {
    session.UpdateView(viewsection::kTexts, [&](ViewState& s) {
      s.text(outlets::kEditBookMarkNamelab).text = title;
      s.text(outlets::kEditBookMarkURLlab).text = address;
    });
  }
  std::string Shown(const std::string& field) const { return session.viewState().findText(field)->text; }
  ArrayPtr WorkingCopyChildren() const {
    return Must(ReadPropertyListFile(loc.safariWorkingCopy()))->asDict()->getArray("Children");
  }
  std::string LastAlert() const { return screen->alerts.empty() ? "" : screen->alerts.back().request.message; }
};

TEST(EditController, CommandsRewriteTheWorkingCopyAndShowTheTopLevel) {
  struct Case {
    std::string name;
    std::function<void(EditFixture&)> run;
    std::vector<KeyRow> rows;
  };
  const std::vector<Case> cases = {
      {"delete ignores folder rows",
       [](EditFixture& f) {
         f.Select("Bar", {"A", "Sub"});
         ASSERT_TRUE(f.edit.DeleteSafariBookMarkAction().ok());
       },
       {{"Bar", "Children", "Sub|Secret"}}},
      {"edit keeps what an empty field or the mask stand for",
       [](EditFixture& f) {
         f.Select("Bar", {"Secret"});
         ASSERT_TRUE(f.edit.EditSelectedBookMarkAction());
         EXPECT_EQ(f.Shown(outlets::kEditBookMarkURLlab), edittexts::kEncryptedAddressMask);
         f.Type("", edittexts::kEncryptedAddressMask);
         ASSERT_TRUE(f.edit.EditSelectedBookMarkSave().ok());
       },
       {{"Bar/Secret", "URIDictionary", "title=Secret"}}},
      {"editing a folder keeps its subtree",
       [](EditFixture& f) {
         f.Select("", {"Bar"});
         ASSERT_TRUE(f.edit.EditSelectedBookMarkAction());
         f.Type("Bar2", "");
         ASSERT_TRUE(f.edit.EditSelectedBookMarkSave().ok());
       },
       {{"Bar2", "Children", "A|Sub|Secret"}, {"Bar2/Sub", "Children", "B"}}},
      {"move into a level-7 folder",
       [](EditFixture& f) {
         f.Select("Bar", {"A"});
         ASSERT_TRUE(f.edit.MoveSelectedBookMarktoOtherFolderAction("Level 7").ok());
       },
       {{"Level 1/Level 2/Level 3/Level 4/Level 5/Level 6/Level 7", "Children", "Bottom|A"},
        {"Bar", "Children", "Sub|Secret"}}},
      {"move to a title no folder has leaves the tree",
       [](EditFixture& f) {
         f.Select("Bar", {"A"});
         EXPECT_EQ(f.edit.MoveSelectedBookMarktoOtherFolderAction("Nowhere").errorKind(), ErrorKind::NotFound);
         EXPECT_EQ(f.LastAlert(), edittexts::kMoveTargetMissing);
       },
       {{"Bar", "Children", "A|Sub|Secret"}, {"", "Children", "History|Bar|Top|Level 1"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EditFixture f;
    c.run(f);
    ExpectRows(f.WorkingCopyChildren(), c.rows);
    EXPECT_EQ(f.session.viewState().bookmarkTable.content, f.session.lists().safariFatherArray);
    EXPECT_TRUE(f.session.BackButtonShowsHome());
  }
  // The mask never became the address.
  EditFixture f;
  const std::string secret = *f.Node("Bar/Secret")->urlString();
  f.Select("Bar", {"Secret"});
  f.Type("", edittexts::kEncryptedAddressMask);
  ASSERT_TRUE(f.edit.EditSelectedBookMarkSave().ok());
  EXPECT_EQ(f.Node("Bar/Secret")->urlString(), secret);
}

TEST(EditController, FailedWriteIsToldAndLeavesTheTree) {
  EditFixture f;
  f.edit.writeChunk = [](int, const char*, std::size_t) -> long {
    errno = ENOSPC;
    return -1;
  };
  const NodeList before = f.session.lists().safariBookMarkArray;
  f.Select("Bar", {"A"});
  f.Type("Renamed", "");
  EXPECT_FALSE(f.edit.EditSelectedBookMarkSave().ok());
  EXPECT_EQ(f.LastAlert().rfind("Failed to write the working copy: ", 0), 0u) << f.LastAlert();
  EXPECT_EQ(OrNull(f.Node("Bar/A")->thetitle()), "A");
  EXPECT_FALSE(f.edit.DeleteSafariBookMarkAction().ok());
  EXPECT_EQ(f.session.lists().safariBookMarkArray, before);
  EXPECT_FALSE(std::filesystem::exists(f.loc.safariWorkingCopy()));
}

TEST(EditController, EditOutsideTheSafariViewChangesOnlyTheNode) {
  EditFixture f;
  f.session.bookMarkType = ViewKind::All;
  f.Select("Bar", {"A"});
  f.Type("New title", "https://new.example/");
  ASSERT_TRUE(f.edit.EditSelectedBookMarkSave().ok());
  EXPECT_EQ(OrNull(f.Node("Bar/New title")->urlString()), "https://new.example/");
  EXPECT_FALSE(std::filesystem::exists(f.loc.safariWorkingCopy()));
}

TEST(EditController, MoveMenuNestsTheFoldersBelowEachTopLevelFolder) {
  EditFixture f;
  f.edit.BuildSafariMoveMenu();
  const MenuItemModel* menu = f.session.viewState().findMenuItem(outlets::kMoveSafariFolderMenuItem);
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->submenu.size(), 2u);  // History is left out
  EXPECT_EQ(menu->submenu[0].title, "Bar");
  ASSERT_EQ(menu->submenu[0].submenu.size(), 1u);
  EXPECT_EQ(menu->submenu[0].submenu[0].title, "Sub");
  EXPECT_TRUE(menu->submenu[0].submenu[0].submenu.empty());
  const MenuItemModel* deepest = &menu->submenu[1];
  for (int level = 2; level <= 7; ++level) deepest = &deepest->submenu.at(0);
  EXPECT_EQ(deepest->title, "Level 7");
  EXPECT_EQ(deepest->action, "MoveSelectedBookMarktoOtherFolderAction:");
}

TEST(EditController, ApplyAndRestoreKeepTheReplacedFilesAndRefuseWhileSafariRuns) {
  EditFixture f;
  const std::string own = ReadText(f.loc.safariBookmarks());
  WriteText(f.loc.backupFolder() / Locations::kSafariBackupName, "first start");
  f.Select("", {"Top"});
  ASSERT_TRUE(f.edit.DeleteSafariBookMarkAction().ok());

  f.platform->running = {bundleids::kSafari};
  f.edit.ReplaceSafariBookMark();
  EXPECT_EQ(f.LastAlert(), "Quit Safari before applying the changes.");
  f.screen->AnswerNextAlert(AlertButton::Default);
  f.edit.RestoreSafariBookMakrAction();
  EXPECT_EQ(f.LastAlert(), "Quit Safari before restoring the bookmarks.");
  EXPECT_EQ(ReadText(f.loc.safariBookmarks()), own);

  f.platform->running.clear();
  f.edit.ReplaceSafariBookMark();
  EXPECT_EQ(ReadText(f.loc.safariBookmarks()), ReadText(f.loc.safariWorkingCopy()));
  f.screen->AnswerNextAlert(AlertButton::Alternate);  // "Cancel"
  f.edit.RestoreSafariBookMakrAction();
  EXPECT_EQ(f.LastAlert(), edittexts::kRestoreSafariQuestion);
  EXPECT_EQ(ReadText(f.loc.safariBookmarks()), ReadText(f.loc.safariWorkingCopy()));
  f.edit.RestoreSafariBookMakrAction();
  EXPECT_EQ(ReadText(f.loc.safariBookmarks()), "first start");
  EXPECT_EQ(HistoryOf(f.loc.backupFolder() / "History", "Safari").size(), 2u);

  f.edit.writeChunk = [](int, const char*, std::size_t) -> long {
    errno = EIO;
    return -1;
  };
  f.edit.ReplaceSafariBookMark();
  EXPECT_EQ(f.LastAlert(), edittexts::PermissionProblem());
  EXPECT_EQ(ReadText(f.loc.safariBookmarks()), "first start");
}

}  // namespace
}  // namespace linvara::testing
