#pragma once
// The node lists the application controller owns. They are created once and
// only emptied and refilled; readers append to them.
#include "model/PRBookMarkNode.h"

namespace linvara {

struct BookmarkLists {
  NodeList safariFatherArray;     // top-level Safari nodes, file order
  NodeList safariBookMarkArray;   // every Safari leaf, depth-first
  NodeList chromebookMarkArray;   // every Chrome leaf
  NodeList edgebookMarkArray;     // every Edge leaf
  NodeList allbookMarkArray;      // the unified list: every leaf read, in reading order
  NodeList folderArray;           // folders made in the unified view
  NodeList duplicateArray;        // duplicate groups
  NodeList deadURLArray;          // unreachable bookmarks
  NodeList fliterSearchArray;     // search results
  NodeList ChromeFatherArray;     // one node per entry of "roots"
  NodeList edgeFatherArray;       // top-level Edge nodes
  NodeList FireFoxFatherArray;    // Firefox folders whose parent is the root row
  NodeList FireFoxFolderArray;    // every Firefox folder of the last read (reader's own list)
  NodeList FireFoxBookMarkArray;  // every Firefox leaf
  NodeList OperaFatherArray;      // Opera leaves of the first two levels
  NodeList LastLeveArray;         // table content saved when a folder is opened
  NodeList partialSortSelection;  // nodes chosen for a sort of part of a tree

  // The root installed by the last reader that installs one; null at first.
  RootPtr rootNode;
};

}  // namespace linvara
