// Menu entries are drawn enabled only when something performs their action.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <memory>

#include "app/AppDelegate.h"
#include "app/Outlets.h"
#include "ui/QtScreen.h"
#include "ui/UiTestSupport.h"

namespace linvara::testing {
namespace {

TEST(MenuEntries, OnlyPerformableActionsAreEnabled) {
  EnsureQtApp();
  AppDelegate app(AppServices{});
  QtScreen screen;
  screen.Attach(nullptr, &app);
  const MenuModel& tools = app.viewState().menus.at(outlets::kBookmarktableMenu);
  std::unique_ptr<QMenu> menu(screen.BuildMenu(tools, nullptr));
  int enabled = 0, disabled = 0;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->menu()) continue;
    const std::string name = action->data().toString().toStdString();
    EXPECT_EQ(action->isEnabled(), app.CanPerformAction(name)) << name;
    (action->isEnabled() ? enabled : disabled)++;
  }
  // "Find Unreachable Links", "Find Duplicates", "Remove Empty Folders" and "New Folder" are built; the rest are not yet.
  EXPECT_EQ(enabled, 4);
  EXPECT_GT(disabled, 0);
  screen.Attach(nullptr, nullptr);
}

}  // namespace
}  // namespace linvara::testing
