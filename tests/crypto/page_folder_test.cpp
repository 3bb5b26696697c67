// The page folder of an encrypted bookmark: only a safe UUID names it, and
// only a folder that holds just the page is ever deleted.
#include <gtest/gtest.h>

#include "crypto/EncryptedPage.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

TEST(PageFolder, OnlyOnePlainPathComponentIsASafeUuid) {
  for (const char* uuid : {"3B5E1B2A-7F7C-4C55-9E3E-0A8C1D2E4F60", "a", "0-0"}) EXPECT_TRUE(IsSafePageUuid(uuid)) << uuid;
  for (const std::string& uuid : std::vector<std::string>{"", "..", "../../x", "a/b", "a b", "a.b", "a\\b", std::string(65, 'a'),
                                 std::string("a\0b", 3), "ä"})
    EXPECT_FALSE(IsSafePageUuid(uuid)) << uuid;
}

TEST(PageFolder, FileUrlEncodesAllButThePathCharacters) {
  EXPECT_EQ(FileUrlOfPath("/Users/a b/Library/Application Support/Linvara/X-1/encrypt.html"),
            "file:///Users/a%20b/Library/Application%20Support/Linvara/X-1/encrypt.html");
  EXPECT_EQ(FileUrlOfPath("/tmp/%#?é"), "file:///tmp/%25%23%3F%C3%A9");
}

TEST(PageFolder, PageHoldsThePayloadWhereThePlaceholderWas) {
  TempDir dir;
  const fs::path data = dir / "data";
  ASSERT_TRUE(WritePageFolder(data, "AB-1", "{\"version\":1}"));
  const std::string page = ReadText(data / "AB-1" / "encrypt.html");
  EXPECT_EQ(page.find(kPagePlaceholder), std::string::npos);
  EXPECT_EQ(ReadPagePayload(data, "AB-1").valueOr(""), "{\"version\":1}");
  EXPECT_NE(ReadText(data / "AB-1" / "encrypt.js").find("setDecrypt"), std::string::npos);
  EXPECT_FALSE(ReadText(data / "AB-1" / "style.css").empty());
  EXPECT_EQ(ReadPagePayload(data, "AB-2").errorKind(), ErrorKind::NotFound);
}

// Nothing outside the data folder is written or deleted, whatever the UUID says.
TEST(PageFolder, UnsafeUuidTouchesNothing) {
  TempDir dir;
  const fs::path data = dir / "home" / "data";
  WriteText(dir / "home" / "x" / "encrypt.html", "keep");
  WriteText(data / "keep.txt", "keep");
  const std::string before = FolderFingerprint(dir.path());
  for (const char* uuid : {"../x", "../../home/x", "/abs", ".."}) {
    EXPECT_FALSE(WritePageFolder(data, uuid, "payload")) << uuid;
    EXPECT_FALSE(RemovePageFolder(data, uuid)) << uuid;
    EXPECT_FALSE(ReadPagePayload(data, uuid)) << uuid;
  }
  EXPECT_EQ(FolderFingerprint(dir.path()), before);
}

TEST(PageFolder, OnlyAFolderHoldingJustThePageIsDeleted) {
  TempDir dir;
  const fs::path data = dir / "data";
  fs::create_directories(dir / "elsewhere");
  const auto make = [&](const std::string& uuid) { ASSERT_TRUE(WritePageFolder(data, uuid, "p")); };
  make("extra-file");
  WriteText(data / "extra-file" / "notes.txt", "mine");
  make("linked-file");
  fs::remove(data / "linked-file" / "style.css");
  fs::create_symlink(dir / "elsewhere", data / "linked-file" / "style.css");
  fs::create_symlink(dir / "elsewhere", data / "linked-folder");
  make("plain");
  for (const char* uuid : {"extra-file", "linked-file", "linked-folder"}) {
    EXPECT_FALSE(RemovePageFolder(data, uuid)) << uuid;
    EXPECT_TRUE(fs::exists(fs::symlink_status(data / uuid))) << uuid;
  }
  EXPECT_TRUE(RemovePageFolder(data, "plain"));
  EXPECT_FALSE(fs::exists(data / "plain"));
  EXPECT_TRUE(RemovePageFolder(data, "plain")) << "already gone";
  EXPECT_TRUE(fs::is_directory(dir / "elsewhere"));
  EXPECT_FALSE(WritePageFolder(data, "linked-folder", "p")) << "no writing through a link";
}

}  // namespace
}  // namespace linvara::testing
