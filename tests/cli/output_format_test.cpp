// The pieces of output: node objects of --json (nulls, kinds, children in tree
// mode only, a folder that holds itself) and text made safe for a terminal.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/NodeJson.h"
#include "cli/NodeText.h"
#include "cli/Output.h"

namespace linvara::cli {
namespace {

using Json = nlohmann::ordered_json;

TEST(NodeJson, FieldsOfEveryKind) {
  NodePtr leaf = PRBookMarkNode::Create();
  leaf->setBEncrytedBookmark(true);
  FolderPtr folder = PRFaBookMarkNode::Create();  // every string field null
  folder->appendChild(leaf);
  EXPECT_EQ(NodeToJson(folder, true).dump(),
            R"({"kind":"folder","title":null,"url":null,"path":null,"browser":null,"uuid":null,"dateAdded":null,)"
            R"("favorite":false,"encrypted":false,"children":[{"kind":"bookmark","title":" ","url":"","path":"",)"
            R"("browser":"Safari","uuid":"","dateAdded":null,"favorite":false,"encrypted":true}]})");
  EXPECT_FALSE(NodeToJson(folder, false).contains("children"));
  Json root = NodeToJson(PRRootBookMarkNode::Create(), true);
  EXPECT_EQ(std::pair(root["kind"], root.contains("children")), std::pair(Json("root"), false));
}

TEST(NodeJson, FolderInsideItselfEnds) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle("Loop");
  folder->appendChild(folder);
  Json j = NodeToJson(folder, true);
  ASSERT_EQ(j["children"].size(), 1u);
  EXPECT_TRUE(j["children"][0]["children"].empty());
  std::ostringstream text;
  PrintNodeTree(text, {folder});
  EXPECT_EQ(text.str(), "Loop/  [(null)]\n  Loop/\n");
  folder->childrenArray()->clear();  // break the cycle so the folder can be freed
}

TEST(NodeJson, StreamedOutputEqualsTheBuiltDocument) {
  FolderPtr folder = PRFaBookMarkNode::Create();
  folder->setThetitle("Folder \"quoted\" \\ back");
  folder->appendChild(folder);
  NodePtr odd = PRBookMarkNode::Create();
  constexpr char kControls[] = "controls \b\f\n\r\t\x01\x1f\x7f nul \0 end";
  odd->setThetitle(std::string(kControls, sizeof kControls - 1));
  odd->setUrlString("caf\xe9 \xed\xa0\x80 cut\xe2\x82");
  odd->setBookMarkUUID("\xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80");
  odd->setAddDateStr("13350259200000000");
  odd->setBFavBookmark(true);
  folder->appendChild(odd);
  NodePtr inner = PRFaBookMarkNode::Create();
  folder->appendChild(inner);
  const std::vector<NodeList> lists = {{}, {odd}, {folder, nullptr, odd, inner}};
  for (const NodeList& nodes : lists) {
    for (bool withChildren : {false, true}) {
      std::ostringstream streamed, built;
      WriteNodesJson(streamed, nodes, withChildren);
      WriteJson(built, NodesToJson(nodes, withChildren));
      EXPECT_EQ(streamed.str(), built.str());
    }
  }
  folder->childrenArray()->clear();
}

constexpr const char* kFffd = "\xef\xbf\xbd";

TEST(PrintableText, MakesEveryUnsafeByteVisible) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"plain text, tab\tkept", "plain text, tab\tkept"},
      {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
      {"line\nforged\r", "line\\x0aforged\\x0d"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"del\x7f", "del\\x7f"},
      {"csi\xc2\x9b" "31m \xc2\x80", "csi\\x9b" "31m \\x80"},
      {"nbsp\xc2\xa0 \xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80", "nbsp\xc2\xa0 \xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80"},
      {"caf\xe9!", std::string("caf") + kFffd + "!"},
      {"bare\x9b", std::string("bare") + kFffd},
      {"overlong\xc0\x80", std::string("overlong") + kFffd + kFffd},
      {"surrogate\xed\xa0\x80", std::string("surrogate") + kFffd + kFffd + kFffd},
      {"cut\xe2\x82", std::string("cut") + kFffd + kFffd},
      {"beyond\xf4\x90\x80\x80", std::string("beyond") + kFffd + kFffd + kFffd + kFffd},
  };
  for (const auto& [raw, shown] : cases) EXPECT_EQ(PrintableText(raw), shown) << ::testing::PrintToString(raw);
}

}  // namespace
}  // namespace linvara::cli
