// The controller's link-health commands on a generated home: the scan and the
// duplicate search run on workers and hand over through the queued dispatcher.
#include <gtest/gtest.h>

#include "PresenterFixture.h"
#include "app/Actions.h"
#include "health/HealthTestSupport.h"

namespace linvara::testing {
namespace {

using std::chrono::milliseconds;
using Titled = std::vector<std::string>;

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
  h.Press(outlets::kChromeBookMarkBtn);
  app.lists().deadURLArray.push_back(PRBookMarkNode::Create());  // left over from an earlier scan

  app.FindAllDeadURLBookMarksAction();
  EXPECT_TRUE(app.linkHealth().deadURLScanRunning());
  EXPECT_TRUE(app.lists().deadURLArray.empty());
  EXPECT_EQ(h.screen->windowsShown, Titled{outlets::kDeadURLWindow});
  EXPECT_EQ(*h.view().findProgress(outlets::kThedealurlProgresser), (ProgressState{0, 5, "0 of 5 checked", false}));
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }, 20000));
  h.dispatcher->Pump();

  EXPECT_EQ(Titles(app.lists().deadURLArray), (Titled{"Refused", "Garbage"}));
  EXPECT_EQ(app.viewState().deadUrlTable.content, app.lists().deadURLArray);  // what the sheet draws
  EXPECT_EQ(h.events, (Titled{"found Refused", "found Garbage", "finished"}));
  EXPECT_EQ(*h.view().findText(outlets::kShowDeadBookmarklab), (TextState{"Find 2 unreachable bookmark links.", false}));
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
  MenuItemModel cancel;
  cancel.action = actions::kCancelDeadLinks;
  ASSERT_TRUE(app.PerformMenuAction(cancel));
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

TEST(HealthController, WithNoViewTheScanEndsAtOnceWithNothingFound) {
  HealthHome h;
  AppDelegate& app = h.StartWatched();
  app.FindAllDeadURLBookMarksAction();
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }));
  EXPECT_EQ(h.events, (Titled{"finished"}));
  EXPECT_EQ(h.view().findText(outlets::kShowDeadBookmarklab)->text, "Find 0 unreachable bookmark links.");
}

// A removal leaves nothing behind that would stop the next scan: it probes again.
TEST(HealthController, ASecondScanAfterARemovalProbesAgain) {
  LoopbackHttpServer server;
  HealthHome h;
  AppDelegate& app = h.StartWatched();
  app.session().bookMarkType = ViewKind::All;
  for (int round = 1; round <= 2; ++round) {
    app.lists().allbookMarkArray = {Leaf("Fine", server.url("/ok")), Leaf("Dead", LoopbackHttpServer::RefusedUrl())};
    app.FindAllDeadURLBookMarksAction();
    ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }, 20000));
    EXPECT_EQ(std::pair(server.requestsFor("/ok"), Titles(app.lists().deadURLArray)), std::pair(round, Titled{"Dead"}));
    app.lists().allbookMarkArray.clear(), app.lists().deadURLArray.clear();  // as the removal leaves them
  }
  EXPECT_TRUE(h.screen->alerts.empty());
}

TEST(HealthController, DuplicateGroupsOfTheSafariViewFillTheSheet) {
  HealthHome h;
  AppDelegate& app = h.FindSafariDuplicates();
  const NodeList& groups = app.lists().duplicateArray;
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(Titles(groups), (Titled{"A", "D"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(groups[0])), (Titled{"A", "B", "C"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(groups[1])), (Titled{"D", "F"}));
  EXPECT_EQ(app.linkHealth().dupBookmarkCount, 5u);
  EXPECT_EQ(h.events, (Titled{"duplicates"}));
  EXPECT_EQ(h.screen->windowsShown, Titled{outlets::kFindDupWindow});
  EXPECT_EQ(h.view().findText(outlets::kShowDupBookmarklab)->text, "Find 5 duplicate bookmark links.");
  // What the sheet draws: the groups, the first chosen and its members on the right.
  EXPECT_EQ(app.viewState().leftDupTable.content, groups);
  EXPECT_EQ(app.viewState().leftDupTable.selection, std::vector<std::size_t>{0});
  EXPECT_EQ(Titles(app.viewState().rightDupTable.content), (Titled{"A", "B", "C"}));
}

// Each press toggles; a new search does not reset the toggle.
TEST(HealthController, AutomaticTicksLeaveOneMemberOfEachGroupUnticked) {
  HealthHome h;
  AppDelegate& app = h.FindSafariDuplicates();
  auto ticks = [&] {
    std::vector<bool> out;
    for (const auto& group : app.lists().duplicateArray)
      for (const auto& m : DuplicateGroupMembers(group)) out.push_back(m->bSelect());
    return out;
  };
  app.AutoSelectDuplicationBookAction();
  EXPECT_EQ(ticks(), (std::vector<bool>{false, false, true, false, true}));  // B is in the favourites bar
  app.AutoSelectDuplicationBookAction();
  EXPECT_EQ(ticks(), std::vector<bool>(5, false));
  EXPECT_EQ(h.events, (Titled{"duplicates", "ticks", "ticks"}));

  app.AutoSelectDuplicationBookAction();
  app.FindAllDuplicateBookMarksAction();
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().duplicateSearchRunning(); }));
  EXPECT_TRUE(app.linkHealth().bAutoSelect);
  app.AutoSelectDuplicationBookAction();
  EXPECT_FALSE(app.linkHealth().bAutoSelect);
}

// Results found before a re-read name nodes the lists no longer hold: a removal refuses them.
TEST(HealthController, ResultsFoundBeforeAReReadAreRefused) {
  HealthHome h;
  h.WriteChrome(profile::ChromiumRoots({profile::Leaf("One", "http://one.example/"),
                                        profile::Leaf("Two", "https://one.example/")}));
  AppDelegate& app = h.StartWatched();
  LinkHealthController& health = app.linkHealth();
  h.Press(outlets::kChromeBookMarkBtn);
  health.deadLinkProbeSettings.timeout = milliseconds(200);
  const std::function<void()> rereads[] = {
      [&] { h.Press(outlets::kChromeBookMarkBtn); },  // the view loaded again
      [&] { app.ReadChromeBookMark(h.loc.chromeDefaultBookmarks()); },  // a working copy read back
  };
  for (const HealthResults which : {HealthResults::DeadLinks, HealthResults::Duplicates}) {
    for (const auto& reread : rereads) {
      if (which == HealthResults::DeadLinks)
        app.FindAllDeadURLBookMarksAction();
      else
        app.FindAllDuplicateBookMarksAction();
      ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !health.deadURLScanRunning() && !health.duplicateSearchRunning(); }));
      EXPECT_FALSE(health.RefuseOutdatedResults(which));
      reread();
      ASSERT_TRUE(health.RefuseOutdatedResults(which));
      EXPECT_EQ(health.ResultsStillCurrent(which).error(), "The bookmarks changed since the search; search again.");
      EXPECT_EQ(AlertFieldsOf(h.screen->alerts.back().request),
                AlertFields("The bookmarks changed since the search; search again.", " Ok ", "", "", true, false));
    }
  }
}

}  // namespace
}  // namespace linvara::testing
