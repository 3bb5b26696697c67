#include "readers/FirefoxReader.h"

#include <sqlite3.h>

#include "platform/DatabaseSnapshot.h"
#include "readers/PlacesRows.h"

namespace fs = std::filesystem;

namespace linvara {
namespace {

constexpr const char* kFirefox = "Firefox";

// Which rows become nodes: separators and the tags root's subtree never do;
// folders more than kMaxFolderLevels deep and the bookmarks in them are left
// out and counted. Levels follow the links the tree will get: a folder's
// father is the first folder with its parent id, except on a parent cycle.
class RowSelection {
 public:
  explicit RowSelection(const PlacesRows& places) : rows_(places.rows) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!IsFolder(i)) continue;
      folderOfRow_.emplace(i, folders_.size());
      firstFolderWithId_.try_emplace(IdOrMinusOne(rows_[i].id), folders_.size());
      folders_.push_back(i);
    }
    auto parentOf = [&](std::size_t f) { return FolderWithId(IdOrMinusOne(rows_[folders_[f]].parent)); };
    const std::vector<bool> onCycle = EntriesOnParentCycles(folders_.size(), parentOf);
    level_.assign(folders_.size(), 0);
    inTags_.assign(folders_.size(), false);
    for (std::size_t start = 0; start < folders_.size(); ++start) {
      std::vector<std::size_t> chain;
      std::optional<std::size_t> at = start;
      while (at && level_[*at] == 0) {
        chain.push_back(*at);
        at = onCycle[*at] ? std::nullopt : parentOf(*at);
      }
      std::size_t level = at ? level_[*at] : 0;
      bool inTags = at && inTags_[*at];
      for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        level_[*it] = ++level;
        inTags = inTags || (places.tagsRootId && IdOrMinusOne(rows_[folders_[*it]].id) == *places.tagsRootId);
        inTags_[*it] = inTags;
      }
    }
  }

  enum class Verdict { Keep, Drop, BelowLimit };

  Verdict Of(std::size_t row) const {
    const std::int32_t type = LeadingInt(rows_[row].type);
    if (type == kPlacesSeparatorType) return Verdict::Drop;
    if (type == kPlacesBookmarkType) {
      auto folder = FolderWithId(IdOrMinusOne(rows_[row].parent));
      if (!folder) return Verdict::Keep;
      if (inTags_[*folder]) return Verdict::Drop;
      return level_[*folder] > kMaxFolderLevels ? Verdict::BelowLimit : Verdict::Keep;
    }
    auto folder = folderOfRow_.find(row);
    if (folder == folderOfRow_.end()) return Verdict::Keep;  // the root row
    if (inTags_[folder->second]) return Verdict::Drop;
    return level_[folder->second] > kMaxFolderLevels ? Verdict::BelowLimit : Verdict::Keep;
  }

 private:
  bool IsFolder(std::size_t row) const {
    const std::int32_t type = LeadingInt(rows_[row].type);
    return type != kPlacesBookmarkType && type != kPlacesSeparatorType && IdOrMinusOne(rows_[row].parent) != 0;
  }
  std::optional<std::size_t> FolderWithId(std::int32_t id) const {
    auto it = firstFolderWithId_.find(id);
    if (it == firstFolderWithId_.end()) return std::nullopt;
    return it->second;
  }

  const std::vector<PlacesRow>& rows_;
  std::vector<std::size_t> folders_;  // row positions of the folder rows
  std::unordered_map<std::size_t, std::size_t> folderOfRow_;
  std::unordered_map<std::int32_t, std::size_t> firstFolderWithId_;
  std::vector<std::size_t> level_;  // 1 for a folder without a father
  std::vector<bool> inTags_;
};

}  // namespace

std::vector<bool> EntriesOnParentCycles(std::size_t count,
                                        const std::function<std::optional<std::size_t>(std::size_t)>& parentOf) {
  std::vector<bool> onCycle(count, false);
  enum : char { kUnseen, kOnPath, kDone };
  std::vector<char> state(count, kUnseen);
  for (std::size_t start = 0; start < count; ++start) {
    std::vector<std::size_t> path;
    std::optional<std::size_t> at = start;
    while (at && state[*at] == kUnseen) {
      state[*at] = kOnPath;
      path.push_back(*at);
      at = parentOf(*at);
    }
    if (at && state[*at] == kOnPath) {
      for (auto it = path.rbegin(); it != path.rend(); ++it) {
        onCycle[*it] = true;
        if (*it == *at) break;
      }
    }
    for (std::size_t i : path) state[i] = kDone;
  }
  return onCycle;
}

ReadResult FirefoxReader::ReadFirefoxBookMark(const FirefoxSource& source) { return Read(source, nullptr); }

ReadResult FirefoxReader::ReadFirefoxBookMarkwithRemoveArray(const FirefoxSource& source,
                                                             const NodeList& removeList) {
  RemovalSet removal(removeList);
  return Read(source, &removal);
}

ReadResult FirefoxReader::Read(const FirefoxSource& source, const RemovalSet* removal) {
  std::error_code ec;
  if (source.profilesFolder.empty() || !fs::is_directory(source.profilesFolder, ec))
    return Fail("no Firefox profiles folder at " + source.profilesFolder.string(), ErrorKind::NotFound);
  ctx_.lists.FireFoxFolderArray.clear();
  ctx_.lists.rootNode = nullptr;
  ReadResult result = source.placesFile
                          ? ReadPlaces(*source.placesFile, removal)
                          : ReadResult(Fail("no Firefox profile in " + source.profilesFolder.string(), ErrorKind::NotFound));
  LinkTree();
  return result;
}

Result<PlacesRows> FirefoxReader::ReadRows(const fs::path& places) {
  auto snapshot = DatabaseSnapshot::Take(places);
  if (!snapshot) return snapshot.failure();
  sqlite3* db = nullptr;
  // Read-write, the copy being ours: a hot journal is rolled back, a log replayed.
  if (sqlite3_open_v2(snapshot->database().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    std::string why = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return Fail(places.string() + ": not a database: " + why, ErrorKind::Malformed);
  }
  auto rows = QueryRows(db, places);
  sqlite3_close(db);
  return rows;
}

namespace {
std::string ParseKey(const fs::path& places) { return "places:" + places.string(); }
}  // namespace

void FirefoxReader::QueueReadAhead(ReadAhead& ahead, const FirefoxSource& source) {
  if (!source.placesFile) return;
  ahead.Add<Result<PlacesRows>>(ParseKey(*source.placesFile), [places = *source.placesFile] {
    BookmarkLists unused;
    ReaderContext ctx{unused, 0, {}};
    return FirefoxReader(ctx).ReadRows(places);
  });
}

ReadResult FirefoxReader::ReadPlaces(const fs::path& places, const RemovalSet* removal) {
  Result<PlacesRows> rows = ctx_.ParseFile<Result<PlacesRows>>(ParseKey(places), [&] { return ReadRows(places); });
  if (!rows) return rows.failure();
  return ReadStats{MakeNodes(*rows, removal)};
}

std::size_t FirefoxReader::MakeNodes(const PlacesRows& places, const RemovalSet* removal) {
  const RowSelection selection(places);
  BookmarkLists& lists = ctx_.lists;
  std::size_t leftOut = 0;
  for (std::size_t i = 0; i < places.rows.size(); ++i) {
    const PlacesRow& row = places.rows[i];
    const RowSelection::Verdict verdict = selection.Of(i);
    if (verdict == RowSelection::Verdict::Drop) continue;
    if (LeadingInt(row.type) == kPlacesBookmarkType) {
      if (removal && removal->Contains(row.url)) continue;  // "" without an fk, as the leaf's address
      if (verdict == RowSelection::Verdict::BelowLimit) {
        ++leftOut;
        continue;
      }
      ctx_.NodeMade();
      NodePtr leaf = PRBookMarkNode::Create();
      if (NonEmpty(row.id)) leaf->setBookmarkID(LeadingInt(row.id));
      if (NonEmpty(row.parent)) leaf->setBookmarkParentID(LeadingInt(row.parent));
      if (NonEmpty(row.fk)) leaf->setUrlString(row.url);
      if (NonEmpty(row.title)) leaf->setThetitle(row.title);
      if (NonEmpty(row.guid)) leaf->setBookMarkUUID(row.guid);
      leaf->setBookMarkFrom(kFirefox);
      lists.FireFoxBookMarkArray.push_back(leaf);
      lists.allbookMarkArray.push_back(leaf);
      continue;
    }
    if (verdict == RowSelection::Verdict::BelowLimit) {
      ++leftOut;
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
      folder->setSharedFullPath(TopLevelPath());
      lists.FireFoxFatherArray.push_back(folder);
    }
    lists.FireFoxFolderArray.push_back(folder);
  }
  return leftOut;
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
  onParentCycle_ = EntriesOnParentCycles(folders.size(), [&](std::size_t i) -> std::optional<std::size_t> {
    auto it = firstFolderWithId_.find(folders[i]->bookmarkParentID());
    if (it == firstFolderWithId_.end()) return std::nullopt;
    return it->second;
  });
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
  const SharedPath path = folder->sharedFullPath();
  const SharedPath childFolderPath =
      (path && *path == "/") ? MakeSharedPath("/" + OrNull(folder->thetitle())) : path;
  if (auto it = foldersByParent_.find(id); it != foldersByParent_.end()) {
    for (std::size_t i : it->second) {
      if (i < onParentCycle_.size() && onParentCycle_[i]) continue;
      const NodePtr& child = folders[i];
      child->setFatherItem(folder);
      child->setSharedFullPath(childFolderPath);
      children.push_back(child);
    }
  }
  if (auto it = leavesByParent_.find(id); it != leavesByParent_.end()) {
    for (std::size_t i : it->second) {
      const NodePtr& child = leaves[i];
      child->setFatherItem(folder);
      child->setSharedFullPath(path);
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
    folder->setSharedFullPath((!father || father->isRoot()) ? TopLevelPath() : SharedPathBelow(father));
  }
  // Every leaf of one folder shares the path computed once for that folder.
  std::unordered_map<const PRBookMarkNode*, SharedPath> pathBelow;
  for (const auto& leaf : ctx_.lists.FireFoxBookMarkArray) {
    NodePtr father = leaf->fatherItem();
    if (!father || father->isRoot()) {
      leaf->setSharedFullPath(TopLevelPath());
      continue;
    }
    auto [it, added] = pathBelow.try_emplace(father.get());
    if (added) it->second = SharedPathBelow(father);
    leaf->setSharedFullPath(it->second);
  }
}

}  // namespace linvara
