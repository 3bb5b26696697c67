#include "ui/WindowGeometry.h"

#include <QWidget>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/AtomicFile.h"

namespace linvara {
namespace {
constexpr const char* kHeader = "linvara-window-geometry 1\n";
}

std::optional<QByteArray> LoadWindowGeometry(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  if (text.rfind(kHeader, 0) != 0) return std::nullopt;
  const QByteArray encoded = QByteArray::fromStdString(text.substr(std::char_traits<char>::length(kHeader))).trimmed();
  auto decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded || (*decoded).isEmpty()) return std::nullopt;
  return *decoded;
}

bool SaveWindowGeometry(const std::filesystem::path& file, const QWidget& window) {
  if (file.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  const std::string text = std::string(kHeader) + window.saveGeometry().toBase64().toStdString() + "\n";
  return static_cast<bool>(WriteFileAtomically(file, text));
}

bool RestoreWindowGeometry(const std::filesystem::path& file, QWidget& window) {
  auto geometry = LoadWindowGeometry(file);
  return geometry && window.restoreGeometry(*geometry);
}

}  // namespace linvara
