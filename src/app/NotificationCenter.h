#pragma once
// Named notifications posted by the navigation buttons and handled by the controller.
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace linvara {

struct Notification {
  std::string name;
  std::string sender;  // identity of the posting button
};

class NotificationCenter {
 public:
  using Handler = std::function<void(const Notification&)>;
  // Returns a token for RemoveObserver.
  int AddObserver(const std::string& name, Handler handler);
  void RemoveObserver(int token);
  void Post(const Notification& notification) const;
  std::size_t ObserverCount(const std::string& name) const;

 private:
  struct Entry {
    int token;
    std::string name;
    Handler handler;
  };
  std::vector<Entry> entries_;
  int nextToken_ = 1;
};

inline constexpr const char* kLeftButtonMouseDown = "PRLeftButtonMouseDown";

}  // namespace linvara
