#include "readers/FirefoxReader.h"

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace linvara {
namespace {

constexpr const char* kFirefox = "Firefox";

// One row of moz_bookmarks with its address, as read before any node is made,
// so that a read that fails halfway (a lock) can be thrown away and retried.
struct PlacesRow {
  OptString type;
  OptString id;
  OptString parent;
  OptString fk;
  OptString title;
  OptString guid;
  std::string url;
};

OptString ColumnText(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  if (!text) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

bool NonEmpty(const OptString& s) { return s && !s->empty(); }

// A leading decimal integer, as the C library reads one; 0 when there is none.
std::int32_t LeadingInt(const OptString& text) {
  if (!text) return 0;
  return static_cast<std::int32_t>(std::strtoll(text->c_str(), nullptr, 10));
}

std::int32_t IdOrMinusOne(const OptString& text) { return NonEmpty(text) ? LeadingInt(text) : -1; }

std::string UriEscapedPath(const std::string& path) {
  static const char* kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if (c == '%' || c == '?' || c == '#' || c == ' ' || c < 0x20 || c >= 0x7f) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xf];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// The bookmark query with the columns this database has; a missing column reads as NULL.
std::optional<std::string> BookmarkQuery(sqlite3* db) {
  sqlite3_stmt* info = nullptr;
  if (sqlite3_prepare_v2(db, "pragma table_info(moz_bookmarks)", -1, &info, nullptr) != SQLITE_OK) return std::nullopt;
  std::vector<std::string> present;
  while (sqlite3_step(info) == SQLITE_ROW)
    if (OptString name = ColumnText(info, 1)) present.push_back(*name);
  sqlite3_finalize(info);
  if (present.empty()) return std::nullopt;
  auto column = [&](const char* name) {
    for (const auto& p : present)
      if (sqlite3_stricmp(p.c_str(), name) == 0) return std::string("moz_bookmarks.") + name;
    return std::string("NULL");
  };
  return "select " + column("type") + "," + column("id") + "," + column("parent") + "," + column("fk") + "," +
         column("title") + "," + column("syncStatus") + "," + column("guid") + "," + column("dateAdded") +
         " from moz_bookmarks ";
}

}  // namespace

bool IsWalDatabase(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  char header[20] = {};
  if (!in.read(header, sizeof header)) return false;
  return header[18] == 2 && header[19] == 2;
}

sqlite3* OpenPlacesReadOnly(const fs::path& places, bool immutable) {
  sqlite3* db = nullptr;
  int rc;
  if (immutable) {
    std::string uri = "file:" + UriEscapedPath(places.string()) + "?immutable=1";
    rc = sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  } else {
    rc = sqlite3_open_v2(places.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  }
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  return db;
}

void FirefoxReader::ReadFirefoxBookMark(const FirefoxSource& source) { Read(source, nullptr); }

void FirefoxReader::ReadFirefoxBookMarkwithRemoveArray(const FirefoxSource& source, const NodeList& removeList) {
  RemovalSet removal(removeList);
  Read(source, &removal);
}

std::string FirefoxReader::GetUrlStringwithSqlite(sqlite3* db, std::int32_t fk) {
  if (!urlStatement_) {
    if (sqlite3_prepare_v2(db, "select moz_places.url from moz_places where moz_places.id= ?", -1, &urlStatement_,
                           nullptr) != SQLITE_OK) {
      sqlite3_finalize(urlStatement_);
      urlStatement_ = nullptr;
      return "";
    }
  }
  sqlite3_reset(urlStatement_);
  sqlite3_bind_int(urlStatement_, 1, fk);
  std::string url;
  while (sqlite3_step(urlStatement_) == SQLITE_ROW) {
    OptString text = ColumnText(urlStatement_, 0);
    if (NonEmpty(text)) url = *text;
  }
  sqlite3_reset(urlStatement_);
  return url;
}

void FirefoxReader::Read(const FirefoxSource& source, const RemovalSet* removal) {
  std::error_code ec;
  if (source.profilesFolder.empty() || !fs::is_directory(source.profilesFolder, ec)) return;
  ctx_.lists.FireFoxFolderArray.clear();
  ctx_.lists.rootNode = nullptr;
  if (source.placesFile) ReadRows(*source.placesFile, removal);
  LinkTree();
}

void FirefoxReader::ReadRows(const fs::path& places, const RemovalSet* removal) {
  std::error_code ec;
  if (!fs::is_regular_file(places, ec)) return;
  // A read-only open of a WAL database creates its -wal and -shm files when
  // they are missing; immutable=1 reads the same content without them.
  const bool walFilesMissing = IsWalDatabase(places) && (!fs::exists(places.string() + "-wal", ec) ||
                                                         !fs::exists(places.string() + "-shm", ec));
  for (bool immutable : {false, true}) {
    if (walFilesMissing && !immutable) continue;
    sqlite3* db = OpenPlacesReadOnly(places, immutable);
    if (!db) continue;
    bool done = ReadRowsFrom(db, removal);
    sqlite3_close(db);
    if (done) return;
  }
}

bool FirefoxReader::ReadRowsFrom(sqlite3* db, const RemovalSet* removal) {
  std::vector<PlacesRow> rows;
  bool ok = false;
  urlStatement_ = nullptr;
  if (auto query = BookmarkQuery(db)) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, query->c_str(), -1, &statement, nullptr) == SQLITE_OK) {
      int rc;
      ok = true;
      while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        PlacesRow row;
        row.type = ColumnText(statement, 0);
        if (!NonEmpty(row.type)) continue;
        row.id = ColumnText(statement, 1);
        row.parent = ColumnText(statement, 2);
        row.fk = ColumnText(statement, 3);
        row.title = ColumnText(statement, 4);
        row.guid = ColumnText(statement, 6);
        if (LeadingInt(row.type) == 1 && NonEmpty(row.fk)) {
          row.url = GetUrlStringwithSqlite(db, LeadingInt(row.fk));
          if (!urlStatement_) {  // no moz_places: not a places database
            ok = false;
            break;
          }
        }
        rows.push_back(std::move(row));
      }
      if (rc != SQLITE_DONE) ok = false;
    }
    sqlite3_finalize(statement);
  }
  // Without moz_places the file is not a places database, even before the first bookmark row.
  if (ok && !urlStatement_ &&
      sqlite3_prepare_v2(db, "select moz_places.url from moz_places where moz_places.id= ?", -1, &urlStatement_,
                         nullptr) != SQLITE_OK)
    ok = false;
  sqlite3_finalize(urlStatement_);
  urlStatement_ = nullptr;
  if (!ok) return false;

  BookmarkLists& lists = ctx_.lists;
  for (const PlacesRow& row : rows) {
    if (LeadingInt(row.type) == 1) {
      ctx_.NodeMade();
      NodePtr leaf = PRBookMarkNode::Create();
      if (NonEmpty(row.id)) leaf->setBookmarkID(LeadingInt(row.id));
      if (NonEmpty(row.parent)) leaf->setBookmarkParentID(LeadingInt(row.parent));
      if (NonEmpty(row.fk)) leaf->setUrlString(row.url);
      if (NonEmpty(row.title)) leaf->setThetitle(row.title);
      if (NonEmpty(row.guid)) leaf->setBookMarkUUID(row.guid);
      leaf->setBookMarkFrom(kFirefox);
      if (removal && removal->Contains(leaf->urlString())) continue;
      lists.FireFoxBookMarkArray.push_back(leaf);
      lists.allbookMarkArray.push_back(leaf);
      continue;
    }
    const std::int32_t id = IdOrMinusOne(row.id);
    const std::int32_t parent = IdOrMinusOne(row.parent);
    if (parent == 0) {
      RootPtr root = PRRootBookMarkNode::Create();
      root->setChildrenArray(std::make_shared<NodeList>());
      root->setTitleStr("root");
      lists.rootNode = root;
      continue;
    }
    FolderPtr folder = PRFaBookMarkNode::Create();
    folder->setBookmarkParentID(parent);
    folder->setBookmarkID(id);
    if (NonEmpty(row.title)) folder->setThetitle(row.title);
    if (NonEmpty(row.guid)) folder->setBookMarkUUID(row.guid);
    folder->setBookMarkFrom(kFirefox);
    if (parent == 1) {
      folder->setFatherItem(lists.rootNode);
      folder->setTheFullPath("/");
      lists.FireFoxFatherArray.push_back(folder);
    }
    lists.FireFoxFolderArray.push_back(folder);
  }
  return true;
}

void FirefoxReader::BuildIndexes() {
  const NodeList& folders = ctx_.lists.FireFoxFolderArray;
  const NodeList& leaves = ctx_.lists.FireFoxBookMarkArray;
  firstFolderWithId_.clear();
  foldersByParent_.clear();
  leavesByParent_.clear();
  for (std::size_t i = 0; i < folders.size(); ++i) {
    firstFolderWithId_.try_emplace(folders[i]->bookmarkID(), i);
    foldersByParent_[folders[i]->bookmarkParentID()].push_back(i);
  }
  for (std::size_t i = 0; i < leaves.size(); ++i) leavesByParent_[leaves[i]->bookmarkParentID()].push_back(i);

  // Folders whose chain of parents comes back to themselves (only in a damaged
  // database): linking them would put a folder inside itself, so they stay
  // unattached, like folders whose parent is missing.
  onParentCycle_.assign(folders.size(), false);
  auto fatherIndex = [&](std::size_t i) -> std::optional<std::size_t> {
    auto it = firstFolderWithId_.find(folders[i]->bookmarkParentID());
    if (it == firstFolderWithId_.end()) return std::nullopt;
    return it->second;
  };
  enum : char { kUnseen, kOnPath, kDone };
  std::vector<char> state(folders.size(), kUnseen);
  for (std::size_t start = 0; start < folders.size(); ++start) {
    std::vector<std::size_t> path;
    std::optional<std::size_t> at = start;
    while (at && state[*at] == kUnseen) {
      state[*at] = kOnPath;
      path.push_back(*at);
      at = fatherIndex(*at);
    }
    if (at && state[*at] == kOnPath) {
      for (auto it = path.rbegin(); it != path.rend(); ++it) {
        onParentCycle_[*it] = true;
        if (*it == *at) break;
      }
    }
    for (std::size_t i : path) state[i] = kDone;
  }
}

FolderPtr FirefoxReader::getFirefoxFatheNode(const FolderPtr& folder) const {
  if (!folder) return nullptr;
  auto it = firstFolderWithId_.find(folder->bookmarkParentID());
  if (it == firstFolderWithId_.end() || it->second >= ctx_.lists.FireFoxFolderArray.size()) return nullptr;
  return AsFolder(ctx_.lists.FireFoxFolderArray[it->second]);
}

NodeList FirefoxReader::getFirefoxChildArray(const FolderPtr& folder) {
  NodeList children;
  if (!folder) return children;
  const NodeList& folders = ctx_.lists.FireFoxFolderArray;
  const NodeList& leaves = ctx_.lists.FireFoxBookMarkArray;
  const std::int32_t id = folder->bookmarkID();
  const OptString path = folder->theFullPath();
  const OptString childFolderPath = (path && *path == "/") ? OptString("/" + OrNull(folder->thetitle())) : path;
  if (auto it = foldersByParent_.find(id); it != foldersByParent_.end()) {
    for (std::size_t i : it->second) {
      if (i < onParentCycle_.size() && onParentCycle_[i]) continue;
      const NodePtr& child = folders[i];
      child->setFatherItem(folder);
      child->setTheFullPath(childFolderPath);
      children.push_back(child);
    }
  }
  if (auto it = leavesByParent_.find(id); it != leavesByParent_.end()) {
    for (std::size_t i : it->second) {
      const NodePtr& child = leaves[i];
      child->setFatherItem(folder);
      child->setTheFullPath(path);
      children.push_back(child);
    }
  }
  for (const auto& child : children) folder->appendChild(child);
  return children;
}

void FirefoxReader::LinkTree() {
  BuildIndexes();
  const NodeList folders = ctx_.lists.FireFoxFolderArray;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    FolderPtr folder = AsFolder(folders[i]);
    if (!folder) continue;
    if (static_cast<std::uint32_t>(folder->bookmarkParentID()) >= 2 && !onParentCycle_[i]) {
      if (FolderPtr father = getFirefoxFatheNode(folder)) folder->setFatherItem(father);
    }
    getFirefoxChildArray(folder);
    NodePtr father = folder->fatherItem();
    folder->setTheFullPath((!father || father->isRoot()) ? std::string("/") : FullPathBelow(father));
  }
  for (const auto& leaf : ctx_.lists.FireFoxBookMarkArray) leaf->setTheFullPath(FullPathBelow(leaf->fatherItem()));
}

}  // namespace linvara
