#include "app/NotificationCenter.h"

#include <algorithm>

namespace linvara {

int NotificationCenter::AddObserver(const std::string& name, Handler handler) {
  int token = nextToken_++;
  entries_.push_back({token, name, std::move(handler)});
  return token;
}

void NotificationCenter::RemoveObserver(int token) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.token == token; }),
                 entries_.end());
}

void NotificationCenter::Post(const Notification& notification) const {
  // Copy first: a handler may add or remove observers.
  std::vector<Handler> handlers;
  for (const auto& e : entries_)
    if (e.name == notification.name) handlers.push_back(e.handler);
  for (const auto& h : handlers) h(notification);
}

std::size_t NotificationCenter::ObserverCount(const std::string& name) const {
  return static_cast<std::size_t>(
      std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.name == name; }));
}

}  // namespace linvara
