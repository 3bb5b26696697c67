#include "app/SearchWorkers.h"

#include <future>
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

namespace {
constexpr std::size_t kRowsScannedInHalves = 20000;
}  // namespace

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
    const SearchMatcher matcher(text);
    // False when a newer text made the search pointless: nothing is handed over then.
    const auto scan = [&](std::size_t begin, std::size_t end, NodeList& found) {
      for (std::size_t i = begin; i < end; ++i) {
        if (((i - begin) & 255) == 0 && superseded()) return false;
        if (snapshot[i] && matcher.Matches(*snapshot[i])) found.push_back(snapshot[i]);
      }
      return true;
    };
    // A long list is scanned in two halves at once.
    const std::size_t half = snapshot.size() >= kRowsScannedInHalves ? snapshot.size() / 2 : snapshot.size();
    NodeList matches, secondHalf;
    std::future<bool> secondDone = std::async(half < snapshot.size() ? std::launch::async : std::launch::deferred,
                                              [&] { return scan(half, snapshot.size(), secondHalf); });
    const bool complete = scan(0, half, matches) & secondDone.get();
    matches.insert(matches.end(), secondHalf.begin(), secondHalf.end());
    if (complete && !superseded() && dispatcher) {
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
