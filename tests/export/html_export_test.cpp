// The HTML bookmark file: its exact text for a tree, escaping, missing fields.
#include <gtest/gtest.h>

#include "export/ExportOutline.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

const std::string kHeader =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<HTML>\n"
    "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=UTF-8'>\n"
    "<Title>Bookmarks</Title>\n<H1>Bookmarks</H1>\n";

NodePtr Leaf(OptString title, OptString url) {
  NodePtr n = PRBookMarkNode::Create();
  n->setThetitle(std::move(title));
  n->setUrlString(std::move(url));
  return n;
}

template <class F = PRFaBookMarkNode>
std::shared_ptr<F> FolderOf(const std::string& title, NodeList children) {
  auto f = F::Create();
  f->setThetitle(title);
  for (const NodePtr& c : children) f->appendChild(c);
  return f;
}

// The file written for the rows into a folder that holds an older export.
std::string FileText(const NodeList& rows) {
  TempDir dir;
  WriteText(dir / "out" / "Linvara.html", "older export");
  auto written = WriteBookmarkHtml(dir / "out", AddSubBoomarkFolderandBookmarkUrlwith(rows), ExportFile::Shown);
  EXPECT_TRUE(written.ok()) << written.error();
  return written ? ReadText(*written) : std::string();
}

TEST(HtmlExport, WritesFoldersDepthFirstWithIndentedBookmarks) {
  const NodeList rows = {
      Leaf("Top", "https://top.example/"),
      FolderOf("One", {FolderOf("Two", {FolderOf("Three", {Leaf("Deep", "https://deep.example/")})}),
                       Leaf("After", "https://after.example/")}),
      FolderOf("Empty", {}),
      FolderOf<PRRootBookMarkNode>("A root row is left out", {Leaf("Hidden", "https://hidden.example/")}),
  };
  EXPECT_EQ(FileText(rows), kHeader +
                                "    <DT><A HREF=\"https://top.example/\">Top</A>\n"
                                "<DT><H3 FOLDED>One</H3>\n<DL><p>\n"
                                "<DT><H3 FOLDED>Two</H3>\n<DL><p>\n"
                                "<DT><H3 FOLDED>Three</H3>\n<DL><p>\n"
                                "    <DT><A HREF=\"https://deep.example/\">Deep</A>\n"
                                "</DL><p>\n</DL><p>\n"
                                "    <DT><A HREF=\"https://after.example/\">After</A>\n"
                                "</DL><p>\n"
                                "<DT><H3 FOLDED>Empty</H3>\n<DL><p>\n</DL><p>\n"
                                "</HTML>");
  EXPECT_EQ(FileText({}), kHeader + "</HTML>");
}

TEST(HtmlExport, WritesTitlesAndAddressesSoBrowsersReadThemBack) {
  struct Case {
    OptString title, url;
    std::string line;
  } cases[] = {
      {"</A><script>x</script>", "https://a.example/?q=1&r=\"2\"",
       "<A HREF=\"https://a.example/?q=1&amp;r=&quot;2&quot;\">&lt;/A&gt;&lt;script&gt;x&lt;/script&gt;</A>"},
      {"Tom & \"Jerry\" 'n' <b>", "https://b.example/<x>'",
       "<A HREF=\"https://b.example/<x>'\">Tom &amp; &quot;Jerry&quot; 'n' &lt;b&gt;</A>"},
      {"Ünïcødé עברית", "https://c.example/", "<A HREF=\"https://c.example/\">Ünïcødé עברית</A>"},
      {std::nullopt, std::nullopt, "<A HREF=\"\"></A>"},
  };
  for (const Case& c : cases) {
    const std::string text = FileText({Leaf(c.title, c.url)});
    EXPECT_EQ(text, kHeader + "    <DT>" + c.line + "\n</HTML>") << c.line;
  }
  EXPECT_NE(FileText({FolderOf("R&D <2>", {})}).find("<H3 FOLDED>R&amp;D &lt;2&gt;</H3>"), std::string::npos);
}

}  // namespace
}  // namespace linvara::testing
