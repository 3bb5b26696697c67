// The action table: every entry of every menu and dialog sends a declared
// action, and exactly the built actions can be performed.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/Actions.h"
#include "app/AppDelegate.h"
#include "ui/OutletDialog.h"

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

}  // namespace
}  // namespace linvara::testing
