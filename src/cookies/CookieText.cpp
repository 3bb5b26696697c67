#include "cookies/CookieText.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

namespace linvara {

namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::int64_t kSeconds1601To1970 = 11644473600LL;
constexpr std::int64_t kSeconds1970To2001 = 978307200LL;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
}  // namespace

std::string getHexString(std::string_view bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    hex.push_back(kHexDigits[c >> 4]);
    hex.push_back(kHexDigits[c & 0x0f]);
  }
  return hex;
}

std::optional<std::string> getHexString(std::istream* file, std::uint64_t offset, std::uint32_t length) {
  if (file == nullptr || length == 0) return std::nullopt;
  std::string bytes(length, '\0');
  file->clear();
  file->seekg(static_cast<std::streamoff>(offset), std::ios::beg);
  if (*file) {
    file->read(bytes.data(), static_cast<std::streamsize>(length));
    // A short read leaves the rest zero.
  }
  file->clear();
  return getHexString(bytes);
}

std::string GetStringFormChar(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra;
    char32_t cp;
    char32_t minimum;
    if ((lead & 0xe0) == 0xc0) {
      extra = 1, cp = lead & 0x1f, minimum = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
      extra = 2, cp = lead & 0x0f, minimum = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
      extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
      return {};
    }
    if (i + extra >= n) return {};
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xc0) != 0x80) return {};
      cp = (cp << 6) | (next & 0x3f);
    }
    if (cp < minimum || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return {};
    i += extra + 1;
  }
  return std::string(bytes);
}

std::optional<std::string> GetDateTime(std::int64_t seconds, int fileType) {
  if (fileType != kDateSecondsSince1970) return std::nullopt;
  if (seconds < static_cast<std::int64_t>(std::numeric_limits<std::time_t>::min()) ||
      seconds > static_cast<std::int64_t>(std::numeric_limits<std::time_t>::max()))
    return std::nullopt;
  const auto when = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return std::nullopt;
  long long year = static_cast<long long>(local.tm_year) + 1900;
  if (year < 1990) year += 31;
  char text[64];
  std::snprintf(text, sizeof text, "%02d-%02d-%04lld %02d:%02d", local.tm_mon + 1, local.tm_mday, year, local.tm_hour,
                local.tm_min);
  return std::string(text);
}

std::string GetNSStringDate(const std::optional<std::string>& dateText) {
  return dateText ? *dateText : std::string(kUnknownDateText);
}

std::int64_t ChromeTimeToUnixSeconds(std::int64_t microsecondsSince1601) {
  return FloorDiv(microsecondsSince1601, 1000000) - kSeconds1601To1970;
}

std::optional<std::int64_t> SafariTimeToUnixSeconds(double secondsSince2001) {
  // About 300 million years either way: past that no calendar date is wanted.
  constexpr double kLimit = 1e16;
  if (!std::isfinite(secondsSince2001) || std::fabs(secondsSince2001) > kLimit) return std::nullopt;
  return static_cast<std::int64_t>(std::floor(secondsSince2001)) + kSeconds1970To2001;
}

std::string DescribeBytes(std::string_view bytes) {
  std::string text = "<";
  text.reserve(bytes.size() * 2 + bytes.size() / 4 + 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0 && i % 4 == 0) text.push_back(' ');
    const auto c = static_cast<unsigned char>(bytes[i]);
    text.push_back(kHexDigits[c >> 4]);
    text.push_back(kHexDigits[c & 0x0f]);
  }
  text.push_back('>');
  return text;
}

}  // namespace linvara
