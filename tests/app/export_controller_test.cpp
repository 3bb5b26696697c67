// The HTML export commands driven like a user: the save panel names a folder,
// the file is written from the rows as they were when the export started, and
// the end is told.
#include <gtest/gtest.h>

#include "PresenterFixture.h"
#include "app/Actions.h"

namespace fs = std::filesystem;
using namespace linvara;
using namespace linvara::testing;

namespace {

using ExportCommands = QuietPresenterTest;

bool Export(PresenterHome& h, const char* action, std::optional<fs::path> answer) {
  h.screen->savePanelAnswers.push_back(std::move(answer));
  return h.Perform(action);
}

bool Finish(PresenterHome& h) {
  return h.dispatcher->PumpUntil([&] { return !h.app->exports().exportRunning(); });
}

TEST_F(ExportCommands, WritesTheRowsShownAsTheyWereWhenItStarted) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  h.Open("News");
  const fs::path chosen = h.home / "Documents" / "Linvara";
  h.screen->savePanelAnswers.push_back(chosen);
  h.Press(outlets::kExportBookMarkBtn);  // the unified view's export
  // The rows change while the worker writes: the file still has them as they were.
  h.rows()[1]->setThetitle("renamed");
  AsFolder(h.rows()[0])->setChildrenArray(std::make_shared<NodeList>());
  ASSERT_TRUE(Finish(h));

  const std::string text = ReadText(chosen / "Linvara.html");
  EXPECT_NE(text.find("<DT><H3 FOLDED>Local</H3>\n<DL><p>\n    <DT><A HREF=\"https://paper.example/\">Paper</A>\n"
                      "</DL><p>\n    <DT><A HREF=\"https://pie.example/\">apple pie</A>\n"),
            std::string::npos) << text;
  EXPECT_EQ(text.find("Weather"), std::string::npos) << "only the rows shown";
  const SavePanelSpec& panel = h.screen->savePanels.at(0);
  EXPECT_EQ(std::make_pair(panel.suggestedName, panel.directory), std::make_pair(std::string("Linvara"), h.home / "Documents"));
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(AlertFieldsOf(h.screen->alerts[0].request),
            (AlertFields{"The bookmarks were exported.", " Ok ", "Show in Folder", (chosen / "Linvara.html").string(),
                         true, false}));
}

TEST_F(ExportCommands, ChromeExportWritesTheChromeTreeWhateverTheTableShows) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  h.Open("News");
  h.screen->AnswerNextAlert(AlertButton::Alternate);
  ASSERT_TRUE(Export(h, actions::kExportChrome, h.home / "out"));
  ASSERT_TRUE(Finish(h));
  const std::string text = ReadText(h.home / "out" / "Chrome BookMark.html");
  for (const char* title : {">Work</H3>", ">Mail</A>", ">Docs</A>", ">Apple Store</A>"})
    EXPECT_NE(text.find(title), std::string::npos) << title;
  EXPECT_EQ(text.find("Paper"), std::string::npos);
  EXPECT_EQ(h.platform->shownFolders, std::vector<fs::path>{h.home / "out"}) << "Show in Folder";
}

TEST_F(ExportCommands, NothingIsWrittenWithoutAUsableFolder) {
  h.Start();
  h.Press(outlets::kAllBookMarkBtn);
  ASSERT_TRUE(Export(h, actions::kExportAll, std::nullopt));
  EXPECT_FALSE(h.app->exports().exportRunning());
  EXPECT_FALSE(fs::exists(h.home / "Documents"));

  WriteText(h.home / "a file", "x");
  ASSERT_TRUE(Export(h, actions::kExportAll, h.home / "a file"));
  ASSERT_TRUE(Finish(h));
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_EQ(h.screen->alerts[0].request.message.rfind("Failed to export the bookmarks: cannot create ", 0), 0u)
      << h.screen->alerts[0].request.message;
  EXPECT_EQ(ReadText(h.home / "a file"), "x");
}

}  // namespace
