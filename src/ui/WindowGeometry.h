#pragma once
// Remembers the main window's size and position in a small file of the data
// folder (written in one step, like every file of the program).
#include <QByteArray>
#include <filesystem>
#include <optional>

class QWidget;

namespace linvara {

inline constexpr const char* kWindowGeometryFileName = "WindowGeometry";

// The saved geometry, or nothing when there is no readable file.
std::optional<QByteArray> LoadWindowGeometry(const std::filesystem::path& file);
bool SaveWindowGeometry(const std::filesystem::path& file, const QWidget& window);
// Restores a saved geometry; false when there was none (the window keeps its size).
bool RestoreWindowGeometry(const std::filesystem::path& file, QWidget& window);

}  // namespace linvara
