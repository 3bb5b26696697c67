#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "platform/MainThread.h"
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
  fs::path file = dir / "preferences.plist";
  WriteText(file, "garbage that is no property list");
  Preferences p(file);
  EXPECT_FALSE(p.contains(prefkeys::kFirstStart));
  ASSERT_TRUE(p.quarantinedFile());
  EXPECT_EQ(ReadText(*p.quarantinedFile()), "garbage that is no property list");
  ASSERT_TRUE(p.set(prefkeys::kFirstStart, Value("NO")));
  EXPECT_EQ(Preferences(file).getString(prefkeys::kFirstStart), "NO");
}

TEST(SystemVersion, DecodesPackedBcdAndSeparateNumbers) {
  auto packed = [](std::int32_t sysv) {
    return [sysv](std::uint32_t selector) -> std::optional<std::int32_t> {
      switch (selector) {
        case 0x73797376: return sysv;  // 'sysv'
        case 0x73797331: return 10;    // 'sys1'
        case 0x73797332: return 15;    // 'sys2'
        case 0x73797333: return 7;     // 'sys3'
      }
      return std::nullopt;
    };
  };
  EXPECT_EQ(DecodeSystemVersion(packed(0x1039)), (SystemVersion{10, 3, 9}));
  EXPECT_EQ(DecodeSystemVersion(packed(0x1040)), (SystemVersion{10, 15, 7})) << "4160 and up asks separately";
  EXPECT_EQ(DecodeSystemVersion([](std::uint32_t) { return std::optional<std::int32_t>(); }), (SystemVersion{10, 0, 0}));
  auto partial = [](std::uint32_t s) -> std::optional<std::int32_t> {
    if (s == 0x73797376) return 0x1100;
    return std::nullopt;
  };
  EXPECT_EQ(DecodeSystemVersion(partial), (SystemVersion{10, 0, 0}));
  EXPECT_EQ(HostPlatformServices().SystemVersionNumbers(), (SystemVersion{10, 0, 0}));
}

TEST(RunningBrowsers, MapsProcessNamesToBundleIdentifiers) {
  TempDir proc;
  WriteText(proc / "101/comm", "firefox-esr\n");
  WriteText(proc / "202/comm", "chrome\n");
  WriteText(proc / "203/comm", "chrome\n");
  WriteText(proc / "303/comm", "bash\n");
  WriteText(proc / "self/comm", "firefox\n");  // not a process id
  auto ids = RunningBrowsersFromProc(proc.path());
  EXPECT_EQ(ids, (std::vector<std::string>{bundleids::kChrome, bundleids::kFirefox}));
}

TEST(QueuedDispatcher, WorkerWaitsUntilMainThreadRunsTask) {
  QueuedDispatcher main;
  std::atomic<int> value{0};
  std::atomic<bool> workerDone{false};
  std::thread worker([&] {
    main.RunAndWait([&] { value = 42; });
    EXPECT_EQ(value.load(), 42);
    workerDone = true;
  });
  ASSERT_TRUE(main.PumpUntil([&] { return workerDone.load(); }, 5000));
  worker.join();
  EXPECT_EQ(value.load(), 42);
}
