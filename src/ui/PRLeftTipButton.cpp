#include "ui/PRLeftTipButton.h"

#include <QMouseEvent>

namespace linvara {

PRLeftTipButton::PRLeftTipButton(std::string outlet, NotificationCenter& center, QWidget* parent)
    : QToolButton(parent), outlet_(std::move(outlet)), center_(center) {
  setObjectName(QString::fromStdString(outlet_));
  setAutoRaise(true);
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);
  // Mouse presses post directly (below) and never emit clicked(); keyboard,
  // shortcut and accessibility activation come through clicked().
  connect(this, &QToolButton::clicked, this, [this] { pressed(); });
}

void PRLeftTipButton::post(const char* name) { center_.Post(Notification{name, outlet_}); }

void PRLeftTipButton::pressed() {
  if (pressHandler_)
    pressHandler_();
  else
    post(kLeftButtonMouseDown);
}

void PRLeftTipButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QToolButton::mousePressEvent(event);
    return;
  }
  setDown(true);
  event->accept();
  pressed();
}

void PRLeftTipButton::mouseReleaseEvent(QMouseEvent* event) {
  setDown(false);
  event->accept();
}

void PRLeftTipButton::enterEvent(QEnterEvent* event) {
  setCursor(Qt::PointingHandCursor);
  post(kLeftTipButtonMouseEntered);
  QToolButton::enterEvent(event);
}

void PRLeftTipButton::leaveEvent(QEvent* event) {
  setCursor(Qt::ArrowCursor);
  post(kLeftTipButtonMouseExited);
  QToolButton::leaveEvent(event);
}

}  // namespace linvara
