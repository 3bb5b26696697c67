#pragma once
// Bookmark nodes as readable text for the command line.
#include <iosfwd>

#include "model/PRBookMarkNode.h"

namespace linvara::cli {

// One line per node: title, address, then browser and path in brackets.
//   Ruby Programming Language  http://www.ruby-lang.org/en/  [Safari /BookmarksBar/Ruby]
void PrintNodeLines(std::ostream& out, const NodeList& nodes);

// The nodes with their children, indented two spaces per level; folders end in "/".
void PrintNodeTree(std::ostream& out, const NodeList& topLevel);

}  // namespace linvara::cli
