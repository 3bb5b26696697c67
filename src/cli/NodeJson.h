#pragma once
// Bookmark nodes as JSON objects for the command line's --json output:
// "kind" ("bookmark", "folder" or "root"), "title", "url", "path", "browser",
// "uuid", "dateAdded", "favorite", "encrypted", and for folders in tree mode
// "children". A missing field is null; strings are the node's fields as they are.
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>

#include "model/PRBookMarkNode.h"

namespace linvara::cli {

const char* NodeKindName(const PRBookMarkNode& node);

// With `withChildren`, a folder carries its children, recursively (a folder
// met again below itself is written without children).
nlohmann::ordered_json NodeToJson(const NodePtr& node, bool withChildren = false);
nlohmann::ordered_json NodesToJson(const NodeList& nodes, bool withChildren = false);

// The same text as WriteJson(out, NodesToJson(nodes, withChildren)), written
// node by node without building the whole document first.
void WriteNodesJson(std::ostream& out, const NodeList& nodes, bool withChildren = false);

}  // namespace linvara::cli
