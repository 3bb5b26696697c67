// The node objects of --json: exact keys, nulls, kinds, children in tree mode
// only, and a folder that holds itself.
#include <gtest/gtest.h>

#include "cli/NodeJson.h"
#include "cli/NodeText.h"

#include <sstream>

namespace linvara::cli {
namespace {

using Json = nlohmann::ordered_json;

TEST(NodeJson, KeysNullsAndKinds) {
  NodePtr leaf = PRBookMarkNode::Create();
  leaf->setThetitle("Docs");
  leaf->setUrlString("https://docs.example/");
  leaf->setTheFullPath("/Bar");
  leaf->setBookMarkFrom("Chrome");
  leaf->setBookMarkUUID("7");
  leaf->setAddDateStr("13350000000000000");
  leaf->setBEncrytedBookmark(true);
  Json j = NodeToJson(leaf, true);
  EXPECT_EQ(j.dump(), R"({"kind":"bookmark","title":"Docs","url":"https://docs.example/","path":"/Bar",)"
                      R"("browser":"Chrome","uuid":"7","dateAdded":"13350000000000000","favorite":false,)"
                      R"("encrypted":true})");

  FolderPtr folder = PRFaBookMarkNode::Create();  // every string field null
  folder->appendChild(leaf);
  Json f = NodeToJson(folder, true);
  EXPECT_EQ(f["kind"], "folder");
  EXPECT_TRUE(f["title"].is_null());
  EXPECT_TRUE(f["url"].is_null());
  EXPECT_TRUE(f["path"].is_null());
  ASSERT_EQ(f["children"].size(), 1u);
  EXPECT_EQ(f["children"][0]["title"], "Docs");
  EXPECT_FALSE(NodeToJson(folder, false).contains("children"));

  RootPtr root = PRRootBookMarkNode::Create();
  Json r = NodeToJson(root, true);
  EXPECT_EQ(r["kind"], "root");
  EXPECT_FALSE(r.contains("children"));
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

}  // namespace
}  // namespace linvara::cli
