#pragma once
// The rows of moz_bookmarks as the Firefox reader reads them, before any node is made.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/PRBookMarkNode.h"

namespace linvara {

struct PlacesRow {
  OptString type;
  OptString id;
  OptString parent;
  OptString fk;
  OptString title;
  OptString guid;
  std::string url;  // the moz_places address of a bookmark row with an fk
};

struct PlacesRows {
  std::vector<PlacesRow> rows;  // rows with a type, in the database's order
  std::optional<std::int32_t> tagsRootId;
};

// A leading decimal integer, as the C library reads one; 0 when there is none.
std::int32_t LeadingInt(const OptString& text);
bool NonEmpty(const OptString& s);
// The id in a column, -1 when the column is empty.
std::int32_t IdOrMinusOne(const OptString& text);

inline constexpr std::int32_t kPlacesBookmarkType = 1;
inline constexpr std::int32_t kPlacesSeparatorType = 3;
inline constexpr const char* kTagsRootGuid = "tags________";

}  // namespace linvara
