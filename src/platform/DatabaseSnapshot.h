#pragma once
// A private copy of an SQLite database for reading: the database and, when
// present, its "-wal" and "-journal" files, copied into a folder of our own
// (mode 0700) that goes away with the snapshot. Opened normally, the copy
// replays the log or rolls back a cut-off transaction, so a reader sees the
// committed state while the browser's own files are never written, locked or
// given a "-shm" header.
#include <filesystem>

#include "model/Result.h"

namespace linvara {

class DatabaseSnapshot {
 public:
  // NotFound when there is no database file; Unreadable when it, or a log
  // beside it, is not a readable regular file.
  static Result<DatabaseSnapshot> Take(const std::filesystem::path& database);

  DatabaseSnapshot(DatabaseSnapshot&& other) noexcept;
  DatabaseSnapshot& operator=(DatabaseSnapshot&& other) noexcept;
  DatabaseSnapshot(const DatabaseSnapshot&) = delete;
  DatabaseSnapshot& operator=(const DatabaseSnapshot&) = delete;
  ~DatabaseSnapshot();

  // The copy of the database, to open read-write.
  const std::filesystem::path& database() const { return copy_; }

 private:
  DatabaseSnapshot(std::filesystem::path folder, std::filesystem::path copy)
      : folder_(std::move(folder)), copy_(std::move(copy)) {}
  void Remove();
  std::filesystem::path folder_;
  std::filesystem::path copy_;
};

}  // namespace linvara
