#pragma once
#include <QMainWindow>

namespace linvara {
class AppDelegate;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppDelegate& controller, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  AppDelegate& controller_;
};
}  // namespace linvara
