#include "ui/OutletDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "app/AppDelegate.h"
#include "app/Actions.h"
#include "app/Outlets.h"
#include "app/ViewState.h"
#include "ui/PRLeftTipButton.h"
#include "ui/ResourceImages.h"
#include "ui/RowCellDelegate.h"
#include "ui/TableModels.h"

namespace linvara {
namespace {

using K = DialogPart::Kind;

// Texts of the definitions are translated when the window is built.
QString T(const std::string& text) { return QCoreApplication::translate("OutletDialog", text.c_str()); }

DialogPart Part(K kind, std::string outlet, std::string caption = {}, TableId table = TableId::Other) {
  DialogPart p;
  p.kind = kind;
  p.outlet = std::move(outlet);
  p.caption = std::move(caption);
  p.table = table;
  return p;
}
DialogPart TablePart(std::string outlet, TableId table) { return Part(K::Table, std::move(outlet), {}, table); }

DialogButton Action(std::string title, std::string action, bool isDefault = false) {
  DialogButton b;
  b.title = std::move(title);
  b.action = std::move(action);
  b.isDefault = isDefault;
  return b;
}
DialogButton Navigation(std::string title, std::string outlet, std::string image = {}) {
  DialogButton b;
  b.title = std::move(title);
  b.navigation = std::move(outlet);
  b.image = std::move(image);
  b.isDefault = true;
  return b;
}
DialogButton CloseButton(std::string title, bool isDefault = false) {
  DialogButton b;
  b.title = std::move(title);
  b.closesOnly = true;
  b.isDefault = isDefault;
  return b;
}

DialogDefinition Window(std::string name, std::string title, std::vector<DialogPart> parts,
                        std::vector<DialogButton> buttons, std::string closeAction, int width = 460, int height = 0) {
  DialogDefinition d;
  d.name = std::move(name);
  d.title = std::move(title);
  d.parts = std::move(parts);
  d.buttons = std::move(buttons);
  d.closeAction = std::move(closeAction);
  d.width = width;
  d.height = height;
  return d;
}

const std::vector<DialogDefinition>& Definitions() {
  static const std::vector<DialogDefinition> defs = {
      Window("editBookMarkWindow", "Edit Bookmark",
             {Part(K::Field, "editBookMarkNamelab", "Name:"), Part(K::Field, "editBookMarkURLlab", "Address:")},
             {Action("Cancel", actions::kEditCancel), Action("Save", actions::kEditSave, true)},
             actions::kEditCancel),
      Window("newFolderWindow", "New Folder", {Part(K::Text, "Name of the new folder:"), Part(K::Field, "newFolderlab")},
             {Action("Cancel", actions::kNewFolderCancel), Action("Create", actions::kNewFolderSave, true)}, actions::kNewFolderCancel),
      Window("CreatePWWindow", "Create Password",
             {Part(K::Text, "Choose the password that protects encrypted bookmarks."),
              Part(K::SecureField, "theCreatePWLab", "Password:"), Part(K::SecureField, "theConfirmPWLab", "Repeat:"),
              Part(K::Label, "warnCreatedpasscodelab", "The two passwords are not the same.")},
             {Action("Cancel", actions::kCancelCreatePassword), Action("Create", actions::kCreatePassword, true)},
             actions::kCancelCreatePassword),
      Window("enterPDWindow", "Enter Password",
             {Part(K::Text, "Enter the password of your encrypted bookmarks."),
              Part(K::SecureField, "enterPWLab", "Password:"), Part(K::Label, "enterPDWarnLab", "The password is not correct.")},
             {Navigation("OK", outlets::kEnterPDButton)}, {}, 380),
      Window("deadURLWindow", "Unreachable Bookmarks",
             {Part(K::Label, "showDeadBookmarklab"), TablePart("deadUrlTableView", TableId::DeadUrl),
              Part(K::Progress, "thedealurlProgresser"), Part(K::Label, "deadLinksNotCheckedLab")},
             {Action("Cancel", actions::kCancelDeadLinks),
              Action("Remove Selected", actions::kRemoveDeadLinks, true)},
             actions::kCancelDeadLinks, 640, 460),
      Window("findDupWindow", "Duplicate Bookmarks",
             {Part(K::Label, "showDupBookmarklab"), TablePart("leftDupTableView", TableId::LeftDup),
              TablePart("rightDupTableView", TableId::RightDup)},
             {Action("Select Automatically", actions::kAutoSelectDuplicates),
              Action("Cancel", actions::kCancelDuplicates),
              Action("Remove Selected", actions::kRemoveDuplicates, true)},
             actions::kCancelDuplicates, 780, 480),
      Window("connectWindow", "Allow Access",
             {Part(K::Text, "Linvara needs access to your home folder to read the browsers' cookie files. "
                            "Choose your home folder in the next window.")},
             {CloseButton("Close"), Navigation("Choose Home Folder...", outlets::kConnectBtn, images::kConnectBtn)},
             {}, 420),
      Window("aboutWindow", "About Linvara",
             {Part(K::Text, "Linvara"), Part(K::Label, "aboutVersionlab"),
              Part(K::Text, "Manages the bookmarks and cookies of every installed browser.")},
             {CloseButton("Close", true)}, {}, 360),
      Window("UpdateWindow", "Software Update",
             {Part(K::Label, "newversionlab"), Part(K::Label, "currentversionlab"),
              Part(K::TextView, "whatsnewContentView")},
             {Action("Not Now", actions::kUpdateNotNow), Action("Download", actions::kUpdateDownload, true)},
             actions::kUpdateNotNow, 460, 320),
      Window("noUpdateWindow", "Software Update", {Part(K::Text, "You are using the latest version of Linvara.")},
             {Action("OK", actions::kNoUpdateOk, true)}, actions::kNoUpdateOk, 360),
  };
  return defs;
}

const NodeTableState* TableState(const ViewState& state, TableId table) {
  switch (table) {
    case TableId::LeftDup: return &state.leftDupTable;
    case TableId::RightDup: return &state.rightDupTable;
    case TableId::DeadUrl: return &state.deadUrlTable;
    default: return nullptr;
  }
}

}  // namespace

const std::vector<DialogDefinition>& AllDialogDefinitions() { return Definitions(); }

const DialogDefinition* FindDialogDefinition(const std::string& name) {
  for (const auto& d : AllDialogDefinitions())
    if (d.name == name) return &d;
  return nullptr;
}

std::vector<std::string> DialogNames() {
  std::vector<std::string> names;
  for (const auto& d : AllDialogDefinitions()) names.push_back(d.name);
  return names;
}

OutletDialog::OutletDialog(const DialogDefinition& definition, AppDelegate& controller, QWidget* parent)
    : QDialog(parent), definition_(definition), controller_(controller) {
  setObjectName(QString::fromStdString(definition_.name));
  setWindowTitle(T(definition_.title));
  auto* layout = new QVBoxLayout(this);
  QSplitter* tableSplitter = nullptr;

  for (const DialogPart& part : definition_.parts) {
    const QString outlet = QString::fromStdString(part.outlet);
    switch (part.kind) {
      case K::Text: {
        auto* text = new QLabel(T(part.outlet), this);
        text->setWordWrap(true);
        layout->addWidget(text);
        break;
      }
      case K::Label: {
        auto* label = new QLabel(this);
        label->setObjectName(outlet);
        label->setWordWrap(true);
        if (part.outlet.find("Warn") != std::string::npos || part.outlet.find("warn") != std::string::npos)
          label->setStyleSheet(QStringLiteral("color: #c0392b;"));
        label->setProperty("defaultText", T(part.caption));
        if (part.outlet == "aboutVersionlab")
          label->setText(T("Version %1").arg(QCoreApplication::applicationVersion()));
        labels_[part.outlet] = label;
        layout->addWidget(label);
        break;
      }
      case K::Field:
      case K::SecureField: {
        auto* row = new QHBoxLayout;
        if (!part.caption.empty()) row->addWidget(new QLabel(T(part.caption), this));
        auto* field = new QLineEdit(this);
        field->setObjectName(outlet);
        if (part.kind == K::SecureField) field->setEchoMode(QLineEdit::Password);
        connect(field, &QLineEdit::textEdited, this, [this, name = part.outlet](const QString& text) {
          controller_.SetFieldText(name, text.toStdString());
        });
        fields_[part.outlet] = field;
        row->addWidget(field, 1);
        layout->addLayout(row);
        break;
      }
      case K::TextView: {
        auto* view = new QPlainTextEdit(this);
        view->setObjectName(outlet);
        view->setReadOnly(true);
        textViews_[part.outlet] = view;
        layout->addWidget(view, 1);
        break;
      }
      case K::Table: {
        const TableId id = part.table;
        auto* model = new ResultTableModel(id, [this, id](int row) {
          controller_.CheckTheFileAction(id, static_cast<std::size_t>(row));
        }, this);
        auto* view = new QTableView(this);
        view->setObjectName(outlet);
        view->setModel(model);
        view->setItemDelegate(new RowCellDelegate(id == TableId::LeftDup ? 30 : 54, view));
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->verticalHeader()->setDefaultSectionSize(id == TableId::LeftDup ? 30 : 54);
        view->verticalHeader()->hide();
        view->horizontalHeader()->setStretchLastSection(true);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setShowGrid(false);
        view->setAlternatingRowColors(true);
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, id, view] {
          controller_.SelectTableRows(id, SelectedRows(*view->selectionModel()));
        });
        tables_[id] = {view, model};
        if (definition_.name == "findDupWindow") {
          if (!tableSplitter) {
            tableSplitter = new QSplitter(Qt::Horizontal, this);
            layout->addWidget(tableSplitter, 1);
          }
          tableSplitter->addWidget(view);
        } else {
          layout->addWidget(view, 1);
        }
        break;
      }
      case K::Progress: {
        auto* bar = new QProgressBar(this);
        bar->setObjectName(outlet);
        bar->setRange(0, 0);
        bar->setTextVisible(false);
        progress_[part.outlet] = bar;
        layout->addWidget(bar);
        break;
      }
    }
  }

  auto* buttons = new QDialogButtonBox(this);
  for (const DialogButton& b : definition_.buttons) {
    QAbstractButton* button = nullptr;
    if (!b.navigation.empty()) {
      auto* nav = new PRLeftTipButton(b.navigation, controller_.session().notifications(), this);
      nav->setText(T(b.title));
      nav->setAutoRaise(false);
      if (!b.image.empty()) {
        nav->setIcon(ResourceIcon(b.image));
        nav->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
      }
      buttons->addButton(nav, QDialogButtonBox::AcceptRole);
      buttons_[b.navigation] = nav;
      button = nav;
    } else {
      auto* push = new QPushButton(T(b.title), this);
      push->setAutoDefault(false);
      push->setDefault(b.isDefault);
      buttons->addButton(push, b.isDefault ? QDialogButtonBox::AcceptRole : QDialogButtonBox::ActionRole);
      if (b.closesOnly)
        connect(push, &QPushButton::clicked, this, &QDialog::hide);
      else
        connect(push, &QPushButton::clicked, this, [this, action = b.action] { perform(action); });
      button = push;
    }
    buttons_[b.title] = button;
  }
  layout->addWidget(buttons);
  if (definition_.height > 0)
    resize(definition_.width, definition_.height);
  else
    setMinimumWidth(definition_.width);
  refresh(controller_.viewState(), viewsection::kAll);
}

void OutletDialog::perform(const std::string& action) {
  MenuItemModel item;
  item.action = action;
  controller_.PerformMenuAction(item);
}

std::string OutletDialog::cancelActionFor(const ViewState& state) const {
  // The Safari view lists the links already marked unreachable and has its own cancel.
  if (definition_.name == "deadURLWindow" && state.bookMarkType == ViewKind::Safari &&
      controller_.CanPerformAction(actions::kCancelSafariDeadLinks))
    return actions::kCancelSafariDeadLinks;
  return definition_.closeAction;
}

void OutletDialog::refresh(const ViewState& state, unsigned sections) {
  if (sections & viewsection::kTexts) {
    for (auto& [name, label] : labels_) {
      if (const TextState* t = state.findText(name)) {
        // A label the controller only shows or hides keeps the window's own text.
        const QString text = t->text.empty() ? label->property("defaultText").toString() : QString::fromStdString(t->text);
        label->setText(text);
        label->setVisible(!t->hidden && !text.isEmpty());
      }
    }
    for (auto& [name, field] : fields_) {
      if (const TextState* t = state.findText(name)) {
        const QString text = QString::fromStdString(t->text);
        if (field->text() != text) field->setText(text);
        field->setVisible(!t->hidden);
      }
    }
    for (auto& [name, view] : textViews_) {
      if (const TextState* t = state.findText(name)) {
        const QString text = QString::fromStdString(t->text);
        if (view->toPlainText() != text) view->setPlainText(text);
      }
    }
    for (auto& [name, bar] : progress_) {
      if (const TextState* t = state.findText(name)) bar->setVisible(!t->hidden);
    }
  }
  if (sections & (viewsection::kResultTables | viewsection::kTexts)) {
    for (auto& [name, bar] : progress_) {
      const ProgressState* p = state.findProgress(name);
      if (!p) continue;
      // Determinate with a count of the whole ("412 of 2,000 checked"), or busy without one.
      const int maximum = static_cast<int>(std::min<std::size_t>(p->maximum, INT_MAX));
      bar->setRange(0, maximum);
      if (maximum > 0) bar->setValue(static_cast<int>(std::min<std::size_t>(p->value, p->maximum)));
      bar->setTextVisible(maximum > 0 && !p->text.empty());
      bar->setFormat(QString::fromStdString(p->text));
      bar->setVisible(!p->hidden);
    }
  }
  // A button whose action is not built yet shows, disabled.
  for (const DialogButton& b : definition_.buttons)
    if (!b.action.empty())
      if (QAbstractButton* button = this->button(b.title)) button->setEnabled(controller_.CanPerformAction(b.action));
  if (sections & viewsection::kResultTables) {
    for (auto& [id, entry] : tables_) {
      const NodeTableState* t = TableState(state, id);
      if (!t) continue;
      auto [view, model] = entry;
      const bool reset = model->setRows(t->content, t->reloads, state.bookMarkType);
      if (!reset) model->refreshCheckBoxes();
      const auto shown = SelectedRows(*view->selectionModel());
      if (shown != t->selection) {
        QSignalBlocker block(view->selectionModel());
        view->selectionModel()->select(SelectionForRows(*model, t->selection),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->viewport()->update();
      }
    }
  }
}

QLabel* OutletDialog::label(const std::string& outlet) const {
  auto it = labels_.find(outlet);
  return it == labels_.end() ? nullptr : it->second;
}
QLineEdit* OutletDialog::field(const std::string& outlet) const {
  auto it = fields_.find(outlet);
  return it == fields_.end() ? nullptr : it->second;
}
QTableView* OutletDialog::table(TableId table) const {
  auto it = tables_.find(table);
  return it == tables_.end() ? nullptr : it->second.first;
}
ResultTableModel* OutletDialog::tableModel(TableId table) const {
  auto it = tables_.find(table);
  return it == tables_.end() ? nullptr : it->second.second;
}
QProgressBar* OutletDialog::progress(const std::string& outlet) const {
  auto it = progress_.find(outlet);
  return it == progress_.end() ? nullptr : it->second;
}
QAbstractButton* OutletDialog::button(const std::string& titleOrOutlet) const {
  auto it = buttons_.find(titleOrOutlet);
  return it == buttons_.end() ? nullptr : it->second;
}

void OutletDialog::closeEvent(QCloseEvent* event) {
  const std::string action = cancelActionFor(controller_.viewState());
  if (!action.empty() && isVisible()) {
    event->ignore();
    perform(action);  // the controller closes the window when it is done
    if (isVisible()) hide();
    return;
  }
  QDialog::closeEvent(event);
}

void OutletDialog::reject() {
  // Escape acts as the window's close box.
  const std::string action = cancelActionFor(controller_.viewState());
  if (!action.empty()) {
    perform(action);
    if (isVisible()) hide();
    return;
  }
  QDialog::reject();
}

}  // namespace linvara
