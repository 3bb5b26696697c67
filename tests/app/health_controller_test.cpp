// The controller's link-health commands on a generated home: the scan and the
// duplicate search run on workers and hand over through the queued dispatcher.
#include <gtest/gtest.h>

#include "PresenterFixture.h"
#include "health/HealthTestSupport.h"

namespace linvara::testing {
namespace {

using std::chrono::milliseconds;

struct HealthHome : PresenterHome {
  std::vector<std::string> events;
  std::size_t lastProbed = 0, lastTotal = 0;

  AppDelegate& StartWatched() {
    AppDelegate& a = Start();
    a.linkHealth().deadLinkProbeSettings.timeout = milliseconds(1000);
    a.linkHealth().deadLinkProbeSettings.retryDelay = milliseconds(0);
    auto& o = a.linkHealth().observers;
    o.deadLinkFound = [this](const NodePtr& n) { events.push_back("found " + OrNull(n->thetitle())); };
    o.deadScanFinished = [this] { events.push_back("finished"); };
    o.deadScanProgress = [this](std::size_t probed, std::size_t total) { lastProbed = probed, lastTotal = total; };
    o.duplicatesFound = [this] { events.push_back("duplicates"); };
    o.duplicateTicksChanged = [this] { events.push_back("ticks"); };
    return a;
  }
};

TEST(HealthController, TheScanListsTheUnreachableBookmarksOfTheChromeViewInOrder) {
  LoopbackHttpServer server;
  HealthHome h;
  h.WriteChrome(ChromeFile(ChromeUrl("3", "Refused", LoopbackHttpServer::RefusedUrl()) + "," +
                               ChromeUrl("4", "Fine", server.url("/ok")) + "," +
                               ChromeFolder("5", "Inner", ChromeUrl("6", "Gone page", server.url("/missing")) + "," +
                                                              ChromeUrl("7", "Garbage", "not an address")),
                           ChromeUrl("8", "Loop", server.url("/loop"))));
  AppDelegate& app = h.StartWatched();
  h.Press(outlets::kChromeBookMarkBtn);
  ASSERT_EQ(app.session().bookMarkType, ViewKind::Chrome);
  app.lists().deadURLArray.push_back(PRBookMarkNode::Create());  // left over from an earlier scan

  ASSERT_TRUE(app.FindAllDeadURLBookMarksAction());
  EXPECT_TRUE(app.linkHealth().deadURLScanRunning());
  EXPECT_TRUE(app.lists().deadURLArray.empty());
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }, 20000));
  h.dispatcher->Pump();

  EXPECT_EQ(Titles(app.lists().deadURLArray), (std::vector<std::string>{"Refused", "Garbage"}));
  EXPECT_EQ(app.viewState().deadUrlTable.content, app.lists().deadURLArray);  // what the sheet draws
  EXPECT_EQ(h.events, (std::vector<std::string>{"found Refused", "found Garbage", "finished"}));
  for (const NodePtr& node : app.lists().chromebookMarkArray) {
    const bool listed = node->bDeadURL();
    EXPECT_EQ(node->bSelect(), listed);
    EXPECT_EQ(listed, OrNull(node->thetitle()) == "Refused" || OrNull(node->thetitle()) == "Garbage");
  }
  EXPECT_EQ(h.lastTotal, 5u);
  EXPECT_EQ(h.lastProbed, 5u);
  EXPECT_TRUE(app.linkHealth().WaitForWorkers(milliseconds(5000)));
}

TEST(HealthController, WithNoViewTheScanEndsAtOnceWithNothingFound) {
  HealthHome h;
  AppDelegate& app = h.StartWatched();
  ASSERT_EQ(app.session().bookMarkType, ViewKind::None);
  ASSERT_TRUE(app.FindAllDeadURLBookMarksAction());
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().deadURLScanRunning(); }));
  EXPECT_EQ(h.events, (std::vector<std::string>{"finished"}));
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
  EXPECT_EQ(h.events, (std::vector<std::string>{"found Dead", "finished"}));
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

std::string SafariFavouritesBar(const std::string& children) {
  return "<dict><key>WebBookmarkType</key><string>WebBookmarkTypeList</string>"
         "<key>WebBookmarkUUID</key><string>uuid-bar</string><key>Title</key><string>BookmarksBar</string>"
         "<key>Sync</key><dict><key>ServerID</key><string>Favorites Bar</string></dict>"
         "<key>Children</key><array>" + children + "</array></dict>";
}

TEST(HealthController, DuplicatesOfTheSafariViewAndTheirAutomaticTicks) {
  HealthHome h;
  h.WriteSafari(SafariLeaf("A", "http://same.example/") + SafariFavouritesBar(SafariLeaf("B", "https://same.example/")) +
                SafariLeaf("C", "http://same.example/") + SafariLeaf("D", "http://other.example/") +
                SafariLeaf("E", "HTTP://other.example/") + SafariLeaf("F", "http://other.example/"));
  AppDelegate& app = h.StartWatched();
  h.Press(outlets::kSafariBookMarkBtn);
  ASSERT_EQ(app.session().bookMarkType, ViewKind::Safari);

  ASSERT_TRUE(app.FindAllDuplicateBookMarksAction());
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().duplicateSearchRunning(); }));
  const NodeList& groups = app.lists().duplicateArray;
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(Titles(groups), (std::vector<std::string>{"A", "D"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(groups[0])), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(Titles(DuplicateGroupMembers(groups[1])), (std::vector<std::string>{"D", "F"}));
  EXPECT_EQ(app.linkHealth().dupBookmarkCount, 5u);
  EXPECT_EQ(h.events, (std::vector<std::string>{"duplicates"}));
  EXPECT_EQ(app.viewState().leftDupTable.content, groups);  // what the sheet draws

  app.AutoSelectDuplicationBookAction();
  EXPECT_TRUE(app.linkHealth().bAutoSelect);
  auto ticks = [&] {
    std::vector<bool> out;
    for (const auto& group : groups)
      for (const auto& m : DuplicateGroupMembers(group)) out.push_back(m->bSelect());
    return out;
  };
  EXPECT_EQ(ticks(), (std::vector<bool>{false, false, true, false, true}));  // B is in the favourites bar

  app.AutoSelectDuplicationBookAction();
  EXPECT_FALSE(app.linkHealth().bAutoSelect);
  EXPECT_EQ(ticks(), std::vector<bool>(5, false));
  EXPECT_EQ(h.events, (std::vector<std::string>{"duplicates", "ticks", "ticks"}));

  // The toggle is not reset by a new search: the next press unticks when the last one ticked.
  app.AutoSelectDuplicationBookAction();
  ASSERT_TRUE(app.FindAllDuplicateBookMarksAction());
  ASSERT_TRUE(h.dispatcher->PumpUntil([&] { return !app.linkHealth().duplicateSearchRunning(); }));
  EXPECT_TRUE(app.linkHealth().bAutoSelect);
  app.AutoSelectDuplicationBookAction();
  EXPECT_FALSE(app.linkHealth().bAutoSelect);
}

TEST(HealthController, AfterARemovalTheScanAndTheSearchAnswerThatNothingIsLeft) {
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
  EXPECT_EQ(h.screen->alerts[0].request.message, "No unreachable bookmark links detected");
  EXPECT_EQ(h.screen->alerts[0].request.defaultButton, " Ok ");
  EXPECT_TRUE(h.screen->alerts[0].request.asSheet);
  EXPECT_EQ(h.screen->alerts[1].request.message, "No Duplicate bookmark links detected");
}

}  // namespace
}  // namespace linvara::testing
