// Scan time of the unreachable-link scan over 2,000 bookmarks served by a
// loopback farm: 16 live hosts (127.0.0.2 to 127.0.0.17) answering 200 after a
// little latency, 404, 405 to HEAD, 500, redirects and redirect loops, plus 100
// bookmarks (5 %) on black holes that accept and never answer. The default
// settings are used: 256 requests in flight, 6 per host, 10-second time-out,
// every failure probed twice.
//
//   BM_DeadLinkScan/0: the black holes are 100 dead hosts, one bookmark each
//   BM_DeadLinkScan/1: the black holes listen on a second port of each of the
//                      16 live hosts, 6 or 7 bookmarks each: the per-origin cap
//                      must keep them from holding up the live port of the host
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "../tests/health/LoopbackHttpServer.h"
#include "health/DeadLinkScan.h"

namespace {

using linvara::testing::LoopbackHttpServer;

constexpr int kBookmarks = 2000;
constexpr int kLiveHosts = 16;
constexpr int kBlackHoleLinks = 100;

struct Farm {
  std::vector<std::unique_ptr<LoopbackHttpServer>> live;
  std::vector<std::unique_ptr<LoopbackHttpServer>> holes;
  std::vector<std::string> addresses;
};

std::string LivePath(int i, std::mt19937& random) {
  const int pick = static_cast<int>(random() % 100);
  const std::string tail = "/" + std::to_string(i);
  if (pick < 8) return "/missing" + tail;
  if (pick < 12) return "/nohead" + tail;
  if (pick < 16) return "/error" + tail;
  if (pick < 21) return "/redirect" + tail;
  if (pick < 25) return "/loop" + tail;
  return "/slow/" + std::to_string(20 + random() % 60) + tail;
}

std::unique_ptr<Farm> MakeFarm(bool spreadBlackHoles) {
  auto farm = std::make_unique<Farm>();
  for (int h = 0; h < kLiveHosts; ++h)
    farm->live.push_back(std::make_unique<LoopbackHttpServer>("127.0.0." + std::to_string(2 + h)));
  const int holeCount = spreadBlackHoles ? kBlackHoleLinks : kLiveHosts;
  for (int h = 0; h < holeCount; ++h) {
    const std::string address = spreadBlackHoles ? "127.0.1." + std::to_string(1 + h) : "127.0.0." + std::to_string(2 + h);
    farm->holes.push_back(std::make_unique<LoopbackHttpServer>(address, LoopbackHttpServer::Mode::BlackHole));
  }
  std::mt19937 random(20260601);
  for (int i = 0; i < kBookmarks - kBlackHoleLinks; ++i)
    farm->addresses.push_back(farm->live[i % kLiveHosts]->url(LivePath(i, random)));
  for (int i = 0; i < kBlackHoleLinks; ++i)
    farm->addresses.push_back(farm->holes[i % farm->holes.size()]->url("/page/" + std::to_string(i)));
  std::shuffle(farm->addresses.begin(), farm->addresses.end(), random);
  return farm;
}

void BM_DeadLinkScan(benchmark::State& state) {
  auto farm = MakeFarm(state.range(0) == 0);
  linvara::NodeList list;
  for (const auto& address : farm->addresses) {
    linvara::NodePtr node = linvara::PRBookMarkNode::Create();
    node->setUrlString(address);
    list.push_back(node);
  }
  auto dispatcher = std::make_shared<linvara::InlineDispatcher>();
  std::size_t found = 0;
  for (auto _ : state) {
    found = 0;
    linvara::DeadLinkScan::Handlers handlers;
    handlers.found = [&](const linvara::NodeList& nodes) { found += nodes.size(); };
    auto scan = linvara::DeadLinkScan::Start(list, linvara::ProbeSettings{}, dispatcher, handlers);
    scan->WaitUntilStopped(std::chrono::minutes(10));
  }
  std::size_t requests = 0;
  for (const auto& server : farm->live) requests += static_cast<std::size_t>(server->requests());
  state.counters["unreachable"] = static_cast<double>(found);
  state.counters["live_requests"] = static_cast<double>(requests);
  if (found != kBlackHoleLinks) state.SkipWithError("the scan did not list exactly the black-hole bookmarks");
}

BENCHMARK(BM_DeadLinkScan)->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
