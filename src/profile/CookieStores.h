#pragma once
// Safari's Cookies.binarycookies and Chrome's Cookies database, written in one
// step from cookie descriptions (the formats are the cookie module's writers).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieDatabase.h"
#include "model/Result.h"

namespace linvara::profile {

// One cookie for either store. Times are seconds since 1970; expires 0 is a session cookie.
struct CookieEntry {
  std::string host;
  std::string name;
  std::string path = "/";
  std::string value;
  bool secure = false;
  bool httpOnly = false;
  std::int64_t created = 0;
  std::int64_t expires = 0;
};

// Safari's record: flags bit 0 secure, bit 2 HttpOnly; times since 2001.
BinaryCookieRecord SafariCookieRecord(const CookieEntry& cookie);
// Chrome's row: the plain value, times in microseconds since 1601.
ChromeCookieRow ChromeCookieRowOf(const CookieEntry& cookie);

Result<void> WriteSafariCookies(const std::filesystem::path& file, const std::vector<BinaryCookiePage>& pages);
Result<void> WriteChromeCookies(const std::filesystem::path& file, const std::vector<ChromeCookieRow>& rows);

}  // namespace linvara::profile
