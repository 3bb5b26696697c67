#include "sort/TreeSort.h"

namespace linvara {

namespace {

Value RecordOf(const NodePtr& node, TreeFormat format, const BookmarkOrder& order) {
  if (FolderPtr folder = AsFolder(node)) return SortedFolderRecord(*folder, format, order);
  if (!node) return Value();
  DictPtr data = node->dataDict();
  return data ? Value(data) : Value();
}

ArrayPtr RecordsOf(const NodeList& nodes, TreeFormat format, const BookmarkOrder& order) {
  ArrayPtr records = Array::make();
  records->items().reserve(nodes.size());
  for (const NodePtr& node : nodes) {
    Value record = RecordOf(node, format, order);
    if (!record.isNull()) records->append(std::move(record));
  }
  return records;
}

}  // namespace

const char* ChildrenKey(TreeFormat format) { return format == TreeFormat::Safari ? "Children" : "children"; }

DictPtr SortedFolderRecord(const PRFaBookMarkNode& folder, TreeFormat format, const BookmarkOrder& order) {
  DictPtr stored = folder.itemDict();
  DictPtr record = stored ? stored->copy() : Dictionary::make();
  const NodeList children = folder.childrenSnapshot();
  // A folder that never had a children list (Safari's History entry) keeps its record as it is.
  if (children.empty() && !record->contains(ChildrenKey(format))) return record;
  record->set(ChildrenKey(format), RecordsOf(SortNodes(children, order), format, order));
  return record;
}

SortedTree SortBookmarkTree(const NodeList& topLevel, TreeFormat format, const BookmarkOrder& order,
                            const NodeSelection* selection) {
  SortedTree tree;
  tree.topLevel = SortNodes(topLevel, order, selection);
  tree.records = RecordsOf(tree.topLevel, format, order);
  return tree;
}

}  // namespace linvara
