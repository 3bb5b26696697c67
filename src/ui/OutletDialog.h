#pragma once
// The windows and sheets of the view definition (edit, new folder, password,
// unreachable links, duplicates, home-folder access, about, update), each
// built from a small definition and addressed by its outlet name. A dialog
// draws its labels, fields and tables from the controller's view state and
// sends every button and every edit to the controller; it decides nothing.
#include <QDialog>
#include <map>
#include <string>
#include <vector>

#include "app/TableRows.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTableView;

namespace linvara {

class AppDelegate;
struct ViewState;
class ResultTableModel;

struct DialogPart {
  enum class Kind {
    Text,         // fixed explanatory text of the window
    Label,        // a label outlet whose text and visibility come from the state
    Field,        // a text field outlet
    SecureField,  // a password field outlet
    TextView,     // a read-only text view outlet
    Table,        // one of the result tables
    Progress,     // an indeterminate progress indicator outlet
  };
  Kind kind;
  std::string outlet;  // outlet name; for Text the text itself
  std::string caption; // label shown in front of a field; a label's own text
  TableId table = TableId::Other;
};

struct DialogButton {
  std::string title;
  std::string action;        // controller action; empty with a navigation outlet, or for Close
  std::string navigation;    // a navigation button outlet ("enterPDButton", "connectBtn")
  std::string image;         // image resource of a navigation button
  bool isDefault = false;
  bool closesOnly = false;   // just closes the window (no controller action)
};

struct DialogDefinition {
  std::string name;
  std::string title;
  std::vector<DialogPart> parts;
  std::vector<DialogButton> buttons;
  // Sent when the window's close box is used; empty: the window just hides.
  std::string closeAction;
  int width = 460;
  int height = 0;  // 0: as the content needs
};

// The definition of a window by outlet name, or null.
const DialogDefinition* FindDialogDefinition(const std::string& name);
// Every window and sheet of the view definition.
const std::vector<DialogDefinition>& AllDialogDefinitions();
std::vector<std::string> DialogNames();

class OutletDialog : public QDialog {
  Q_OBJECT
 public:
  OutletDialog(const DialogDefinition& definition, AppDelegate& controller, QWidget* parent);

  const std::string& name() const { return definition_.name; }
  void refresh(const ViewState& state, unsigned sections);
  // Widgets by outlet name, for the window and tests.
  QLabel* label(const std::string& outlet) const;
  QLineEdit* field(const std::string& outlet) const;
  QTableView* table(TableId table) const;
  ResultTableModel* tableModel(TableId table) const;
  QProgressBar* progress(const std::string& outlet) const;
  QAbstractButton* button(const std::string& titleOrOutlet) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void perform(const std::string& action);
  std::string cancelActionFor(const ViewState& state) const;
  DialogDefinition definition_;
  AppDelegate& controller_;
  std::map<std::string, QLabel*> labels_;
  std::map<std::string, QLineEdit*> fields_;
  std::map<std::string, QPlainTextEdit*> textViews_;
  std::map<std::string, QProgressBar*> progress_;
  std::map<TableId, std::pair<QTableView*, ResultTableModel*>> tables_;
  std::map<std::string, QAbstractButton*> buttons_;
};

}  // namespace linvara
