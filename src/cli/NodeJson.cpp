#include "cli/NodeJson.h"

#include "cli/Output.h"

#include <cstdint>
#include <ostream>
#include <string_view>
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

namespace linvara::cli {

namespace {

// `text` as a JSON string, escaped as WriteJson escapes it. Text that is not
// UTF-8 goes through the library's serializer, which replaces the bad bytes.
void AppendJsonString(std::string& out, std::string_view text) {
  const std::size_t start = out.size();
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    // A run of printable ASCII that needs no escape goes in at once.
    std::size_t plain = i;
    while (plain < text.size() && static_cast<unsigned char>(text[plain]) >= 0x20 &&
           static_cast<unsigned char>(text[plain]) < 0x80 && text[plain] != '"' && text[plain] != '\\')
      ++plain;
    if (plain > i) {
      out.append(text.substr(i, plain - i));
      i = plain;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = WellFormedUtf8Length(text.substr(i));
      if (length == 0) {
        out.resize(start);
        out += Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
        return;
      }
      out.append(text.substr(i, length));
      i += length;
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          constexpr const char* kHex = "0123456789abcdef";
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xf];
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

// Writes nodes with the layout of an indented dump, flushing the text in chunks.
class NodeJsonWriter {
 public:
  NodeJsonWriter(std::ostream& out, bool withChildren) : out_(out), withChildren_(withChildren) {}

  void Array(const NodeList& nodes, int level) {
    if (nodes.empty()) {
      text_ += "[]";
      return;
    }
    text_ += "[\n";
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      Indent(level + 1);
      Node(nodes[i], level + 1);
      text_ += i + 1 < nodes.size() ? ",\n" : "\n";
      if (text_.size() >= kChunk) Flush();
    }
    Indent(level);
    text_ += ']';
  }

  void Flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }
  std::string& text() { return text_; }

 private:
  static constexpr std::size_t kChunk = 1 << 16;

  void Indent(int level) { text_.append(static_cast<std::size_t>(level) * 2, ' '); }
  void Key(const char* key, int level) {
    text_ += ",\n";
    Indent(level);
    text_ += '"';
    text_ += key;
    text_ += "\": ";
  }
  void Text(const OptString& value) {
    if (value) AppendJsonString(text_, *value);
    else text_ += "null";
  }

  void Node(const NodePtr& node, int level) {
    if (!node) {
      text_ += "null";
      return;
    }
    text_ += "{\n";
    Indent(level + 1);
    text_ += "\"kind\": \"";
    text_ += NodeKindName(*node);
    text_ += '"';
    Key("title", level + 1), Text(node->thetitle());
    Key("url", level + 1), Text(node->urlString());
    Key("path", level + 1), Text(node->theFullPath());
    Key("browser", level + 1), Text(node->bookMarkFrom());
    Key("uuid", level + 1), Text(node->bookMarkUUID());
    Key("dateAdded", level + 1), Text(node->addDateStr());
    Key("favorite", level + 1), text_ += node->bFavBookmark() ? "true" : "false";
    Key("encrypted", level + 1), text_ += node->bEncrytedBookmark() ? "true" : "false";
    if (withChildren_ && node->isFolder()) {
      Key("children", level + 1);
      if (ancestors_.insert(node.get()).second) {
        Array(AsFolder(node)->childrenSnapshot(), level + 1);
        ancestors_.erase(node.get());
      } else {
        text_ += "[]";
      }
    }
    text_ += '\n';
    Indent(level);
    text_ += '}';
  }

  std::ostream& out_;
  bool withChildren_;
  std::string text_;
  std::unordered_set<const PRBookMarkNode*> ancestors_;
};

}  // namespace

void WriteNodesJson(std::ostream& out, const NodeList& nodes, bool withChildren) {
  NodeJsonWriter writer(out, withChildren);
  writer.Array(nodes, 0);
  writer.text() += '\n';
  writer.Flush();
}

}  // namespace linvara::cli
