#include "health/EmptyFolders.h"

#include <unordered_set>
#include <vector>

namespace linvara {

namespace {

bool IsEmptyTopLevelFolder(const NodePtr& node) {
  const FolderPtr folder = AsFolder(node);
  return folder && !FatherBookmarkContainURL(folder);
}

}  // namespace

bool FatherBookmarkContainURL(const FolderPtr& folder) {
  // Without recursion; a folder met twice (a damaged tree) is looked at once.
  std::vector<FolderPtr> pending{folder};
  std::unordered_set<const PRBookMarkNode*> seen;
  while (!pending.empty()) {
    const FolderPtr current = pending.back();
    pending.pop_back();
    if (!current || !seen.insert(current.get()).second) continue;
    const NodeListPtr children = current->childrenArray();
    if (!children) continue;
    for (const NodePtr& child : *children) {
      if (!child) continue;
      if (FolderPtr sub = AsFolder(child))
        pending.push_back(std::move(sub));
      else
        return true;
    }
  }
  return false;
}

NodeList EmptyTopLevelFolders(const NodeList& topLevel) {
  NodeList empty;
  for (const NodePtr& node : topLevel)
    if (IsEmptyTopLevelFolder(node)) empty.push_back(node);
  return empty;
}

NodeList WithoutEmptyTopLevelFolders(const NodeList& topLevel) {
  NodeList kept;
  for (const NodePtr& node : topLevel)
    if (node && !IsEmptyTopLevelFolder(node)) kept.push_back(node);
  return kept;
}

}  // namespace linvara
