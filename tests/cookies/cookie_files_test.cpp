#include <gtest/gtest.h>

#include <filesystem>

#include "CookieTestSupport.h"
#include "cookies/CookieFiles.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using namespace testing;

TEST(CookieFileKindDetection, MagicsDecideTheKind) {
  TempDir dir;
  const std::vector<std::pair<std::string, CookieFileKind>> files{
      {"cook and anything after", CookieFileKind::Binary},
      {"COOK and anything after", CookieFileKind::Unknown},  // the bytes' case matters
      // Any SQLite file, whatever its tables.
      {std::string("SQLite format 3\0garbage that is no database", 44), CookieFileKind::Database},
      {"SQLite format 3 and more", CookieFileKind::Unknown},
      {"co", CookieFileKind::Unknown},
      {"", CookieFileKind::Unknown},
  };
  for (const auto& [bytes, kind] : files) {
    WriteText(dir / "file", bytes);
    EXPECT_EQ(DetectCookieFileKind(dir / "file"), kind) << bytes;
  }
  EXPECT_EQ(DetectCookieFileKind(dir / "missing"), CookieFileKind::Unknown);
  EXPECT_EQ(DetectCookieFileKind(dir.path()), CookieFileKind::Unknown);
}

TEST(CookieFileReading, ReadsTheKindItIsGiven) {
  CookieList list;
  ReadCookieFile(TestData(kSafari2017), CookieFileKind::Binary, list);
  EXPECT_EQ(list.size(), 2u);
  TempDir dir;
  const fs::path db = CopyTestFile(kChrome68, dir / "Cookies");
  ReadCookieFile(db, CookieFileKind::Database, list);
  EXPECT_EQ(list.size(), 7u);
  ReadCookieFile(db, CookieFileKind::Unknown, list);
  EXPECT_EQ(list.size(), 7u);
}

CookieNodePtr Node(const char* host, const char* name, const char* path, const char* value, const char* secure) {
  auto node = std::make_shared<PRCookFileNode>();
  node->fileHost = host, node->fileName = name, node->filePath = path, node->fileValue = value;
  node->secureValue = secure;
  return node;
}

TEST(CookieExport, WritesTheRecordsWithTwoLineFeedsEachInOneFile) {
  TempDir dir;
  const fs::path folder = dir / "Downloads" / "com.Zelvane.Crumbscope";
  auto unset = std::make_shared<PRCookFileNode>();
  unset->secureValue = "YES";
  ASSERT_TRUE(ExportCookieData({Node("a.test", "n", "/", "caf\xc3\xa9", "NO"), unset, Node("", "", "", "", "NO")},
                               folder).ok());
  // An unset property prints as (null), an empty one as nothing.
  EXPECT_EQ(ReadText(folder / "cookiedata.txt"),
            "Website:a.test  Name:n  Secure:NO  Path:/  Value:caf\xc3\xa9  \n\n"
            "Website:(null)  Name:(null)  Secure:YES  Path:(null)  Value:(null)  \n\n"
            "Website:  Name:  Secure:NO  Path:  Value:  \n\n");
  // Each export replaces the file; an empty list writes an empty file.
  ASSERT_TRUE(ExportCookieData({}, folder).ok());
  EXPECT_EQ(ReadText(folder / "cookiedata.txt"), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  // A folder that cannot be made is reported.
  WriteText(dir / "file", "x");
  EXPECT_FALSE(ExportCookieData({}, dir / "file" / "sub").ok());
}

}  // namespace
}  // namespace linvara
