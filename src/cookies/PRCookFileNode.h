#pragma once
// One cookie as the cookie view lists it, filled by the binary cookie reader
// or by the cookie database reader. Unset strings print as "(null)".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace linvara {

struct PRCookFileNode {
  std::optional<std::string> fileHost;
  std::optional<std::string> fileName;
  std::optional<std::string> filePath;
  std::optional<std::string> fileValue;
  std::string secureValue = "NO";  // "YES" or "NO"
  std::uint64_t cookieStartOffSet = 0;  // binary file: absolute offset of the record
  std::int32_t cookieLength = 1;        // binary file: the record's size word
  std::optional<std::string> expiredDate;
  bool hasExpired = false;
  std::shared_ptr<const std::string> dataValue;  // shared, never copied
  std::optional<std::string> fileURL;
};

using CookieNodePtr = std::shared_ptr<PRCookFileNode>;
using CookieList = std::vector<CookieNodePtr>;

// The text an unset string property prints as.
inline constexpr const char* kNullText = "(null)";
inline std::string OrNullText(const std::optional<std::string>& text) { return text ? *text : kNullText; }

}  // namespace linvara
