#pragma once
// Nodes for the sort tests, carrying records as a reader leaves them ("Title"
// in each record, a folder's children under "Children").
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace linvara::testing {

inline NodePtr Mark(const std::string& title, const std::string& url = "u", const std::string& browser = "Safari") {
  NodePtr node = PRBookMarkNode::Create();
  node->setThetitle(title), node->setUrlString(url), node->setBookMarkFrom(browser);
  DictPtr data = Dictionary::make();
  data->set("Title", title);
  node->setDataDict(data);
  return node;
}

inline FolderPtr Dir(const std::string& title, const NodeList& children = {}) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle(title);
  for (const NodePtr& child : children) folder->appendChild(child), child->setFatherItem(folder);
  DictPtr item = Dictionary::make();
  item->set("Title", title), item->set("Children", Array::make());
  folder->setItemDict(item);
  return folder;
}

// "a,B[c,d]": the titles of records, each folder with its children in brackets.
inline std::string Outline(const ArrayPtr& records) {
  std::string out;
  for (const Value& record : *records) {
    out += (out.empty() ? "" : ",") + record.asDict()->getString("Title").value_or("?");
    if (ArrayPtr children = record.asDict()->getArray("Children")) out += "[" + Outline(children) + "]";
  }
  return out;
}

}  // namespace linvara::testing
