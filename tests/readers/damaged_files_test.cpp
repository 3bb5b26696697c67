// Damaged copies of the real browser files: cut short at many points and with
// bytes changed. Every reader must come back without crashing, and a file it
// cannot parse must add no node.
#include <gtest/gtest.h>

#include <random>

#include "readers/ChromiumReader.h"
#include "readers/FirefoxReader.h"
#include "readers/ReaderTestSupport.h"
#include "readers/SafariReader.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Damaged(const std::string& bytes, unsigned seed) {
  std::vector<std::string> out;
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{8}, bytes.size() / 7, bytes.size() / 3,
                          bytes.size() / 2, bytes.size() - 1})
    out.push_back(bytes.substr(0, cut));
  std::mt19937 random(seed);
  for (int round = 0; round < 40; ++round) {
    std::string copy = bytes;
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < flips; ++i) copy[random() % copy.size()] = static_cast<char>(random() % 256);
    out.push_back(copy);
  }
  return out;
}

TEST(DamagedFiles, SafariPropertyLists) {
  TempDir dir;
  for (const char* name : {"safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist",
                           "safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist"}) {
    const std::string bytes = ReadText(TestData(name));
    int index = 0;
    for (const std::string& damaged : Damaged(bytes, 7)) {
      WriteText(dir / "Bookmarks.plist", damaged);
      ReaderHarness h;
      h.ctx.bookMarkType = (index++ % 2) ? 2 : 1;
      SafariReader(h.ctx).ReadSafariBookMark(dir / "Bookmarks.plist");
      EXPECT_TRUE(h.lists.rootNode != nullptr);
      if (damaged.size() < 40) EXPECT_TRUE(h.lists.allbookMarkArray.empty());
      for (const auto& leaf : h.lists.allbookMarkArray) EXPECT_TRUE(leaf->isLeaf());
    }
  }
}

TEST(DamagedFiles, ChromiumJson) {
  TempDir dir;
  for (const char* name : {"chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks",
                           "chromium_bookmarks/chromium-linux-2021-02_Bookmarks"}) {
    const std::string bytes = ReadText(TestData(name));
    for (const std::string& damaged : Damaged(bytes, 11)) {
      WriteText(dir / "Bookmarks", damaged);
      ReaderHarness h;
      ChromiumReader reader(h.ctx);
      reader.ReadChromeBookMark(dir / "Bookmarks");
      reader.ReadEdgeBookMark(dir / "Bookmarks");
      reader.ReadOperaBookMark(dir / "Bookmarks");
      // Cut before the closing brace, JSON never parses.
      if (damaged.size() + 2 < bytes.size()) EXPECT_TRUE(h.lists.allbookMarkArray.empty());
    }
  }
}

TEST(DamagedFiles, FirefoxDatabases) {
  TempDir dir;
  fs::path places = dir / "Profiles" / "p" / "places.sqlite";
  fs::create_directories(places.parent_path());
  const std::string bytes = ReadText(TestData("firefox_places/firefox-windows-2020-09_schema54_separators_places.sqlite"));
  for (const std::string& damaged : Damaged(bytes, 13)) {
    WriteText(places, damaged);
    const std::string before = FolderFingerprint(dir.path());
    ReaderHarness h;
    FirefoxReader(h.ctx).ReadFirefoxBookMark({dir / "Profiles", places});
    EXPECT_LE(h.lists.allbookMarkArray.size(), 11u);
    EXPECT_EQ(FolderFingerprint(dir.path()), before);
  }
}

}  // namespace
}  // namespace linvara::testing
