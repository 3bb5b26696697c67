// Demo profile: Safari's binary cookie file and Chrome's cookie database
// (current schema, in "Default/Network/Cookies" as Chrome keeps it since 2021).
#include "profile/CookieStores.h"
#include "profile/DemoProfile.h"

namespace linvara::profile {
namespace {

constexpr std::int64_t kCreated = 1714557600;   // 2024-05-01 10:00 UTC
constexpr std::int64_t kNextYear = 1767225600;  // 2026-01-01 00:00 UTC
constexpr std::int64_t kLongAway = 1798761600;  // 2027-01-01 00:00 UTC
constexpr std::int64_t kLongPast = 1704067200;  // 2024-01-01 00:00 UTC: already expired

CookieEntry Cookie(std::string host, std::string name, std::string path, std::string value, bool secure,
                   bool httpOnly, std::int64_t expires) {
  return {std::move(host), std::move(name), std::move(path), std::move(value), secure, httpOnly, kCreated, expires};
}

Result<void> WriteSafariDemoCookies(const Locations& home) {
  std::vector<BinaryCookiePage> pages(4);
  for (const auto& [page, cookie] :
       {std::pair(0, Cookie(".news.example.com", "edition", "/", "intl", false, false, kLongAway)),
        std::pair(0, Cookie(".news.example.com", "session", "/", "a8f3c19d2e7b", true, true, kNextYear)),
        std::pair(0, Cookie("news.example.com", "consent", "/", "", false, false, kLongAway)),
        std::pair(1, Cookie(".shop.example.org", "cart", "/basket", "3%7C17%7C42", true, false, kNextYear)),
        std::pair(1, Cookie(".shop.example.org", "locale", "/", "fr_FR", false, true, kLongAway)),
        std::pair(2, Cookie("mail.example.net", "auth", "/", "eyJ1IjoiZGVtbyJ9", true, true, kNextYear)),
        std::pair(2, Cookie("mail.example.net", "theme", "/settings", "dark", false, false, kLongPast)),
        std::pair(3, Cookie(".wiki.example.com", "caf\xc3\xa9_pref", "/", "\xe6\x97\xa5\xe6\x9c\xac", false, false,
                            kLongAway))})
    pages[static_cast<std::size_t>(page)].push_back(SafariCookieRecord(cookie));
  // Older Safari files store name, value, domain, path.
  for (auto& r : pages[1]) r.order = {CookieString::Name, CookieString::Value, CookieString::Domain, CookieString::Path};
  return WriteSafariCookies(home.safariCookies(), pages);
}

// Current Chrome stores every value encrypted: "v10" and the ciphertext.
ChromeCookieRow EncryptedRow(const CookieEntry& cookie, int serial) {
  ChromeCookieRow r = ChromeCookieRowOf(cookie);
  r.creationUtc += serial;
  r.value.clear();
  r.encryptedValue = "v10";
  std::uint32_t state = 0x9e3779b9u * static_cast<std::uint32_t>(serial + 1);
  for (int i = 0; i < 16 + serial % 3 * 16; ++i) {
    state = state * 1664525u + 1013904223u;
    r.encryptedValue.push_back(static_cast<char>(state >> 24));
  }
  return r;
}

Result<void> WriteChromeDemoCookies(const Locations& home) {
  const CookieEntry cookies[] = {
      Cookie(".news.example.com", "edition", "/", "", false, false, kLongAway),
      Cookie(".news.example.com", "session", "/", "", true, true, kNextYear),
      Cookie("accounts.example.org", "SID", "/", "", true, true, kLongAway),
      Cookie("accounts.example.org", "__Host-prefs", "/", "", true, false, kNextYear),
      Cookie(".video.example.net", "volume", "/player", "", false, false, 0),
      Cookie(".video.example.net", "seen", "/", "", false, false, kLongPast),
  };
  std::vector<ChromeCookieRow> rows;
  for (const CookieEntry& cookie : cookies) rows.push_back(EncryptedRow(cookie, static_cast<int>(rows.size())));
  const auto profile = home.chromeDefaultBookmarks().parent_path();
  return WriteChromeCookies(profile / "Network" / "Cookies", rows);
}

}  // namespace

Result<void> WriteDemoCookies(const Locations& home) {
  if (!home.safariCookies().empty())
    if (auto r = WriteSafariDemoCookies(home); !r) return r;
  return WriteChromeDemoCookies(home);
}

}  // namespace linvara::profile
