#pragma once
namespace linvara {
// The maker's web site: the welcome page, the guide, support and the update manifest live here.
inline constexpr const char* kMakerSite = "https://www.zelvane.com";
}  // namespace linvara
