// Running browsers on Linux: by process name and by the lock on the profile the session reads.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/PlatformServices.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::TempDir;
using linvara::testing::WriteText;

TEST(RunningBrowsers, ALockedProfileCountsAsRunning) {
  const std::string host = HostName();
  const fs::path chromiumLock = ".config/chromium/SingletonLock", firefoxProfile = ".mozilla/firefox/p.default";
  struct Case {
    const char* what;
    std::vector<std::string> processes;  // live process ids (or other /proc entries), each with its name after ":"
    fs::path link;                       // a lock link below home
    std::string target;                  // where it points
    bool holdFirefoxFile = false;        // a record lock held on ".parentlock"
    std::vector<std::string> running;
  };
  const std::vector<Case> cases = {
      {"nothing runs", {}, "", "", false, {}},
      {"Chromium by its process name", {"12:chromium"}, "", "", false, {bundleids::kChrome}},
      // Each browser once, in a fixed order; "self" is no process id.
      {"process names", {"101:firefox-esr", "202:chrome", "203:chrome", "303:bash", "self:firefox"}, "", "", false,
       {bundleids::kChrome, bundleids::kFirefox}},
      {"Chromium's lock of a live process", {"4242:renamed"}, chromiumLock, host + "-4242", false, {bundleids::kChrome}},
      {"Chromium's lock left by a crash", {}, chromiumLock, host + "-4242", false, {}},
      {"Chromium's lock taken on another host", {}, chromiumLock, "elsewhere-1", false, {bundleids::kChrome}},
      {"Firefox's lock link of a live process", {"77:GeckoMain"}, firefoxProfile / "lock", "127.0.1.1:+77", false,
       {bundleids::kFirefox}},
      {"Firefox's lock link left by a crash", {}, firefoxProfile / "lock", "127.0.1.1:+77", false, {}},
      {"Firefox's lock file held", {}, "", "", true, {bundleids::kFirefox}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir home, proc;
    WriteText(home / ".config/chromium/Default/Bookmarks", "{}");
    WriteText(home / ".mozilla/firefox/profiles.ini", "[Profile0]\nPath=p.default\nDefault=1\n");
    WriteText(home / firefoxProfile / "places.sqlite", "");
    WriteText(home / firefoxProfile / ".parentlock", "");  // left in place after Firefox quits
    for (const std::string& process : c.processes)
      WriteText(proc / process.substr(0, process.find(':')) / "comm", process.substr(process.find(':') + 1) + "\n");
    if (!c.link.empty()) fs::create_symlink(c.target, home.path() / c.link);
    // A lock of its own open file: the query sees it as it sees another process's lock.
    const int fd = ::open((home.path() / firefoxProfile / ".parentlock").c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(c.holdFirefoxFile ? ::fcntl(fd, F_OFD_SETLK, &lock) : 0, 0);
    HostPlatformServices services(Locations::ForHome(home.path(), Layout::Linux), proc.path());
    EXPECT_EQ(services.RunningBundleIdentifiers(), c.running);
    ::close(fd);
  }
}
