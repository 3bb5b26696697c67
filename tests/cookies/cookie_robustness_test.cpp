// Damaged and random cookie files: every read stays inside its buffer (run
// under the sanitizer build, -DLINVARA_SANITIZE=ON) and lists only records
// that lie in the file.
#include <gtest/gtest.h>

#include <random>

#include "CookieTestSupport.h"
#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieDatabase.h"
#include "model/FileBytes.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using namespace testing;

void ReadAndCheckEntriesInside(std::string_view bytes) {
  std::vector<std::int32_t> pages;
  CookieList cookies;
  ReadCookBinaryBytes(bytes, pages, cookies);
  EXPECT_LE(pages.size(), bytes.size() / 4 + 1);
  (void)IsBinaryCookieLayoutConsistent(bytes);  // the layout check stays inside the buffer too
  for (const auto& c : cookies) {
    ASSERT_LT(c->cookieStartOffSet, bytes.size());
    ASSERT_GT(c->cookieLength, 56);
    for (const auto* text : {&c->fileHost, &c->fileName, &c->filePath, &c->fileValue}) {
      ASSERT_TRUE(text->has_value());
      ASSERT_LT((*text)->size(), static_cast<std::size_t>(c->cookieLength));
    }
  }
}

TEST(BinaryCookieRobustness, RandomOrDamagedFilesAreReadInsideTheirBytes) {
  std::mt19937 noise(20240501);
  for (int round = 0; round < 3000; ++round) {  // random bytes behind the magic
    std::string bytes = "cook";
    const std::size_t length = noise() % 600;
    for (std::size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>(noise() & 0xff));
    // Small counts now and then, so pages and records are actually walked.
    if (bytes.size() >= 8 && round % 2 == 0) bytes[4] = bytes[5] = bytes[6] = 0, bytes[7] = static_cast<char>(noise() % 4);
    ReadAndCheckEntriesInside(bytes);
  }
  for (const char* name : {kSafari2014, kSafari2017}) {
    auto original = ReadFileBytes(TestData(name));
    ASSERT_TRUE(original.ok());
    std::mt19937 random(7);
    for (int round = 0; round < 1500; ++round) {
      std::string bytes = *original;
      for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips) {
        // Mostly extreme values: they hit the size and offset words hardest.
        static const char kValues[] = {'\x00', '\xff', '\x7f', '\x80', '\x38', '\x01'};
        const std::size_t at = random() % bytes.size();
        bytes[at] = round % 3 == 0 ? static_cast<char>(random() & 0xff) : kValues[random() % sizeof kValues];
      }
      if (round % 5 == 0) bytes.resize(random() % bytes.size());
      ReadAndCheckEntriesInside(bytes);
    }
  }
}

TEST(CookieDatabaseRobustness, DamagedDatabasesAreReadOrSkippedWithoutHarm) {
  auto original = ReadFileBytes(TestData(kChrome68));
  ASSERT_TRUE(original.ok());
  TempDir dir;
  std::mt19937 random(11);
  for (int round = 0; round < 150; ++round) {
    std::string bytes = *original;
    for (int flips = 1 + static_cast<int>(random() % 40); flips > 0; --flips)
      bytes[100 + random() % (bytes.size() - 100)] = static_cast<char>(random() & 0xff);
    if (round % 4 == 0) bytes.resize(100 + random() % (bytes.size() - 100));
    WriteText(dir / "Cookies", bytes);
    CookieList cookies;
    ReadCookDatabaseFileWithPath(dir / "Cookies", cookies);
    EXPECT_LE(cookies.size(), 5u);
  }
}

}  // namespace
}  // namespace linvara
