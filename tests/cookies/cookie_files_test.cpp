#include <gtest/gtest.h>

#include <filesystem>

#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieFiles.h"
#include "cookies/PRRtfController.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

using testing::ReadText;
using testing::TempDir;
using testing::TestData;
using testing::WriteText;

TEST(CookieFileKindDetection, MagicsDecideTheKind) {
  TempDir dir;
  WriteText(dir / "binary", "cook and anything after");
  WriteText(dir / "upper", "COOK and anything after");  // the bytes' case matters, not the digits'
  WriteText(dir / "sqlite", std::string("SQLite format 3\0garbage that is no database", 44));
  WriteText(dir / "sqlite-no-nul", "SQLite format 3 and more");
  WriteText(dir / "short", "co");
  WriteText(dir / "empty", "");
  EXPECT_EQ(DetectCookieFileKind(dir / "binary"), CookieFileKind::Binary);
  EXPECT_EQ(DetectCookieFileKind(dir / "upper"), CookieFileKind::Unknown);
  EXPECT_EQ(DetectCookieFileKind(dir / "sqlite"), CookieFileKind::Database);
  EXPECT_EQ(DetectCookieFileKind(dir / "sqlite-no-nul"), CookieFileKind::Unknown);
  EXPECT_EQ(DetectCookieFileKind(dir / "short"), CookieFileKind::Unknown);
  EXPECT_EQ(DetectCookieFileKind(dir / "empty"), CookieFileKind::Unknown);
  EXPECT_EQ(DetectCookieFileKind(dir / "missing"), CookieFileKind::Unknown);
  EXPECT_EQ(DetectCookieFileKind(dir.path()), CookieFileKind::Unknown);
}

TEST(CookieFileKindDetection, RealFilesAreRecognised) {
  EXPECT_EQ(DetectCookieFileKind(
                TestData("safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies")),
            CookieFileKind::Binary);
  EXPECT_EQ(DetectCookieFileKind(TestData("chrome_cookies/chrome-68_meta-v10_is_secure_Cookies")),
            CookieFileKind::Database);
  EXPECT_EQ(DetectCookieFileKind(TestData("firefox_places/firefox-fedora-2020-08_schema53_tags_places.sqlite")),
            CookieFileKind::Database);
  EXPECT_EQ(DetectCookieFileKind(TestData("safari_bookmarks/safari14-2020_duplicates_Bookmarks.plist")),
            CookieFileKind::Unknown);
}

TEST(CookieFileReading, ReadsEitherKindAndNothingForUnknown) {
  CookieList list;
  ReadCookieFile(TestData("safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies"),
                 CookieFileKind::Binary, list);
  EXPECT_EQ(list.size(), 2u);
  TempDir dir;
  fs::copy_file(TestData("chrome_cookies/chrome-68_meta-v10_is_secure_Cookies"), dir / "Cookies");
  ReadCookieFile(dir / "Cookies", CookieFileKind::Database, list);
  EXPECT_EQ(list.size(), 7u);
  ReadCookieFile(dir / "Cookies", CookieFileKind::Unknown, list);
  EXPECT_EQ(list.size(), 7u);
}

TEST(CookieExport, RecordFormatWithEveryPropertySet) {
  PRCookFileNode node;
  node.fileHost = "example.com";
  node.fileName = "sid";
  node.secureValue = "YES";
  node.filePath = "/a";
  node.fileValue = "v=1";
  EXPECT_EQ(CookieExportRecord(node), "Website:example.com  Name:sid  Secure:YES  Path:/a  Value:v=1  ");
}

TEST(CookieExport, UnsetPropertiesPrintAsNull) {
  PRCookFileNode node;
  EXPECT_EQ(CookieExportRecord(node), "Website:(null)  Name:(null)  Secure:NO  Path:(null)  Value:(null)  ");
  node.fileHost = "";
  EXPECT_EQ(CookieExportRecord(node).substr(0, 10), "Website:  ");
}

TEST(CookieExport, WritesTheRecordsWithTwoLineFeedsEachInOneFile) {
  TempDir dir;
  const fs::path folder = dir / "Downloads" / "com.Zelvane.Crumbscope";
  auto a = std::make_shared<PRCookFileNode>();
  a->fileHost = "a.test";
  a->fileName = "n";
  a->filePath = "/";
  a->fileValue = "caf\xc3\xa9";
  auto b = std::make_shared<PRCookFileNode>();
  b->secureValue = "YES";
  ASSERT_TRUE(ExportCookieData({a, b}, folder).ok());
  EXPECT_EQ(ReadText(folder / "cookiedata.txt"),
            "Website:a.test  Name:n  Secure:NO  Path:/  Value:caf\xc3\xa9  \n\n"
            "Website:(null)  Name:(null)  Secure:YES  Path:(null)  Value:(null)  \n\n");
  // Each export replaces the file; an empty list writes an empty file.
  ASSERT_TRUE(ExportCookieData({}, folder).ok());
  EXPECT_EQ(ReadText(folder / "cookiedata.txt"), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(CookieExport, AFolderThatCannotBeMadeIsReported) {
  TempDir dir;
  WriteText(dir / "file", "x");
  EXPECT_FALSE(ExportCookieData({}, dir / "file" / "sub").ok());
}

TEST(CookieExport, RealFileExportsEveryCookie) {
  CookieList list;
  ReadCookieFile(TestData("safari_binarycookies/safari-macos-2014_29pages-91cookies_Cookies.binarycookies"),
                 CookieFileKind::Binary, list);
  TempDir dir;
  ASSERT_TRUE(ExportCookieData(list, dir.path()).ok());
  const std::string text = ReadText(dir / "cookiedata.txt");
  std::size_t records = 0;
  for (std::size_t at = text.find("Website:"); at != std::string::npos; at = text.find("Website:", at + 1)) ++records;
  EXPECT_EQ(records, 91u);
  const std::string first =
      "Website:en.wikipedia.org  Name:centralnotice_bucket  Secure:NO  Path:/  Value:0-4.2  \n\nWebsite:";
  EXPECT_EQ(text.substr(0, first.size()), first);
}

TEST(RtfBuilder, AppendsTwoLineFeedsAndWritesCookiedataTxt) {
  PRRtfController builder;
  builder.addRtfContent("one");
  builder.addRtfContent("");
  builder.setRtfEnder();
  EXPECT_EQ(builder.strRtfContent(), "one\n\n\n\n");
  TempDir dir;
  WriteText(dir / "cookiedata.txt", "old content that is longer");
  ASSERT_TRUE(builder.writeRtfInPath(dir.path(), "Note").ok());
  EXPECT_EQ(ReadText(dir / "cookiedata.txt"), "one\n\n\n\n");
  EXPECT_FALSE(builder.writeRtfInPath(dir / "missing-folder", "Note").ok());
}

}  // namespace
}  // namespace linvara
