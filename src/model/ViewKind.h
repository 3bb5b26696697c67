#pragma once
// The bookmark view the window shows (`bookMarkType`); the values are the
// ones the rest of the program has always used.
#include <cstdint>

namespace linvara {

enum class ViewKind : std::int32_t {
  None = 0,    // no view loaded yet
  All = 1,     // the unified list of every browser
  Safari = 2,  // Safari's tree
  Chrome = 3,  // Chrome's tree
};

// True for the three views that show bookmarks.
constexpr bool IsBookmarkView(ViewKind view) { return view != ViewKind::None; }
constexpr bool IsTreeView(ViewKind view) { return view == ViewKind::Safari || view == ViewKind::Chrome; }

}  // namespace linvara
