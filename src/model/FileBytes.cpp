#include "model/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace linvara {

namespace {
Error NotReadable(const std::filesystem::path& path, const std::string& why) {
  return Fail("not a readable file: " + path.string() + " (" + why + ")", ErrorKind::Unreadable);
}
}  // namespace

Result<RegularFile> RegularFile::Open(const std::filesystem::path& path, std::uint64_t sizeLimit) {
  // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR)
      return Fail("no file at " + path.string(), ErrorKind::NotFound);
    return NotReadable(path, std::strerror(error));
  }
  RegularFile file(fd, 0);
  struct stat info {};
  if (::fstat(fd, &info) != 0) return NotReadable(path, std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return NotReadable(path, "not a regular file");
  if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > sizeLimit)
    return NotReadable(path, "larger than " + std::to_string(sizeLimit) + " bytes");
  file.size_ = static_cast<std::uint64_t>(info.st_size);
  return file;
}

RegularFile::RegularFile(RegularFile&& other) noexcept : fd_(other.fd_), size_(other.size_) { other.fd_ = -1; }

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    size_ = other.size_;
    other.fd_ = -1;
  }
  return *this;
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

namespace {
// Reads up to `size` bytes from the start into `into`; the count read, or the failure.
Result<std::size_t> ReadInto(int fd, char* into, std::size_t size, const std::filesystem::path& pathForMessages) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, into + done, size - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail("cannot read " + pathForMessages.string() + ": " + std::strerror(errno), ErrorKind::Unreadable);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}
}  // namespace

Result<std::string> RegularFile::ReadAll(const std::filesystem::path& pathForMessages) const {
  std::string bytes(static_cast<std::size_t>(size_), '\0');
  auto done = ReadInto(fd_, bytes.data(), bytes.size(), pathForMessages);
  if (!done) return done.failure();
  bytes.resize(*done);
  return bytes;
}

Result<FileBuffer> RegularFile::ReadAllIntoBuffer(const std::filesystem::path& pathForMessages) const {
  FileBuffer buffer;
  buffer.data_.reset(new char[static_cast<std::size_t>(size_)]);  // left unfilled: the read fills it
  auto done = ReadInto(fd_, buffer.data_.get(), static_cast<std::size_t>(size_), pathForMessages);
  if (!done) return done.failure();
  buffer.size_ = *done;
  return buffer;
}

Result<std::string> ReadFileBytes(const std::filesystem::path& path, std::uint64_t sizeLimit) {
  auto file = RegularFile::Open(path, sizeLimit);
  if (!file) return file.failure();
  return file->ReadAll(path);
}

Result<FileBuffer> ReadFileBuffer(const std::filesystem::path& path, std::uint64_t sizeLimit) {
  auto file = RegularFile::Open(path, sizeLimit);
  if (!file) return file.failure();
  return file->ReadAllIntoBuffer(path);
}

}  // namespace linvara
