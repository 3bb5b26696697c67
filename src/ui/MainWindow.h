#pragma once
// The main window: the navigation panel on the left, and on the right the
// start screen, the bookmark table with its tool row and search field, or the
// cookie area. It redraws from the controller's view state and sends every
// press, selection and keystroke to the controller.
#include <QPointer>
#include <filesystem>
#include <map>
#include <string>

#include "app/ViewState.h"
#include "ui/PRCustomeWindow.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace linvara {

class AppDelegate;
class BookmarkTableModel;
class CookieTableModel;
class ImagePanel;
class PRLeftTipButton;
class QtScreen;

class MainWindow : public PRCustomeWindow {
  Q_OBJECT
 public:
  // `geometryFile` remembers size and position across runs; empty: not remembered.
  MainWindow(AppDelegate& controller, QtScreen& screen, std::filesystem::path geometryFile = {},
             QWidget* parent = nullptr);
  ~MainWindow() override;
  // Redraws the cookie area from the cookie manager.

  void Render(const ViewState& state, unsigned sections);
  // Sends a controller action, as a menu entry would.
  bool SendAction(const std::string& action);
  void SaveGeometry() const;

  // Widgets, for the application and tests.
  PRLeftTipButton* navigationButton(const std::string& outlet) const;
  QTableView* bookmarkTable() const { return bookmarkTable_; }
  BookmarkTableModel* bookmarkModel() const { return bookmarkModel_; }
  QLineEdit* searchField() const { return searchField_; }
  QTableView* cookieTable() const { return cookieTable_; }
  CookieTableModel* cookieModel() const { return cookieModel_; }
  QProgressBar* progressIndicator() const { return progress_; }
  ContentArea shownArea() const;
  bool cookieListShown() const;
  QLabel* statusLabel() const { return status_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildNavigationPanel();
  QWidget* buildStartView();
  QWidget* buildBookmarkView();
  QWidget* buildCookieView();
  void buildMenuBar();
  void buildShortcuts();
  PRLeftTipButton* makeButton(const char* outlet, const QString& text, const QString& tip, bool inPanel);
  void renderButtons(const ViewState& state);
  void renderBookmarkTable(const ViewState& state);
  void renderCookies(const ViewState& state);
  void renderArea(const ViewState& state);
  void renderImages(const ViewState& state);
  void showTableMenu(const QPoint& at);
  void deleteSelection();
  void fillViewMenu(class QMenu* into, bool tools);

  AppDelegate& controller_;
  QtScreen& screen_;
  std::filesystem::path geometryFile_;
  std::map<std::string, PRLeftTipButton*> buttons_;
  std::map<std::string, ImagePanel*> imageViews_;
  QStackedWidget* areas_ = nullptr;
  QWidget* startView_ = nullptr;
  QWidget* bookmarkView_ = nullptr;
  QWidget* cookieArea_ = nullptr;
  QStackedWidget* cookiePages_ = nullptr;
  QWidget* openView_ = nullptr;
  QWidget* cookieListView_ = nullptr;
  QTableView* bookmarkTable_ = nullptr;
  BookmarkTableModel* bookmarkModel_ = nullptr;
  QTableView* cookieTable_ = nullptr;
  CookieTableModel* cookieModel_ = nullptr;
  QLineEdit* searchField_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* cookieStatus_ = nullptr;
  QLabel* viewTitle_ = nullptr;
  std::string lastSearchText_;
  bool applyingState_ = false;
  // The cookie area shows from a cookie button's press until the controller shows another area.
};

}  // namespace linvara
