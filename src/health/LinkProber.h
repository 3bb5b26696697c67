#pragma once
// Reachability probes for bookmark addresses.
//
// The rule: an HTTP or HTTPS address is reachable when a HEAD request gets any
// HTTP answer, whatever its status (redirects are followed up to a limit, and
// running into that limit counts as reachable too). A file: address is
// reachable when the file exists. Everything else (time-out, refused
// connection, unresolvable name, an address that does not parse, any other
// scheme) is unreachable.
//
// LinkProber probes a whole list concurrently on libcurl's multi interface,
// with a cap on requests in flight overall and a smaller cap per origin
// (scheme, host and port, as browsers count their connections), probes every
// failure once more before it counts (a time-out at once, other failures after
// a pause), and hands the verdicts back in list order on the calling thread.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace linvara {

struct ProbeSettings {
  int concurrency = 256;                      // requests in flight overall
  int perHost = 6;                            // requests in flight to one origin (scheme, host, port)
  std::chrono::milliseconds timeout{10000};  // per request, redirects included
  int maxRedirects = 20;
  int attempts = 2;                               // a failure is probed again before it counts
  std::chrono::milliseconds retryDelay{500};      // pause before the second probe of a failure other than a time-out
  std::string userAgent = "Mozilla/5.0 (compatible; Linvara link check)";
};

// The settings with every value brought into a usable range (caps at least 1, ...).
ProbeSettings SanitizedProbeSettings(ProbeSettings settings);

struct ProbeVerdict {
  bool reachable = false;
  std::string detail;  // "HTTP 404", "too many redirects", "timed out", "connection refused", ...
  int probes = 0;      // requests made (0 for addresses decided without the network)
};

enum class AddressKind { Web, File, Unparsable, UnsupportedScheme };

struct ClassifiedAddress {
  AddressKind kind = AddressKind::Unparsable;
  std::string url;                  // Web: the address as sent
  std::string hostKey;              // Web: the origin "scheme://host:port", the unit of the per-host cap
  std::filesystem::path filePath;   // File: the decoded local path
};

// How an address is probed. Only an explicit http, https or file scheme is
// accepted. A web address is sent without its user-info part: credentials in
// a bookmark are never sent.
ClassifiedAddress ClassifyAddress(const std::string& address);

// True when the address names a scheme the prober does not probe (anything but
// http, https and file: bookmarklets, "place:" queries, "mailto:", ...). Such an
// address is no web address to check; an address without a scheme is not one
// of them (it is unparsable).
bool HasUnprobedScheme(const std::string& address);

class LinkProber {
 public:
  using VerdictFn = std::function<void(std::size_t index, const ProbeVerdict& verdict)>;
  using ProgressFn = std::function<void(std::size_t probed, std::size_t total)>;

  explicit LinkProber(ProbeSettings settings = {});
  ~LinkProber();
  LinkProber(const LinkProber&) = delete;
  LinkProber& operator=(const LinkProber&) = delete;

  // Probes every address. onVerdict runs on the calling thread once per address,
  // in index order; onProgress runs there too whenever more addresses are done,
  // after the verdicts that became ready with them.
  // Returns false when cancelled; after Cancel no callback runs any more.
  bool Run(const std::vector<std::string>& addresses, const VerdictFn& onVerdict, const ProgressFn& onProgress = {});

  // Stops a running Run promptly (any thread): once it returns, no request is
  // started any more. A later Run returns false at once.
  void Cancel();
  bool cancelled() const;

  const ProbeSettings& settings() const { return settings_; }

  struct Shared;  // state shared with the transfer loop (internal)

 private:
  ProbeSettings settings_;
  std::shared_ptr<Shared> shared_;
};

// One probe, synchronous: true when the address answers.
bool bCheckTheURLStringWithStr(const std::string& address, const ProbeSettings& settings = {});

}  // namespace linvara
