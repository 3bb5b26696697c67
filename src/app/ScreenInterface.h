#pragma once
// What the controller asks of the screen: everything that waits on the user.
// The window implements it with dialogs; tests use a scripted fake.
#include <functional>
#include <string>

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

class ScreenInterface {
 public:
  virtual ~ScreenInterface() = default;
  // Shows the alert and calls `done` with the answer (at once for a modal alert,
  // when the sheet closes for a sheet).
  virtual void ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) = 0;
};

}  // namespace linvara
