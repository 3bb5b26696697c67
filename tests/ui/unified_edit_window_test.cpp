// The unified view's list editing in the real window: the new-folder sheet,
// the move submenu of the tool menu and the removal's question.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"

namespace linvara::testing {
namespace {

using namespace outlets;

QAction* EntryTitled(QMenu& menu, const QString& text) {
  for (QAction* a : menu.actions())
    if (a->text() == text) return a;
  return nullptr;
}

TEST(UnifiedEditWindow, NewFolderSheetAndMoveSubmenuMoveTheSelectedBookmark) {
  GuiHome h;
  h.WriteSampleBookmarks();
  h.StartIn(kAllBookMarkBtn);
  QtScreen& screen = h.app->screen();
  const auto popTools = [&]() -> QMenu& {
    h.Press(kToolBookMarkBtn);
    QMenu* menu = screen.lastPoppedMenu();
    EXPECT_TRUE(menu && menu->isVisible());
    return *menu;
  };

  QMenu& before = popTools();
  QAction* moveBefore = EntryTitled(before, "Move to Folder");
  ASSERT_NE(moveBefore, nullptr);
  EXPECT_FALSE(moveBefore->isEnabled()) << "no folder made yet";
  QAction* newFolder = EntryTitled(before, "New Folder");
  ASSERT_TRUE(newFolder && newFolder->isEnabled());
  newFolder->trigger();
  before.close();

  OutletDialog* sheet = screen.window(kNewFolderWindow);
  ASSERT_TRUE(sheet && sheet->isVisible());
  EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
  QTest::keyClicks(sheet->field(kNewFolderlab), "Reading");
  QTest::mouseClick(sheet->button("Create"), Qt::LeftButton);
  EXPECT_FALSE(sheet->isVisible());
  ASSERT_EQ(h.TableTitles().value(0), "Reading");

  h.window().bookmarkTable()->selectRow(h.RowOf("Weather"));
  QMenu& after = popTools();
  QMenu* move = after.findChild<QMenu*>(kMoveFolderMenuItem);
  ASSERT_TRUE(move && move->isEnabled());
  ASSERT_EQ(ActionTexts(*move), QStringList{"Reading"});
  move->actions().front()->trigger();
  after.close();

  EXPECT_FALSE(h.TableTitles().contains("Weather"));
  const FolderPtr reading = AsFolder(h.controller().lists().folderArray.front());
  ASSERT_EQ(reading->childrenSnapshot().size(), 1u);
  EXPECT_EQ(OrNull(reading->childrenSnapshot().front()->thetitle()), "Weather");

  // The Delete key asks before it removes; Cancel keeps the row.
  QTableView* table = h.window().bookmarkTable();
  table->setFocus();
  table->selectRow(h.RowOf("Fruit Stand"));
  screen.AnswerNextMessageBox(AlertButton::Alternate);
  QTest::keyClick(table, Qt::Key_Delete);
  ASSERT_FALSE(screen.alertsShown().empty());
  EXPECT_EQ(screen.alertsShown().back().message, "Are you sure you want to remove the bookmark from the list ?");
  EXPECT_TRUE(h.TableTitles().contains("Fruit Stand"));
}

}  // namespace
}  // namespace linvara::testing
