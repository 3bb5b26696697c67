#pragma once
// Firefox's places.sqlite into nodes: one flat pass over moz_bookmarks, then
// the tree is linked through the row identifiers. The database is only ever
// opened read-only; no file beside it is created or changed.
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "readers/ReaderContext.h"

struct sqlite3;
struct sqlite3_stmt;

namespace linvara {

struct FirefoxSource {
  std::filesystem::path profilesFolder;              // nothing is read when it does not exist
  std::optional<std::filesystem::path> placesFile;   // the chosen profile's places.sqlite
};

class FirefoxReader {
 public:
  explicit FirefoxReader(ReaderContext& ctx) : ctx_(ctx) {}

  void ReadFirefoxBookMark(const FirefoxSource& source);
  // The same, leaving out every bookmark row whose address is the address of a node of `removeList`.
  void ReadFirefoxBookMarkwithRemoveArray(const FirefoxSource& source, const NodeList& removeList);

  // The address of the moz_places row `fk`; "" when there is none. Uses a
  // statement prepared once per database.
  std::string GetUrlStringwithSqlite(sqlite3* db, std::int32_t fk);
  // The first folder of FireFoxFolderArray whose id is the folder's parent id, or null.
  FolderPtr getFirefoxFatheNode(const FolderPtr& folder) const;
  // Attaches the folder's child folders, then its bookmarks, and returns them.
  NodeList getFirefoxChildArray(const FolderPtr& folder);

 private:
  void Read(const FirefoxSource& source, const RemovalSet* removal);
  void ReadRows(const std::filesystem::path& places, const RemovalSet* removal);
  bool ReadRowsFrom(sqlite3* db, const RemovalSet* removal);
  void LinkTree();
  void BuildIndexes();

  ReaderContext& ctx_;
  sqlite3_stmt* urlStatement_ = nullptr;
  // Maps of the last read, from an id to list positions, in list order.
  std::unordered_map<std::int32_t, std::size_t> firstFolderWithId_;
  std::unordered_map<std::int32_t, std::vector<std::size_t>> foldersByParent_;
  std::unordered_map<std::int32_t, std::vector<std::size_t>> leavesByParent_;
  std::vector<bool> onParentCycle_;
};

// Opens a places file for reading without creating or changing any file:
// read-only, and with immutable=1 when the database is in WAL mode without a
// WAL file (a read-only open would create one) or when it is locked.
// `immutable` selects the second form directly.
sqlite3* OpenPlacesReadOnly(const std::filesystem::path& places, bool immutable);
// True when the file's header says WAL mode.
bool IsWalDatabase(const std::filesystem::path& file);

}  // namespace linvara
