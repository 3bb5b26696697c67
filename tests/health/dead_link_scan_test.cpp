#include "health/DeadLinkScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "HealthTestSupport.h"

namespace linvara {
namespace {

using std::chrono::milliseconds;
using namespace testing;

// Starts a scan whose handlers record what reaches the main thread.
struct RecordedScan {
  std::shared_ptr<QueuedDispatcher> dispatcher = std::make_shared<QueuedDispatcher>();
  NodeList found;
  std::vector<std::thread::id> foundOn;
  int finished = 0;
  std::vector<std::size_t> probedSeen;
  std::size_t lastTotal = 0, foundWhenFinished = 0, notChecked = 0;
  std::shared_ptr<DeadLinkScan> scan;

  RecordedScan(const NodeList& list, const ProbeSettings& settings) {
    DeadLinkScan::Handlers h;
    h.found = [this](const NodeList& nodes) {
      found.insert(found.end(), nodes.begin(), nodes.end()), foundOn.push_back(std::this_thread::get_id());
    };
    h.finished = [this](std::size_t skipped) { ++finished, foundWhenFinished = found.size(), notChecked = skipped; };
    h.progress = [this](std::size_t probed, std::size_t total) { probedSeen.push_back(probed), lastTotal = total; };
    scan = DeadLinkScan::Start(list, settings, dispatcher, h);
  }
};

TEST(DeadLinkScan, ReportsUnreachableLeavesOnTheMainThreadInListOrder) {
  LoopbackHttpServer server;
  LoopbackHttpServer hole("127.0.0.1", LoopbackHttpServer::Mode::BlackHole);
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setUrlString(server.url("/folder"));  // folders are never probed, whatever they hold
  const NodeList list = {
      Leaf("slow dead", hole.base() + "/a"),   Leaf("fine", server.url("/ok")),
      folder,                                  Leaf("refused", LoopbackHttpServer::RefusedUrl()),
      Leaf("missing page", server.url("/missing")), PRRootBookMarkNode::Create(),
      Leaf("garbage", "::not an address::"),   Leaf("loop", server.url("/loop")),
      nullptr,                                 Leaf("no address", ""),
      Leaf("no such host", "http://host.invalid/"),
      // Schemes the prober does not probe: skipped and counted, never found.
      Leaf("bookmarklet", "javascript:alert(1)"), Leaf("recent", "place:sort=8&maxResults=10"),
  };
  RecordedScan rec(list, QuickProbes(400));
  ASSERT_TRUE(rec.dispatcher->PumpUntil([&] { return rec.finished == 1; }, 20000));
  ASSERT_TRUE(rec.scan->WaitUntilStopped(milliseconds(5000)));
  rec.dispatcher->Pump();

  EXPECT_EQ(rec.found, (NodeList{list[0], list[3], list[6], list[9], list[10]}));
  EXPECT_EQ(rec.foundWhenFinished, 5u);
  ASSERT_FALSE(rec.foundOn.empty());
  EXPECT_EQ(rec.foundOn, std::vector<std::thread::id>(rec.foundOn.size(), std::this_thread::get_id()));
  EXPECT_EQ(server.requestsFor("/folder"), 0);
  EXPECT_EQ(rec.lastTotal, 8u);  // the eight leaves probed
  ASSERT_FALSE(rec.probedSeen.empty());
  EXPECT_TRUE(std::is_sorted(rec.probedSeen.begin(), rec.probedSeen.end()));
  EXPECT_EQ(rec.probedSeen.back(), 8u);
  EXPECT_EQ(rec.finished, 1);
  EXPECT_EQ(rec.notChecked, 2u);
}

}  // namespace
}  // namespace linvara
