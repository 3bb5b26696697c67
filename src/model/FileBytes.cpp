#include "model/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace linvara {
Result<std::string> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail("cannot open " + path.string() + ": " + std::strerror(errno), errno == ENOENT ? ErrorKind::NotFound : ErrorKind::Unreadable);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return Fail("cannot read " + path.string(), ErrorKind::Unreadable);
  return buffer.str();
}
}  // namespace linvara
