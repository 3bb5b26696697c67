#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "model/FileBytes.h"

namespace linvara {
namespace {

std::string ErrnoText(const std::string& what, const std::filesystem::path& p) {
  return what + " " + p.string() + ": " + std::strerror(errno);
}

long DefaultWrite(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

}  // namespace

Result<void> WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  return WriteFileAtomically(target, bytes, DefaultWrite);
}

Result<void> WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                 const WriteChunkFn& writeChunk) {
  if (target.filename().empty()) return Fail("no file name in " + target.string());
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  std::string templ = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(templ.data());
  if (fd < 0) return Fail(ErrnoText("cannot create a temporary file in", folder));
  const std::filesystem::path temp = templ;

  auto abandon = [&](const std::string& message) -> Result<void> {
    ::close(fd);
    ::unlink(temp.c_str());
    return Fail(message);
  };

  // Keep the permissions of the file being replaced; new files get 0644 less the umask.
  struct stat old {};
  mode_t mode = 0;
  if (::stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0644 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) return abandon(ErrnoText("cannot set permissions on", temp));

  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    long n = writeChunk(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return abandon(ErrnoText("cannot write", temp));
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) return abandon(ErrnoText("cannot sync", temp));
  if (::close(fd) != 0) {
    ::unlink(temp.c_str());
    return Fail(ErrnoText("cannot close", temp));
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    std::string message = ErrnoText("cannot replace", target);
    ::unlink(temp.c_str());
    return Fail(message);
  }
  // Make the rename itself durable.
  int dirfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirfd >= 0) {
    ::fsync(dirfd);
    ::close(dirfd);
  }
  return {};
}

Result<void> CopyFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target,
                                bool overwrite) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(source, ec)) return Fail("no file at " + source.string());
  if (!overwrite && std::filesystem::exists(target, ec)) return Fail("already exists: " + target.string());
  auto bytes = ReadFileBytes(source);
  if (!bytes) return Fail(bytes.error());
  return WriteFileAtomically(target, *bytes);
}

}  // namespace linvara
