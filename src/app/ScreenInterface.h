#pragma once
// What the controller asks of the screen: everything that waits on the user.
// The window implements it with dialogs; tests use a scripted fake
// (app/ScriptedScreen.h). What the window merely draws lives in ViewState.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace linvara {

struct AlertSpec {
  std::string message;
  std::string defaultButton = " Ok ";
  std::string alternateButton;   // empty: no second button
  std::string informativeText;
  bool asSheet = false;          // on the main window (true) or application-modal (false)
  bool showSuppressionButton = false;
};

enum class AlertButton { Default, Alternate };

struct AlertResponse {
  AlertButton button = AlertButton::Default;
  bool suppressionChecked = false;
};

// A save panel: the user picks a file or folder name to write.
struct SavePanelSpec {
  std::string title;
  std::string suggestedName;                  // initial file name, may be empty
  std::filesystem::path directory;            // initial folder, may be empty
  bool canCreateDirectories = true;
};

// An open panel: the user picks existing files or folders.
struct OpenPanelSpec {
  std::string title;
  std::filesystem::path directory;
  bool canChooseFiles = true;
  bool canChooseDirectories = false;
  bool allowsMultipleSelection = false;
};

struct MenuModel;  // app/ViewState.h

class ScreenInterface {
 public:
  virtual ~ScreenInterface() = default;
  // Shows the alert and calls `done` with the answer (at once for a modal alert,
  // when the sheet closes for a sheet).
  virtual void ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) = 0;

  // Windows and sheets of the view definition, by outlet name ("enterPDWindow",
  // "editBookMarkWindow", "aboutWindow", ...). A sheet is attached to the main window.
  virtual void ShowWindow(const std::string& name, bool asSheet) { (void)name, (void)asSheet; }
  virtual void CloseWindow(const std::string& name) { (void)name; }
  virtual bool IsWindowVisible(const std::string& name) const { (void)name; return false; }
  // The refusal shake: 0.5 s, eight times left and right by 5 % of the window's width.
  virtual void ShakeWindow(const std::string& name) { (void)name; }

  // Pops the menu up at the origin of the named button, `lowerBy` points below it,
  // with no item preselected. A chosen item is sent back through
  // AppDelegate::PerformMenuAction.
  virtual void PopUpMenuAtButton(const MenuModel& menu, const std::string& buttonName, double lowerBy) {
    (void)menu, (void)buttonName, (void)lowerBy;
  }

  // Save and open panels; `done` gets the chosen path(s), or nothing when cancelled.
  virtual void RunSavePanel(const SavePanelSpec& panel,
                            std::function<void(std::optional<std::filesystem::path>)> done) {
    (void)panel;
    done(std::nullopt);
  }
  virtual void RunOpenPanel(const OpenPanelSpec& panel,
                            std::function<void(std::optional<std::vector<std::filesystem::path>>)> done) {
    (void)panel;
    done(std::nullopt);
  }
};

// A screen with nobody in front of it: every alert takes its default button,
// every panel is cancelled. The controller uses it when it is given no screen.
class DefaultAnswerScreen : public ScreenInterface {
 public:
  void ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) override {
    (void)alert;
    if (done) done(AlertResponse{});
  }
};

}  // namespace linvara
