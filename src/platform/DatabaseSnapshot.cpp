#include "platform/DatabaseSnapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "model/FileBytes.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

constexpr std::array<const char*, 3> kSuffixes = {"", "-wal", "-journal"};
constexpr int kAttempts = 5;

// Size and change time of a file, to notice a writer at work during the copy.
struct Stamp {
  bool present = false;
  off_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {true, info.st_size, static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

Result<void> CopyFile(const fs::path& from, const fs::path& to) {
  auto source = RegularFile::Open(from, kBrowserFileSizeLimit);
  if (!source) return source.failure();
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (out < 0) return Fail("cannot copy " + from.string() + ": " + std::strerror(errno), ErrorKind::Other);
  std::vector<char> buffer(std::size_t{1} << 20);
  std::uint64_t done = 0;
  Result<void> result;
  while (done < source->size()) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), source->size() - done));
    const ssize_t n = ::pread(source->descriptor(), buffer.data(), want, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result = Fail("cannot read " + from.string() + ": " + std::strerror(errno), ErrorKind::Unreadable);
      break;
    }
    if (n == 0) break;
    for (ssize_t written = 0; written < n && result.ok();) {
      const ssize_t w = ::write(out, buffer.data() + written, static_cast<std::size_t>(n - written));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) result = Fail("cannot copy " + from.string() + ": " + std::strerror(errno), ErrorKind::Other);
      else written += w;
    }
    if (!result) break;
    done += static_cast<std::uint64_t>(n);
  }
  ::close(out);
  return result;
}

Result<fs::path> MakePrivateFolder() {
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) base = "/tmp";
  std::string pattern = (base / "linvara-snapshot-XXXXXX").string();
  if (!::mkdtemp(pattern.data()))  // made with mode 0700
    return Fail("cannot make a temporary folder: " + std::string(std::strerror(errno)), ErrorKind::Other);
  return fs::path(pattern);
}

}  // namespace

Result<DatabaseSnapshot> DatabaseSnapshot::Take(const fs::path& database) {
  const std::string name = database.filename().string();
  for (int attempt = 1;; ++attempt) {
    std::array<Stamp, kSuffixes.size()> before;
    for (std::size_t i = 0; i < kSuffixes.size(); ++i) before[i] = StampOf(database.string() + kSuffixes[i]);
    if (!before[0].present) {
      // Still refuse what is there but not a file (a dangling link reads as missing).
      if (auto probe = RegularFile::Open(database, kBrowserFileSizeLimit); !probe) return probe.failure();
    }
    auto folder = MakePrivateFolder();
    if (!folder) return folder.failure();
    DatabaseSnapshot snapshot(*folder, *folder / name);
    for (std::size_t i = 0; i < kSuffixes.size(); ++i) {
      if (i > 0 && !before[i].present) continue;
      auto copied = CopyFile(database.string() + kSuffixes[i], snapshot.folder_ / (name + kSuffixes[i]));
      // A log that vanished meanwhile was checkpointed or committed: take the copy again.
      if (!copied && !(i > 0 && copied.errorKind() == ErrorKind::NotFound)) return copied.failure();
    }
    bool steady = true;
    for (std::size_t i = 0; i < kSuffixes.size(); ++i)
      steady = steady && StampOf(database.string() + kSuffixes[i]) == before[i];
    if (steady || attempt == kAttempts) return snapshot;
  }
}

DatabaseSnapshot::DatabaseSnapshot(DatabaseSnapshot&& other) noexcept
    : folder_(std::move(other.folder_)), copy_(std::move(other.copy_)) {
  other.folder_.clear();
}

DatabaseSnapshot& DatabaseSnapshot::operator=(DatabaseSnapshot&& other) noexcept {
  if (this != &other) {
    Remove();
    folder_ = std::move(other.folder_);
    copy_ = std::move(other.copy_);
    other.folder_.clear();
  }
  return *this;
}

DatabaseSnapshot::~DatabaseSnapshot() { Remove(); }

void DatabaseSnapshot::Remove() {
  if (folder_.empty()) return;
  std::error_code ec;
  fs::remove_all(folder_, ec);
  folder_.clear();
}

}  // namespace linvara
