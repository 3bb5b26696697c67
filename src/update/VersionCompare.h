#pragma once
// Dotted versions ("1.9.10") compared part by part as whole numbers.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace linvara {

// The parts of a version, each the digits of one whole number without leading
// zeros ("0" for zero). nullopt when the text is empty or a part is empty or
// holds anything but the digits 0-9.
std::optional<std::vector<std::string>> VersionParts(std::string_view version);

// Negative, zero or positive as `a` is older than, equal to or newer than `b`;
// missing parts count as 0 ("1.2" equals "1.2.0"). nullopt when either is no version.
std::optional<int> CompareVersions(std::string_view a, std::string_view b);

// True exactly when `a` is a version newer than the version `b`.
bool CompareOneString(std::string_view a, std::string_view b);

}  // namespace linvara
