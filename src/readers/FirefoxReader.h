#pragma once
// Firefox's places.sqlite into nodes: one flat pass over moz_bookmarks, then
// the tree is linked through the row identifiers. The database is read from a
// private snapshot (platform/DatabaseSnapshot), so no file of the profile is
// ever created, changed or locked. Separators and the tags root's subtree are
// no bookmarks and are left out.
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

struct PlacesRows;

class FirefoxReader {
 public:
  explicit FirefoxReader(ReaderContext& ctx) : ctx_(ctx) {}

  // NotFound: no profiles folder (nothing changes), no profile or no places
  // file. Unreadable: the places file is not a readable file. Malformed: not a
  // places database, or any SQLite error while reading it; no node is added then.
  ReadResult ReadFirefoxBookMark(const FirefoxSource& source);
  // The same, leaving out every bookmark row whose address is the address of a node of `removeList`.
  ReadResult ReadFirefoxBookMarkwithRemoveArray(const FirefoxSource& source, const NodeList& removeList);

  // Queues the read of the database's rows for a full read that reads it ahead.
  static void QueueReadAhead(ReadAhead& ahead, const FirefoxSource& source);

  // The address of the moz_places row `fk`; "" when there is none. Uses a
  // statement prepared once per database; an SQLite error is Malformed.
  Result<std::string> GetUrlStringwithSqlite(sqlite3* db, std::int32_t fk);
  // The first folder of FireFoxFolderArray whose id is the folder's parent id, or null.
  FolderPtr getFirefoxFatheNode(const FolderPtr& folder) const;
  // Attaches the folder's child folders, then its bookmarks, and returns them.
  NodeList getFirefoxChildArray(const FolderPtr& folder);

 private:
  ReadResult Read(const FirefoxSource& source, const RemovalSet* removal);
  // The rows of the database's snapshot; touches no node list, so it may run on any thread.
  Result<PlacesRows> ReadRows(const std::filesystem::path& places);
  ReadResult ReadPlaces(const std::filesystem::path& places, const RemovalSet* removal);
  Result<PlacesRows> QueryRows(sqlite3* db, const std::filesystem::path& places);
  // Nodes for the rows that are bookmarks and folders; the number left out below the folder limit.
  std::size_t MakeNodes(const PlacesRows& places, const RemovalSet* removal);
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

// Positions, in a list of parent links, of the entries whose chain of parents
// comes back to themselves. `parentOf(i)` is the position of i's parent, if any.
std::vector<bool> EntriesOnParentCycles(std::size_t count,
                                        const std::function<std::optional<std::size_t>(std::size_t)>& parentOf);

}  // namespace linvara
