#pragma once
// A screen for tests and the command line: answers alerts and panels from a
// script and records everything it was asked to show.
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "app/ScreenInterface.h"
#include "app/ViewState.h"

namespace linvara {

class ScriptedScreen : public ScreenInterface {
 public:
  struct ShownAlert {
    AlertSpec request;
    AlertResponse answer;
  };
  struct PoppedMenu {
    MenuModel menu;
    std::string button;
    double lowerBy = 0;
  };

  // Answers, used in order; when none is queued an alert gets its default button
  // (box unticked) and a panel is cancelled.
  std::deque<AlertResponse> alertAnswers;
  std::deque<std::optional<std::filesystem::path>> savePanelAnswers;
  std::deque<std::optional<std::vector<std::filesystem::path>>> openPanelAnswers;
  // When set, sheet alerts wait: their completions collect in pendingSheets until
  // the test calls EndSheet.
  bool holdSheets = false;

  // What was shown.
  std::vector<ShownAlert> alerts;
  std::vector<std::string> windowsShown;   // every ShowWindow, in order
  std::vector<std::string> windowsClosed;  // every CloseWindow, in order
  std::set<std::string> visibleWindows;
  std::vector<std::string> shakes;
  std::vector<PoppedMenu> poppedMenus;
  std::vector<SavePanelSpec> savePanels;
  std::vector<OpenPanelSpec> openPanels;

  void AnswerNextAlert(AlertButton button, bool suppressionChecked = false) {
    alertAnswers.push_back(AlertResponse{button, suppressionChecked});
  }

  void ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) override {
    AlertResponse answer;
    if (!alertAnswers.empty()) {
      answer = alertAnswers.front();
      alertAnswers.pop_front();
    }
    alerts.push_back({alert, answer});
    if (alert.asSheet && holdSheets) {
      pendingSheets.push_back({std::move(done), answer});
      return;
    }
    if (done) done(answer);
  }

  // Ends the oldest held sheet with its scripted answer; false when none waits.
  bool EndSheet() {
    if (pendingSheets.empty()) return false;
    auto sheet = std::move(pendingSheets.front());
    pendingSheets.pop_front();
    if (sheet.done) sheet.done(sheet.answer);
    return true;
  }

  void ShowWindow(const std::string& name, bool asSheet) override {
    (void)asSheet;
    windowsShown.push_back(name);
    visibleWindows.insert(name);
  }
  void CloseWindow(const std::string& name) override {
    windowsClosed.push_back(name);
    visibleWindows.erase(name);
  }
  bool IsWindowVisible(const std::string& name) const override { return visibleWindows.count(name) > 0; }
  void ShakeWindow(const std::string& name) override { shakes.push_back(name); }
  void PopUpMenuAtButton(const MenuModel& menu, const std::string& buttonName, double lowerBy) override {
    poppedMenus.push_back({menu, buttonName, lowerBy});
  }
  void RunSavePanel(const SavePanelSpec& panel,
                    std::function<void(std::optional<std::filesystem::path>)> done) override {
    savePanels.push_back(panel);
    std::optional<std::filesystem::path> answer;
    if (!savePanelAnswers.empty()) {
      answer = savePanelAnswers.front();
      savePanelAnswers.pop_front();
    }
    if (done) done(answer);
  }
  void RunOpenPanel(const OpenPanelSpec& panel,
                    std::function<void(std::optional<std::vector<std::filesystem::path>>)> done) override {
    openPanels.push_back(panel);
    std::optional<std::vector<std::filesystem::path>> answer;
    if (!openPanelAnswers.empty()) {
      answer = openPanelAnswers.front();
      openPanelAnswers.pop_front();
    }
    if (done) done(answer);
  }

  // Messages of the alerts shown, in order.
  std::vector<std::string> alertMessages() const {
    std::vector<std::string> out;
    for (const auto& a : alerts) out.push_back(a.request.message);
    return out;
  }

 private:
  struct HeldSheet {
    std::function<void(AlertResponse)> done;
    AlertResponse answer;
  };
  std::deque<HeldSheet> pendingSheets;
};

}  // namespace linvara
