#include "profile/CookieStores.h"

#include "profile/ProfileFile.h"

namespace linvara::profile {
namespace {
constexpr double kSecondsFrom1970To2001 = 978307200.0;
constexpr std::int64_t kMicrosecondsFrom1601To1970 = 11644473600LL * 1000000;
}  // namespace

BinaryCookieRecord SafariCookieRecord(const CookieEntry& cookie) {
  return {.domain = cookie.host,
          .name = cookie.name,
          .path = cookie.path,
          .value = cookie.value,
          .flags = (cookie.secure ? 1u : 0u) | (cookie.httpOnly ? 4u : 0u),
          .expiry = static_cast<double>(cookie.expires) - kSecondsFrom1970To2001,
          .creation = static_cast<double>(cookie.created) - kSecondsFrom1970To2001};
}

ChromeCookieRow ChromeCookieRowOf(const CookieEntry& cookie) {
  auto chromeTime = [](std::int64_t seconds) { return seconds * 1000000 + kMicrosecondsFrom1601To1970; };
  return {.host = cookie.host,
          .name = cookie.name,
          .value = cookie.value,
          .encryptedValue = {},
          .path = cookie.path,
          .creationUtc = chromeTime(cookie.created),
          .expiresUtc = cookie.expires == 0 ? 0 : chromeTime(cookie.expires),
          .secure = cookie.secure,
          .httpOnly = cookie.httpOnly};
}

Result<void> WriteSafariCookies(const std::filesystem::path& file, const std::vector<BinaryCookiePage>& pages) {
  return WriteProfileFile(file, BuildBinaryCookieFile(pages));
}

Result<void> WriteChromeCookies(const std::filesystem::path& file, const std::vector<ChromeCookieRow>& rows) {
  auto bytes = BuildChromeCookieDatabase(rows);
  if (!bytes) return bytes.failure();
  return WriteProfileFile(file, *bytes);
}

}  // namespace linvara::profile
