// The action table: every entry of every menu and dialog sends a declared
// action, exactly the built actions can be performed, and only they are drawn enabled.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include <QAction>
#include <QMenu>

#include "app/Actions.h"
#include "app/AppDelegate.h"
#include "app/Outlets.h"
#include "ui/OutletDialog.h"
#include "ui/QtScreen.h"
#include "ui/UiTestSupport.h"

namespace linvara::testing {
namespace {

// Actions whose performers are not built yet; their entries are drawn disabled.
const std::set<std::string> kNotBuiltYet = {
    // The home-folder grant of the cookie area.
    "clickConnectHomeAction:",
};

void CollectActions(const std::vector<MenuItemModel>& items, std::vector<std::string>& into) {
  for (const MenuItemModel& item : items) {
    if (!item.action.empty()) into.push_back(item.action);
    CollectActions(item.submenu, into);
  }
}

TEST(ActionTable, EveryMenuEntryAndDialogButtonSendsADeclaredAction) {
  std::vector<std::string> sent;
  for (const auto& [name, menu] : MakeInitialViewState().menus) CollectActions(menu.items, sent);
  for (const DialogDefinition& dialog : AllDialogDefinitions()) {
    if (!dialog.closeAction.empty()) sent.push_back(dialog.closeAction);
    for (const DialogButton& button : dialog.buttons)
      if (!button.action.empty()) sent.push_back(button.action);
  }
  ASSERT_GT(sent.size(), 60u);
  for (const std::string& action : sent) EXPECT_NE(FindAction(action), nullptr) << action;
}

TEST(ActionTable, ExactlyTheBuiltActionsCanBePerformed) {
  AppDelegate app(AppServices{});
  std::set<std::string> notBuilt;
  for (const ActionInfo& a : AllActions()) {
    if (!a.built) notBuilt.insert(std::string(a.name));
    EXPECT_EQ(app.CanPerformAction(std::string(a.name)), a.built) << a.name;
  }
  EXPECT_EQ(notBuilt, kNotBuiltYet);
  // A built action keeps its performer; a stand-in makes an unbuilt one performable.
  app.SetCommandHandler(actions::kFindDuplicates, {});
  EXPECT_TRUE(app.CanPerformAction(actions::kFindDuplicates));
  app.SetCommandHandler(actions::kExportAll, [](const MenuItemModel&) {});
  EXPECT_TRUE(app.CanPerformAction(actions::kExportAll));
}

// Menu entries are drawn enabled only when something performs their action.
TEST(MenuEntries, OnlyPerformableActionsAreEnabled) {
  EnsureQtApp();
  AppDelegate app(AppServices{});
  QtScreen screen;
  screen.Attach(nullptr, &app);
  const MenuModel& tools = app.viewState().menus.at(outlets::kBookmarktableMenu);
  std::unique_ptr<QMenu> menu(screen.BuildMenu(tools, nullptr));
  int enabled = 0;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || action->menu()) continue;
    const std::string name = action->data().toString().toStdString();
    EXPECT_EQ(action->isEnabled(), app.CanPerformAction(name)) << name;
    enabled += action->isEnabled();
  }
  EXPECT_GT(enabled, 0);
  screen.Attach(nullptr, nullptr);
}

}  // namespace
}  // namespace linvara::testing
