#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "model/Result.h"

namespace linvara {

// Size limits of the files read whole.
inline constexpr std::uint64_t kBrowserFileSizeLimit = std::uint64_t{512} << 20;  // bookmark and cookie files
inline constexpr std::uint64_t kProfilesIniSizeLimit = std::uint64_t{1} << 20;

// A regular file (links followed) opened for reading, with the size it had
// when opened. Anything else (a folder, a FIFO, a device, a file above the
// limit) is refused as "not a readable file" without blocking.
// The bytes of a file read whole, in a buffer that is never filled beforehand
// (a std::string would first be cleared to zeros at the file's size).
class FileBuffer {
 public:
  FileBuffer() = default;
  std::string_view view() const { return {data_.get(), size_}; }
  std::size_t size() const { return size_; }

 private:
  friend class RegularFile;
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
};

class RegularFile {
 public:
  static Result<RegularFile> Open(const std::filesystem::path& path, std::uint64_t sizeLimit);
  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  ~RegularFile();

  int descriptor() const { return fd_; }
  std::uint64_t size() const { return size_; }
  // Up to size() bytes from the start; fewer when the file shrank meanwhile.
  Result<std::string> ReadAll(const std::filesystem::path& pathForMessages) const;
  Result<FileBuffer> ReadAllIntoBuffer(const std::filesystem::path& pathForMessages) const;

 private:
  RegularFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// Whole contents of a regular file of at most `sizeLimit` bytes, in one read
// of the size the file has. Missing: NotFound; anything else that cannot be
// read this way: Unreadable.
Result<std::string> ReadFileBytes(const std::filesystem::path& path, std::uint64_t sizeLimit = kBrowserFileSizeLimit);
// The same for the large files the readers parse in place.
Result<FileBuffer> ReadFileBuffer(const std::filesystem::path& path, std::uint64_t sizeLimit = kBrowserFileSizeLimit);

}  // namespace linvara
