#include "update/ManifestFetch.h"

#include <arpa/inet.h>
#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace linvara {

namespace {

struct UrlParts {
  std::string scheme;
  std::string host;
};

Result<UrlParts> SplitUrl(const std::string& url) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), curl_url_cleanup);
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
    return Fail("'" + url + "' is not a web address", ErrorKind::Malformed);
  UrlParts parts;
  for (auto [part, into] : {std::pair{CURLUPART_SCHEME, &parts.scheme}, std::pair{CURLUPART_HOST, &parts.host}}) {
    char* text = nullptr;
    if (curl_url_get(handle.get(), part, &text, 0) != CURLUE_OK || !text)
      return Fail("'" + url + "' is not a web address", ErrorKind::Malformed);
    *into = text;
    curl_free(text);
  }
  return parts;
}

bool IsLoopbackHost(const std::string& host) {
  if (host == "localhost" || host == "[::1]") return true;
  in_addr address{};
  return inet_pton(AF_INET, host.c_str(), &address) == 1 && (ntohl(address.s_addr) >> 24) == 127;
}

struct Transfer {
  std::string body;
  std::size_t maxBytes = 0;
  bool tooLarge = false;
  const std::atomic<bool>* cancel = nullptr;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  if (transfer->body.size() + bytes > transfer->maxBytes) {
    transfer->tooLarge = true;
    return 0;  // stops the transfer
  }
  transfer->body.append(data, bytes);
  return bytes;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* transfer = static_cast<const Transfer*>(user);
  return transfer->cancel && transfer->cancel->load() ? 1 : 0;
}

std::string LimitText(std::size_t bytes) {
  return bytes % (1 << 20) == 0 ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes) + " bytes";
}

// The scheme to allow for the address: "https", or "http" for a loopback host.
Result<std::string> AllowedScheme(const std::string& url) {
  Result<UrlParts> parts = SplitUrl(url);
  if (!parts) return parts.failure();
  if (parts->scheme == "https" || (parts->scheme == "http" && IsLoopbackHost(parts->host))) return parts->scheme;
  return Fail("'" + url + "' is not an https address", ErrorKind::Malformed);
}

}  // namespace

Result<void> CheckManifestAddress(const std::string& url) {
  Result<std::string> scheme = AllowedScheme(url);
  if (!scheme) return scheme.failure();
  return {};
}

Result<std::string> FetchManifest(const ManifestRequest& request, const std::atomic<bool>* cancel) {
  Result<std::string> scheme = AllowedScheme(request.url);
  if (!scheme) return scheme.failure();
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), curl_easy_cleanup);
  if (!easy) return Fail("cannot start a request", ErrorKind::Network);

  const bool plainLoopback = *scheme == "http";
  Transfer transfer;
  transfer.maxBytes = request.maxBytes;
  transfer.cancel = cancel;
  char errorText[CURL_ERROR_SIZE] = {};
  CURL* h = easy.get();
  curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, plainLoopback ? "http" : "https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  if (plainLoopback) curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.timeout.count()));
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBytes));
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
  if (!request.userAgent.empty()) curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str());
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);

  const CURLcode code = curl_easy_perform(h);
  if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
    return Fail("the answer is larger than " + LimitText(request.maxBytes), ErrorKind::Network);
  if (code == CURLE_ABORTED_BY_CALLBACK) return Fail("cancelled", ErrorKind::Network);
  if (code == CURLE_OPERATION_TIMEDOUT) return Fail("no answer in time", ErrorKind::Network);
  if (code != CURLE_OK) return Fail(*errorText ? errorText : curl_easy_strerror(code), ErrorKind::Network);
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  if (status != 200) return Fail("the server answered HTTP " + std::to_string(status), ErrorKind::Network);
  return std::move(transfer.body);
}

}  // namespace linvara
