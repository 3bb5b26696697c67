#include "cli/NodeJson.h"

#include <unordered_set>

namespace linvara::cli {

namespace {
using Json = nlohmann::ordered_json;

Json OrJsonNull(const OptString& s) { return s ? Json(*s) : Json(nullptr); }

Json ToJson(const NodePtr& node, bool withChildren, std::unordered_set<const PRBookMarkNode*>& ancestors) {
  if (!node) return nullptr;
  Json j = Json::object();
  j["kind"] = NodeKindName(*node);
  j["title"] = OrJsonNull(node->thetitle());
  j["url"] = OrJsonNull(node->urlString());
  j["path"] = OrJsonNull(node->theFullPath());
  j["browser"] = OrJsonNull(node->bookMarkFrom());
  j["uuid"] = OrJsonNull(node->bookMarkUUID());
  j["dateAdded"] = OrJsonNull(node->addDateStr());
  j["favorite"] = node->bFavBookmark();
  j["encrypted"] = node->bEncrytedBookmark();
  if (withChildren && node->isFolder()) {
    Json children = Json::array();
    if (ancestors.insert(node.get()).second) {
      for (const auto& child : AsFolder(node)->childrenSnapshot()) children.push_back(ToJson(child, true, ancestors));
      ancestors.erase(node.get());
    }
    j["children"] = std::move(children);
  }
  return j;
}
}  // namespace

const char* NodeKindName(const PRBookMarkNode& node) {
  switch (node.kind()) {
    case NodeKind::Leaf:
      return "bookmark";
    case NodeKind::Folder:
      return "folder";
    case NodeKind::Root:
      return "root";
  }
  return "bookmark";
}

Json NodeToJson(const NodePtr& node, bool withChildren) {
  std::unordered_set<const PRBookMarkNode*> ancestors;
  return ToJson(node, withChildren, ancestors);
}

Json NodesToJson(const NodeList& nodes, bool withChildren) {
  Json array = Json::array();
  for (const auto& node : nodes) array.push_back(NodeToJson(node, withChildren));
  return array;
}

}  // namespace linvara::cli
