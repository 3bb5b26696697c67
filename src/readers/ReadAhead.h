#pragma once
// Reads and parses the files of a full read on threads of their own, in the
// order the readers will ask for them, so that the parse of the next browser's
// file overlaps with making the nodes of the previous one. A reader asks with
// Take(); a file that was not read ahead is read by the reader itself.
#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace linvara {

class ReadAhead {
 public:
  ReadAhead() = default;
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  // Jobs not started are dropped; the one running is waited for.
  ~ReadAhead();

  // Queues `parse` under `key`; call before Start().
  template <class T>
  void Add(std::string key, std::function<T()> parse) {
    AddErased(std::move(key), TypeTag<T>(), [parse = std::move(parse)] { return std::shared_ptr<void>(std::make_shared<T>(parse())); });
  }
  // Runs the queued jobs in order on `threads` threads of their own.
  void Start(unsigned threads = 1);

  // The result of the job queued under `key` with the type T, waiting for it
  // and calling keepResponsive (if set) every few milliseconds meanwhile; each
  // result is given once. nullopt when no such job was queued or it was taken.
  template <class T>
  std::optional<T> Take(const std::string& key, const std::function<void()>& keepResponsive) {
    std::shared_ptr<void> result = TakeErased(key, TypeTag<T>(), keepResponsive);
    if (!result) return std::nullopt;
    return std::move(*std::static_pointer_cast<T>(result));
  }

 private:
  using Tag = const void*;
  template <class T>
  static Tag TypeTag() {
    static const char tag = 0;
    return &tag;
  }
  struct Job {
    std::string key;
    Tag type;
    std::function<std::shared_ptr<void>()> parse;
    std::promise<std::shared_ptr<void>> promise;
    std::future<std::shared_ptr<void>> result;
    bool taken = false;
  };
  void AddErased(std::string key, Tag type, std::function<std::shared_ptr<void>()> parse);
  std::shared_ptr<void> TakeErased(const std::string& key, Tag type, const std::function<void()>& keepResponsive);
  void RunJobs();

  std::vector<std::unique_ptr<Job>> jobs_;
  std::atomic<bool> stopping_{false};
  std::atomic<std::size_t> nextJob_{0};
  std::vector<std::thread> workers_;
};

// Waits for `done`, calling keepResponsive (if set) every few milliseconds meanwhile.
void WaitKeepingResponsive(const std::future<void>& done, const std::function<void()>& keepResponsive);

}  // namespace linvara
