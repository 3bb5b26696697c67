#pragma once
// Bundle identifiers of the browsers the application watches for.

namespace linvara::bundleids {
inline constexpr const char* kSafari = "com.apple.Safari";
inline constexpr const char* kChrome = "com.google.Chrome";
inline constexpr const char* kFirefox = "org.mozilla.firefox";
inline constexpr const char* kOpera = "com.operasoftware.Opera";
inline constexpr const char* kEdge = "com.microsoft.edgemac";
}  // namespace linvara::bundleids
