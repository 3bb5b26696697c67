#pragma once
// Renders the window in a chosen view into an image file (for the README and
// for checking the look without a display).
#include <QString>
#include <string>
#include <vector>

namespace linvara {

class LinvaraApp;

// The views a screenshot can show: "start", "all", "safari", "chrome", "flat",
// "folder", "cookies", "chromecookies".
std::vector<std::string> ScreenshotViews();
bool IsScreenshotView(const std::string& view);
// Presses the buttons of the view, waits until the window is idle (no worker
// waiting, no scan running) and saves the window's picture. Returns false when
// the picture could not be written.
bool TakeScreenshot(LinvaraApp& app, const std::string& view, const QString& file, int timeoutMs = 20000);

}  // namespace linvara
