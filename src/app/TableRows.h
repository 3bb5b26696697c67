#pragma once
// What each table row shows, as data: the window's cells draw these values.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/ViewState.h"
#include "model/PRBookMarkNode.h"

namespace linvara {

// Shown instead of the address of an encrypted bookmark (29 asterisks).
inline constexpr const char* kEncryptedAddressMask = "*****************************";

// Look of the cells of cell-based tables: "Lucida Grande" 11 pt, this colour for real rows.
struct CellStyle {
  static constexpr const char* kFontName = "Lucida Grande";
  static constexpr double kFontSize = 11.0;
  static constexpr int kRed = 161, kGreen = 169, kBlue = 186;
};

// One row of `dataTableView`. Empty strings leave a cell as the view definition made it.
struct BookmarkRow {
  enum class Kind { Bookmark, Folder, Other };
  Kind kind = Kind::Other;
  // Name column (`PSTableCellView`).
  std::string icon;         // image resource: "folderlogo", "safarilogo", ..., "lock"; empty: none
  std::string title;        // a folder's missing title shows as "(null)"
  double titleY = 0;        // y of the title field: 8 for a folder, 21 for a bookmark, 0 as made
  std::string addressLine;  // `urlStrlab`: the address, or the mask for an encrypted bookmark
  // Date column: the date the bookmark was added, when the browser records one.
  std::string date;
  // UDID column (`PSTableUIDCellView`): identifier and `pathlab` with the full path.
  std::string uuid;
  std::string path;
  // Type column: "Safari bookmark", "Chrome bookmark", ...; empty for other tags.
  std::string type;
};

// One row of a duplicate or dead-link table (`PSDupTableCellView`; the left
// duplicate table shows the title only).
struct ResultRow {
  std::string title;
  std::string addressLine;  // `urlStrlab`
  std::string path;         // `pathlab`
  bool checked = false;     // `checkBtn`, from the node's `bSelect`
  NodePtr node;             // `fileNode`
};

// The Type column's text for a browser tag, empty for any other tag.
std::string BrowserTypeText(const OptString& bookMarkFrom);
// The icon of a bookmark from this browser, empty for any other tag.
std::string BrowserIcon(const OptString& bookMarkFrom);
// Chromium's "date_added" (microseconds since 1601-01-01 UTC, decimal text) as
// seconds since 1970; nothing when the text is not a number.
std::optional<std::int64_t> ChromiumTimeToUnixSeconds(const std::string& addDateStr);
// The Date column's text for `addDateStr`, empty when it is not a number.
std::string ChromiumDateText(const std::string& addDateStr);

BookmarkRow MakeBookmarkRow(const NodePtr& node);
// `leftDupTableView`: the group's title.
ResultRow MakeDuplicateGroupRow(const NodePtr& group);
// `rightDupTableView`: in the unified view (1) the path reads "%@        --%@"
// with the browser's type text; in the other views the path itself.
ResultRow MakeDuplicateMemberRow(const NodePtr& member, ViewKind bookMarkType);
// `deadUrlTableView`.
ResultRow MakeDeadLinkRow(const NodePtr& node);

}  // namespace linvara
