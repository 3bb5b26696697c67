#include "profile/DemoProfile.h"

#include <filesystem>

namespace linvara::profile {

Result<void> MakeDemoProfile(const Locations& home) {
  std::error_code ec;
  std::filesystem::create_directories(home.home(), ec);
  if (ec) return Fail("cannot create " + home.home().string() + ": " + ec.message(), ErrorKind::WriteFailed);
  if (auto r = WriteDemoBookmarks(home); !r) return Fail("bookmarks: " + r.error(), r.errorKind());
  if (auto r = WriteDemoCookies(home); !r) return Fail("cookies: " + r.error(), r.errorKind());
  return {};
}

}  // namespace linvara::profile
