#pragma once
// The host of an address, read with curl's URL parser. One parser handle is
// reused for every address, so reading the hosts of a long list costs no
// allocation per address.
#include <optional>
#include <string>

namespace linvara {

class UrlHostReader {
 public:
  UrlHostReader();
  ~UrlHostReader();
  UrlHostReader(const UrlHostReader&) = delete;
  UrlHostReader& operator=(const UrlHostReader&) = delete;

  // The host component; nullopt when the address does not parse as a URL or has no host.
  std::optional<std::string> HostOf(const std::string& address);

 private:
  void* url_;  // CURLU
};

}  // namespace linvara
