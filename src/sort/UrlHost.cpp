#include "sort/UrlHost.h"

#include <curl/curl.h>

#include <string_view>

namespace linvara {

namespace {
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The host of a plain "scheme://host[/?#...]" address with an ASCII
// host of letters, digits, dots, hyphens and underscores and no port, read
// without curl; nullopt for anything else (file addresses, user info, ports,
// IP literals, numeric hosts that curl rewrites, percent signs, spaces or
// non-ASCII bytes), which curl decides.
std::optional<std::string_view> PlainHost(std::string_view address) {
  for (char c : address)
    if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F) return std::nullopt;
  const std::size_t colon = address.find("://");
  if (colon == std::string_view::npos || colon == 0 || colon > 10 || !IsAlpha(address[0])) return std::nullopt;
  for (std::size_t i = 1; i < colon; ++i)
    if (!IsAlpha(address[i]) && !IsDigit(address[i]) && address[i] != '+' && address[i] != '-' && address[i] != '.')
      return std::nullopt;
  // curl reads file addresses by rules of their own.
  if (colon == 4 && (address[0] | 0x20) == 'f' && (address[1] | 0x20) == 'i' && (address[2] | 0x20) == 'l' &&
      (address[3] | 0x20) == 'e')
    return std::nullopt;
  const std::size_t start = colon + 3;
  std::size_t end = address.find_first_of("/?#", start);
  if (end == std::string_view::npos) end = address.size();
  const std::string_view host = address.substr(start, end - start);
  if (host.empty() || host.front() == '.' || host.back() == '.') return std::nullopt;
  for (char c : host)
    if (!IsAlpha(c) && !IsDigit(c) && c != '.' && c != '-' && c != '_') return std::nullopt;
  // A last label that starts with a digit may be an IPv4 number in one of the forms curl rewrites.
  const std::size_t lastDot = host.rfind('.');
  if (IsDigit(host[lastDot == std::string_view::npos ? 0 : lastDot + 1])) return std::nullopt;
  return host;
}
}  // namespace

UrlHostReader::UrlHostReader() : url_(curl_url()) {}

UrlHostReader::~UrlHostReader() { curl_url_cleanup(static_cast<CURLU*>(url_)); }

std::optional<std::string> UrlHostReader::HostOf(const std::string& address) {
  if (address.empty()) return std::nullopt;
  if (std::optional<std::string_view> host = PlainHost(address)) return std::string(*host);
  auto* url = static_cast<CURLU*>(url_);
  if (!url) return std::nullopt;
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
