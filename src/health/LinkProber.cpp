#include "health/LinkProber.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <deque>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace linvara {
namespace {

using Clock = std::chrono::steady_clock;

void EnsureCurlInitialised() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The scheme of an absolute address ("http" of "HTTP://x"), lower case; nullopt when there is none.
std::optional<std::string> SchemeOf(const std::string& address) {
  if (address.empty() || !std::isalpha(static_cast<unsigned char>(address[0]))) return std::nullopt;
  for (std::size_t i = 1; i < address.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(address[i]);
    if (c == ':') return Lower(address.substr(0, i));
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
  }
  return std::nullopt;
}

struct UrlHandle {
  CURLU* handle = curl_url();
  ~UrlHandle() { curl_url_cleanup(handle); }
  std::optional<std::string> get(CURLUPart part, unsigned flags = 0) const {
    char* text = nullptr;
    if (curl_url_get(handle, part, &text, flags) != CURLUE_OK || !text) return std::nullopt;
    std::string out(text);
    curl_free(text);
    return out;
  }
};

// What a failed transfer is called; null for failures described by curl's own text.
const char* FailureDetail(CURLcode code) {
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT: return "timed out";
    case CURLE_COULDNT_CONNECT: return "could not connect";
    case CURLE_COULDNT_RESOLVE_HOST: return "could not resolve host";
    case CURLE_GOT_NOTHING: return "no answer";
    case CURLE_UNSUPPORTED_PROTOCOL: return "redirected to an unsupported scheme";
    default: return nullptr;
  }
}

// Any HTTP answer is reachable, and so is running into the redirect limit.
ProbeVerdict VerdictForTransfer(CURLcode code, CURL* easy, const char* errorBuffer) {
  ProbeVerdict v;
  if (code == CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    v.reachable = true;
    v.detail = "HTTP " + std::to_string(status);
  } else if (code == CURLE_TOO_MANY_REDIRECTS) {
    v.reachable = true;
    v.detail = "too many redirects";
  } else if (const char* detail = FailureDetail(code)) {
    v.detail = detail;
  } else {
    v.detail = (errorBuffer && *errorBuffer) ? errorBuffer : curl_easy_strerror(code);
  }
  return v;
}

bool IsProbedScheme(const std::string& scheme) { return scheme == "http" || scheme == "https" || scheme == "file"; }

}  // namespace

ProbeSettings SanitizedProbeSettings(ProbeSettings s) {
  s.concurrency = std::max(1, s.concurrency);
  s.perHost = std::clamp(s.perHost, 1, s.concurrency);
  if (s.timeout.count() <= 0) s.timeout = std::chrono::milliseconds(10000);
  s.maxRedirects = std::max(0, s.maxRedirects);
  s.attempts = std::max(1, s.attempts);
  if (s.retryDelay.count() < 0) s.retryDelay = std::chrono::milliseconds(0);
  return s;
}

bool HasUnprobedScheme(const std::string& address) {
  const std::optional<std::string> scheme = SchemeOf(address);
  return scheme && !IsProbedScheme(*scheme);
}

ClassifiedAddress ClassifyAddress(const std::string& address) {
  ClassifiedAddress out;
  const std::optional<std::string> scheme = SchemeOf(address);
  if (!scheme) return out;  // no scheme: not an absolute address
  if (!IsProbedScheme(*scheme)) {
    out.kind = AddressKind::UnsupportedScheme;
    return out;
  }
  EnsureCurlInitialised();
  UrlHandle url;
  if (!url.handle || curl_url_set(url.handle, CURLUPART_URL, address.c_str(), 0) != CURLUE_OK) return out;
  if (*scheme == "file") {
    const auto host = url.get(CURLUPART_HOST);
    if (host && !host->empty() && Lower(*host) != "localhost") return out;
    const auto path = url.get(CURLUPART_PATH, CURLU_URLDECODE);
    if (!path || path->empty()) return out;
    out.kind = AddressKind::File;
    out.filePath = *path;
    return out;
  }
  // A web address names its host right after "//"; the parser would take "http:///x" as host "x".
  const std::size_t afterScheme = scheme->size() + 1;
  if (address.compare(afterScheme, 2, "//") != 0 || address.size() <= afterScheme + 2 ||
      address[afterScheme + 2] == '/')
    return out;
  // Credentials in the address would go out as Basic authentication.
  for (CURLUPart part : {CURLUPART_USER, CURLUPART_PASSWORD, CURLUPART_OPTIONS})
    curl_url_set(url.handle, part, nullptr, 0);
  const auto host = url.get(CURLUPART_HOST);
  const auto port = url.get(CURLUPART_PORT, CURLU_DEFAULT_PORT);
  const auto full = url.get(CURLUPART_URL);
  if (!host || host->empty() || !port || !full) return out;
  out.kind = AddressKind::Web;
  out.url = *full;
  out.hostKey = *scheme + "://" + Lower(*host) + ":" + *port;
  return out;
}

// State shared by Run's calling thread, the transfer loop and Cancel.
struct LinkProber::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  std::atomic<bool> cancelled{false};
  CURLM* multi = nullptr;  // set while a transfer loop runs; guarded by mutex
  // Held by the transfer loop while it starts and drives transfers (never while
  // it waits), so that Cancel can wait until no request can start any more.
  std::mutex loopMutex;
  std::vector<std::optional<ProbeVerdict>> results;
  std::size_t done = 0;

  void Publish(std::size_t index, ProbeVerdict verdict) {
    std::lock_guard lock(mutex);
    results[index] = std::move(verdict);
    ++done;
    changed.notify_all();
  }
};

namespace {

// Runs every network probe of one Run on its own thread.
class TransferLoop {
 public:
  struct Job {
    std::size_t index;
    std::string url;
    std::size_t host;
  };

  TransferLoop(const ProbeSettings& settings, LinkProber::Shared& shared) : settings_(settings), shared_(shared) {}

  std::size_t HostId(const std::string& key) {
    auto [it, inserted] = hostIds_.try_emplace(key, hosts_.size());
    if (inserted) hosts_.emplace_back();
    return it->second;
  }

  void Add(std::size_t index, std::string url, std::size_t host) {
    jobs_.emplace(index, Job{index, std::move(url), host});
    probes_[index] = 0;
    hosts_[host].fresh.insert(index);
  }

  bool empty() const { return jobs_.empty(); }

  void Run() {
    CURLM* multi = curl_multi_init();
    if (!multi) {
      for (auto& [index, job] : jobs_) shared_.Publish(index, ProbeVerdict{false, "could not start the probe", 0});
      return;
    }
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(settings_.perHost));
    curl_multi_setopt(multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, static_cast<long>(settings_.concurrency));
    curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, static_cast<long>(settings_.concurrency));
    {
      std::lock_guard lock(shared_.mutex);
      shared_.multi = multi;
    }
    for (std::size_t h = 0; h < hosts_.size(); ++h) Refresh(h);

    for (;;) {
      std::unique_lock active(shared_.loopMutex);
      if (shared_.cancelled.load()) break;
      WakeDueRetries();
      while (inFlight_ < settings_.concurrency && !ready_.empty()) Start(multi);
      if (inFlight_ == 0 && ready_.empty() && delayed_.empty()) break;
      int running = 0;
      curl_multi_perform(multi, &running);
      bool finishedAny = false;
      int queued = 0;
      while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
        if (msg->msg != CURLMSG_DONE) continue;
        Finish(multi, msg->easy_handle, msg->data.result);
        finishedAny = true;
      }
      active.unlock();
      if (finishedAny) continue;  // fill the freed slots before waiting
      int waitMs = 1000;
      if (!delayed_.empty()) {
        auto until = std::chrono::duration_cast<std::chrono::milliseconds>(delayed_.begin()->first - Clock::now());
        waitMs = static_cast<int>(std::clamp<long long>(until.count(), 0, 1000));
      }
      curl_multi_poll(multi, nullptr, 0, waitMs, nullptr);
    }

    {
      std::lock_guard lock(shared_.mutex);
      shared_.multi = nullptr;
    }
    for (auto& [easy, transfer] : transfers_) {
      curl_multi_remove_handle(multi, easy);
      curl_easy_cleanup(easy);
    }
    transfers_.clear();
    curl_multi_cleanup(multi);
  }

 private:
  struct Host {
    std::set<std::size_t> fresh;       // list indices not probed yet, lowest first
    std::deque<std::size_t> retries;   // second probes, in the order their first ones failed
    bool hasWork() const { return !fresh.empty() || !retries.empty(); }
    // Addresses not probed yet go first: a black hole's second probe should not
    // keep the other addresses of its origin waiting once more.
    std::size_t next() const { return fresh.empty() ? retries.front() : *fresh.begin(); }
    void takeNext() {
      if (fresh.empty())
        retries.pop_front();
      else
        fresh.erase(fresh.begin());
    }
    int inFlight = 0;
    std::optional<std::size_t> readyKey;  // the head index under which it sits in ready_
  };
  struct Transfer {
    std::size_t index;
    std::size_t host;
    char errorBuffer[CURL_ERROR_SIZE] = {0};
  };

  // Keeps ready_ holding exactly the hosts that have waiting work and a free slot.
  void Refresh(std::size_t h) {
    Host& host = hosts_[h];
    if (host.readyKey) {
      ready_.erase({*host.readyKey, h});
      host.readyKey.reset();
    }
    if (host.hasWork() && host.inFlight < settings_.perHost) {
      host.readyKey = host.next();
      ready_.insert({*host.readyKey, h});
    }
  }

  void WakeDueRetries() {
    const auto now = Clock::now();
    while (!delayed_.empty() && delayed_.begin()->first <= now) {
      const std::size_t index = delayed_.begin()->second;
      delayed_.erase(delayed_.begin());
      const std::size_t h = jobs_.at(index).host;
      hosts_[h].retries.push_back(index);
      Refresh(h);
    }
  }

  // Starts the next job of the host, among those with a free slot, whose next job has the lowest list index.
  void Start(CURLM* multi) {
    const std::size_t h = ready_.begin()->second;
    Host& host = hosts_[h];
    const std::size_t index = host.next();
    host.takeNext();
    const Job& job = jobs_.at(index);
    ++probes_[index];

    CURL* easy = curl_easy_init();
    if (!easy) {
      shared_.Publish(index, ProbeVerdict{false, "could not start the probe", probes_[index]});
      Refresh(h);
      return;
    }
    auto transfer = std::make_unique<Transfer>();
    transfer->index = index;
    transfer->host = h;
    curl_easy_setopt(easy, CURLOPT_URL, job.url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(settings_.maxRedirects));
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(settings_.timeout.count()));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.timeout.count()));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, settings_.userAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer->errorBuffer);
    curl_easy_setopt(easy, CURLOPT_PRIVATE, transfer.get());
    if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
      curl_easy_cleanup(easy);
      shared_.Publish(index, ProbeVerdict{false, "could not start the probe", probes_[index]});
      Refresh(h);
      return;
    }
    transfers_.emplace(easy, std::move(transfer));
    ++host.inFlight;
    ++inFlight_;
    Refresh(h);
  }

  void Finish(CURLM* multi, CURL* easy, CURLcode code) {
    auto it = transfers_.find(easy);
    if (it == transfers_.end()) return;
    const Transfer& transfer = *it->second;
    const std::size_t index = transfer.index;
    const std::size_t h = transfer.host;
    ProbeVerdict verdict = VerdictForTransfer(code, easy, transfer.errorBuffer);
    verdict.probes = probes_[index];
    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    transfers_.erase(it);
    --hosts_[h].inFlight;
    --inFlight_;

    if (!verdict.reachable && probes_[index] < settings_.attempts) {
      // A time-out has waited long enough already: its second probe starts at once.
      if (settings_.retryDelay.count() == 0 || code == CURLE_OPERATION_TIMEDOUT) {
        hosts_[h].retries.push_back(index);
      } else {
        delayed_.emplace(Clock::now() + settings_.retryDelay, index);
      }
    } else {
      shared_.Publish(index, std::move(verdict));
    }
    Refresh(h);
  }

  const ProbeSettings& settings_;
  LinkProber::Shared& shared_;
  std::map<std::size_t, Job> jobs_;
  std::unordered_map<std::size_t, int> probes_;
  std::unordered_map<std::string, std::size_t> hostIds_;
  std::vector<Host> hosts_;
  std::set<std::pair<std::size_t, std::size_t>> ready_;  // (head index, host)
  std::multimap<Clock::time_point, std::size_t> delayed_;  // retries not yet due
  std::unordered_map<CURL*, std::unique_ptr<Transfer>> transfers_;
  int inFlight_ = 0;
};

ProbeVerdict FileVerdict(const std::filesystem::path& path) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  return ProbeVerdict{exists && !ec, exists && !ec ? "file exists" : "no such file", 0};
}

}  // namespace

LinkProber::LinkProber(ProbeSettings settings)
    : settings_(SanitizedProbeSettings(std::move(settings))), shared_(std::make_shared<Shared>()) {}

LinkProber::~LinkProber() { Cancel(); }

void LinkProber::Cancel() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->cancelled = true;
    if (shared_->multi) curl_multi_wakeup(shared_->multi);
    shared_->changed.notify_all();
  }
  // Waits out a pass of the transfer loop that began before the flag was set.
  std::lock_guard idle(shared_->loopMutex);
}

bool LinkProber::cancelled() const { return shared_->cancelled.load(); }

bool LinkProber::Run(const std::vector<std::string>& addresses, const VerdictFn& onVerdict,
                     const ProgressFn& onProgress) {
  if (cancelled()) return false;
  EnsureCurlInitialised();
  const std::size_t total = addresses.size();
  {
    std::lock_guard lock(shared_->mutex);
    shared_->results.assign(total, std::nullopt);
    shared_->done = 0;
  }

  TransferLoop loop(settings_, *shared_);
  for (std::size_t i = 0; i < total; ++i) {
    ClassifiedAddress address = ClassifyAddress(addresses[i]);
    switch (address.kind) {
      case AddressKind::Web:
        loop.Add(i, std::move(address.url), loop.HostId(address.hostKey));
        break;
      case AddressKind::File:
        shared_->Publish(i, FileVerdict(address.filePath));
        break;
      case AddressKind::Unparsable:
        shared_->Publish(i, ProbeVerdict{false, "not a valid address", 0});
        break;
      case AddressKind::UnsupportedScheme:
        shared_->Publish(i, ProbeVerdict{false, "unsupported scheme", 0});
        break;
    }
  }

  std::thread worker;
  if (!loop.empty()) worker = std::thread([&loop] { loop.Run(); });

  std::size_t next = 0;
  std::size_t reportedDone = static_cast<std::size_t>(-1);
  std::unique_lock lock(shared_->mutex);
  while (next < total || reportedDone != shared_->done) {
    shared_->changed.wait(lock, [&] {
      return shared_->cancelled.load() || shared_->done != reportedDone || (next < total && shared_->results[next]);
    });
    if (shared_->cancelled.load()) break;
    const std::size_t doneNow = shared_->done;
    std::vector<std::pair<std::size_t, ProbeVerdict>> batch;
    while (next < total && shared_->results[next]) {
      batch.emplace_back(next, *shared_->results[next]);
      ++next;
    }
    lock.unlock();
    for (const auto& [index, verdict] : batch) {
      if (cancelled()) break;
      onVerdict(index, verdict);
    }
    if (doneNow != reportedDone) {
      reportedDone = doneNow;
      if (onProgress && !cancelled()) onProgress(doneNow, total);
    }
    lock.lock();
  }
  lock.unlock();
  if (worker.joinable()) {
    if (cancelled()) Cancel();  // wake the loop so it sees the flag
    worker.join();
  }
  return !cancelled();
}

bool bCheckTheURLStringWithStr(const std::string& address, const ProbeSettings& settings) {
  LinkProber prober(settings);
  bool reachable = false;
  prober.Run({address}, [&](std::size_t, const ProbeVerdict& v) { reachable = v.reachable; });
  return reachable;
}

}  // namespace linvara
