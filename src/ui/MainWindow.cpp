#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/AppDelegate.h"
#include "app/Actions.h"
#include "app/Outlets.h"
#include "ui/PRLeftTipButton.h"
#include "ui/QtScreen.h"
#include "ui/ResourceImages.h"
#include "ui/RowCellDelegate.h"
#include "ui/TableModels.h"
#include "ui/WindowGeometry.h"

namespace linvara {

// A decorative image view: paints its resource image stretched over its area.
class ImagePanel : public QWidget {
 public:
  ImagePanel(std::string image, QWidget* parent) : QWidget(parent), image_(std::move(image)) {}
  void setImage(const std::string& image) {
    if (image == image_) return;
    image_ = image;
    update();
  }
  const std::string& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QPixmap pm = ResourcePixmap(image_, size(), devicePixelRatioF());
    if (!pm.isNull()) painter.drawPixmap(rect(), pm);
  }

 private:
  std::string image_;
};

namespace {

constexpr int kBookmarkRowHeight = 40;
constexpr int kCookieRowHeight = 24;

// The image a button shows until the controller gives it another.
const char* DefaultImage(const std::string& outlet) {
  using namespace outlets;
  static const std::map<std::string, const char*> images_ = {
      {kAllBookMarkBtn, "allbookmarks.png"},   {kSafariBookMarkBtn, "safaribookmarks.png"},
      {kChromeBookMarkBtn, "chromebookmarks.png"}, {kFolderListViewBtn, images::kFolderListNom},
      {kUrlListViewBtn, images::kUrlListNom}, {kBackBookMarkBtn, images::kHome},
      {kSortBookMarkBtn, "sortbtn.png"},      {kToolBookMarkBtn, "toolbtn.png"},
      {kExportBookMarkBtn, images::kExportBookmark}, {kOpenCookieBtn, images::kOpenCookieNom},
      {kSafariCookieBtn, images::kSafariCookieNom}, {kChromeCookieBtn, images::kChromeCookieNom},
      {kNewCookieBtn, images::kNewCookieNom},
  };
  auto it = images_.find(outlet);
  return it == images_.end() ? "" : it->second;
}

QLabel* SectionLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text.toUpper(), parent);
  QFont f = label->font();
  f.setPointSizeF(f.pointSizeF() * 0.8);
  f.setBold(true);
  label->setFont(f);
  label->setStyleSheet(QStringLiteral("color: #6b778a; padding: 10px 6px 2px 6px;"));
  return label;
}

}  // namespace

MainWindow::MainWindow(AppDelegate& controller, QtScreen& screen, std::filesystem::path geometryFile, QWidget* parent)
    : PRCustomeWindow(parent), controller_(controller), screen_(screen), geometryFile_(std::move(geometryFile)) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(tr("Linvara"));
  setWindowIcon(ResourceIcon("linvara"));
  setMinimumSize(720, 460);
  resize(1040, 660);

  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(buildNavigationPanel());

  areas_ = new QStackedWidget(central);
  startView_ = buildStartView();
  bookmarkView_ = buildBookmarkView();
  cookieArea_ = buildCookieView();
  areas_->addWidget(startView_);
  areas_->addWidget(bookmarkView_);
  areas_->addWidget(cookieArea_);
  row->addWidget(areas_, 1);
  setCentralWidget(central);

  buildMenuBar();
  buildShortcuts();
  if (PRLeftTipButton* open = navigationButton(outlets::kOpenCookieBtn))
    open->setPressHandler([this] { SendAction(actions::kOpenCookieFile); });
  if (!geometryFile_.empty()) RestoreWindowGeometry(geometryFile_, *this);
}

MainWindow::~MainWindow() = default;

PRLeftTipButton* MainWindow::makeButton(const char* outlet, const QString& text, const QString& tip, bool inPanel) {
  auto* button = new PRLeftTipButton(outlet, controller_.session().notifications(), this);
  button->setToolTip(tip);
  button->setStatusTip(tip);
  button->setAccessibleName(text.isEmpty() ? tip : text);
  button->setIcon(ResourceIcon(DefaultImage(outlet)));
  if (inPanel) {
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(24, 24));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setMinimumHeight(36);
  } else {
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(32, 32);
  }
  buttons_[outlet] = button;
  return button;
}

QWidget* MainWindow::buildNavigationPanel() {
  using namespace outlets;
  auto* panel = new ImagePanel(images::kLeftImage, this);
  panel->setObjectName(kLeftView);
  imageViews_[kLeftView] = panel;
  panel->setFixedWidth(196);
  panel->setStyleSheet(QStringLiteral(
      "QToolButton { border: none; border-radius: 6px; padding: 4px 8px; text-align: left; color: #2f3a4a; }"
      "QToolButton:hover { background: rgba(47,111,222,0.10); }"
      "QToolButton[current=\"true\"] { background: rgba(47,111,222,0.18); font-weight: bold; }"));
  auto* col = new QVBoxLayout(panel);
  col->setContentsMargins(8, QMHeaderView::kHeight, 8, 12);
  col->setSpacing(2);

  auto* brand = new QLabel(panel);
  brand->setPixmap(ResourcePixmap("linvara", QSize(28, 28), devicePixelRatioF()));
  auto* brandName = new QLabel(tr("Linvara"), panel);
  QFont bf = brandName->font();
  bf.setPointSizeF(bf.pointSizeF() * 1.3);
  bf.setBold(true);
  brandName->setFont(bf);
  auto* brandRow = new QHBoxLayout;
  brandRow->addWidget(brand);
  brandRow->addWidget(brandName, 1);
  col->addLayout(brandRow);

  col->addWidget(SectionLabel(tr("Bookmarks"), panel));
  col->addWidget(makeButton(kAllBookMarkBtn, tr("All Bookmarks"), tr("Show the bookmarks of every browser (Ctrl+1)"), true));
  col->addWidget(makeButton(kSafariBookMarkBtn, tr("Safari"), tr("Show Safari's bookmarks (Ctrl+2)"), true));
  col->addWidget(makeButton(kChromeBookMarkBtn, tr("Chrome"), tr("Show Chrome's bookmarks (Ctrl+3)"), true));
  col->addWidget(SectionLabel(tr("Cookies"), panel));
  col->addWidget(makeButton(kSafariCookieBtn, tr("Safari Cookies"), tr("List Safari's cookies"), true));
  col->addWidget(makeButton(kChromeCookieBtn, tr("Chrome Cookies"), tr("List Chrome's cookies"), true));
  col->addWidget(makeButton(kOpenCookieBtn, tr("Open Cookie File"), tr("List the cookies of a cookie file"), true));
  col->addWidget(makeButton(kNewCookieBtn, tr("New Cookies"), tr("List the cookies of the files you opened"), true));
  col->addStretch(1);
  return panel;
}

QWidget* MainWindow::buildStartView() {
  auto* view = new QWidget(this);
  view->setObjectName(QStringLiteral("bookMarkView"));
  auto* col = new QVBoxLayout(view);
  col->addStretch(2);
  auto* icon = new QLabel(view);
  icon->setPixmap(ResourcePixmap("linvara", QSize(96, 96), devicePixelRatioF()));
  icon->setAlignment(Qt::AlignCenter);
  col->addWidget(icon);
  auto* title = new QLabel(tr("Welcome to Linvara"), view);
  QFont tf = title->font();
  tf.setPointSizeF(tf.pointSizeF() * 1.8);
  tf.setBold(true);
  title->setFont(tf);
  title->setAlignment(Qt::AlignCenter);
  col->addWidget(title);
  auto* text = new QLabel(tr("Choose All Bookmarks, Safari or Chrome on the left to see your bookmarks,\n"
                             "or one of the cookie buttons to list a browser's cookies."),
                          view);
  text->setAlignment(Qt::AlignCenter);
  text->setStyleSheet(QStringLiteral("color: #6b778a;"));
  col->addWidget(text);
  col->addStretch(3);
  return view;
}

QWidget* MainWindow::buildBookmarkView() {
  using namespace outlets;
  auto* view = new QWidget(this);
  view->setObjectName(QStringLiteral("theConentView"));
  auto* col = new QVBoxLayout(view);
  col->setContentsMargins(0, 0, 0, 0);
  col->setSpacing(0);

  auto* tools = new ImagePanel(images::kTableHead, view);
  tools->setObjectName(kGroudImageView);
  imageViews_[kGroudImageView] = tools;
  auto* toolRow = new QHBoxLayout(tools);
  toolRow->setContentsMargins(10, QMHeaderView::kHeight - 8, 10, 8);
  toolRow->setSpacing(4);
  toolRow->addWidget(makeButton(kBackBookMarkBtn, {}, tr("Back: up one folder, or to the start screen (Alt+Left)"), false));
  toolRow->addSpacing(6);
  toolRow->addWidget(makeButton(kFolderListViewBtn, {}, tr("Show folders"), false));
  toolRow->addWidget(makeButton(kUrlListViewBtn, {}, tr("Show every bookmark in one list"), false));
  toolRow->addSpacing(6);
  toolRow->addWidget(makeButton(kSortBookMarkBtn, {}, tr("Sort"), false));
  toolRow->addWidget(makeButton(kToolBookMarkBtn, {}, tr("Tools: unreachable links, duplicates, folders"), false));
  toolRow->addWidget(makeButton(kExportBookMarkBtn, {}, tr("Export bookmarks"), false));
  toolRow->addSpacing(12);
  viewTitle_ = new QLabel(tools);
  QFont vf = viewTitle_->font();
  vf.setBold(true);
  viewTitle_->setFont(vf);
  toolRow->addWidget(viewTitle_);
  toolRow->addStretch(1);
  searchField_ = new QLineEdit(tools);
  searchField_->setObjectName(kSearchField);
  searchField_->setPlaceholderText(tr("Search titles and addresses"));
  searchField_->setClearButtonEnabled(true);
  searchField_->setMinimumWidth(240);
  searchField_->setToolTip(tr("Search (Ctrl+F)"));
  connect(searchField_, &QLineEdit::textEdited, this, [this](const QString& text) {
    const std::string value = text.toStdString();
    lastSearchText_ = value;
    controller_.SetFieldText(outlets::kSearchField, value);
    controller_.controlTextDidChange(outlets::kSearchField, value);
  });
  toolRow->addWidget(searchField_);
  col->addWidget(tools);

  bookmarkModel_ = new BookmarkTableModel(this);
  bookmarkTable_ = new QTableView(view);
  bookmarkTable_->setObjectName(QStringLiteral("dataTableView"));
  bookmarkTable_->setModel(bookmarkModel_);
  auto* delegate = new RowCellDelegate(kBookmarkRowHeight, bookmarkTable_);
  bookmarkTable_->setItemDelegateForColumn(BookmarkTableModel::kName, delegate);
  bookmarkTable_->setItemDelegateForColumn(BookmarkTableModel::kUdid, delegate);
  bookmarkTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  bookmarkTable_->verticalHeader()->setDefaultSectionSize(kBookmarkRowHeight);
  bookmarkTable_->verticalHeader()->hide();
  bookmarkTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  bookmarkTable_->horizontalHeader()->setSectionResizeMode(BookmarkTableModel::kName, QHeaderView::Stretch);
  bookmarkTable_->horizontalHeader()->setStretchLastSection(false);
  bookmarkTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  bookmarkTable_->horizontalHeader()->setHighlightSections(false);
  bookmarkTable_->setColumnWidth(BookmarkTableModel::kDate, 130);
  bookmarkTable_->setColumnWidth(BookmarkTableModel::kUdid, 220);
  bookmarkTable_->setColumnWidth(BookmarkTableModel::kType, 160);
  bookmarkTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  bookmarkTable_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  bookmarkTable_->setShowGrid(false);
  bookmarkTable_->setAlternatingRowColors(true);
  bookmarkTable_->setWordWrap(false);
  bookmarkTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  bookmarkTable_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  bookmarkTable_->setContextMenuPolicy(Qt::CustomContextMenu);
  bookmarkTable_->setFrameShape(QFrame::NoFrame);
  connect(bookmarkTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (applyingState_) return;
    controller_.SelectTableRows(TableId::Bookmarks, SelectedRows(*bookmarkTable_->selectionModel()));
  });
  connect(bookmarkTable_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (!index.isValid()) return;
    controller_.DoubleClickTableViewBookMarkAction();
  });
  connect(bookmarkTable_, &QTableView::customContextMenuRequested, this, &MainWindow::showTableMenu);
  col->addWidget(bookmarkTable_, 1);

  auto* bottom = new ImagePanel(images::kBottomImage, view);
  bottom->setObjectName(kOpeImageView);
  imageViews_[kOpeImageView] = bottom;
  auto* bottomRow = new QHBoxLayout(bottom);
  bottomRow->setContentsMargins(10, 4, 10, 4);
  status_ = new QLabel(bottom);
  status_->setObjectName(QStringLiteral("bookmarkStatus"));
  status_->setStyleSheet(QStringLiteral("color: #6b778a;"));
  bottomRow->addWidget(status_);
  bottomRow->addStretch(1);
  col->addWidget(bottom);
  return view;
}

QWidget* MainWindow::buildCookieView() {
  auto* area = new QWidget(this);
  area->setObjectName(QStringLiteral("cookieArea"));
  auto* col = new QVBoxLayout(area);
  col->setContentsMargins(0, 0, 0, 0);
  col->setSpacing(0);

  auto* head = new ImagePanel(images::kTableHead, area);
  head->setObjectName(outlets::kConnectImageView);
  imageViews_[outlets::kConnectImageView] = head;
  auto* headRow = new QHBoxLayout(head);
  headRow->setContentsMargins(12, QMHeaderView::kHeight - 8, 12, 8);
  auto* title = new QLabel(tr("Cookies"), head);
  QFont f = title->font();
  f.setBold(true);
  title->setFont(f);
  headRow->addWidget(title);
  headRow->addStretch(1);
  struct CookieCommand {
    const char* title;
    const char* action;
    const char* tip;
  };
  for (const CookieCommand& c : {CookieCommand{QT_TR_NOOP("Export Cookies"), actions::kExportCookieData,
                                               QT_TR_NOOP("Write the listed cookies to a text file")},
                                 CookieCommand{QT_TR_NOOP("Remove All Cookies"), actions::kRemoveCookieData,
                                               QT_TR_NOOP("Remove every cookie of the file listed")}}) {
    auto* button = new QPushButton(tr(c.title), head);
    button->setObjectName(QString::fromLatin1(c.action));
    button->setToolTip(tr(c.tip));
    connect(button, &QPushButton::clicked, this, [this, action = std::string(c.action)] { SendAction(action); });
    headRow->addWidget(button);
  }
  col->addWidget(head);

  cookiePages_ = new QStackedWidget(area);
  openView_ = new QWidget(cookiePages_);
  openView_->setObjectName(QStringLiteral("openView"));
  auto* openCol = new QVBoxLayout(openView_);
  openCol->addStretch(1);
  auto* hint = new QLabel(tr("Choose Safari Cookies or Chrome Cookies on the left to list a browser's cookies."),
                          openView_);
  hint->setAlignment(Qt::AlignCenter);
  hint->setStyleSheet(QStringLiteral("color: #6b778a;"));
  openCol->addWidget(hint);
  openCol->addStretch(2);
  cookiePages_->addWidget(openView_);

  cookieListView_ = new QWidget(cookiePages_);
  cookieListView_->setObjectName(QStringLiteral("cookieListView"));
  auto* listCol = new QVBoxLayout(cookieListView_);
  listCol->setContentsMargins(0, 0, 0, 0);
  cookieModel_ = new CookieTableModel(this);
  cookieTable_ = new QTableView(cookieListView_);
  cookieTable_->setObjectName(QStringLiteral("cookieTableView"));
  cookieTable_->setModel(cookieModel_);
  cookieTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  cookieTable_->verticalHeader()->setDefaultSectionSize(kCookieRowHeight);
  cookieTable_->verticalHeader()->hide();
  cookieTable_->horizontalHeader()->setStretchLastSection(true);
  cookieTable_->setColumnWidth(CookieTableModel::kHost, 200);
  cookieTable_->setColumnWidth(CookieTableModel::kName, 150);
  cookieTable_->setColumnWidth(CookieTableModel::kPath, 80);
  cookieTable_->setColumnWidth(CookieTableModel::kValue, 220);
  cookieTable_->setColumnWidth(CookieTableModel::kSecure, 60);
  cookieTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  cookieTable_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  cookieTable_->setAlternatingRowColors(true);
  cookieTable_->setShowGrid(false);
  cookieTable_->setWordWrap(false);
  cookieTable_->setFrameShape(QFrame::NoFrame);
  listCol->addWidget(cookieTable_);
  cookiePages_->addWidget(cookieListView_);
  col->addWidget(cookiePages_, 1);

  auto* bottom = new QWidget(area);
  auto* bottomRow = new QHBoxLayout(bottom);
  bottomRow->setContentsMargins(10, 4, 10, 4);
  cookieStatus_ = new QLabel(bottom);
  cookieStatus_->setStyleSheet(QStringLiteral("color: #6b778a;"));
  bottomRow->addWidget(cookieStatus_);
  bottomRow->addStretch(1);
  progress_ = new QProgressBar(bottom);
  progress_->setObjectName(QStringLiteral("theProgressor"));
  progress_->setRange(0, 0);
  progress_->setTextVisible(false);
  progress_->setFixedSize(160, 10);
  progress_->hide();
  bottomRow->addWidget(progress_);
  col->addWidget(bottom);
  return area;
}

void MainWindow::buildMenuBar() {
  using namespace outlets;
  QMenuBar* bar = menuBar();
  auto press = [this](const char* outlet) {
    return [this, outlet] {
      if (PRLeftTipButton* b = navigationButton(outlet)) b->click();
    };
  };

  QMenu* file = bar->addMenu(tr("&File"));
  file->addAction(tr("Open Cookie File..."), this, press(kOpenCookieBtn));
  file->addAction(tr("Export or Apply Changes"), this, press(kExportBookMarkBtn));
  file->addSeparator();
  QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
  quit->setShortcut(QKeySequence::Quit);

  QMenu* edit = bar->addMenu(tr("&Edit"));
  QAction* find = edit->addAction(tr("&Find"), this, [this] {
    searchField_->setFocus(Qt::ShortcutFocusReason);
    searchField_->selectAll();
  });
  find->setShortcut(QKeySequence::Find);
  QAction* open = edit->addAction(tr("&Open in Browser"), this, [this] { SendAction(actions::kOpenSelectedBookmarks); });
  open->setShortcut(QKeySequence::Open);
  edit->addAction(tr("&Edit Bookmark..."), this, [this] { SendAction(actions::kEditSelected); });
  QAction* del = edit->addAction(tr("&Delete"), this, &MainWindow::deleteSelection);
  del->setShortcut(QKeySequence::Delete);
  del->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  bookmarkTable_->addAction(del);

  QMenu* view = bar->addMenu(tr("&View"));
  QAction* all = view->addAction(tr("All Bookmarks"), this, press(kAllBookMarkBtn));
  all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
  QAction* safari = view->addAction(tr("Safari Bookmarks"), this, press(kSafariBookMarkBtn));
  safari->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
  QAction* chrome = view->addAction(tr("Chrome Bookmarks"), this, press(kChromeBookMarkBtn));
  chrome->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_3));
  view->addSeparator();
  view->addAction(tr("Folders"), this, press(kFolderListViewBtn));
  view->addAction(tr("All Bookmarks in One List"), this, press(kUrlListViewBtn));
  QAction* back = view->addAction(tr("Back"), this, press(kBackBookMarkBtn));
  back->setShortcuts({QKeySequence::Back, QKeySequence(Qt::ALT | Qt::Key_Up)});

  QMenu* sort = bar->addMenu(tr("&Sort"));
  connect(sort, &QMenu::aboutToShow, this, [this, sort] { fillViewMenu(sort, false); });
  QMenu* tools = bar->addMenu(tr("&Tools"));
  connect(tools, &QMenu::aboutToShow, this, [this, tools] { fillViewMenu(tools, true); });

  QMenu* help = bar->addMenu(tr("&Help"));
  help->addAction(tr("Product Guide"), this, [this] { controller_.ClickTheProductGuide(); });
  help->addAction(tr("Support"), this, [this] { controller_.SupportAction(); });
  // On macOS the entry moves to the application menu.
  help->addAction(tr("Check for Updates…"), this, [this] { SendAction(actions::kCheckForUpdate); })
      ->setMenuRole(QAction::ApplicationSpecificRole);
  help->addSeparator();
  help->addAction(tr("About Linvara"), this, [this] { controller_.ActAboutAction(); });
}

void MainWindow::fillViewMenu(QMenu* into, bool tools) {
  using namespace outlets;
  into->clear();
  // The unified view's move submenu lists the folders made since the view opened.
  if (tools && controller_.viewState().bookMarkType == ViewKind::All) controller_.unifiedListEditor().RebuildMoveFolderMenu();
  const ViewState& state = controller_.viewState();
  const ViewMenuNames menus = BookmarkSession::MenusOf(state.bookMarkType);
  auto it = IsBookmarkView(state.bookMarkType) ? state.menus.find(tools ? menus.toolMenu : menus.sortMenu)
                                               : state.menus.end();
  if (it == state.menus.end()) {
    into->addAction(tr("Open a bookmark view first"))->setEnabled(false);
    return;
  }
  screen_.FillMenu(into, it->second.items);
}

void MainWindow::buildShortcuts() {
  // Return in the table opens the selected bookmarks; Backspace goes back.
  auto* openKey = new QShortcut(QKeySequence(Qt::Key_Return), bookmarkTable_);
  openKey->setContext(Qt::WidgetShortcut);
  connect(openKey, &QShortcut::activated, this, [this] { SendAction(actions::kOpenSelectedBookmarks); });
  auto* enterKey = new QShortcut(QKeySequence(Qt::Key_Enter), bookmarkTable_);
  enterKey->setContext(Qt::WidgetShortcut);
  connect(enterKey, &QShortcut::activated, this, [this] { SendAction(actions::kOpenSelectedBookmarks); });
  auto* backKey = new QShortcut(QKeySequence(Qt::Key_Backspace), bookmarkTable_);
  backKey->setContext(Qt::WidgetShortcut);
  connect(backKey, &QShortcut::activated, this, [this] {
    if (PRLeftTipButton* b = navigationButton(outlets::kBackBookMarkBtn)) b->click();
  });
}

bool MainWindow::SendAction(const std::string& action) {
  MenuItemModel item;
  item.action = action;
  return controller_.PerformMenuAction(item);
}

void MainWindow::deleteSelection() {
  // The delete entry of the table's context menu for the current view.
  const ViewState& state = controller_.viewState();
  auto it = state.menus.find(state.bookmarkTableMenu);
  if (it == state.menus.end()) return;
  for (const MenuItemModel& item : it->second.items) {
    if (item.action == actions::kDeleteSafari || item.action == actions::kDeleteChrome ||
        item.action == actions::kRemoveSelected) {
      if (item.enabled && !item.hidden) controller_.PerformMenuAction(item);
      return;
    }
  }
}

void MainWindow::showTableMenu(const QPoint& at) {
  const ViewState& state = controller_.viewState();
  auto it = state.menus.find(state.bookmarkTableMenu);
  if (it == state.menus.end()) return;
  QMenu* menu = screen_.BuildMenu(it->second, this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(bookmarkTable_->viewport()->mapToGlobal(at));
}

PRLeftTipButton* MainWindow::navigationButton(const std::string& outlet) const {
  auto it = buttons_.find(outlet);
  return it == buttons_.end() ? nullptr : it->second;
}

ContentArea MainWindow::shownArea() const {
  if (areas_->currentWidget() == bookmarkView_) return ContentArea::Bookmarks;
  if (areas_->currentWidget() == cookieArea_) return ContentArea::Cookies;
  return ContentArea::Start;
}

bool MainWindow::cookieListShown() const { return cookiePages_->currentWidget() == cookieListView_; }

void MainWindow::Render(const ViewState& state, unsigned sections) {
  applyingState_ = true;
  if (sections & viewsection::kArea) renderArea(state);
  if (sections & (viewsection::kArea | viewsection::kButtons)) renderButtons(state);
  if (sections & (viewsection::kBookmarkTable | viewsection::kTexts)) renderBookmarkTable(state);
  if (sections & viewsection::kTexts) {
    const TextState* search = state.findText(outlets::kSearchField);
    const std::string text = search ? search->text : std::string();
    // Only a change made by the controller is pushed into the field, never an echo of typing.
    if (text != lastSearchText_) {
      lastSearchText_ = text;
      if (searchField_->text().toStdString() != text) searchField_->setText(QString::fromStdString(text));
    }
  }
  if (sections & (viewsection::kCookies | viewsection::kArea | viewsection::kButtons)) renderCookies(state);
  if (sections & viewsection::kImages) renderImages(state);
  applyingState_ = false;
}

void MainWindow::renderButtons(const ViewState& state) {
  using namespace outlets;
  for (auto& [name, button] : buttons_) {
    const ButtonState* b = state.findButton(name);
    const std::string image = b && !b->image.empty() ? b->image : DefaultImage(name);
    if (button->property("linvaraImage").toString().toStdString() != image) {
      button->setIcon(ResourceIcon(image));
      button->setProperty("linvaraImage", QString::fromStdString(image));
    }
    if (b && b->width > 0 && b->height > 0) {
      const QSize size(static_cast<int>(b->width), static_cast<int>(b->height));
      button->setFixedSize(size);
      button->setIconSize(size - QSize(4, 4));
    }
    button->setVisible(!(b && b->hidden));
  }
  // The panel marks the view or cookie source on show.
  auto mark = [&](const char* outlet, bool current) {
    PRLeftTipButton* b = navigationButton(outlet);
    if (!b || b->property("current").toBool() == current) return;
    b->setProperty("current", current);
    b->style()->unpolish(b);
    b->style()->polish(b);
  };
  const bool bookmarks = state.area == ContentArea::Bookmarks;
  mark(kAllBookMarkBtn, bookmarks && state.bookMarkType == ViewKind::All);
  mark(kSafariBookMarkBtn, bookmarks && state.bookMarkType == ViewKind::Safari);
  mark(kChromeBookMarkBtn, bookmarks && state.bookMarkType == ViewKind::Chrome);
  const bool cookies = state.area == ContentArea::Cookies;
  auto pressedImage = [&](const char* outlet, const char* down) {
    const ButtonState* b = state.findButton(outlet);
    return cookies && b && b->image == down;
  };
  mark(kSafariCookieBtn, pressedImage(kSafariCookieBtn, images::kSafariCookieDown));
  mark(kChromeCookieBtn, pressedImage(kChromeCookieBtn, images::kChromeCookieDown));
  mark(kNewCookieBtn, pressedImage(kNewCookieBtn, images::kNewCookieDown));

  if (PRLeftTipButton* exportButton = navigationButton(kExportBookMarkBtn)) {
    const bool apply = exportButton->property("linvaraImage").toString() == QLatin1String(images::kApplyChanges);
    exportButton->setToolTip(apply ? tr("Apply Changes: write your changes to Safari's bookmarks")
                                   : tr("Export bookmarks as an HTML bookmark file"));
  }
  if (PRLeftTipButton* back = navigationButton(kBackBookMarkBtn)) {
    const bool home = back->property("linvaraImage").toString() == QLatin1String(images::kHome);
    back->setToolTip(home ? tr("Back to the start screen (Alt+Left)") : tr("Up one folder (Alt+Left)"));
  }
  switch (state.bookMarkType) {
    case ViewKind::All: viewTitle_->setText(tr("All Bookmarks")); break;
    case ViewKind::Safari: viewTitle_->setText(tr("Safari")); break;
    case ViewKind::Chrome: viewTitle_->setText(tr("Chrome")); break;
    case ViewKind::None: viewTitle_->clear(); break;
  }
}

void MainWindow::renderBookmarkTable(const ViewState& state) {
  const NodeTableState& table = state.bookmarkTable;
  const bool reset = bookmarkModel_->setRows(table.content, table.reloads);
  QItemSelectionModel* selection = bookmarkTable_->selectionModel();
  if (reset || SelectedRows(*selection) != table.selection) {
    QSignalBlocker block(selection);
    if (table.selection.empty())
      selection->clearSelection();
    else
      selection->select(SelectionForRows(*bookmarkModel_, table.selection),
                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    bookmarkTable_->viewport()->update();
  }
  if (reset) bookmarkTable_->scrollToTop();
  bookmarkTable_->setSelectionMode(state.bookmarkTableMultipleSelection ? QAbstractItemView::ExtendedSelection
                                                                        : QAbstractItemView::SingleSelection);
  const int rows = bookmarkModel_->rowCount();
  const TextState* status = state.findText(outlets::kBookmarkStatus);
  if (status && !status->text.empty())
    status_->setText(tr(status->text.c_str()));
  else
    status_->setText(rows == 1 ? tr("1 item") : tr("%1 items").arg(QLocale().toString(rows)));
}

void MainWindow::renderArea(const ViewState& state) {
  switch (state.area) {
    case ContentArea::Start: areas_->setCurrentWidget(startView_); break;
    case ContentArea::Bookmarks: areas_->setCurrentWidget(bookmarkView_); break;
    case ContentArea::Cookies: areas_->setCurrentWidget(cookieArea_); break;
  }
}

void MainWindow::renderCookies(const ViewState& state) {
  const CookieAreaState& cookies = state.cookies;
  const bool reset = cookieModel_->setRows(cookies.tableContent, cookies.reloads);
  if (reset) cookieTable_->scrollToTop();
  cookiePages_->setCurrentWidget(cookies.contentViewShown ? cookieListView_ : openView_);
  progress_->setVisible(cookies.progressShown);
  const int rows = cookieModel_->rowCount();
  cookieStatus_->setText(cookies.contentViewShown ? (rows == 1 ? tr("1 cookie") : tr("%1 cookies").arg(rows))
                                                  : QString());
  for (const auto& [action, enabled] : {std::pair{actions::kExportCookieData, cookies.canExport},
                                        std::pair{actions::kRemoveCookieData, cookies.canRemove}})
    if (auto* b = cookieArea_->findChild<QPushButton*>(QString::fromLatin1(action))) b->setEnabled(enabled);
  if (PRLeftTipButton* newCookies = navigationButton(outlets::kNewCookieBtn)) {
    const ButtonState* b = state.findButton(outlets::kNewCookieBtn);
    newCookies->setVisible(cookies.newCookieButtonShown || !(b && b->hidden));
  }
}

void MainWindow::renderImages(const ViewState& state) {
  for (const auto& [outlet, image] : state.imageViews) {
    auto it = imageViews_.find(outlet);
    if (it != imageViews_.end() && HasResourceImage(image)) it->second->setImage(image);
  }
}

void MainWindow::SaveGeometry() const {
  if (!geometryFile_.empty()) SaveWindowGeometry(geometryFile_, *this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (controller_.windowShouldClose()) {
    SaveGeometry();
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace linvara
