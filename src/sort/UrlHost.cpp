#include "sort/UrlHost.h"

#include <curl/curl.h>

namespace linvara {

UrlHostReader::UrlHostReader() : url_(curl_url()) {}

UrlHostReader::~UrlHostReader() { curl_url_cleanup(static_cast<CURLU*>(url_)); }

std::optional<std::string> UrlHostReader::HostOf(const std::string& address) {
  auto* url = static_cast<CURLU*>(url_);
  if (!url || address.empty()) return std::nullopt;
  // Cleared first: on a handle that holds a URL, a new one would be taken as relative to it.
  curl_url_set(url, CURLUPART_URL, nullptr, 0);
  // Any scheme is a URL ("chrome://settings", "ftp://..."); an address without one is not.
  if (curl_url_set(url, CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) return std::nullopt;
  char* host = nullptr;
  if (curl_url_get(url, CURLUPART_HOST, &host, 0) != CURLUE_OK || !host) return std::nullopt;
  std::string out(host);
  curl_free(host);
  return out;
}

}  // namespace linvara
