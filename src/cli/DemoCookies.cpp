// Demo profile: Safari's binary cookie file and Chrome's cookie database
// (current schema, in "Default/Network/Cookies" as Chrome keeps it since 2021).
#include <filesystem>

#include "cli/DemoProfile.h"
#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieDatabase.h"
#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara::cli {
namespace {

constexpr double kSecondsFrom1970To2001 = 978307200.0;
constexpr std::int64_t kMicrosecondsFrom1601To1970 = 11644473600LL * 1000000;

double SafariTime(double unixSeconds) { return unixSeconds - kSecondsFrom1970To2001; }
std::int64_t ChromeTime(std::int64_t unixSeconds) { return unixSeconds * 1000000 + kMicrosecondsFrom1601To1970; }

constexpr std::int64_t kCreated = 1714557600;    // 2024-05-01 10:00 UTC
constexpr std::int64_t kNextYear = 1767225600;   // 2026-01-01 00:00 UTC
constexpr std::int64_t kLongAway = 1798761600;   // 2027-01-01 00:00 UTC
constexpr std::int64_t kLongPast = 1704067200;   // 2024-01-01 00:00 UTC: already expired

BinaryCookieRecord SafariCookie(std::string domain, std::string name, std::string path, std::string value,
                                std::uint32_t flags, std::int64_t expires) {
  BinaryCookieRecord r;
  r.domain = std::move(domain);
  r.name = std::move(name);
  r.path = std::move(path);
  r.value = std::move(value);
  r.flags = flags;  // bit 0 secure, bit 2 HttpOnly
  r.expiry = SafariTime(static_cast<double>(expires));
  r.creation = SafariTime(static_cast<double>(kCreated));
  return r;
}

Result<void> WriteDemoFile(const fs::path& target, const std::string& bytes) {
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) return Fail("cannot create " + target.parent_path().string() + ": " + ec.message());
  return WriteFileAtomically(target, bytes);
}

Result<void> BuildSafariCookies(const Locations& home) {
  BinaryCookiePage news{SafariCookie(".news.example.com", "edition", "/", "intl", 0, kLongAway),
                        SafariCookie(".news.example.com", "session", "/", "a8f3c19d2e7b", 5, kNextYear),
                        SafariCookie("news.example.com", "consent", "/", "", 0, kLongAway)};
  BinaryCookiePage shop{SafariCookie(".shop.example.org", "cart", "/basket", "3%7C17%7C42", 1, kNextYear),
                        SafariCookie(".shop.example.org", "locale", "/", "fr_FR", 4, kLongAway)};
  // Older Safari files store name, value, domain, path.
  for (auto& r : shop) r.order = {CookieString::Name, CookieString::Value, CookieString::Domain, CookieString::Path};
  BinaryCookiePage mail{SafariCookie("mail.example.net", "auth", "/", "eyJ1IjoiZGVtbyJ9", 5, kNextYear),
                        SafariCookie("mail.example.net", "theme", "/settings", "dark", 0, kLongPast)};
  BinaryCookiePage wiki{SafariCookie(".wiki.example.com", "caf\xc3\xa9_pref", "/", "\xe6\x97\xa5\xe6\x9c\xac", 0,
                                     kLongAway)};
  return WriteDemoFile(home.safariCookies(), BuildBinaryCookieFile({news, shop, mail, wiki}));
}

ChromeCookieRow ChromeCookie(std::string host, std::string name, std::string path, std::int64_t expires,
                             bool secure, bool httpOnly, int serial) {
  ChromeCookieRow r;
  r.host = std::move(host);
  r.name = std::move(name);
  r.path = std::move(path);
  r.creationUtc = ChromeTime(kCreated) + serial;
  r.expiresUtc = expires == 0 ? 0 : ChromeTime(expires);
  r.secure = secure;
  r.httpOnly = httpOnly;
  // Current Chrome stores every value encrypted: "v10" and the ciphertext.
  r.encryptedValue = "v10";
  std::uint32_t state = 0x9e3779b9u * static_cast<std::uint32_t>(serial + 1);
  for (int i = 0; i < 16 + serial % 3 * 16; ++i) {
    state = state * 1664525u + 1013904223u;
    r.encryptedValue.push_back(static_cast<char>(state >> 24));
  }
  return r;
}

Result<void> BuildChromeCookies(const Locations& home) {
  std::vector<ChromeCookieRow> rows{
      ChromeCookie(".news.example.com", "edition", "/", kLongAway, false, false, 0),
      ChromeCookie(".news.example.com", "session", "/", kNextYear, true, true, 1),
      ChromeCookie("accounts.example.org", "SID", "/", kLongAway, true, true, 2),
      ChromeCookie("accounts.example.org", "__Host-prefs", "/", kNextYear, true, false, 3),
      ChromeCookie(".video.example.net", "volume", "/player", 0, false, false, 4),
      ChromeCookie(".video.example.net", "seen", "/", kLongPast, false, false, 5),
  };
  auto bytes = BuildChromeCookieDatabase(rows);
  if (!bytes) return Fail(bytes.error());
  const fs::path profile = home.chromeDefaultBookmarks().parent_path();
  return WriteDemoFile(profile / "Network" / "Cookies", *bytes);
}

const DemoPartRegistrar kSafariCookies{"cookies-safari", BuildSafariCookies};
const DemoPartRegistrar kChromeCookies{"cookies-chrome", BuildChromeCookies};

}  // namespace
}  // namespace linvara::cli
