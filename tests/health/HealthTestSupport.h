#pragma once
// Helpers for the link-health tests: bookmarks, quick probe settings and the
// loopback server.
#include <chrono>
#include <string>
#include <vector>

#include "health/LinkProber.h"
#include "health/LoopbackHttpServer.h"
#include "support/TestSupport.h"

namespace linvara::testing {

inline NodePtr Leaf(const std::string& title, const std::string& url, bool favourite = false) {
  NodePtr node = PRBookMarkNode::Create();
  node->setThetitle(title);
  node->setUrlString(url);
  node->setBFavBookmark(favourite);
  return node;
}

// Short time-outs and no pause before the second probe.
inline ProbeSettings QuickProbes(int timeoutMs) {
  ProbeSettings s;
  s.timeout = std::chrono::milliseconds(timeoutMs), s.retryDelay = std::chrono::milliseconds(0);
  return s;
}

}  // namespace linvara::testing
