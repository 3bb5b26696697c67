#pragma once
// What an HTML export writes, copied out of the nodes on the main thread: the
// worker that builds and writes the file then never touches a node or a list
// the main thread may change.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "export/PRHtmlController.h"
#include "model/PRBookMarkNode.h"
#include "model/Result.h"

namespace linvara {

struct ExportLine {
  enum class Kind : std::uint8_t { Bookmark, FolderOpen, FolderClose };
  Kind kind = Kind::Bookmark;
  std::uint32_t titleSize = 0;  // the title, then (bookmarks) the address, follow the previous line's in `text`
  std::uint32_t urlSize = 0;
};

// The lines of the file's body, depth first, with all their texts in one
// buffer (a missing title or address is empty).
struct ExportOutline {
  std::vector<ExportLine> lines;
  std::string text;

  void Add(ExportLine::Kind kind, std::string_view title = {}, std::string_view url = {});
  std::size_t bookmarkCount() const;
};

// The rows with every folder's subtree. A row that is exactly a bookmark is one
// line; a row that is exactly a folder opens, lists its children and closes;
// other rows (roots) are left out. Below a folder every child that is not a
// bookmark counts as a folder. No recursion: any depth is fine.
ExportOutline AddSubBoomarkFolderandBookmarkUrlwith(const NodeList& rows);

// The builder's body for the outline (no header, no end).
void AppendOutline(PRHtmlController& builder, const ExportOutline& outline);

// Which file an export writes inside its folder.
enum class ExportFile { Shown, ChromeTree };  // "Linvara.html", "Chrome BookMark.html"

// Creates the folder (with missing parents), builds the whole file and writes
// it in one step. The written file's path, or why it could not be written.
Result<std::filesystem::path> WriteBookmarkHtml(const std::filesystem::path& folder, const ExportOutline& outline,
                                                ExportFile file);

}  // namespace linvara
