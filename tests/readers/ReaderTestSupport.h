#pragma once
// Helpers for the reader tests: a context over fresh lists and small builders
// for Safari, Chromium and Firefox files.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/PropertyList.h"
#include "model/Value.h"
#include "readers/ReaderContext.h"
#include "support/TestSupport.h"

namespace linvara::testing {

struct ReaderHarness {
  BookmarkLists lists;
  ReaderContext ctx{lists, 1, {"file:///Users/tester/Library/Application"}};
};

inline std::vector<std::string> Titles(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const auto& n : nodes) out.push_back(OrNull(n->thetitle()));
  return out;
}

inline std::vector<std::string> Paths(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const auto& n : nodes) out.push_back(OrNull(n->theFullPath()));
  return out;
}

inline std::vector<std::string> Urls(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const auto& n : nodes) out.push_back(OrNull(n->urlString()));
  return out;
}

inline NodeList ChildrenOf(const NodePtr& node) {
  if (auto folder = AsFolderOrRoot(node)) return folder->childrenSnapshot();
  return {};
}

// Safari entries.
inline DictPtr SafariLeaf(const std::string& title, const std::string& url, const std::string& uuid = "") {
  auto d = Dictionary::make();
  auto uri = Dictionary::make();
  uri->set("title", title);
  d->set("URIDictionary", uri);
  d->set("URLString", url);
  d->set("WebBookmarkType", "WebBookmarkTypeLeaf");
  d->set("WebBookmarkUUID", uuid.empty() ? "UUID-" + title : uuid);
  return d;
}

inline DictPtr SafariList(const std::string& title, std::vector<DictPtr> children) {
  auto d = Dictionary::make();
  auto a = Array::make();
  for (auto& c : children) a->append(c);
  d->set("Children", a);
  d->set("Title", title);
  d->set("WebBookmarkType", "WebBookmarkTypeList");
  d->set("WebBookmarkUUID", "UUID-" + title);
  return d;
}

inline DictPtr SafariRoot(std::vector<DictPtr> children) {
  auto root = SafariList("", std::move(children));
  root->set("WebBookmarkFileVersion", 1);
  return root;
}

inline void WriteSafariFile(const std::filesystem::path& file, const DictPtr& root, bool binary = true) {
  auto bytes = binary ? SerializePropertyListBinary(Value(root)) : SerializePropertyListXml(Value(root));
  WriteText(file, bytes.value());
}

// The first column of the first row of `sql` on the database at `file`; "" when there is none or on an error.
inline std::string QueryText(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_stmt* statement = nullptr;
  std::string out;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
    if (const unsigned char* text = sqlite3_column_text(statement, 0)) out = reinterpret_cast<const char*>(text);
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return out;
}

// A minimal places database: moz_places and moz_bookmarks, with or without the newer columns.
struct PlacesBuilder {
  explicit PlacesBuilder(const std::filesystem::path& file, bool modernSchema = true) {
    std::filesystem::create_directories(file.parent_path());
    sqlite3_open(file.c_str(), &db);
    Exec("create table moz_places (id integer primary key, url longvarchar, title longvarchar)");
    if (modernSchema)
      Exec("create table moz_bookmarks (id integer primary key, type integer, fk integer default null, parent "
           "integer, position integer, title longvarchar, keyword_id integer, folder_type text, dateAdded integer, "
           "lastModified integer, guid text, syncStatus integer not null default 0, syncChangeCounter integer)");
    else
      Exec("create table moz_bookmarks (id integer primary key, type integer, fk integer default null, parent "
           "integer, position integer, title longvarchar, keyword_id integer, folder_type text, dateAdded integer, "
           "lastModified integer)");
    modern = modernSchema;
  }
  ~PlacesBuilder() { Close(); }
  void Close() {
    if (db) sqlite3_close(db);
    db = nullptr;
  }
  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      std::string message = error ? error : "?";
      sqlite3_free(error);
      throw std::runtime_error(message + " in " + sql);
    }
  }
  static std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += (c == '\'') ? std::string("''") : std::string(1, c);
    return out + "'";
  }
  void Place(int id, const std::string& url) {
    Exec("insert into moz_places (id, url) values (" + std::to_string(id) + "," + Quote(url) + ")");
  }
  // type 1 bookmark (fk > 0 names a moz_places row; 0 leaves it null), 2 folder, 3 separator.
  void Row(int id, int type, int parent, const std::string& title, int fk = 0) {
    std::string fkText = fk > 0 ? std::to_string(fk) : "null";
    std::string guid = modern ? ",guid" : "";
    std::string guidValue = modern ? "," + Quote("guid-" + std::to_string(id)) : "";
    Exec("insert into moz_bookmarks (id,type,fk,parent,title" + guid + ") values (" + std::to_string(id) + "," +
         std::to_string(type) + "," + fkText + "," + std::to_string(parent) + "," + Quote(title) + guidValue + ")");
  }
  // The standard roots: root 1, menu 2, toolbar 3, tags 4, unfiled 5, mobile 6.
  void StandardRoots() {
    Row(1, 2, 0, "");
    Row(2, 2, 1, "menu");
    Row(3, 2, 1, "toolbar");
    Row(4, 2, 1, "tags");
    Row(5, 2, 1, "unfiled");
    Row(6, 2, 1, "mobile");
  }
  sqlite3* db = nullptr;
  bool modern = true;
};

}  // namespace linvara::testing
