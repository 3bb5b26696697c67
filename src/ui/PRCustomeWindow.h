#pragma once
// The main window's frame: a white, movable window with a 25-pixel header
// strip (QMHeaderView) along its top edge, behind the other widgets. The
// header paints nothing; it is where a drag moves the window.
#include <QMainWindow>
#include <QWidget>

namespace linvara {

class QMHeaderView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeight = 25;
  explicit QMHeaderView(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class PRCustomeWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit PRCustomeWindow(QWidget* parent = nullptr);
  QMHeaderView* headerView() const { return header_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // A press on the window's background (not on a control) starts a move.
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QMHeaderView* header_;
};

}  // namespace linvara
