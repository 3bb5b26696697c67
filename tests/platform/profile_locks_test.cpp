// Running browsers on Linux: by process name and by the lock on the profile the session reads.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/PlatformServices.h"
#include "platform/ProfileLocks.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::TempDir;
using linvara::testing::WriteText;

namespace {

constexpr const char* kChromium = ".config/chromium";
constexpr const char* kFirefoxProfile = ".mozilla/firefox/p.default";

// Holds a record lock on a file the way a running Firefox does, until destroyed.
class HeldFileLock {
 public:
  explicit HeldFileLock(const fs::path& file) : fd_(::open(file.c_str(), O_RDWR)) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    // A lock of its own open file: seen by the same process's query, like another process's lock.
    held_ = fd_ >= 0 && ::fcntl(fd_, F_OFD_SETLK, &lock) == 0;
  }
  ~HeldFileLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool held() const { return held_; }

 private:
  int fd_;
  bool held_ = false;
};

}  // namespace

TEST(RunningBrowsers, ALockedProfileCountsAsRunning) {
  const std::string host = HostName();
  struct Case {
    const char* what;
    std::function<void(const fs::path& home, const fs::path& proc)> arrange;
    std::vector<std::string> running;
  };
  auto link = [](const fs::path& file, const std::string& target) {
    fs::create_directories(file.parent_path());
    fs::create_symlink(target, file);
  };
  const std::vector<Case> cases = {
      {"nothing runs", [](const fs::path&, const fs::path&) {}, {}},
      {"Chromium by its process name",
       [](const fs::path&, const fs::path& proc) { WriteText(proc / "12/comm", "chromium\n"); },
       {bundleids::kChrome}},
      {"Chromium's lock of a live process",
       [&](const fs::path& home, const fs::path& proc) {
         WriteText(proc / "4242/comm", "renamed\n");
         link(home / kChromium / "SingletonLock", host + "-4242");
       },
       {bundleids::kChrome}},
      {"Chromium's lock left by a crash",
       [&](const fs::path& home, const fs::path&) { link(home / kChromium / "SingletonLock", host + "-4242"); },
       {}},
      {"Chromium's lock taken on another host",
       [&](const fs::path& home, const fs::path&) { link(home / kChromium / "SingletonLock", "elsewhere-1"); },
       {bundleids::kChrome}},
      {"Firefox's lock link of a live process",
       [&](const fs::path& home, const fs::path& proc) {
         WriteText(proc / "77/comm", "GeckoMain\n");
         link(home / kFirefoxProfile / "lock", "127.0.1.1:+77");
       },
       {bundleids::kFirefox}},
      {"Firefox's lock link left by a crash",
       [&](const fs::path& home, const fs::path&) { link(home / kFirefoxProfile / "lock", "127.0.1.1:+77"); },
       {}},
      {"Firefox's lock file without a lock on it",
       [](const fs::path& home, const fs::path&) { WriteText(home / kFirefoxProfile / ".parentlock", ""); },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir home, proc;
    WriteText(home / kChromium / "Default/Bookmarks", "{}");
    WriteText(home / ".mozilla/firefox/profiles.ini", "[Profile0]\nPath=p.default\nDefault=1\n");
    WriteText(home / kFirefoxProfile / "places.sqlite", "");
    c.arrange(home.path(), proc.path());
    HostPlatformServices services(Locations::ForHome(home.path(), Layout::Linux), proc.path());
    EXPECT_EQ(services.RunningBundleIdentifiers(), c.running);
  }
}

TEST(RunningBrowsers, AHeldFirefoxLockFileCountsAsRunning) {
  TempDir home, proc;
  WriteText(home / ".mozilla/firefox/profiles.ini", "[Profile0]\nPath=p.default\nDefault=1\n");
  WriteText(home / kFirefoxProfile / "places.sqlite", "");
  WriteText(home / kFirefoxProfile / ".parentlock", "");
  HostPlatformServices services(Locations::ForHome(home.path(), Layout::Linux), proc.path());
  HeldFileLock lock(home / kFirefoxProfile / ".parentlock");
  ASSERT_TRUE(lock.held());
  EXPECT_TRUE(services.IsRunning(bundleids::kFirefox));
}
