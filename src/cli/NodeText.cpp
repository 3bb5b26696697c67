#include "cli/NodeText.h"

#include <ostream>
#include <string>
#include <unordered_set>

#include "cli/Output.h"

namespace linvara::cli {

namespace {
std::string Flags(const PRBookMarkNode& node) {
  std::string flags;
  if (node.bFavBookmark()) flags += " [favorite]";
  if (node.bEncrytedBookmark()) flags += " [encrypted]";
  return flags;
}

// "Title  address" for a bookmark, "Title/" for a folder.
std::string TitleAndAddress(const PRBookMarkNode& node) {
  return OrNull(node.thetitle()) + (node.isLeaf() ? "  " + OrNull(node.urlString()) : "/");
}

void PrintTreeNode(std::ostream& out, const NodePtr& node, int depth,
                   std::unordered_set<const PRBookMarkNode*>& ancestors) {
  if (!node) return;
  std::string line = std::string(static_cast<std::size_t>(depth) * 2, ' ') + TitleAndAddress(*node);
  if (depth == 0) line += "  [" + OrNull(node->bookMarkFrom()) + "]";
  WriteLine(out, line + Flags(*node));
  FolderPtr folder = AsFolder(node);
  if (!folder || !ancestors.insert(node.get()).second) return;
  for (const auto& child : folder->childrenSnapshot()) PrintTreeNode(out, child, depth + 1, ancestors);
  ancestors.erase(node.get());
}
}  // namespace

void PrintNodeLines(std::ostream& out, const NodeList& nodes) {
  // Lines are gathered into chunks: one write per chunk, not per line.
  constexpr std::size_t kChunk = 1 << 16;
  std::string text, line;
  for (const auto& node : nodes) {
    if (!node) continue;
    line = OrNull(node->thetitle());
    if (node->isLeaf()) {
      line += "  ";
      line += OrNull(node->urlString());
    } else {
      line += '/';
    }
    line += "  [";
    line += OrNull(node->bookMarkFrom());
    line += ' ';
    line += OrNull(node->theFullPath());
    line += ']';
    line += Flags(*node);
    AppendPrintableText(text, line);
    text += '\n';
    if (text.size() >= kChunk) {
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      text.clear();
    }
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void PrintNodeTree(std::ostream& out, const NodeList& topLevel) {
  std::unordered_set<const PRBookMarkNode*> ancestors;
  for (const auto& node : topLevel) PrintTreeNode(out, node, 0, ancestors);
}

}  // namespace linvara::cli
