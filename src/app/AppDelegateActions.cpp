// Menu entries send actions by name. The controller's own commands answer here;
// any other action goes to the handler its unit installed.
#include <unordered_map>

#include "app/AppDelegate.h"

namespace linvara {

namespace {

using Action = void (*)(AppDelegate&, const MenuItemModel&);

const std::unordered_map<std::string, Action>& BuiltInActions() {
  static const std::unordered_map<std::string, Action> actions = {
      {"OpenSelectedBookmarksAction:", [](AppDelegate& a, const MenuItemModel&) { a.OpenSelectedBookmarksAction(); }},
      {"EditSelectedBookMarkAction:", [](AppDelegate& a, const MenuItemModel&) { a.EditSelectedBookMarkAction(); }},
      {"EncryptedSelectedBookMarkAction:",
       [](AppDelegate& a, const MenuItemModel&) { a.EncryptedSelectedBookMarkAction(); }},
      {"DecrypteSelectedBookMarkAction:",
       [](AppDelegate& a, const MenuItemModel&) { a.DecrypteSelectedBookMarkAction(); }},
      {"ExportAllBookMarksAction:", [](AppDelegate& a, const MenuItemModel&) { a.ExportAllBookMarksAction(); }},
      {"ExportAllChromeBookMarksAction:",
       [](AppDelegate& a, const MenuItemModel&) { a.ExportAllChromeBookMarksAction(); }},
      {"ReplaceSafariBookMark", [](AppDelegate& a, const MenuItemModel&) { a.ReplaceSafariBookMark(); }},
      {"FindAllDeadURLBookMarksAction:",
       [](AppDelegate& a, const MenuItemModel&) { a.FindAllDeadURLBookMarksAction(); }},
      {"FindAllDuplicateBookMarksAction:",
       [](AppDelegate& a, const MenuItemModel&) { a.FindAllDuplicateBookMarksAction(); }},
      {"AutoSelectDuplicationBookAction:",
       [](AppDelegate& a, const MenuItemModel&) { a.AutoSelectDuplicationBookAction(); }},
      {"ActAboutAction:", [](AppDelegate& a, const MenuItemModel&) { a.ActAboutAction(); }},
      {"ClickTheProductGuide:", [](AppDelegate& a, const MenuItemModel&) { a.ClickTheProductGuide(); }},
      {"SupportAction:", [](AppDelegate& a, const MenuItemModel&) { a.SupportAction(); }},
  };
  return actions;
}

// Built-in actions that stand for a command of another unit: available once it is installed.
bool NeedsHandler(const std::string& action) {
  return action == "EditSelectedBookMarkAction:" || action == "EncryptedSelectedBookMarkAction:" ||
         action == "DecrypteSelectedBookMarkAction:" || action == "ExportAllBookMarksAction:" ||
         action == "ExportAllChromeBookMarksAction:" || action == "ReplaceSafariBookMark";
}

}  // namespace

bool AppDelegate::CanPerformAction(const std::string& action) const {
  if (action.empty()) return false;
  if (BuiltInActions().count(action)) return !NeedsHandler(action) || HasCommandHandler(action);
  return HasCommandHandler(action);
}

bool AppDelegate::PerformMenuAction(const MenuItemModel& item) {
  if (!item.enabled || item.hidden || item.separator) return false;
  auto it = BuiltInActions().find(item.action);
  if (it != BuiltInActions().end()) {
    if (NeedsHandler(item.action) && !HasCommandHandler(item.action)) return false;
    it->second(*this, item);
    return true;
  }
  return RunCommandHandler(item.action, &item);
}

}  // namespace linvara
