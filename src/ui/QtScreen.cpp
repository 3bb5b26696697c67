#include "ui/QtScreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTimer>

#include "app/AppDelegate.h"
#include "ui/OutletDialog.h"

namespace linvara {
namespace {

// Texts that come from the controller are looked up with the English text as key.
QString FromController(const std::string& text) { return QCoreApplication::translate("AppDelegate", text.c_str()); }
QString MenuText(const std::string& text) { return QCoreApplication::translate("ViewMenus", text.c_str()); }

}  // namespace

QtScreen::QtScreen() = default;

QtScreen::~QtScreen() {
  for (auto& [name, dialog] : windows_)
    if (dialog) delete dialog.data();
}

void QtScreen::Attach(QWidget* mainWindow, AppDelegate* controller) {
  mainWindow_ = mainWindow;
  controller_ = controller;
}

void QtScreen::ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) {
  alertsShown_.push_back(alert);
  auto* box = new QMessageBox(mainWindow_);
  box->setObjectName(QStringLiteral("linvaraAlert"));
  box->setIcon(QMessageBox::Warning);
  box->setWindowTitle(QStringLiteral("Linvara"));
  box->setText(FromController(alert.message));
  if (!alert.informativeText.empty()) box->setInformativeText(FromController(alert.informativeText));
  QPushButton* defaultButton = box->addButton(FromController(alert.defaultButton), QMessageBox::AcceptRole);
  QPushButton* alternateButton = nullptr;
  if (!alert.alternateButton.empty())
    alternateButton = box->addButton(FromController(alert.alternateButton), QMessageBox::RejectRole);
  box->setDefaultButton(defaultButton);
  if (alert.showSuppressionButton)
    box->setCheckBox(new QCheckBox(QCoreApplication::translate("QtScreen", "Do not show this message again"), box));

  QObject::connect(box, &QMessageBox::finished, box, [box, alternateButton, done = std::move(done)](int) {
    AlertResponse response;
    response.button = alternateButton && box->clickedButton() == alternateButton ? AlertButton::Alternate
                                                                                 : AlertButton::Default;
    response.suppressionChecked = box->checkBox() && box->checkBox()->isChecked();
    box->deleteLater();
    if (done) done(response);
  });

  if (!boxAnswers_.empty()) {
    const AlertResponse answer = boxAnswers_.front();
    boxAnswers_.pop_front();
    // Answer as a user would, once the box runs: tick the box, press the button.
    QTimer::singleShot(0, box, [box, answer, defaultButton, alternateButton] {
      if (box->checkBox()) box->checkBox()->setChecked(answer.suppressionChecked);
      QAbstractButton* target =
          answer.button == AlertButton::Alternate && alternateButton ? alternateButton : defaultButton;
      target->click();
    });
  }

  currentBox_ = box;
  if (alert.asSheet && mainWindow_) {
    box->setWindowModality(Qt::WindowModal);
    box->open();
  } else {
    box->setWindowModality(Qt::ApplicationModal);
    box->exec();
  }
}

OutletDialog* QtScreen::window(const std::string& name) const {
  auto it = windows_.find(name);
  return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* QtScreen::windowWidget(const std::string& name) const {
  if (OutletDialog* dialog = window(name)) return dialog;
  return mainWindow_;
}

void QtScreen::ShowWindow(const std::string& name, bool asSheet) {
  if (!controller_) return;
  OutletDialog* dialog = window(name);
  if (!dialog) {
    const DialogDefinition* definition = FindDialogDefinition(name);
    if (!definition) {
      qWarning("linvara: no window named %s", name.c_str());
      return;
    }
    dialog = new OutletDialog(*definition, *controller_, mainWindow_);
    windows_[name] = dialog;
  }
  const bool sheet = asSheet && mainWindow_;
  dialog->setWindowModality(sheet ? Qt::WindowModal : Qt::NonModal);
  dialog->refresh(controller_->viewState(), viewsection::kAll);
  if (name == "connectWindow") dialog->setWindowOpacity(controller_->viewState().connectWindowAlpha);
  if (sheet) {
    // A sheet hangs from the top of the main window, below its header strip.
    if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
    const QRect frame = mainWindow_->geometry();
    SheetRect proposed;
    proposed.width = dialog->width();
    proposed.height = dialog->height();
    proposed.x = frame.x() + (frame.width() - dialog->width()) / 2.0;
    const SheetRect placed = controller_->windowWillPositionSheet(proposed);
    // The controller speaks in bottom-up coordinates: a smaller y is lower on the screen.
    dialog->move(static_cast<int>(placed.x), frame.y() + static_cast<int>(proposed.y - placed.y));
  }
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void QtScreen::CloseWindow(const std::string& name) {
  if (OutletDialog* dialog = window(name)) dialog->hide();
}

bool QtScreen::IsWindowVisible(const std::string& name) const {
  OutletDialog* dialog = window(name);
  return dialog && dialog->isVisible();
}

void QtScreen::ShakeWindow(const std::string& name) {
  shakes_.push_back(name);
  QWidget* target = windowWidget(name);
  if (!target) return;
  // 0.5 s; eight times to the left and to the right by 5 % of the width, back at the start.
  constexpr int kShakes = 8;
  const QPoint origin = target->pos();
  const int offset = std::max(1, static_cast<int>(target->width() * 0.05));
  auto* animation = new QPropertyAnimation(target, "pos", target);
  animation->setDuration(500);
  animation->setKeyValueAt(0.0, origin);
  const double step = 1.0 / (2 * kShakes + 1);
  for (int i = 0; i < kShakes; ++i) {
    animation->setKeyValueAt(step * (2 * i + 1), origin - QPoint(offset, 0));
    animation->setKeyValueAt(step * (2 * i + 2), origin + QPoint(offset, 0));
  }
  animation->setKeyValueAt(1.0, origin);
  animation->start(QAbstractAnimation::DeleteWhenStopped);
}

QMenu* QtScreen::BuildMenu(const MenuModel& model, QWidget* parent) const {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QString::fromStdString(model.name));
  FillMenu(menu, model.items);
  return menu;
}

void QtScreen::FillMenu(QMenu* into, const std::vector<MenuItemModel>& items) const {
  AppDelegate* controller = controller_;
  for (const MenuItemModel& item : items) {
    if (item.hidden) continue;
    if (item.separator) {
      into->addSeparator();
      continue;
    }
    if (!item.submenu.empty()) {
      QMenu* sub = into->addMenu(MenuText(item.title));
      sub->setObjectName(QString::fromStdString(item.identifier));
      sub->setEnabled(item.enabled);
      FillMenu(sub, item.submenu);
      continue;
    }
    QAction* action = into->addAction(MenuText(item.title));
    action->setObjectName(QString::fromStdString(item.identifier.empty() ? item.action : item.identifier));
    action->setData(QString::fromStdString(item.action));
    // An entry whose command nothing performs yet is drawn disabled.
    action->setEnabled(item.enabled && controller && controller->CanPerformAction(item.action));
    QObject::connect(action, &QAction::triggered, action, [controller, item] {
      if (controller) controller->PerformMenuAction(item);
    });
  }
}

void QtScreen::PopUpMenuAtButton(const MenuModel& model, const std::string& buttonName, double lowerBy) {
  QWidget* parent = mainWindow_;
  QMenu* menu = BuildMenu(model, parent);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QPoint at = QCursor::pos();
  if (parent) {
    if (auto* button = parent->findChild<QWidget*>(QString::fromStdString(buttonName)))
      at = button->mapToGlobal(QPoint(0, button->height() + static_cast<int>(lowerBy)));
  }
  lastMenu_ = menu;
  menu->popup(at);
}

void QtScreen::RunSavePanel(const SavePanelSpec& panel,
                            std::function<void(std::optional<std::filesystem::path>)> done) {
  savePanels_.push_back(panel);
  if (!saveAnswers_.empty()) {
    auto answer = saveAnswers_.front();
    saveAnswers_.pop_front();
    QTimer::singleShot(0, qApp, [answer, done = std::move(done)] { done(answer); });
    return;
  }
  auto* dialog = new QFileDialog(mainWindow_, FromController(panel.title),
                                 QString::fromStdString(panel.directory.string()));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  if (!panel.canCreateDirectories) dialog->setOption(QFileDialog::ReadOnly);
  if (!panel.suggestedName.empty()) dialog->selectFile(QString::fromStdString(panel.suggestedName));
  dialog->setWindowModality(Qt::WindowModal);
  QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
    std::optional<std::filesystem::path> chosen;
    if (result == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
      chosen = std::filesystem::path(dialog->selectedFiles().front().toStdString());
    dialog->deleteLater();
    done(chosen);
  });
  dialog->open();
}

void QtScreen::RunOpenPanel(const OpenPanelSpec& panel,
                            std::function<void(std::optional<std::vector<std::filesystem::path>>)> done) {
  if (!openAnswers_.empty()) {
    auto answer = openAnswers_.front();
    openAnswers_.pop_front();
    QTimer::singleShot(0, qApp, [answer, done = std::move(done)] { done(answer); });
    return;
  }
  auto* dialog = new QFileDialog(mainWindow_, FromController(panel.title),
                                 QString::fromStdString(panel.directory.string()));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  if (panel.canChooseDirectories && !panel.canChooseFiles) {
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
  } else {
    dialog->setFileMode(panel.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  dialog->setWindowModality(Qt::WindowModal);
  QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
    std::optional<std::vector<std::filesystem::path>> chosen;
    if (result == QDialog::Accepted) {
      std::vector<std::filesystem::path> paths;
      for (const QString& f : dialog->selectedFiles()) paths.emplace_back(f.toStdString());
      if (!paths.empty()) chosen = std::move(paths);
    }
    dialog->deleteLater();
    done(chosen);
  });
  dialog->open();
}

void QtScreen::Refresh(const ViewState& state, unsigned sections) {
  for (auto& [name, dialog] : windows_)
    if (dialog) dialog->refresh(state, sections);
}

void QtScreen::CloseAll() {
  if (currentBox_) currentBox_->close();
  for (auto& [name, dialog] : windows_)
    if (dialog) dialog->hide();
  if (lastMenu_) lastMenu_->close();
}

void QtScreen::AnswerNextMessageBox(AlertButton button, bool suppressionChecked) {
  boxAnswers_.push_back(AlertResponse{button, suppressionChecked});
}

void QtScreen::AnswerNextSavePanel(std::optional<std::filesystem::path> answer) {
  saveAnswers_.push_back(std::move(answer));
}

void QtScreen::AnswerNextOpenPanel(std::optional<std::vector<std::filesystem::path>> answer) {
  openAnswers_.push_back(std::move(answer));
}

}  // namespace linvara
