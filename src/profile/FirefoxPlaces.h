#pragma once
// Firefox's places.sqlite, built in memory and written in one step, and the
// profiles.ini that names a profile as the default.
#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/Result.h"
#include "platform/Locations.h"
#include "profile/BookmarkTree.h"
#include "profile/SqlConnection.h"

namespace linvara::profile {

enum class PlacesSchema {
  Current,  // Firefox's own tables and indexes (schema 75): guid, syncStatus, moz_origins, ...
  Legacy,   // moz_places (id, url, title, rev_host, frecency) and moz_bookmarks without guid or sync columns
};

enum FirefoxItemType { kFirefoxBookmark = 1, kFirefoxFolder = 2, kFirefoxSeparator = 3 };

// One moz_bookmarks row as given.
struct FirefoxRow {
  int id = 0;
  int type = kFirefoxBookmark;
  int parent = 0;
  std::optional<std::string> title{};  // nullopt: NULL
  int fk = 0;                          // the moz_places row; 0: NULL
  int position = -1;                   // -1: after the parent's last row
  std::string guid{};                  // made up when empty (Current schema only)
};

// The roots Firefox makes, with their ids: root 1, then menu 2, toolbar 3, tags 4, unfiled 5, mobile 6.
struct FirefoxBookmarks {
  std::vector<BookmarkEntry> menu, toolbar, tags, unfiled, mobile;
};
inline constexpr int kFirefoxRootId = 1, kFirefoxMenuId = 2, kFirefoxToolbarId = 3, kFirefoxTagsId = 4,
                     kFirefoxUnfiledId = 5, kFirefoxMobileId = 6;

class PlacesDatabase {
 public:
  static Result<PlacesDatabase> Create(PlacesSchema schema = PlacesSchema::Current);
  PlacesDatabase(PlacesDatabase&& other) noexcept;
  PlacesDatabase& operator=(PlacesDatabase&&) = delete;
  ~PlacesDatabase();

  Result<void> Exec(const std::string& sql) { return connection_.Exec(sql); }
  // A moz_places row for the address (id 0: the next free one); an address
  // already there gives its row.
  Result<int> AddPlace(const std::string& url, const std::string& title = "", int id = 0);
  Result<void> AddRow(const FirefoxRow& row);
  // The six root rows, with Firefox's guids ("root________", "menu________", ...).
  Result<void> AddStandardRoots();
  // The entries below `parent`, depth first, on new ids; a bookmark gets its
  // moz_places row, an untitled bookmark a NULL title, extra keys set columns.
  Result<void> AddEntries(int parent, const std::vector<BookmarkEntry>& entries);
  // The standard roots and every root's entries, the tags' last.
  Result<void> AddBookmarks(const FirefoxBookmarks& bookmarks);

  // The database file's bytes; `writeAheadLog` marks it as in WAL mode, as Firefox keeps it.
  Result<std::string> Bytes(bool writeAheadLog = false) const;
  Result<void> Save(const std::filesystem::path& file, bool writeAheadLog = false) const;

 private:
  PlacesDatabase(SqlConnection connection, PlacesSchema schema) : connection_(std::move(connection)), schema_(schema) {}
  Result<void> Insert(const std::string& sql, const std::vector<Value>& args, sqlite3_stmt** cached);
  Result<int> AddEntry(int parent, const BookmarkEntry& entry);
  SqlConnection connection_;
  PlacesSchema schema_;
  sqlite3_stmt* placeInsert_ = nullptr;
  sqlite3_stmt* rowInsert_ = nullptr;
  std::unordered_map<std::string, int> placeIds_;
  std::unordered_map<int, int> nextPosition_;
  int lastPlaceId_ = 0;
  int lastRowId_ = 0;
};

// profiles.ini in `iniFolder` with one profile, `profileFolder`, marked as the default.
Result<void> WriteFirefoxProfilesIni(const std::filesystem::path& iniFolder,
                                     const std::filesystem::path& profileFolder);
// A Firefox profile where the layout keeps it: places.sqlite (in WAL mode) in
// the profiles folder's `profileName` and profiles.ini naming it. Returns the
// places file.
Result<std::filesystem::path> WriteFirefoxProfile(const Locations& home, const std::string& profileName,
                                                  const PlacesDatabase& places);

}  // namespace linvara::profile
