// Preferences and the host's services: the system version, which addresses open and how, and the
// running browsers on Linux (by process name and by the lock on the profile the session reads).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/PlatformServices.h"
#include "platform/Preferences.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::ReadText;
using linvara::testing::TempDir;
using linvara::testing::WriteText;

TEST(Preferences, PersistAcrossInstancesWithTypes) {
  TempDir dir;
  fs::path file = dir / "prefs/com.zelvane.linvara.plist";
  {
    Preferences p(file);
    EXPECT_FALSE(p.contains(prefkeys::kFirstStart));
    ASSERT_TRUE(p.set(prefkeys::kFirstStart, Value("NO")));
    ASSERT_TRUE(p.set(prefkeys::kBookMarkAlertSuppress, Value(true)));
    ASSERT_TRUE(p.set(prefkeys::kLinvaraData, Value(Bytes{1, 2, 3})));
  }
  Preferences again(file);
  EXPECT_EQ(again.getString(prefkeys::kFirstStart), "NO");
  EXPECT_TRUE(again.getBool(prefkeys::kBookMarkAlertSuppress));
  EXPECT_EQ(*again.get(prefkeys::kLinvaraData).asData(), (Bytes{1, 2, 3}));
  EXPECT_FALSE(again.quarantinedFile());
}

TEST(Preferences, CorruptFileIsMovedAsideNotOverwritten) {
  TempDir dir;
  WriteText(dir / "preferences.plist", "garbage that is no property list");
  Preferences p(dir / "preferences.plist");
  EXPECT_FALSE(p.contains(prefkeys::kFirstStart));
  ASSERT_TRUE(p.quarantinedFile());
  EXPECT_EQ(ReadText(*p.quarantinedFile()), "garbage that is no property list");
  ASSERT_TRUE(p.set(prefkeys::kFirstStart, Value("NO")));
  EXPECT_EQ(Preferences(dir / "preferences.plist").getString(prefkeys::kFirstStart), "NO");
}

TEST(SystemVersion, DecodesTheGestaltAnswers) {
  // The 'sysv' answer (none when 0), whether 'sys1' to 'sys3' answer 10, 15 and 7, and the version.
  const std::tuple<std::int32_t, bool, SystemVersion> cases[] = {
      {0x1039, true, {10, 3, 9}},    // packed BCD
      {0x1040, true, {10, 15, 7}},   // 4160 and up asks separately
      {0, false, {10, 0, 0}},        // no answer at all
      {0x1100, false, {10, 0, 0}}};  // no separate answers
  for (const auto& [sysv, separate, version] : cases) {
    auto gestalt = [&](std::uint32_t selector) -> std::optional<std::int32_t> {
      if (selector == 0x73797376 && sysv) return sysv;
      if (!separate || selector < 0x73797331 || selector > 0x73797333) return std::nullopt;
      return std::array{10, 15, 7}[selector - 0x73797331];
    };
    EXPECT_EQ(DecodeSystemVersion(gestalt), version) << sysv;
  }
  EXPECT_EQ(HostPlatformServices().SystemVersionNumbers(), (SystemVersion{10, 0, 0}));
}

TEST(AddressOpenPolicy, OnlyWebPagesAndFilesInsideTheDataFolderOpen) {
  TempDir dir;
  const fs::path data = dir / "Application Support" / "Linvara";
  WriteText(data / "UUID-1" / "encrypt.html", "page");
  WriteText(dir / "secret.txt", "not for opening");
  fs::create_directory_symlink(dir.path(), data / "escape");
  const std::string dataUrl = "file://" + dir.path().string() + "/Application%20Support/Linvara";
  const std::vector<std::pair<std::string, bool>> addresses{
      {"https://apple.example/pie", true},
      {"HTTP://x.example", true},
      {dataUrl + "/UUID-1/encrypt.html", true},
      {"file://localhost" + dir.path().string() + "/Application%20Support/Linvara/UUID-1/encrypt.html", true},
      {"", false}, {"apple pie", false}, {"http://has space.example/", false}, {"1http://x.example/", false},
      {"https:", false}, {"http:///only-a-path", false}, {"javascript:alert(1)", false},
      {"JavaScript:alert(1)", false}, {"data:text/html,hi", false}, {"smb://server/share", false},
      {"x-custom-handler:run", false}, {"mailto:someone@example.com", false}, {"file:///etc/passwd", false},
      {"file://" + dir.path().string() + "/secret.txt", false},
      {dataUrl + "/../../secret.txt", false},
      {dataUrl + "/%2e%2e/%2e%2e/secret.txt", false},
      {dataUrl + "/escape/secret.txt", false},  // a link out of the folder
      {dataUrl, false},                         // the folder itself
      {"file://elsewhere" + dir.path().string() + "/Application%20Support/Linvara/UUID-1/encrypt.html", false},
  };
  for (const auto& [address, allowed] : addresses) {
    const AddressOpenDecision decision = DecideAddressOpen(address, data);
    EXPECT_EQ(decision.allowed, allowed) << address;
    EXPECT_EQ(decision.refusal.empty(), allowed) << address;
  }
}

TEST(HostOpener, TheOpenerRunsDetached) {
  TempDir dir;
  const fs::path opener = dir / "opener";
  // Records its argument, then runs until released (or five seconds pass).
  WriteText(opener, "#!/bin/sh\necho \"$1\" > \"" + (dir / "started").string() + "\"\ni=0\n" +
                        "while [ ! -e \"" + (dir / "release").string() + "\" ] && [ $i -lt 100 ]; do sleep 0.05; " +
                        "i=$((i+1)); done\ntouch \"" + (dir / "finished").string() + "\"\n");
  fs::permissions(opener, fs::perms::owner_all);
  HostPlatformServices host(opener.string());
  ASSERT_TRUE(host.OpenUrl("https://example.com/a b"));
  EXPECT_FALSE(fs::exists(dir / "finished")) << "returned only after the opener ended";
  WriteText(dir / "release", "");
  auto waitFor = [](const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
  };
  ASSERT_TRUE(waitFor([&] { return fs::exists(dir / "finished"); }));
  EXPECT_EQ(ReadText(dir / "started"), "https://example.com/a b\n");
  // Once ended, the opener is reaped: no child of this process is left a zombie.
  EXPECT_TRUE(waitFor([] {
    siginfo_t ended{};
    return ::waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT) != 0 || ended.si_pid == 0;
  }));
  EXPECT_FALSE(HostPlatformServices((dir / "no-such-opener").string()).OpenUrl("https://example.com/"));
}

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
