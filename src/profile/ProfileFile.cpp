#include "profile/ProfileFile.h"

#include "platform/AtomicFile.h"

namespace linvara::profile {

Result<void> WriteProfileFile(const std::filesystem::path& target, std::string_view bytes) {
  if (target.empty()) return Fail("no file to write", ErrorKind::WriteFailed);
  std::error_code ec;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  if (ec) return Fail("cannot create " + target.parent_path().string() + ": " + ec.message(), ErrorKind::WriteFailed);
  return WriteFileAtomically(target, bytes);
}

}  // namespace linvara::profile
