#include "profile/CookieStores.h"

#include "profile/ProfileFile.h"

namespace linvara::profile {
namespace {
constexpr double kSecondsFrom1970To2001 = 978307200.0;
constexpr std::int64_t kMicrosecondsFrom1601To1970 = 11644473600LL * 1000000;
}  // namespace

BinaryCookieRecord SafariCookieRecord(const CookieEntry& cookie) {
  BinaryCookieRecord r;
  r.domain = cookie.host;
  r.name = cookie.name;
  r.path = cookie.path;
  r.value = cookie.value;
  r.flags = (cookie.secure ? 1u : 0u) | (cookie.httpOnly ? 4u : 0u);
  r.expiry = static_cast<double>(cookie.expires) - kSecondsFrom1970To2001;
  r.creation = static_cast<double>(cookie.created) - kSecondsFrom1970To2001;
  return r;
}

ChromeCookieRow ChromeCookieRowOf(const CookieEntry& cookie) {
  ChromeCookieRow r;
  r.host = cookie.host;
  r.name = cookie.name;
  r.path = cookie.path;
  r.value = cookie.value;
  r.creationUtc = cookie.created * 1000000 + kMicrosecondsFrom1601To1970;
  r.expiresUtc = cookie.expires == 0 ? 0 : cookie.expires * 1000000 + kMicrosecondsFrom1601To1970;
  r.secure = cookie.secure;
  r.httpOnly = cookie.httpOnly;
  return r;
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
