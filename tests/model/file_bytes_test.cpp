#include <gtest/gtest.h>
#include <sys/stat.h>

#include "model/FileBytes.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::TempDir;
using linvara::testing::WriteText;

TEST(FileBytes, RegularFileIsReadWhole) {
  TempDir dir;
  const std::string text = std::string(70000, 'a') + "end";
  WriteText(dir / "file", text);
  fs::create_symlink(dir / "file", dir / "link");
  EXPECT_EQ(ReadFileBytes(dir / "file").valueOr(""), text);
  EXPECT_EQ(ReadFileBytes(dir / "link").valueOr(""), text) << "links are followed";
  WriteText(dir / "empty", "");
  for (const char* name : {"file", "link", "empty"}) {
    auto buffer = ReadFileBuffer(dir / name);
    ASSERT_TRUE(buffer.ok()) << name;
    EXPECT_EQ(buffer->view(), ReadFileBytes(dir / name).valueOr("?")) << name;
  }
}

// Only regular files within the limit are read; a FIFO or a device returns at once.
TEST(FileBytes, AnythingElseIsRefusedWithItsKind) {
  TempDir dir;
  WriteText(dir / "large", std::string(2048, 'x'));
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir / "zero");
  fs::create_symlink(dir / "gone", dir / "dangling");
  fs::create_directories(dir / "folder");
  const std::vector<std::pair<fs::path, ErrorKind>> cases = {
      {dir / "missing", ErrorKind::NotFound},     {dir / "dangling", ErrorKind::NotFound},
      {dir / "fifo", ErrorKind::Unreadable},      {dir / "zero", ErrorKind::Unreadable},
      {dir / "folder", ErrorKind::Unreadable},    {dir / "large", ErrorKind::Unreadable},
  };
  for (const auto& [path, kind] : cases) {
    SCOPED_TRACE(path.filename().string());
    auto bytes = ReadFileBytes(path, 1024);
    ASSERT_FALSE(bytes.ok());
    EXPECT_EQ(bytes.errorKind(), kind) << bytes.error();
    auto buffer = ReadFileBuffer(path, 1024);
    ASSERT_FALSE(buffer.ok());
    EXPECT_EQ(buffer.errorKind(), kind);
  }
  EXPECT_TRUE(ReadFileBytes(dir / "large", 2048).ok()) << "the limit itself is allowed";
}
