#pragma once
// A navigation button. A press does not run an action of its own: it posts
// "PRLeftButtonMouseDown" with the button's outlet name through the
// controller's notification centre, and the controller's dispatcher decides.
// Entering and leaving show the pointing-hand and arrow cursors and post
// "PRLeftTipButtonMouseEntered" / "PRLeftTipButtonMouseExited".
#include <QRect>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <string>

#include "app/NotificationCenter.h"

namespace linvara {

inline constexpr const char* kLeftTipButtonMouseEntered = "PRLeftTipButtonMouseEntered";
inline constexpr const char* kLeftTipButtonMouseExited = "PRLeftTipButtonMouseExited";

class PRLeftTipButton : public QToolButton {
  Q_OBJECT
 public:
  PRLeftTipButton(std::string outlet, NotificationCenter& center, QWidget* parent = nullptr);

  const std::string& outlet() const { return outlet_; }
  // For a button the navigation dispatcher does not handle: a press runs this
  // instead of posting the notification.
  void setPressHandler(std::function<void()> handler) { pressHandler_ = std::move(handler); }
  std::int32_t btnType = 0;
  QRect currentViewRect;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void post(const char* name);
  void pressed();
  std::string outlet_;
  NotificationCenter& center_;
  std::function<void()> pressHandler_;
};

}  // namespace linvara
