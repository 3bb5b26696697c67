#pragma once
// A small HTTP/1.1 server on a loopback address for probing tests and the
// scan benchmark. One thread per connection, keep-alive, and counters of the
// requests it is working on, so tests can check how hard a client pushed it.
//
// Routes (by first path segment, anything after it is ignored):
//   /ok          200
//   /missing     404
//   /nohead      405 to HEAD, 200 to GET
//   /error       500
//   /private     401 asking for Basic authentication
//   /loop        302 back to /loop, for ever
//   /redirect    301 to /ok
//   /tofile      302 to a file: address
//   /slow/N      200 after N milliseconds
//   /slowclose/N closes without an answer after N milliseconds
//   /flaky       closes without an answer the first time, 200 afterwards
//   /hang        never answers
// A server made as a black hole accepts connections and never reads or answers.
#include <arpa/inet.h>
#include <string.h>
#include <netinet/in.h>
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
    if (listenFd_ < 0) throw std::runtime_error("socket failed");
    int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr = MakeAddress(address_, 0);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 512) != 0) {
      ::close(listenFd_);
      throw std::runtime_error("cannot listen on " + address_);
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
  }

  ~LoopbackHttpServer() { Stop(); }
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  void Stop() {
    if (stopping_.exchange(true)) return;
    ::shutdown(listenFd_, SHUT_RDWR);
    if (acceptThread_.joinable()) acceptThread_.join();
    ::close(listenFd_);
    std::vector<std::thread> threads;
    {
      std::lock_guard lock(mutex_);
      for (int fd : openFds_) ::shutdown(fd, SHUT_RDWR);
      threads.swap(connectionThreads_);
    }
    for (auto& t : threads) t.join();
    std::lock_guard lock(mutex_);
    for (int fd : openFds_) ::close(fd);
    openFds_.clear();
  }

  const std::string& address() const { return address_; }
  int port() const { return port_; }
  std::string base() const { return "http://" + address_ + ":" + std::to_string(port_); }
  std::string url(const std::string& path) const { return base() + path; }

  // Requests received, all paths or one first segment ("/flaky").
  int requests() const { return totalRequests_.load(); }
  int requestsFor(const std::string& route) const {
    std::lock_guard lock(mutex_);
    auto it = requestsByRoute_.find(route);
    return it == requestsByRoute_.end() ? 0 : it->second;
  }
  int connectionsAccepted() const { return accepted_.load(); }
  // Requests that carried an Authorization header.
  int authorizedRequests() const { return authorized_.load(); }
  // Most requests this server was working on at once.
  int peakInFlight() const { return gauge_.peak.load(); }
  int inFlight() const { return gauge_.current.load(); }

  // A port on `address` where nothing listens: connecting to it is refused.
  static int RefusedPort(const std::string& address = "127.0.0.1") {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr = MakeAddress(address, 0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
  }
  // An address on such a port.
  static std::string RefusedUrl(const std::string& path = "/") {
    return "http://127.0.0.1:" + std::to_string(RefusedPort()) + path;
  }

 private:
  static sockaddr_in MakeAddress(const std::string& address, int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
    return addr;
  }

  void AcceptLoop() {
    while (!stopping_) {
      int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) {
        if (stopping_) return;
        if (errno == EINTR || errno == ECONNABORTED) continue;
        return;
      }
      ++accepted_;
      std::lock_guard lock(mutex_);
      if (stopping_) {
        ::close(fd);
        return;
      }
      openFds_.push_back(fd);
      if (mode_ == Mode::Http) connectionThreads_.emplace_back([this, fd] { Serve(fd); });
    }
  }

  void Enter() {
    gauge_.Enter();
    if (sharedGauge_) sharedGauge_->Enter();
  }
  void Leave() {
    gauge_.Leave();
    if (sharedGauge_) sharedGauge_->Leave();
  }

  // Sleeps in small steps so Stop stays prompt.
  void Pause(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stopping_ && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 5)));
  }

  static bool SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
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
      const std::size_t sp1 = head.find(' ');
      const std::size_t sp2 = head.find(' ', sp1 + 1);
      if (sp1 == std::string::npos || sp2 == std::string::npos) return CloseConnection(fd);
      const std::string method = head.substr(0, sp1);
      const std::string path = head.substr(sp1 + 1, sp2 - sp1 - 1);
      const std::size_t second = path.find('/', 1);
      const std::string route = path.substr(0, second);
      const std::string argument = second == std::string::npos ? "" : path.substr(second + 1);
      int seen;
      {
        std::lock_guard lock(mutex_);
        seen = ++requestsByRoute_[route];
      }
      ++totalRequests_;
      if (::strcasestr(head.c_str(), "\r\nauthorization:")) ++authorized_;
      Enter();

      // Routes with a fixed answer: status with its reason, extra header lines.
      static const std::map<std::string, std::pair<std::string, std::string>> kFixed = {
          {"/missing", {"404 Not Found", ""}},
          {"/error", {"500 Internal Server Error", ""}},
          {"/private", {"401 Unauthorized", "WWW-Authenticate: Basic realm=\"loopback\"\r\n"}},
          {"/loop", {"302 Found", "Location: /loop\r\n"}},
          {"/redirect", {"301 Moved Permanently", "Location: /ok\r\n"}},
          {"/tofile", {"302 Found", "Location: file:///etc/hostname\r\n"}},
      };
      std::pair<std::string, std::string> answer{"200 OK", ""};
      const bool noAnswer = route == "/slowclose" || route == "/hang" || (route == "/flaky" && seen == 1);
      if (auto it = kFixed.find(route); it != kFixed.end()) {
        answer = it->second;
      } else if (route == "/nohead" && method == "HEAD") {
        answer = {"405 Method Not Allowed", "Allow: GET\r\n"};
      } else if (route == "/slow" || route == "/slowclose") {
        Pause(std::atoi(argument.c_str()));
      } else if (route == "/hang") {
        while (::recv(fd, chunk, sizeof chunk, 0) > 0) {
        }
      }
      // Leave before answering: once the client has the answer, the request is over.
      Leave();
      if (noAnswer || !SendAll(fd, "HTTP/1.1 " + answer.first + "\r\nContent-Length: 0\r\n" + answer.second + "\r\n"))
        return CloseConnection(fd);
    }
  }

  void CloseConnection(int fd) {
    std::lock_guard lock(mutex_);
    auto it = std::find(openFds_.begin(), openFds_.end(), fd);
    if (it != openFds_.end()) {
      openFds_.erase(it);
      ::close(fd);
    }
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
  std::atomic<int> totalRequests_{0};
  std::atomic<int> accepted_{0};
  std::atomic<int> authorized_{0};
};

}  // namespace linvara::testing
