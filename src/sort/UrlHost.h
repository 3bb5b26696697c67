#pragma once
// The host of an address, as curl's URL parser reads it. Plain web addresses
// are read directly (the same host, far cheaper); curl reads the rest with one
// parser handle reused for every address.
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
