#pragma once
// A small HTTP/1.1 server on a loopback address for probing tests and the
// scan benchmark. One thread per connection, keep-alive, and counters of the
// requests it is working on, so tests can check how hard a client pushed it.
//
// Routes, by first path segment: the answers in canned_ (fixed ones and those set with
// Answer()), /nohead 405 to HEAD only, /slow/N 200 and /slowclose/N no answer after N
// milliseconds, /flaky no answer the first time only, /hang never answers; anything else 200.
// A server made as a black hole accepts connections and never reads or answers.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace linvara::testing {

// Requests being worked on at once, now and at most; may be shared by several servers.
struct ConcurrencyGauge {
  std::atomic<int> current{0};
  std::atomic<int> peak{0};
  void Enter() {
    const int now = ++current;
    int seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
  }
  void Leave() { --current; }
};

class LoopbackHttpServer {
 public:
  enum class Mode { Http, BlackHole };

  explicit LoopbackHttpServer(std::string address = "127.0.0.1", Mode mode = Mode::Http,
                              std::shared_ptr<ConcurrencyGauge> sharedGauge = nullptr)
      : address_(std::move(address)), mode_(mode), sharedGauge_(std::move(sharedGauge)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    port_ = BindAnyPort(listenFd_, address_);
    if (port_ == 0 || ::listen(listenFd_, 512) != 0) {
      ::close(listenFd_);
      throw std::runtime_error("cannot listen on " + address_);
    }
    acceptThread_ = std::thread([this] { AcceptLoop(); });
  }

  ~LoopbackHttpServer() {
    stopping_ = true;
    ::shutdown(listenFd_, SHUT_RDWR);
    acceptThread_.join();
    ::close(listenFd_);
    std::vector<std::thread> threads;
    {
      std::lock_guard lock(mutex_);
      for (int fd : openFds_) ::shutdown(fd, SHUT_RDWR);
      threads.swap(connectionThreads_);
    }
    for (auto& t : threads) t.join();
    for (int fd : openFds_) ::close(fd);
  }
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  const std::string& address() const { return address_; }
  std::string hostPort() const { return address_ + ":" + std::to_string(port_); }
  std::string base() const { return "http://" + hostPort(); }
  std::string url(const std::string& path) const { return base() + path; }

  // From now on `route` ("/manifest") gets this status line, extra header lines and body.
  void Answer(const std::string& route, std::string body, std::string status = "200 OK", std::string headers = {}) {
    std::lock_guard lock(mutex_);
    canned_[route] = {std::move(status), std::move(headers), std::move(body)};
  }

  // Requests received, all paths or one first segment ("/flaky").
  int requests() const { return totalRequests_; }
  int requestsFor(const std::string& route) const {
    std::lock_guard lock(mutex_);
    auto it = requestsByRoute_.find(route);
    return it == requestsByRoute_.end() ? 0 : it->second;
  }
  int connectionsAccepted() const { return accepted_; }
  int authorizedRequests() const { return authorized_; }  // requests with an Authorization header
  int peakInFlight() const { return gauge_.peak; }        // most requests worked on at once
  int inFlight() const { return gauge_.current; }

  // An address on a loopback port where nothing listens: connecting to it is refused.
  static std::string RefusedUrl(const std::string& path = "/") {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int port = BindAnyPort(fd, "127.0.0.1");
    ::close(fd);
    return "http://127.0.0.1:" + std::to_string(port) + path;
  }

 private:
  // Binds the socket to a free port of the address; the port, or 0 when that fails.
  static int BindAnyPort(int fd, const std::string& address) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    ::inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
      return 0;
    return ntohs(addr.sin_port);
  }

  void AcceptLoop() {
    while (!stopping_) {
      int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) {
        if (!stopping_ && (errno == EINTR || errno == ECONNABORTED)) continue;
        return;
      }
      ++accepted_;
      std::lock_guard lock(mutex_);
      openFds_.push_back(fd);
      if (mode_ == Mode::Http) connectionThreads_.emplace_back([this, fd] { Serve(fd); });
    }
  }

  void Gauges(bool enter) {
    for (ConcurrencyGauge* g : {&gauge_, sharedGauge_.get()})
      if (g) enter ? g->Enter() : g->Leave();
  }

  // Sleeps in small steps so the destructor stays prompt.
  void Pause(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stopping_ && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 5)));
  }

  static bool SendAll(int fd, const std::string& data) {
    for (std::size_t sent = 0; sent < data.size();) {
      ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }

  void Serve(int fd) {
    std::string buffer;
    char chunk[4096];
    for (;;) {
      std::size_t end;
      while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
        ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) return CloseConnection(fd);
        buffer.append(chunk, static_cast<std::size_t>(n));
      }
      const std::string head = buffer.substr(0, end);
      buffer.erase(0, end + 4);
      const std::size_t sp1 = head.find(' '), sp2 = head.find(' ', sp1 + 1);
      if (sp2 == std::string::npos) return CloseConnection(fd);
      const std::string method = head.substr(0, sp1), path = head.substr(sp1 + 1, sp2 - sp1 - 1);
      const std::size_t second = path.find('/', 1);
      const std::string route = path.substr(0, second);
      const int argument = second == std::string::npos ? 0 : std::atoi(path.c_str() + second + 1);
      int seen;
      Canned answer{"200 OK", "", ""};
      {
        std::lock_guard lock(mutex_);
        seen = ++requestsByRoute_[route];
        if (auto it = canned_.find(route); it != canned_.end()) answer = it->second;
      }
      ++totalRequests_;
      if (::strcasestr(head.c_str(), "\r\nauthorization:")) ++authorized_;
      Gauges(true);
      const bool noAnswer = route == "/slowclose" || route == "/hang" || (route == "/flaky" && seen == 1);
      if (route == "/nohead" && method == "HEAD") answer = {"405 Method Not Allowed", "Allow: GET\r\n", ""};
      if (route == "/slow" || route == "/slowclose") Pause(argument);
      if (route == "/hang")
        while (::recv(fd, chunk, sizeof chunk, 0) > 0) {
        }
      // Leave before answering: once the client has the answer, the request is over.
      Gauges(false);
      if (noAnswer || !SendAll(fd, "HTTP/1.1 " + answer.status + "\r\nContent-Length: " +
                                       std::to_string(answer.body.size()) + "\r\n" + answer.headers + "\r\n" +
                                       (method == "HEAD" ? std::string() : answer.body)))
        return CloseConnection(fd);
    }
  }

  void CloseConnection(int fd) {
    std::lock_guard lock(mutex_);
    auto it = std::find(openFds_.begin(), openFds_.end(), fd);
    if (it != openFds_.end()) openFds_.erase(it), ::close(fd);
  }

  std::string address_;
  Mode mode_;
  std::shared_ptr<ConcurrencyGauge> sharedGauge_;
  ConcurrencyGauge gauge_;
  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptThread_;
  mutable std::mutex mutex_;
  std::vector<int> openFds_;
  std::vector<std::thread> connectionThreads_;
  std::map<std::string, int> requestsByRoute_;
  struct Canned {
    std::string status, headers, body;
  };
  // The fixed answers; Answer() adds to them.
  std::map<std::string, Canned> canned_ = {
      {"/missing", {"404 Not Found", "", ""}},
      {"/error", {"500 Internal Server Error", "", ""}},
      {"/private", {"401 Unauthorized", "WWW-Authenticate: Basic realm=\"loopback\"\r\n", ""}},
      {"/loop", {"302 Found", "Location: /loop\r\n", ""}},
      {"/redirect", {"301 Moved Permanently", "Location: /ok\r\n", ""}},
      {"/tofile", {"302 Found", "Location: file:///etc/hostname\r\n", ""}},
  };
  std::atomic<int> totalRequests_{0}, accepted_{0}, authorized_{0};
};

}  // namespace linvara::testing
