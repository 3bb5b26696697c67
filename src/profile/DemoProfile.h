#pragma once
// The demo profile: a generated home with every browser's bookmarks and
// cookies where the home's layout keeps them (Safari's files only in the macOS
// layout), written by `linvara-cli make-demo DIR`.
#include "model/Result.h"
#include "platform/Locations.h"

namespace linvara::profile {

Result<void> MakeDemoProfile(const Locations& home);

// The parts: Safari, Chrome, Edge, Opera and Firefox bookmarks; Safari's and Chrome's cookies.
Result<void> WriteDemoBookmarks(const Locations& home);
Result<void> WriteDemoCookies(const Locations& home);

}  // namespace linvara::profile
