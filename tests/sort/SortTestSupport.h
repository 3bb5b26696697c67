#pragma once
// Bookmark nodes for the sort tests.
#include <string>
#include <vector>

#include "model/PRBookMarkNode.h"

namespace linvara::testing {

inline NodePtr Mark(const std::string& title, const std::string& url, const std::string& browser = "Safari") {
  NodePtr node = PRBookMarkNode::Create();
  node->setThetitle(title);
  node->setUrlString(url);
  node->setBookMarkFrom(browser);
  return node;
}

inline FolderPtr Dir(const std::string& title, const NodeList& children = {}) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle(title);
  for (const NodePtr& child : children) {
    folder->appendChild(child);
    child->setFatherItem(folder);
  }
  return folder;
}

inline std::vector<std::string> Titles(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const NodePtr& n : nodes) out.push_back(n ? n->thetitle().value_or("") : "<null>");
  return out;
}

}  // namespace linvara::testing

#include "model/Value.h"

namespace linvara::testing {

// Nodes that carry records as a reader leaves them: "Title" in each, a folder's children under "Children".
inline NodePtr MarkRecord(const std::string& title, const std::string& url = "http://example.com/") {
  NodePtr node = Mark(title, url);
  DictPtr data = Dictionary::make();
  data->set("Title", title);
  data->set("URLString", url);
  node->setDataDict(data);
  return node;
}

inline FolderPtr DirRecord(const std::string& title, const NodeList& children = {}) {
  FolderPtr folder = Dir(title, children);
  DictPtr item = Dictionary::make();
  item->set("Title", title);
  item->set("Children", Array::make());
  folder->setItemDict(item);
  return folder;
}

// "a,B[c,d]": the titles of records, each folder with its children in brackets.
inline std::string Outline(const ArrayPtr& records) {
  std::string out;
  for (const Value& record : *records) {
    DictPtr dict = record.asDict();
    if (!out.empty()) out += ",";
    out += dict ? dict->getString("Title").value_or("?") : "?";
    if (ArrayPtr children = dict ? dict->getArray("Children") : nullptr) out += "[" + Outline(children) + "]";
  }
  return out;
}

}  // namespace linvara::testing
