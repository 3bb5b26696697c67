#include "app/FirstStartBackup.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara {

Result<void> CopySqliteDatabase(const fs::path& source, const fs::path& target) {
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return Fail("no database at " + source.string());
  if (fs::exists(target, ec)) return Fail("already exists: " + target.string());

  sqlite3* from = nullptr;
  if (sqlite3_open_v2(source.c_str(), &from, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::string message = from ? sqlite3_errmsg(from) : "cannot open";
    sqlite3_close(from);
    return Fail(message);
  }
  fs::path temp = target;
  temp += ".part-" + std::to_string(::getpid());
  fs::remove(temp, ec);
  sqlite3* to = nullptr;
  Result<void> result;
  if (sqlite3_open_v2(temp.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    result = Fail("cannot create " + temp.string());
  } else if (sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main")) {
    int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) result = Fail(std::string("backup failed: ") + sqlite3_errstr(rc));
  } else {
    result = Fail(sqlite3_errmsg(to));
  }
  // The copy is a plain rollback-journal file, whatever mode the source used.
  if (result && sqlite3_exec(to, "PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr) != SQLITE_OK)
    result = Fail(sqlite3_errmsg(to));
  sqlite3_close(to);
  sqlite3_close(from);
  if (result) {
    if (int fd = ::open(temp.c_str(), O_RDONLY); fd >= 0) {
      ::fsync(fd);
      ::close(fd);
    }
    fs::rename(temp, target, ec);
    if (ec) result = Fail("cannot rename to " + target.string() + ": " + ec.message());
  }
  if (!result) fs::remove(temp, ec);
  return result;
}

std::vector<std::string> TakeFirstStartBackups(const Locations& locations) {
  std::vector<std::string> copied;
  const fs::path backup = locations.backupFolder();
  auto copyPlain = [&](const fs::path& source, const char* name) {
    if (source.empty()) return;
    if (CopyFileAtomically(source, backup / name, /*overwrite=*/false)) copied.emplace_back(name);
  };
  copyPlain(locations.safariBookmarks(), Locations::kSafariBackupName);
  copyPlain(locations.ChooseChromeBookmarks(), Locations::kChromeBackupName);
  std::error_code ec;
  if (fs::exists(locations.firefoxProfilesFolder(), ec)) {
    if (auto places = locations.ChooseFirefoxPlaces()) {
      if (CopySqliteDatabase(*places, backup / Locations::kFirefoxBackupName))
        copied.emplace_back(Locations::kFirefoxBackupName);
    }
  }
  copyPlain(locations.operaBookmarks(), Locations::kOperaBackupName);
  return copied;
}

}  // namespace linvara
