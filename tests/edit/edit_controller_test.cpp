// The editing controller on a Safari tree, and the replacement of the browsers' files with the working
// copies or the first-start backups, each replaced file kept in the history.
#include <gtest/gtest.h>

#include "app/Outlets.h"
#include "app/ScriptedScreen.h"
#include "edit/BrowserFileReplacement.h"
#include "edit/EditController.h"
#include "edit/EditTestSupport.h"
#include "edit/EditTexts.h"
#include "edit/ReplacementHistory.h"
#include "model/Json.h"
#include "readers/BookmarkReadController.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct EditFixture {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  std::shared_ptr<FakePlatformServices> platform = std::make_shared<FakePlatformServices>();
  BookmarkSession session{AppServices{loc, nullptr, platform, nullptr, screen, nullptr, ""}};
  EditController edit{session};

  // History; Bar > [A, Sub > [B], Secret (encrypted)]; Top
  EditFixture() {
    const std::string secret = "file://" + home.path().string() + "/Library/Application Support/Linvara/1/encrypt.html";
    Must(profile::WriteSafariBookmarks(
        loc.safariBookmarks(),
        {profile::Proxy("History"),
         Folder("Bar", {Leaf("A", "https://a.example/"), Folder("Sub", {Leaf("B", "https://b.example/")}),
                        Leaf("Secret", secret)}),
         Leaf("Top", "https://top.example/")}));
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

struct Home {
  TempDir dir;
  Locations loc = Locations::ForHome(dir.path(), Layout::MacOS);
  ReplaceOptions at(int second) const {
    ReplaceOptions o;
    o.now = std::chrono::system_clock::time_point{} + 1'800'000'000s + std::chrono::seconds(second);
    return o;
  }
};

std::vector<std::string> Names(const std::vector<fs::path>& paths) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(p.filename().string());
  return out;
}

TEST(BrowserFileReplacement, MissingSourceWritesNothing) {
  const std::vector<std::pair<std::string, std::function<Result<fs::path>(const Locations&)>>> cases = {
      {"apply Safari", [](const Locations& l) { return ReplaceSafariBookMark(l); }},
      {"apply Chrome", [](const Locations& l) { return ReplaceChromeBookMark(l); }},
      {"restore Safari", [](const Locations& l) { return RestoreBookMark(l, BrowserFile::Safari); }},
      {"restore Chrome", [](const Locations& l) { return RestoreBookMark(l, BrowserFile::Chrome); }},
  };
  for (const auto& [name, run] : cases) {
    SCOPED_TRACE(name);
    Home h;
    WriteText(h.loc.safariBookmarks(), "own");
    WriteText(h.loc.chromeDefaultBookmarks(), "own");
    const std::string before = FolderFingerprint(h.dir.path());
    auto result = run(h.loc);
    EXPECT_EQ(result.errorKind(), ErrorKind::NotFound);
    EXPECT_EQ(FolderFingerprint(h.dir.path()), before);
  }
}

TEST(BrowserFileReplacement, ChromeWriteBackHasNoChecksumAndRootsAsAnObject) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"({"checksum": "c", "roots": {"bookmark_bar": {"type": "folder"}, "other": {"type": "folder"}}, "version": 1})",
       R"({"roots": {"bookmark_bar": {"type": "folder"}, "other": {"type": "folder"}}, "version": 1})"},
      {R"({"checksum": "c", "roots": [{"type": "folder"}, {"type": "folder", "name": "o"}]})",
       R"({"roots": {"bookmark_bar": {"type": "folder"}, "other": {"type": "folder", "name": "o"}}})"},
  };
  for (const auto& [workingCopy, expected] : cases) {
    Home h;
    WriteText(h.loc.chromeWorkingCopy(), workingCopy);
    WriteText(h.loc.chromeDefaultBookmarks(), "own");
    WriteText(h.loc.chromeDefaultBookmarks().parent_path() / "Bookmarks.bak", "bak");
    ASSERT_TRUE(ReplaceChromeBookMark(h.loc).ok());
    EXPECT_EQ(*ReadJsonFile(h.loc.chromeDefaultBookmarks()), *ParseJson(expected));
    EXPECT_FALSE(fs::exists(h.loc.chromeDefaultBookmarks().parent_path() / "Bookmarks.bak"));
  }
}

TEST(BrowserFileReplacement, ChromeRestoreGoesToTheProfileInUse) {
  Home h;
  WriteText(h.loc.chromeProfile2Bookmarks(), "profile 2");
  WriteText(h.loc.chromeProfile2Bookmarks().parent_path() / "Bookmarks.bak", "bak");
  WriteText(h.loc.backupFolder() / Locations::kChromeBackupName, "first start");
  ASSERT_TRUE(RestoreBookMark(h.loc, BrowserFile::Chrome).ok());
  EXPECT_EQ(ReadText(h.loc.chromeProfile2Bookmarks()), "first start");
  EXPECT_FALSE(fs::exists(h.loc.chromeDefaultBookmarks()));
  EXPECT_EQ(ReadText(h.loc.chromeProfile2Bookmarks().parent_path() / "Bookmarks.bak"), "bak");
}

TEST(ReplacementHistory, KeepsTheNewestTwentyOfEachBrowser) {
  Home h;
  WriteText(h.dir / "file", "x");
  const fs::path folder = HistoryFolder(h.loc);
  ASSERT_TRUE(KeepInHistory(folder, "Chrome", "json", h.dir / "file", h.at(0).now).ok());
  for (int i = 0; i < 25; ++i) ASSERT_TRUE(KeepInHistory(folder, "Safari", "plist", h.dir / "file", h.at(i / 12).now).ok());
  auto safari = Names(HistoryOf(folder, "Safari"));
  ASSERT_EQ(safari.size(), kHistoryKept);
  EXPECT_EQ(safari.front(), "Safari-20270115T080000Z-6.plist");
  EXPECT_EQ(safari.back(), "Safari-20270115T080002Z.plist");
  EXPECT_EQ(HistoryOf(folder, "Chrome").size(), 1u);
}

}  // namespace
}  // namespace linvara::testing
