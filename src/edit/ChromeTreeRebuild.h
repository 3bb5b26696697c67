#pragma once
// Chrome's tree back into its JSON form. A folder that holds no removed
// bookmark, at any depth, is written as read; entries the reader made no node
// of stay in place. "roots" is always an object with the keys read, in order.
#include "edit/StoredChildren.h"
#include "model/BookmarkLists.h"

namespace linvara {

// The "roots" object of the Chrome tree (lists.ChromeFatherArray under lists.rootNode) without `removeList`.
Value removeManyBookMarkfromChromeBookMarkWithArray(const BookmarkLists& lists, const NodeList& ancestors,
                                                    const NodeList& removeList);
// A folder's object without `removeList`: a copy of its own object with "children" rebuilt.
DictPtr getChromeLastFaDictBookNode(const FolderPtr& folder, const NodeList& removeList);
// The "roots" object with every folder rebuilt from its nodes, every list of siblings in `order` (as the
// nodes stand without one); each top-level entry keeps its key and the keys follow the order.
Value ChromeRootsOfWholeTree(const BookmarkLists& lists, const SiblingOrder& order = nullptr);
// "roots" as an object: an object unchanged, an array (written by earlier versions) under Chrome's root names.
Value ChromeRootsAsObject(const Value& roots);

}  // namespace linvara
