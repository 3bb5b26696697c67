#include "ui/MainWindow.h"

#include <QCloseEvent>

#include "app/AppDelegate.h"

namespace linvara {

MainWindow::MainWindow(AppDelegate& controller, QWidget* parent) : QMainWindow(parent), controller_(controller) {
  setWindowTitle(tr("Linvara"));
  resize(960, 640);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (controller_.windowShouldClose())
    event->accept();
  else
    event->ignore();
}

}  // namespace linvara
