// The unified view's new-folder sheet and move submenu in the real window.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTest>

#include "UiTestSupport.h"
#include "app/Actions.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"

namespace linvara::testing {
namespace {

TEST(UnifiedEditWindow, NewFolderSheetAndMoveSubmenuMoveTheSelectedBookmark) {
  using namespace outlets;
  GuiHome h;
  h.WriteSampleBookmarks();
  h.StartIn(kAllBookMarkBtn);
  QtScreen& screen = h.app->screen();
  h.Press(kToolBookMarkBtn);
  QMenu* tools = screen.lastPoppedMenu();
  ASSERT_TRUE(tools && tools->findChild<QAction*>(kMoveFolderMenuItem));
  EXPECT_FALSE(tools->findChild<QAction*>(kMoveFolderMenuItem)->isEnabled()) << "no folder yet";
  tools->findChild<QAction*>(actions::kNewFolder)->trigger();
  tools->close();

  OutletDialog* sheet = screen.window(kNewFolderWindow);
  ASSERT_TRUE(sheet && sheet->isVisible() && sheet->windowModality() == Qt::WindowModal);
  QTest::keyClicks(sheet->field(kNewFolderlab), "Reading");
  QTest::mouseClick(sheet->button("Create"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_EQ(h.TableTitles().value(0), "Reading");

  h.window().bookmarkTable()->selectRow(h.RowOf("Weather"));
  h.Press(kToolBookMarkBtn);
  QMenu* move = screen.lastPoppedMenu()->findChild<QMenu*>(kMoveFolderMenuItem);
  ASSERT_TRUE(move && move->isEnabled());
  ASSERT_EQ(ActionTexts(*move), QStringList{"Reading"});
  move->actions().front()->trigger();
  EXPECT_FALSE(h.TableTitles().contains("Weather"));
  const NodeList moved = AsFolder(h.controller().lists().folderArray.front())->childrenSnapshot();
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(OrNull(moved.front()->thetitle()), "Weather");

  // Another view lets the folders go: the menu bar's Tools menu offers none.
  h.Press(kSafariBookMarkBtn);
  h.Press(kAllBookMarkBtn);
  QMenu* menuBarTools = nullptr;
  for (QAction* a : h.window().menuBar()->actions())
    if (a->text() == "&Tools") menuBarTools = a->menu();
  ASSERT_NE(menuBarTools, nullptr);
  emit menuBarTools->aboutToShow();
  ASSERT_NE(menuBarTools->findChild<QAction*>(kMoveFolderMenuItem), nullptr);
  EXPECT_FALSE(menuBarTools->findChild<QAction*>(kMoveFolderMenuItem)->isEnabled());
}

}  // namespace
}  // namespace linvara::testing
