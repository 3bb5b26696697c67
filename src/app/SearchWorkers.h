#pragma once
// The search workers: one detached thread per text change, each filtering its
// own snapshot. Every start opens a new generation; a worker whose generation
// is no longer the latest stops early and hands nothing over, so the table
// always ends with the matches of the latest text.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/PRBookMarkNode.h"
#include "platform/MainThread.h"

namespace linvara {

class SearchWorkers {
 public:
  // Called on the main thread with the matches of the generation still current.
  using Deliver = std::function<void(const NodeList& matches, std::uint64_t generation)>;

  SearchWorkers();
  // Closes the channel: a worker still running delivers nothing afterwards.
  ~SearchWorkers();
  SearchWorkers(const SearchWorkers&) = delete;
  SearchWorkers& operator=(const SearchWorkers&) = delete;

  // Starts a worker over `snapshot` (taken by the caller on the main thread).
  // Returns the worker's generation.
  std::uint64_t Start(std::shared_ptr<MainThreadDispatcher> dispatcher, NodeList snapshot, std::string text,
                      Deliver deliver);
  // Supersedes every running worker (a view load, a cleared field).
  void Cancel();
  // The latest generation handed out.
  std::uint64_t current() const;
  // Workers started and not yet finished.
  int running() const;

 private:
  struct Channel;
  std::shared_ptr<Channel> channel_;
};

}  // namespace linvara
