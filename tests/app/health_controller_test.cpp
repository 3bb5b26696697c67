// The controller's link-health commands on a generated home: the scan and the
// duplicate search run on workers and hand over through the queued dispatcher.
#include <gtest/gtest.h>

#include "PresenterFixture.h"
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
    EXPECT_TRUE(a.FindAllDuplicateBookMarksAction());
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
      {Leaf("Loop", server.url("/loop"))}));
  AppDelegate& app = h.StartWatched();
  h.Press(outlets::kChromeBookMarkBtn);
  app.lists().deadURLArray.push_back(PRBookMarkNode::Create());  // left over from an earlier scan

  ASSERT_TRUE(app.FindAllDeadURLBookMarksAction());
  EXPECT_TRUE(app.linkHealth().deadURLScanRunning());
  EXPECT_TRUE(app.lists().deadURLArray.empty());
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }, 20000));
  h.dispatcher->Pump();

  EXPECT_EQ(Titles(app.lists().deadURLArray), (Titled{"Refused", "Garbage"}));
  EXPECT_EQ(app.viewState().deadUrlTable.content, app.lists().deadURLArray);  // what the sheet draws
  EXPECT_EQ(h.events, (Titled{"found Refused", "found Garbage", "finished"}));
  for (const NodePtr& node : app.lists().chromebookMarkArray) {
    const bool listed = node->bDeadURL();
    EXPECT_EQ(node->bSelect(), listed);
    EXPECT_EQ(listed, OrNull(node->thetitle()) == "Refused" || OrNull(node->thetitle()) == "Garbage");
  }
  EXPECT_TRUE(app.linkHealth().WaitForWorkers(milliseconds(5000)));
}

TEST(HealthController, WithNoViewTheScanEndsAtOnceWithNothingFound) {
  HealthHome h;
  AppDelegate& app = h.StartWatched();
  ASSERT_TRUE(app.FindAllDeadURLBookMarksAction());
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }));
  EXPECT_EQ(h.events, (Titled{"finished"}));
  EXPECT_TRUE(app.lists().deadURLArray.empty());
}

TEST(HealthController, ANewScanOrACancelSilencesTheScanBefore) {
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

  h.events.clear();
  app.lists().allbookMarkArray = {hanging, dead};
  app.linkHealth().StartScanDeadURlThread();
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return server.inFlight() == 1; }));
  app.linkHealth().CancelDeadURLScan();
  EXPECT_FALSE(app.linkHealth().deadURLScanRunning());
  h.dispatcher->PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(h.events.empty());
}

TEST(HealthController, DuplicateGroupsOfTheSafariViewFillTheResultTable) {
  HealthHome h;
  AppDelegate& app = h.FindSafariDuplicates();
  const NodeList& groups = app.lists().duplicateArray;
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(Titles(groups), (Titled{"A", "D"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(groups[0])), (Titled{"A", "B", "C"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(groups[1])), (Titled{"D", "F"}));
  EXPECT_EQ(app.linkHealth().dupBookmarkCount, 5u);
  EXPECT_EQ(h.events, (Titled{"duplicates"}));
  EXPECT_EQ(app.viewState().leftDupTable.content, groups);  // what the sheet draws
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
  ASSERT_TRUE(app.FindAllDuplicateBookMarksAction());
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().duplicateSearchRunning(); }));
  EXPECT_TRUE(app.linkHealth().bAutoSelect);
  app.AutoSelectDuplicationBookAction();
  EXPECT_FALSE(app.linkHealth().bAutoSelect);
}

TEST(HealthController, AfterARemovalEachSearchAnswersThatNothingIsLeft) {
  HealthHome h;
  AppDelegate& app = h.StartWatched();
  app.linkHealth().bCleanDeadBook = true;
  EXPECT_FALSE(app.FindAllDeadURLBookMarksAction());
  EXPECT_FALSE(app.linkHealth().deadURLScanRunning());
  app.linkHealth().bRemoveAllDupBookmark = true;  // in the unified view
  app.lists().duplicateArray.push_back(PRFaBookMarkNode::Create());
  EXPECT_FALSE(app.FindAllDuplicateBookMarksAction());
  EXPECT_FALSE(app.linkHealth().duplicateSearchRunning());
  EXPECT_EQ(app.lists().duplicateArray.size(), 1u);

  ASSERT_EQ(h.screen->alerts.size(), 2u);
  const AlertSpec& first = h.screen->alerts[0].request;
  EXPECT_EQ(std::tuple(first.message, first.defaultButton, first.asSheet),
            std::tuple("No unreachable bookmark links detected", " Ok ", true));
  EXPECT_EQ(h.screen->alerts[1].request.message, "No Duplicate bookmark links detected");
}

}  // namespace
}  // namespace linvara::testing
