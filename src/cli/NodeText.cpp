#include "cli/NodeText.h"

#include <ostream>
#include <string>
#include <unordered_set>

namespace linvara::cli {

namespace {
void PrintFlags(std::ostream& out, const PRBookMarkNode& node) {
  if (node.bFavBookmark()) out << " [favorite]";
  if (node.bEncrytedBookmark()) out << " [encrypted]";
}

void PrintTreeNode(std::ostream& out, const NodePtr& node, int depth,
                   std::unordered_set<const PRBookMarkNode*>& ancestors) {
  if (!node) return;
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << OrNull(node->thetitle());
  if (node->isLeaf()) {
    out << "  " << OrNull(node->urlString());
  } else {
    out << "/";
  }
  if (depth == 0) out << "  [" << OrNull(node->bookMarkFrom()) << "]";
  PrintFlags(out, *node);
  out << "\n";
  FolderPtr folder = AsFolder(node);
  if (!folder || !ancestors.insert(node.get()).second) return;
  for (const auto& child : folder->childrenSnapshot()) PrintTreeNode(out, child, depth + 1, ancestors);
  ancestors.erase(node.get());
}
}  // namespace

void PrintNodeLines(std::ostream& out, const NodeList& nodes) {
  for (const auto& node : nodes) {
    if (!node) continue;
    out << OrNull(node->thetitle());
    if (node->isLeaf()) out << "  " << OrNull(node->urlString());
    else out << "/";
    out << "  [" << OrNull(node->bookMarkFrom()) << " " << OrNull(node->theFullPath()) << "]";
    PrintFlags(out, *node);
    out << "\n";
  }
}

void PrintNodeTree(std::ostream& out, const NodeList& topLevel) {
  std::unordered_set<const PRBookMarkNode*> ancestors;
  for (const auto& node : topLevel) PrintTreeNode(out, node, 0, ancestors);
}

}  // namespace linvara::cli
