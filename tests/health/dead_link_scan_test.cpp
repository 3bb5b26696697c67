#include "health/DeadLinkScan.h"

#include <gtest/gtest.h>

#include <thread>

#include "health/LoopbackHttpServer.h"

namespace linvara {
namespace {

using std::chrono::milliseconds;
using testing::LoopbackHttpServer;

NodePtr Leaf(const std::string& title, const std::string& url) {
  NodePtr node = PRBookMarkNode::Create();
  node->setThetitle(title);
  node->setUrlString(url);
  return node;
}

ProbeSettings Quick() {
  ProbeSettings s;
  s.timeout = milliseconds(400);
  s.retryDelay = milliseconds(0);
  return s;
}

struct Recorder {
  std::vector<NodePtr> found;
  std::vector<std::thread::id> foundOn;
  int finished = 0;
  std::size_t lastProbed = 0, lastTotal = 0;
  std::size_t foundWhenFinished = 0;

  DeadLinkScan::Handlers Handlers() {
    DeadLinkScan::Handlers h;
    h.found = [this](const NodePtr& node) {
      found.push_back(node);
      foundOn.push_back(std::this_thread::get_id());
    };
    h.finished = [this] {
      ++finished;
      foundWhenFinished = found.size();
    };
    h.progress = [this](std::size_t probed, std::size_t total) {
      lastProbed = probed;
      lastTotal = total;
    };
    return h;
  }
};

TEST(DeadLinkScan, HandsUnreachableLeavesToTheMainThreadInListOrderThenFinishes) {
  LoopbackHttpServer server;
  LoopbackHttpServer hole("127.0.0.1", LoopbackHttpServer::Mode::BlackHole);
  const int refused = LoopbackHttpServer::RefusedPort();

  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setUrlString(server.url("/folder"));  // folders are never probed, whatever they hold
  RootPtr root = PRRootBookMarkNode::Create();
  NodeList list = {
      Leaf("slow dead", hole.base() + "/a"),
      Leaf("fine", server.url("/ok")),
      folder,
      Leaf("refused", "http://127.0.0.1:" + std::to_string(refused) + "/"),
      Leaf("missing page", server.url("/missing")),
      root,
      Leaf("garbage", "::not an address::"),
      Leaf("loop", server.url("/loop")),
  };

  auto dispatcher = std::make_shared<QueuedDispatcher>();
  Recorder rec;
  auto scan = DeadLinkScan::Start(list, Quick(), dispatcher, rec.Handlers());
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return rec.finished == 1; }, 20000));
  ASSERT_TRUE(scan->WaitUntilStopped(milliseconds(5000)));
  dispatcher->Pump();

  ASSERT_EQ(rec.found.size(), 3u);
  EXPECT_EQ(rec.found[0], list[0]);
  EXPECT_EQ(rec.found[1], list[3]);
  EXPECT_EQ(rec.found[2], list[6]);
  EXPECT_EQ(rec.foundWhenFinished, 3u);
  for (auto id : rec.foundOn) EXPECT_EQ(id, std::this_thread::get_id());
  EXPECT_EQ(server.requestsFor("/folder"), 0);
  EXPECT_EQ(rec.lastTotal, 6u);  // the six leaves
  EXPECT_EQ(rec.lastProbed, 6u);
  EXPECT_EQ(rec.finished, 1);
}

TEST(DeadLinkScan, AnEmptyListFinishesAtOnce) {
  auto dispatcher = std::make_shared<QueuedDispatcher>();
  Recorder rec;
  auto scan = DeadLinkScan::Start({}, Quick(), dispatcher, rec.Handlers());
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return rec.finished == 1; }));
  EXPECT_TRUE(rec.found.empty());
  EXPECT_TRUE(scan->WaitUntilStopped(milliseconds(5000)));
}

TEST(DeadLinkScan, CancelStopsTheWorkerAndNothingMoreIsReported) {
  LoopbackHttpServer server;
  ProbeSettings settings = Quick();
  settings.timeout = milliseconds(30000);
  const int refused = LoopbackHttpServer::RefusedPort();
  NodeList list = {Leaf("hangs", server.url("/hang")), Leaf("refused", "http://127.0.0.1:" + std::to_string(refused))};

  auto dispatcher = std::make_shared<QueuedDispatcher>();
  Recorder rec;
  auto scan = DeadLinkScan::Start(list, settings, dispatcher, rec.Handlers());
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return server.inFlight() == 1; }));
  scan->Cancel();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(dispatcher->PumpUntil([&] { return scan->stopped(); }, 10000));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  dispatcher->Pump();
  EXPECT_TRUE(rec.found.empty());
  EXPECT_EQ(rec.finished, 0);
}

TEST(DeadLinkScan, ProbedLeavesSkipFoldersAndRoots) {
  NodeList list = {PRFaBookMarkNode::Create(), Leaf("a", "http://a/"), PRRootBookMarkNode::Create(), nullptr,
                   Leaf("b", "")};
  NodeList leaves = DeadLinkScan::ProbedLeaves(list);
  ASSERT_EQ(leaves.size(), 2u);
  EXPECT_EQ(leaves[0], list[1]);
  EXPECT_EQ(leaves[1], list[4]);
}

}  // namespace
}  // namespace linvara
