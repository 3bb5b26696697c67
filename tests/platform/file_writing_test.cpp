// Files written in one step, and snapshots of a database taken without touching the original.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/AtomicFile.h"
#include "platform/DatabaseSnapshot.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::FolderFingerprint;
using linvara::testing::ReadText;
using linvara::testing::TempDir;
using linvara::testing::WriteText;

namespace {
std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}
}  // namespace

TEST(AtomicFile, ReplacingKeepsThePermissions) {
  TempDir dir;
  fs::path target = dir / "Bookmarks.plist";
  ASSERT_TRUE(WriteFileAtomically(target, "first"));
  ::chmod(target.c_str(), 0600);
  ASSERT_TRUE(WriteFileAtomically(target, "second"));
  EXPECT_EQ(ReadText(target), "second");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(EntriesIn(dir.path()), 1u) << "no temporary file left behind";
}

TEST(AtomicFile, AFolderThatCannotBeWrittenFails) {
  TempDir dir;
  fs::path target = dir / "Bookmarks";
  WriteText(target, "precious");
  EXPECT_FALSE(WriteFileAtomically(dir / "no/such/folder/file", "x").ok());
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  bool failed = false;
  if (::geteuid() != 0) {
    failed = !WriteFileAtomically(target, "replacement").ok();
  } else {
    // Root ignores folder permissions: try the write as an unprivileged user in a child process.
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
      ::_exit(WriteFileAtomically(target, "replacement").ok() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 3) << "could not drop privileges";
    failed = WEXITSTATUS(status) == 1;
  }
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_TRUE(failed) << "the write must report failure";
  EXPECT_EQ(ReadText(target), "precious");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(AtomicFile, WriterFailingAfterNBytesLosesNothing) {
  TempDir dir;
  fs::path target = dir / "Bookmarks.plist";
  WriteText(target, "years of bookmarks");
  const std::string big(100000, 'x');
  for (std::size_t limit : {0u, 1u, 4096u, 99999u}) {
    std::size_t written = 0;
    auto failing = [&](int fd, const char* data, std::size_t size) -> long {
      if (written >= limit) {
        errno = ENOSPC;
        return -1;
      }
      long r = ::write(fd, data, std::min(size, limit - written));
      if (r > 0) written += static_cast<std::size_t>(r);
      return r;
    };
    EXPECT_FALSE(WriteFileAtomically(target, big, failing)) << "limit " << limit;
    EXPECT_EQ(ReadText(target), "years of bookmarks");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
  }
}

TEST(AtomicFile, CopyNeverOverwritesUnlessAsked) {
  TempDir dir;
  WriteText(dir / "src", "new");
  WriteText(dir / "dst", "old");
  EXPECT_FALSE(CopyFileAtomically(dir / "src", dir / "dst", false));
  EXPECT_EQ(ReadText(dir / "dst"), "old");
  EXPECT_TRUE(CopyFileAtomically(dir / "src", dir / "dst", true));
  EXPECT_EQ(ReadText(dir / "dst"), "new");
  EXPECT_FALSE(CopyFileAtomically(dir / "missing", dir / "other", false));
  EXPECT_FALSE(fs::exists(dir / "other"));
}

TEST(DatabaseSnapshot, CopiesTheDatabaseAndItsLogsIntoAPrivateFolder) {
  TempDir dir;
  const fs::path db = dir / "places.sqlite";
  WriteText(db, "database");
  WriteText(dir / "places.sqlite-wal", "log");
  WriteText(dir / "places.sqlite-journal", "journal");
  WriteText(dir / "places.sqlite-shm", "shared memory");
  const std::string before = FolderFingerprint(dir.path());
  fs::path folder;
  {
    auto snapshot = DatabaseSnapshot::Take(db);
    ASSERT_TRUE(snapshot.ok()) << snapshot.error();
    const fs::path copy = snapshot->database();
    folder = copy.parent_path();
    EXPECT_EQ(copy.filename(), "places.sqlite");
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    // The same files but the shared-memory index, which is rebuilt, not copied.
    const std::size_t shm = before.find("places.sqlite-shm");
    EXPECT_EQ(FolderFingerprint(folder), before.substr(0, shm) + before.substr(before.find('\n', shm) + 1));
  }
  EXPECT_FALSE(fs::exists(folder)) << "the copy goes with the snapshot";
  EXPECT_EQ(FolderFingerprint(dir.path()), before);
}

TEST(DatabaseSnapshot, MissingOrOddDatabaseIsRefused) {
  TempDir dir;
  EXPECT_EQ(DatabaseSnapshot::Take(dir / "absent").errorKind(), ErrorKind::NotFound);
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(DatabaseSnapshot::Take(dir / "fifo").errorKind(), ErrorKind::Unreadable);
  WriteText(dir / "db", "x");
  fs::create_symlink("/dev/zero", dir / "db-wal");
  EXPECT_EQ(DatabaseSnapshot::Take(dir / "db").errorKind(), ErrorKind::Unreadable) << "a log that is no file";
}
