#pragma once
// Safari's tree back into its property-list form. Every entry that holds no
// change, at any depth, is written from the dictionary read for it; entries
// the reader made no node of stay in place unchanged. Nodes are matched by
// identity, never by title, address or UUID. Nothing here writes a file.
#include <string>

#include "edit/StoredChildren.h"
#include "model/BookmarkLists.h"

namespace linvara {

// The node's top-level ancestor: `root` for a top-level node, else the top-level folder holding it; for a
// chain that never reaches `root` (or loops), the last ancestor reached; null for a node without father.
NodePtr getLastFaBookNode(const NodePtr& node, const NodePtr& root);
// The top-level ancestor of each node, in order (the ancestor list the rebuilds take).
NodeList AncestorsOf(const NodeList& nodes, const NodePtr& root);

// The top-level "Children" of the Safari tree (lists.safariFatherArray under lists.rootNode) without `removeList`.
ArrayPtr removeManyBookMarkfromSafariBookMarkWithArray(const BookmarkLists& lists, const NodeList& ancestors,
                                                       const NodeList& removeList);
// A folder's dictionary without `removeList` (parent-dictionary rule below the top level).
DictPtr getLastFaDictBookNode(const FolderPtr& folder, const NodeList& removeList);

// The top-level "Children" with the nodes of `edited` written with their current title and address.
ArrayPtr EditManyBookMarkfromSafariBookMarkWithArray(const BookmarkLists& lists, const NodeList& ancestors,
                                                     const NodeList& edited);
// A folder's dictionary with the nodes of `edited` written anew.
DictPtr getEidtLastFaDictBookNode(const FolderPtr& folder, const NodeList& edited);
// An edited bookmark: its dictionary with "URIDictionary" = {"title"} and "URLString" from the node.
DictPtr EditedBookmarkDictionary(const NodePtr& bookmark);

// The whole subtree of a folder from its nodes, each folder from its own dictionary (a folder without one
// first gets {"WebBookmarkType", "Title", "WebBookmarkUUID"}, stored as its itemDict).
DictPtr getTheChildArrayDictionary(const FolderPtr& folder);
// The top-level "Children" of the tree built by the whole-subtree rule, every list of siblings in `order`
// (as the nodes stand without one). Entries the reader made no node of keep their places.
ArrayPtr SafariChildrenOfWholeTree(const BookmarkLists& lists, const SiblingOrder& order = nullptr);

// The first folder, depth first over every level, whose title is exactly `title`; null when none.
FolderPtr getMovedBookFolderItemwithSelectMenuItemTitle(const NodeList& topLevel, const std::string& title);
// The top-level "Children" with the bookmarks of `moved` taken from their places and put, in order, at the
// end of `target`. A top-level target keeps only its type, title, UUID and children.
ArrayPtr MovedSafariChildren(const BookmarkLists& lists, const NodeList& moved, const FolderPtr& target);

}  // namespace linvara
