#include "platform/DatabaseSnapshot.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using namespace linvara::testing;

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
