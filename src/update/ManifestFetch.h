#pragma once
// Fetching the update manifest with one GET: https only, except plain http to
// a loopback address (a manifest served on this machine); redirects only to
// https; a time-out and a limit on the body's size.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

#include "model/Result.h"

namespace linvara {

struct ManifestRequest {
  std::string url;
  std::chrono::milliseconds timeout{15000};   // the whole transfer, redirects included
  std::size_t maxBytes = std::size_t{1} << 20;  // a longer body is refused
  std::string userAgent;
};

// Whether the address may be fetched: https, or http to 127.0.0.0/8, [::1] or localhost.
Result<void> CheckManifestAddress(const std::string& url);

// The body of a 200 answer; a Network error with the reason otherwise. Setting
// `cancel` from another thread stops the transfer promptly.
Result<std::string> FetchManifest(const ManifestRequest& request, const std::atomic<bool>* cancel = nullptr);

}  // namespace linvara
