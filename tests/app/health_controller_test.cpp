// The controller's link-health commands on a generated home: the scan and the
// duplicate search run on workers and hand over through the queued dispatcher.
#include <gtest/gtest.h>

#include "PresenterFixture.h"
#include "app/Actions.h"
#include "health/HealthTestSupport.h"
#include "model/FileBytes.h"

namespace linvara::testing {
namespace {

using std::chrono::milliseconds;
using Titled = std::vector<std::string>;
constexpr const char* kDeadLinksRemoved = "The selected unreachable bookmark links has been deleted";

Titled LeafTitles(const NodeList& nodes) {
  Titled titles;
  for (const NodePtr& n : nodes)
    if (n->isLeaf()) titles.push_back(OrNull(n->thetitle()));
  return titles;
}

struct HealthHome : PresenterHome {
  Titled events;

  AppDelegate& StartWatched() {
    AppDelegate& a = Start();
    a.linkHealth().deadLinkProbeSettings.timeout = milliseconds(1000);
    a.linkHealth().deadLinkProbeSettings.retryDelay = milliseconds(0);
    auto& o = a.linkHealth().observers;
    o.deadLinkFound = [this](const NodePtr& n) { events.push_back("found " + OrNull(n->thetitle())); };
    o.deadScanFinished = [this] { events.push_back("finished"); };
    o.duplicatesFound = [this] { events.push_back("duplicates"); };
    o.duplicateTicksChanged = [this] { events.push_back("ticks"); };
    return a;
  }
  void ScanDeadLinks() {
    app->FindAllDeadURLBookMarksAction();
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return !app->linkHealth().deadURLScanRunning(); }, 20000));
  }
  // Unticks the rows of a result table whose titles start with `prefix`.
  void Untick(TableId table, const std::string& prefix) {
    const NodeList rows = view().table(table)->content;
    for (std::size_t row = 0; row < rows.size(); ++row)
      if (OrNull(rows[row]->thetitle()).starts_with(prefix)) app->CheckTheFileAction(table, row);
  }
  std::string Bytes(const std::filesystem::path& file) const { return ReadFileBytes(file).valueOr(""); }
  // The Safari view of A, B (in the favourites bar), C at one address, D and F at
  // another, E alone (its scheme is upper case), searched for duplicates.
  AppDelegate& FindSafariDuplicates() {
    auto favouritesBar = Dictionary::make();
    favouritesBar->set("ServerID", "Favorites Bar");
    using profile::Leaf;
    WriteSafari({Leaf("A", "http://same.example/"),
                 profile::WithKey(profile::Folder("BookmarksBar", {Leaf("B", "https://same.example/")}), "Sync",
                                  favouritesBar),
                 Leaf("C", "http://same.example/"), Leaf("D", "http://other.example/"),
                 Leaf("E", "HTTP://other.example/"), Leaf("F", "http://other.example/")});
    AppDelegate& a = StartWatched();
    Press(outlets::kSafariBookMarkBtn);
    a.FindAllDuplicateBookMarksAction();
    EXPECT_TRUE(dispatcher->PumpUntil([&] { return !a.linkHealth().duplicateSearchRunning(); }));
    return a;
  }
};

TEST(HealthController, TheScanListsTheUnreachableBookmarksOfTheChromeViewInOrder) {
  LoopbackHttpServer server;
  HealthHome h;
  using profile::Leaf;
  h.WriteChrome(profile::ChromiumRoots(
      {Leaf("Refused", LoopbackHttpServer::RefusedUrl()), Leaf("Fine", server.url("/ok")),
       profile::Folder("Inner", {Leaf("Gone page", server.url("/missing")), Leaf("Garbage", "not an address")})},
      {Leaf("Loop", server.url("/loop")), Leaf("Bookmarklet", "javascript:void(0)")}));
  AppDelegate& app = h.StartWatched();
  h.ScanDeadLinks();  // no view yet: it ends at once with nothing found
  EXPECT_EQ(h.events, (Titled{"finished"}));
  EXPECT_EQ(h.view().findText(outlets::kShowDeadBookmarklab)->text, "Find 0 unreachable bookmark links.");
  h.events.clear();
  h.Press(outlets::kChromeBookMarkBtn);
  app.lists().deadURLArray.push_back(PRBookMarkNode::Create());  // left over from an earlier scan

  app.FindAllDeadURLBookMarksAction();
  EXPECT_TRUE(app.linkHealth().deadURLScanRunning());
  EXPECT_TRUE(app.lists().deadURLArray.empty());
  EXPECT_EQ(h.screen->windowsShown, Titled(2, outlets::kDeadURLWindow));  // once a scan
  EXPECT_EQ(*h.view().findProgress(outlets::kThedealurlProgresser), (ProgressState{0, 5, "0 of 5 checked", false}));
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }, 20000));
  h.dispatcher->Pump();

  EXPECT_EQ(Titles(app.lists().deadURLArray), (Titled{"Refused", "Garbage"}));
  EXPECT_EQ(h.events, (Titled{"found Refused", "found Garbage", "finished"}));
  for (const NodePtr& node : app.lists().chromebookMarkArray) {
    const bool listed = node->bDeadURL();
    EXPECT_EQ(node->bSelect(), listed);
    EXPECT_EQ(listed, OrNull(node->thetitle()) == "Refused" || OrNull(node->thetitle()) == "Garbage");
  }
}

TEST(HealthController, ANewScanSilencesTheScanBefore) {
  LoopbackHttpServer server;
  HealthHome h;
  AppDelegate& app = h.StartWatched();
  app.linkHealth().deadLinkProbeSettings.timeout = milliseconds(30000);
  app.session().bookMarkType = ViewKind::All;
  NodePtr hanging = Leaf("Hangs", server.url("/hang")), dead = Leaf("Dead", LoopbackHttpServer::RefusedUrl());
  app.lists().allbookMarkArray = {hanging, dead};

  app.linkHealth().StartScanDeadURlThread();
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return server.inFlight() == 1; }));
  app.lists().allbookMarkArray = {dead};
  app.linkHealth().StartScanDeadURlThread();  // the first scan stops; only the second reports
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }, 10000));
  EXPECT_EQ(h.events, (Titled{"found Dead", "finished"}));
  EXPECT_FALSE(hanging->bDeadURL());
}

// Slow pages probed one at a time: without a stop they would go on being requested.
TEST(HealthController, CancelStopsTheRequestsAndClosesTheSheet) {
  LoopbackHttpServer server;
  HealthHome h;
  AppDelegate& app = h.StartWatched();
  app.linkHealth().deadLinkProbeSettings.perHost = 1;
  app.session().bookMarkType = ViewKind::All;
  for (int i = 0; i < 40; ++i) app.lists().allbookMarkArray.push_back(Leaf("Slow", server.url("/slow/50/" + std::to_string(i))));

  app.FindAllDeadURLBookMarksAction();
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return server.requests() >= 2; }));
  ASSERT_TRUE(h.Perform(actions::kCancelDeadLinks));
  EXPECT_FALSE(app.linkHealth().deadURLScanRunning());
  EXPECT_FALSE(h.screen->IsWindowVisible(outlets::kDeadURLWindow));
  EXPECT_EQ(*h.view().findText(outlets::kShowDeadBookmarklab), (TextState{"", true}));
  h.dispatcher->PumpUntil([] { return false; }, 150);  // requests sent before the stop arrive
  const int requestsAtCancel = server.requests();
  h.dispatcher->PumpUntil([] { return false; }, 600);
  EXPECT_EQ(server.requests(), requestsAtCancel);
  EXPECT_LT(requestsAtCancel, 40);
  EXPECT_TRUE(h.events.empty());
}

// A removal leaves nothing behind that would stop the next scan: it probes again.
TEST(HealthController, ASecondScanAfterARemovalProbesAgain) {
  LoopbackHttpServer server;
  HealthHome h;
  h.WriteChrome(profile::ChromiumRoots(
      {profile::Leaf("Fine", server.url("/ok")), profile::Leaf("Dead", LoopbackHttpServer::RefusedUrl())}));
  AppDelegate& app = h.StartWatched();
  h.Press(outlets::kAllBookMarkBtn);
  const Titled foundPerRound[] = {{"Dead"}, {}};
  for (int round = 1; round <= 2; ++round) {
    h.ScanDeadLinks();
    EXPECT_EQ(std::pair(server.requestsFor("/ok"), Titles(app.lists().deadURLArray)),
              std::pair(round, foundPerRound[round - 1]));
    ASSERT_TRUE(h.Perform(actions::kRemoveDeadLinks));
  }
  EXPECT_EQ(h.screen->alertMessages(), Titled{"The selected unreachable bookmark links has been deleted"});
}

// Each press toggles the ticks (which members they leave, see the removal below);
// a new search does not reset the toggle.
TEST(HealthController, AutomaticTicksToggleWithEachPress) {
  HealthHome h;
  AppDelegate& app = h.FindSafariDuplicates();
  app.AutoSelectDuplicationBookAction();
  app.AutoSelectDuplicationBookAction();
  for (const auto& group : app.lists().duplicateArray)
    for (const auto& m : DuplicateGroupMembers(group)) EXPECT_FALSE(m->bSelect()) << OrNull(m->thetitle());
  EXPECT_EQ(h.events, (Titled{"duplicates", "ticks", "ticks"}));

  app.AutoSelectDuplicationBookAction();
  app.FindAllDuplicateBookMarksAction();
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().duplicateSearchRunning(); }));
  EXPECT_TRUE(app.linkHealth().bAutoSelect);
  app.AutoSelectDuplicationBookAction();
  EXPECT_FALSE(app.linkHealth().bAutoSelect);
}

// Each browser holds a dead bookmark in a folder, a live one beside it, and at
// the top level a second bookmark at the dead address that the user unticks.
struct DeadLinkHome : HealthHome {
  LoopbackHttpServer server;
  explicit DeadLinkHome() {
    using profile::Folder, profile::Leaf;
    const std::string deadS = LoopbackHttpServer::RefusedUrl("/s"), deadC = LoopbackHttpServer::RefusedUrl("/c");
    WriteSafari({Folder("News", {Leaf("Dead S", deadS), Leaf("Live S", server.url("/ok"))}), Leaf("Kept S", deadS)});
    WriteChrome(profile::ChromiumRoots({Folder("Work", {Leaf("Dead C", deadC), Leaf("Live C", server.url("/ok"))}),
                                        Leaf("Kept C", deadC)}));
    SuppressReminder();
  }
  // Scans the view the button opens, unticks the "Kept" rows and presses Remove.
  void ScanAndRemove(const char* button, bool safariStartsFirst = false) {
    StartWatched();
    Press(button);
    ScanDeadLinks();
    Untick(TableId::DeadUrl, "Kept");
    if (safariStartsFirst) platform->running.push_back(bundleids::kSafari);
    ASSERT_TRUE(Perform(actions::kRemoveDeadLinks));
  }
};

// What leaves and what stays in each view, and what is written where; in the
// Safari view nothing is written unless the user confirms while Safari is closed.
TEST(HealthController, RemovingDeadLinksReachesWhatTheViewWritesTo) {
  const std::string question = "Remove 1 bookmark from Safari? Safari's file is changed now; the previous file is kept "
                               "in the backup history.";
  const Titled untouchedSafari = {"Dead S", "Live S", "Kept S"};
  const struct {
    const char* button;
    AlertButton answer;
    bool safariRuns;
    Titled left;  // the view's bookmarks after the removal
    Titled alerts;
    bool safariReplaced, safariCopy, chromeCopy;
  } cases[] = {
      {outlets::kSafariBookMarkBtn, AlertButton::Default, false, {"Live S", "Kept S"}, {question, kDeadLinksRemoved}, true, true, false},
      {outlets::kSafariBookMarkBtn, AlertButton::Alternate, false, untouchedSafari, {question}, false, false, false},
      {outlets::kSafariBookMarkBtn, AlertButton::Default, true, untouchedSafari, {"Quit Safari before applying the changes."}, false, false, false},
      {outlets::kChromeBookMarkBtn, AlertButton::Default, false, {"Live C", "Kept C"}, {kDeadLinksRemoved}, false, false, true},
      // The re-read leaves out every bookmark of the browser at a removed address.
      {outlets::kAllBookMarkBtn, AlertButton::Default, false, {"Live S", "Live C"}, {kDeadLinksRemoved}, false, false, false},
  };
  for (const auto& c : cases) {
    DeadLinkHome h;
    const std::string safari = h.Bytes(h.loc.safariBookmarks()), chrome = h.Bytes(h.loc.chromeDefaultBookmarks());
    h.screen->AnswerNextAlert(c.answer);
    h.ScanAndRemove(c.button, c.safariRuns);
    const std::string what = c.button + std::string(c.safariRuns ? " while Safari runs" : "");
    EXPECT_EQ(LeafTitles(h.app->session().FlatList()), c.left) << what;
    EXPECT_EQ(h.screen->alertMessages(), c.alerts) << what;
    EXPECT_EQ(h.screen->IsWindowVisible(outlets::kDeadURLWindow), c.alerts.back() != kDeadLinksRemoved) << what;
    EXPECT_EQ(h.Bytes(h.loc.safariBookmarks()) != safari, c.safariReplaced) << what;
    EXPECT_EQ(std::filesystem::exists(h.loc.safariWorkingCopy()), c.safariCopy) << what;
    EXPECT_EQ(std::filesystem::exists(h.loc.chromeWorkingCopy()), c.chromeCopy) << what;
    EXPECT_EQ(h.Bytes(h.loc.chromeDefaultBookmarks()), chrome) << what;
    if (!c.safariReplaced) continue;
    EXPECT_EQ(h.Bytes(h.loc.safariBookmarks()), h.Bytes(h.loc.safariWorkingCopy()));
    EXPECT_FALSE(std::filesystem::is_empty(HistoryFolder(h.loc)));  // the previous file is kept
    h.Press(outlets::kSafariBookMarkBtn);  // Safari's own file, read again
    EXPECT_EQ(LeafTitles(h.app->lists().safariBookMarkArray), c.left);
  }
}

// Results found before the view was read again name nodes no longer shown:
// Remove refuses them and writes nothing.
TEST(HealthController, RemoveRefusesResultsFoundBeforeAReRead) {
  for (const HealthResults which : {HealthResults::DeadLinks, HealthResults::Duplicates}) {
    DeadLinkHome h;
    AppDelegate& app = h.StartWatched();
    h.Press(outlets::kChromeBookMarkBtn);
    const std::function<void()> rereads[] = {
        [&] { h.Press(outlets::kChromeBookMarkBtn); },                    // the view loaded again
        [&] { app.ReadChromeBookMark(h.loc.chromeDefaultBookmarks()); },  // a working copy read back
    };
    for (const auto& reread : rereads) {
      if (which == HealthResults::DeadLinks) {
        h.ScanDeadLinks();  // ticks what it finds
      } else {
        app.FindAllDuplicateBookMarksAction();
        ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().duplicateSearchRunning(); }));
        app.CheckTheFileAction(TableId::RightDup, 1);  // Kept C, at Dead C's address
      }
      EXPECT_FALSE(app.linkHealth().RefuseOutdatedResults(which));
      reread();
      ASSERT_TRUE(h.Perform(which == HealthResults::DeadLinks ? actions::kRemoveDeadLinks : actions::kRemoveDuplicates));
      EXPECT_EQ(AlertFieldsOf(h.screen->alerts.back().request),
                AlertFields("The bookmarks changed since the search; search again.", " Ok ", "", "", true, false));
      EXPECT_FALSE(std::filesystem::exists(h.loc.chromeWorkingCopy()));
    }
  }
}

// The automatic ticks removed: one member of each group stays, the first favourite too.
TEST(HealthController, RemovingDuplicatesKeepsTheUntickedMembers) {
  for (const bool safariSearch : {false, true}) {
    HealthHome h;
    h.SuppressReminder();
    AppDelegate& app = h.FindSafariDuplicates();
    EXPECT_EQ(h.screen->windowsShown, Titled{outlets::kFindDupWindow});
    if (safariSearch) {
      // The Safari view's own search runs at once and keys on the exact address.
      ASSERT_TRUE(h.Perform(actions::kFindSafariDuplicates));
      EXPECT_EQ(Titles(app.lists().duplicateArray), (Titled{"A", "D"}));
      EXPECT_EQ(Titles(DuplicateGroupMembers(app.lists().duplicateArray[0])), (Titled{"A", "C"}));
    }
    app.AutoSelectDuplicationBookAction();
    ASSERT_TRUE(h.Perform(actions::kRemoveDuplicates));
    EXPECT_EQ(h.screen->alertMessages(),
              (Titled{"Remove 2 bookmarks from Safari? Safari's file is changed now; the previous file is kept in the "
                      "backup history.",
                      "The selected duplicate bookmarks has been deleted"}));
    EXPECT_EQ(LeafTitles(app.lists().safariBookMarkArray), (Titled{"A", "B", "D", "E"}));
    EXPECT_TRUE(app.lists().duplicateArray.empty());
    EXPECT_FALSE(h.screen->IsWindowVisible(outlets::kFindDupWindow));
  }
}

// Empty top-level folders: the unified view drops them from what it shows, the
// Safari view from its working copy; neither touches a browser's file.
TEST(HealthController, EmptyTopLevelFoldersLeaveTheViewTheCommandWorksOn) {
  using profile::Folder, profile::Leaf;
  const struct {
    const char* button;
    const char* action;
    Titled topLevel;  // the rows shown after the command
    bool safariCopy;
  } cases[] = {
      {outlets::kAllBookMarkBtn, actions::kRemoveEmptyFolders, {"Full", "Loose", "Bookmarks bar"}, false},
      {outlets::kSafariBookMarkBtn, actions::kRemoveSafariEmptyFolders, {"Full", "Loose"}, true},
      // Each command is refused in the other's view: nothing changes.
      {outlets::kAllBookMarkBtn, actions::kRemoveSafariEmptyFolders,
       {"Hollow", "Full", "History", "Loose", "Bookmarks bar", "Other bookmarks"}, false},
      {outlets::kSafariBookMarkBtn, actions::kRemoveEmptyFolders, {"Hollow", "Full", "History", "Loose"}, false},
  };
  for (const auto& c : cases) {
    HealthHome h;
    h.SuppressReminder();
    h.WriteSafari({Folder("Hollow", {Folder("Inner", {}), Folder("Deeper", {Folder("Deepest", {})})}),
                   Folder("Full", {Folder("Empty inside", {}), Folder("Sub", {Leaf("Page", "https://p.example/")})}),
                   profile::Proxy("History"), Leaf("Loose", "https://l.example/")});
    h.WriteChrome(profile::ChromiumRoots({Leaf("Bar page", "https://b.example/")}, {}));
    h.StartWatched();
    h.Press(c.button);
    const std::string before = FolderFingerprint(h.home.path());
    ASSERT_TRUE(h.Perform(c.action));
    EXPECT_EQ(h.RowTitles(), c.topLevel) << c.action << " in " << c.button;
    EXPECT_EQ(std::filesystem::exists(h.loc.safariWorkingCopy()), c.safariCopy) << c.action;
    if (!c.safariCopy) {
      EXPECT_EQ(FolderFingerprint(h.home.path()), before) << c.action;
      continue;
    }
    // The working copy read back: the kept folders keep their empty subfolders.
    EXPECT_EQ(Titles(h.app->lists().safariFatherArray), (Titled{"Full", "Loose"}));
    EXPECT_EQ(Titles(AsFolder(h.app->lists().safariFatherArray[0])->childrenSnapshot()), (Titled{"Empty inside", "Sub"}));
    h.Press(outlets::kSafariBookMarkBtn);  // Safari's own file is unchanged until applied
    EXPECT_EQ(h.RowTitles(), (Titled{"Hollow", "Full", "History", "Loose"}));
  }
}

}  // namespace
}  // namespace linvara::testing
