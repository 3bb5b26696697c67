#include "update/VersionCompare.h"

namespace linvara {

std::optional<std::vector<std::string>> VersionParts(std::string_view version) {
  std::vector<std::string> parts;
  for (;;) {
    const std::size_t dot = version.find('.');
    std::string_view part = version.substr(0, dot);
    if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const std::size_t firstNonZero = part.find_first_not_of('0');
    part = firstNonZero == std::string_view::npos ? std::string_view("0") : part.substr(firstNonZero);
    parts.emplace_back(part);
    if (dot == std::string_view::npos) return parts;
    version.remove_prefix(dot + 1);
  }
}

std::optional<int> CompareVersions(std::string_view a, std::string_view b) {
  const auto left = VersionParts(a), right = VersionParts(b);
  if (!left || !right) return std::nullopt;
  const std::string zero = "0";
  for (std::size_t i = 0; i < std::max(left->size(), right->size()); ++i) {
    const std::string& x = i < left->size() ? (*left)[i] : zero;
    const std::string& y = i < right->size() ? (*right)[i] : zero;
    // Without leading zeros, the longer number is the larger one.
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    if (const int order = x.compare(y); order != 0) return order < 0 ? -1 : 1;
  }
  return 0;
}

bool CompareOneString(std::string_view a, std::string_view b) {
  const auto order = CompareVersions(a, b);
  return order && *order > 0;
}

}  // namespace linvara
