#pragma once
// The controller's screen on Qt: message boxes (window-modal for sheets, with
// the suppression check box where asked), the windows of the view definition,
// pop-up menus, file panels and the refusal shake. Test hooks answer the next
// message box or panel the way a user would, through the real dialogs.
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ScreenInterface.h"
#include "app/ViewState.h"

class QWidget;

namespace linvara {

class AppDelegate;
class OutletDialog;

class QtScreen : public ScreenInterface {
 public:
  QtScreen();
  ~QtScreen() override;

  // The window dialogs attach to and the controller their buttons talk to.
  void Attach(QWidget* mainWindow, AppDelegate* controller);

  void ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) override;
  void ShowWindow(const std::string& name, bool asSheet) override;
  void CloseWindow(const std::string& name) override;
  bool IsWindowVisible(const std::string& name) const override;
  void ShakeWindow(const std::string& name) override;
  void PopUpMenuAtButton(const MenuModel& menu, const std::string& buttonName, double lowerBy) override;
  void RunSavePanel(const SavePanelSpec& panel,
                    std::function<void(std::optional<std::filesystem::path>)> done) override;
  void RunOpenPanel(const OpenPanelSpec& panel,
                    std::function<void(std::optional<std::vector<std::filesystem::path>>)> done) override;

  // Redraws the open windows from the state.
  void Refresh(const ViewState& state, unsigned sections);
  // A menu of the view definition as a Qt menu whose entries send their actions to the controller.
  QMenu* BuildMenu(const MenuModel& menu, QWidget* parent) const;
  // Adds the entries to an existing menu (the window's menu bar).
  void FillMenu(QMenu* into, const std::vector<MenuItemModel>& items) const;
  // Closes every window and message box (at quit).
  void CloseAll();

  // ---- test hooks ----
  // The next message box is answered with this button (and check box) once it shows.
  void AnswerNextMessageBox(AlertButton button, bool suppressionChecked = false);
  void AnswerNextSavePanel(std::optional<std::filesystem::path> answer);
  void AnswerNextOpenPanel(std::optional<std::vector<std::filesystem::path>> answer);
  const std::vector<AlertSpec>& alertsShown() const { return alertsShown_; }
  QMessageBox* currentMessageBox() const { return currentBox_; }
  OutletDialog* window(const std::string& name) const;
  QMenu* lastPoppedMenu() const { return lastMenu_; }
  const std::vector<std::string>& shakes() const { return shakes_; }
  const std::vector<SavePanelSpec>& savePanelsShown() const { return savePanels_; }

 private:
  QWidget* windowWidget(const std::string& name) const;
  QPointer<QWidget> mainWindow_;
  AppDelegate* controller_ = nullptr;
  std::map<std::string, QPointer<OutletDialog>> windows_;
  std::deque<AlertResponse> boxAnswers_;
  std::deque<std::optional<std::filesystem::path>> saveAnswers_;
  std::deque<std::optional<std::vector<std::filesystem::path>>> openAnswers_;
  std::vector<AlertSpec> alertsShown_;
  std::vector<std::string> shakes_;
  std::vector<SavePanelSpec> savePanels_;
  QPointer<QMessageBox> currentBox_;
  QPointer<QMenu> lastMenu_;
};

}  // namespace linvara
