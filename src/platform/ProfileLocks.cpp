#include "platform/ProfileLocks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <set>

#include "platform/PlatformServices.h"

namespace fs = std::filesystem;

namespace linvara {

namespace {

bool IsProcessId(const std::string& text) {
  return !text.empty() && text.size() < 10 && std::all_of(text.begin(), text.end(), ::isdigit);
}

// A link's owner: its host and process id; a text that cannot be read counts as held.
bool IsLinkOwnerAlive(const std::string& host, const std::string& pid, const fs::path& procFolder,
                      const std::string& hostName) {
  if (!IsProcessId(pid)) return true;
  if (!host.empty() && host != hostName) return true;
  std::error_code ec;
  return fs::exists(procFolder / pid, ec);
}

bool IsChromiumSingletonHeld(const std::string& target, const fs::path& procFolder, const std::string& hostName) {
  const auto dash = target.rfind('-');
  if (dash == std::string::npos) return true;
  return IsLinkOwnerAlive(target.substr(0, dash), target.substr(dash + 1), procFolder, hostName);
}

// "ADDRESS:+PID": the address is of this host's name, so only the process is checked.
bool IsFirefoxLinkHeld(const std::string& target, const fs::path& procFolder) {
  const auto colon = target.rfind(':');
  if (colon == std::string::npos) return true;
  std::string pid = target.substr(colon + 1);
  if (!pid.empty() && pid.front() == '+') pid.erase(0, 1);
  return IsLinkOwnerAlive("", pid, procFolder, "");
}

bool IsFileRecordLocked(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool locked = false;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    locked = ::fcntl(fd, F_GETLK, &query) == 0 && query.l_type != F_UNLCK;
  }
  ::close(fd);
  return locked;
}

}  // namespace

bool IsProfileLockHeld(const ProfileLock& lock, const fs::path& procFolder, const std::string& hostName) {
  if (lock.kind == ProfileLockKind::FirefoxFileLock) return IsFileRecordLocked(lock.file);
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(lock.file, ec))) return false;
  const std::string target = fs::read_symlink(lock.file, ec).string();
  if (ec) return false;
  return lock.kind == ProfileLockKind::ChromiumSingleton ? IsChromiumSingletonHeld(target, procFolder, hostName)
                                                         : IsFirefoxLinkHeld(target, procFolder);
}

std::vector<std::string> RunningBrowsers(const fs::path& procFolder, const std::vector<ProfileLock>& locks,
                                         const std::string& hostName) {
  const auto byName = RunningBrowsersFromProc(procFolder);
  std::set<std::string> found(byName.begin(), byName.end());
  for (const ProfileLock& lock : locks)
    if (!found.count(lock.bundleIdentifier) && IsProfileLockHeld(lock, procFolder, hostName))
      found.insert(lock.bundleIdentifier);
  return {found.begin(), found.end()};
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

}  // namespace linvara
