#pragma once
// Top-level folders that hold no bookmark. A node counts as a folder only when
// it is exactly a folder node (a root is no folder); every other node counts
// as a bookmark. A Safari proxy entry is a folder without children: empty.
#include "model/PRBookMarkNode.h"

namespace linvara {

// True when a bookmark lies anywhere below the folder: a child that is one, or
// a child folder holding one.
bool FatherBookmarkContainURL(const FolderPtr& folder);

// The top-level folders of `topLevel` below which no bookmark lies, in list order.
NodeList EmptyTopLevelFolders(const NodeList& topLevel);

// `topLevel` without those folders, in its order: what the removal keeps.
// Folders below the top level are not looked at.
NodeList WithoutEmptyTopLevelFolders(const NodeList& topLevel);

}  // namespace linvara
