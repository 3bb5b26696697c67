#pragma once
// A running browser found by the lock it keeps on its profile, and by its process name.
#include <filesystem>
#include <string>
#include <vector>

namespace linvara {

enum class ProfileLockKind {
  ChromiumSingleton,  // "SingletonLock": a symbolic link to "HOST-PID"
  FirefoxLink,        // "lock": a symbolic link to "ADDRESS:+PID"
  FirefoxFileLock,    // ".parentlock": a file the running Firefox holds a record lock on
};

struct ProfileLock {
  std::string bundleIdentifier;
  std::filesystem::path file;
  ProfileLockKind kind;
};

// Whether a browser holds the lock now. A link naming a process of this host
// (`hostName`) that no longer runs under `procFolder` is left over from a
// crash; a link naming another host counts as held. A lock file counts only
// while some process holds a record lock on it.
bool IsProfileLockHeld(const ProfileLock& lock, const std::filesystem::path& procFolder, const std::string& hostName);

// Bundle identifiers of the browsers whose processes run (by process name
// under the /proc-style `procFolder`) or that hold one of `locks`, sorted, each once.
std::vector<std::string> RunningBrowsers(const std::filesystem::path& procFolder, const std::vector<ProfileLock>& locks,
                                         const std::string& hostName);

std::string HostName();

}  // namespace linvara
