#pragma once
// Byte, text and date routines shared by the cookie readers, the cookie view
// and the bookmark table's date column.
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace linvara {

// Lowercase hexadecimal text of the bytes, two digits per byte in order.
std::string getHexString(std::string_view bytes);
// The same for `length` bytes at `offset` of an open file; bytes past its end
// read as zero. Nothing when there is no file or the length is 0.
std::optional<std::string> getHexString(std::istream* file, std::uint64_t offset, std::uint32_t length);

// The bytes before the first NUL, decoded as UTF-8. Bytes that are not valid
// UTF-8 (overlong forms, surrogates, code points past U+10FFFF, cut sequences)
// give the empty string.
std::string GetStringFormChar(std::string_view bytes);

// Date kinds GetDateTime understands.
inline constexpr int kDateSecondsSince1970 = 0;

// "%02d-%02d-%04d %02d:%02d" (month-day-year hour:minute) in local time; a year
// before 1990 is shown 31 years later. Nothing when the time has no calendar
// date or the kind is unknown.
std::optional<std::string> GetDateTime(std::int64_t seconds, int fileType);
// The date text, or "Unkown Date" when there is none.
std::string GetNSStringDate(const std::optional<std::string>& dateText);
inline constexpr const char* kUnknownDateText = "Unkown Date";

// Chromium time (microseconds since 1601-01-01 UTC) as seconds since 1970.
std::int64_t ChromeTimeToUnixSeconds(std::int64_t microsecondsSince1601);
// Safari time (seconds since 2001-01-01 UTC, a double) as seconds since 1970;
// nothing for a value that is not a finite, representable time.
std::optional<std::int64_t> SafariTimeToUnixSeconds(double secondsSince2001);

// The conventional description of a byte buffer: lowercase hexadecimal inside
// "<" and ">", four bytes to a group, groups separated by one blank ("<>" when empty).
std::string DescribeBytes(std::string_view bytes);

}  // namespace linvara
