#include "ui/PRCustomeWindow.h"

#include <QMouseEvent>
#include <QPalette>
#include <QResizeEvent>
#include <QWindow>

namespace linvara {

QMHeaderView::QMHeaderView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("QMHeaderView"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QMHeaderView::paintEvent(QPaintEvent*) {}

PRCustomeWindow::PRCustomeWindow(QWidget* parent) : QMainWindow(parent), header_(new QMHeaderView(this)) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setAutoFillBackground(true);
  header_->setGeometry(0, 0, width(), QMHeaderView::kHeight);
  header_->lower();
}

void PRCustomeWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  header_->setGeometry(0, 0, event->size().width(), QMHeaderView::kHeight);
  header_->lower();
}

void PRCustomeWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && windowHandle()) {
    windowHandle()->startSystemMove();
    event->accept();
    return;
  }
  QMainWindow::mousePressEvent(event);
}

}  // namespace linvara
