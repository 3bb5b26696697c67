#include "app/SearchWorkers.h"

#include <thread>

#include "model/SearchMatch.h"

namespace linvara {

// Shared by the controller and its workers; outlives either.
struct SearchWorkers::Channel {
  std::atomic<std::uint64_t> generation{0};
  std::atomic<int> running{0};
  // Read and written on the main thread only (a delivery runs there).
  bool open = true;
};

SearchWorkers::SearchWorkers() : channel_(std::make_shared<Channel>()) {}

SearchWorkers::~SearchWorkers() {
  channel_->open = false;
  channel_->generation.fetch_add(1);
}

std::uint64_t SearchWorkers::Start(std::shared_ptr<MainThreadDispatcher> dispatcher, NodeList snapshot,
                                   std::string text, Deliver deliver) {
  const std::uint64_t generation = channel_->generation.fetch_add(1) + 1;
  auto channel = channel_;
  channel->running.fetch_add(1);
  std::thread([channel, dispatcher = std::move(dispatcher), snapshot = std::move(snapshot),
               text = std::move(text), deliver = std::move(deliver), generation]() {
    const auto superseded = [&] { return channel->generation.load() != generation; };
    SearchMatcher matcher(text);
    NodeList matches;
    bool stopped = false;
    for (std::size_t i = 0; i < snapshot.size(); ++i) {
      // A newer text makes this search pointless: stop without handing anything over.
      if ((i & 255) == 0 && superseded()) {
        stopped = true;
        break;
      }
      if (snapshot[i] && matcher.Matches(*snapshot[i])) matches.push_back(snapshot[i]);
    }
    if (!stopped && !superseded() && dispatcher) {
      dispatcher->RunAndWait([&] {
        if (channel->open && channel->generation.load() == generation) deliver(matches, generation);
      });
    }
    channel->running.fetch_sub(1);
  }).detach();
  return generation;
}

void SearchWorkers::Cancel() { channel_->generation.fetch_add(1); }

std::uint64_t SearchWorkers::current() const { return channel_->generation.load(); }

int SearchWorkers::running() const { return channel_->running.load(); }

}  // namespace linvara
