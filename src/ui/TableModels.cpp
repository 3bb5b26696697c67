#include "ui/TableModels.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QItemSelectionModel>
#include <algorithm>

#include "ui/ResourceImages.h"

namespace linvara {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString Q(const std::optional<std::string>& s) { return s ? QString::fromStdString(*s) : QString(); }

bool SameRows(const NodeList& a, const NodeList& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace

// ---- BookmarkTableModel ----

const char* BookmarkTableModel::ColumnIdentifier(int column) {
  switch (column) {
    case kName: return "Name";
    case kDate: return "Date";
    case kUdid: return "UDID";
    case kType: return "Type";
    default: return "";
  }
}

BookmarkTableModel::BookmarkTableModel(QObject* parent) : QAbstractTableModel(parent), cache_(512) {}

bool BookmarkTableModel::setRows(const NodeList& rows, std::uint64_t reloads) {
  if (reloads == reloads_ && SameRows(rows, rows_)) return false;
  beginResetModel();
  rows_ = rows;
  reloads_ = reloads;
  cache_.clear();
  endResetModel();
  return true;
}

NodePtr BookmarkTableModel::nodeAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return nullptr;
  return rows_[static_cast<std::size_t>(row)];
}

BookmarkRow BookmarkTableModel::rowAt(int row) const {
  if (BookmarkRow* cached = cache_.object(row)) return *cached;
  NodePtr node = nodeAt(row);
  if (!node) return {};
  auto* built = new BookmarkRow(MakeBookmarkRow(node));
  BookmarkRow copy = *built;
  cache_.insert(row, built);
  return copy;
}

int BookmarkTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BookmarkTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant BookmarkTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const BookmarkRow r = rowAt(index.row());
  switch (index.column()) {
    case kName:
      switch (role) {
        case Qt::DisplayRole: return Q(r.title);
        case rowrole::kSecondLine: return Q(r.addressLine);
        case rowrole::kIconName: return Q(r.icon);
        case rowrole::kIsFolder: return r.kind == BookmarkRow::Kind::Folder;
        case Qt::DecorationRole: return r.icon.empty() ? QVariant() : QVariant(ResourceIcon(r.icon));
        case Qt::ToolTipRole:
          return r.addressLine.empty() ? Q(r.title) : Q(r.title) + QLatin1Char('\n') + Q(r.addressLine);
        default: return {};
      }
    case kDate:
      return role == Qt::DisplayRole ? QVariant(Q(r.date)) : QVariant();
    case kUdid:
      switch (role) {
        case Qt::DisplayRole: return Q(r.uuid);
        case rowrole::kSecondLine: return Q(r.path);
        case Qt::ToolTipRole: return r.path.empty() ? QVariant() : QVariant(Q(r.path));
        default: return {};
      }
    case kType:
      // The type texts are the browsers' labels, translated like every other text.
      return role == Qt::DisplayRole ? QVariant(tr(r.type.c_str())) : QVariant();
    default:
      return {};
  }
}

QVariant BookmarkTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kName: return tr("Name");
    case kDate: return tr("Date");
    case kUdid: return tr("UDID");
    case kType: return tr("Type");
    default: return {};
  }
}

Qt::ItemFlags BookmarkTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

// ---- ResultTableModel ----

ResultTableModel::ResultTableModel(TableId table, Toggle toggle, QObject* parent)
    : QAbstractTableModel(parent), table_(table), toggle_(std::move(toggle)) {}

bool ResultTableModel::setRows(const NodeList& rows, std::uint64_t reloads, ViewKind bookMarkType) {
  const bool sameReload = reloads == reloads_ && bookMarkType == bookMarkType_;
  // Without a reload the controller only appends: new rows, not a reset.
  if (sameReload && rows.size() > rows_.size() && (rows_.empty() || rows[rows_.size() - 1] == rows_.back())) {
    beginInsertRows({}, static_cast<int>(rows_.size()), static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), rows.begin() + static_cast<std::ptrdiff_t>(rows_.size()), rows.end());
    endInsertRows();
    return false;
  }
  if (sameReload && SameRows(rows, rows_)) return false;
  beginResetModel();
  rows_ = rows;
  reloads_ = reloads;
  bookMarkType_ = bookMarkType;
  endResetModel();
  return true;
}

ResultRow ResultTableModel::rowAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return {};
  const NodePtr& node = rows_[static_cast<std::size_t>(row)];
  switch (table_) {
    case TableId::LeftDup: return MakeDuplicateGroupRow(node);
    case TableId::RightDup: return MakeDuplicateMemberRow(node, bookMarkType_);
    case TableId::DeadUrl: return MakeDeadLinkRow(node);
    default: return {};
  }
}

void ResultTableModel::refreshCheckBoxes() {
  if (rows_.empty() || !hasCheckBoxes()) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() != 0) return {};
  const ResultRow r = rowAt(index.row());
  switch (role) {
    case Qt::DisplayRole: return Q(r.title);
    case rowrole::kSecondLine: return Q(r.addressLine);
    case rowrole::kThirdLine: return Q(r.path);
    case Qt::ToolTipRole: return r.addressLine.empty() ? QVariant() : QVariant(Q(r.addressLine));
    // The group list is a cell-based table: "Lucida Grande" 11 pt in its light slate colour.
    case Qt::FontRole:
      if (table_ != TableId::LeftDup) return {};
      return QFont(QString::fromLatin1(CellStyle::kFontName), static_cast<int>(CellStyle::kFontSize));
    case Qt::ForegroundRole:
      if (table_ != TableId::LeftDup) return {};
      return QBrush(QColor(CellStyle::kRed, CellStyle::kGreen, CellStyle::kBlue));
    case Qt::CheckStateRole:
      if (!hasCheckBoxes()) return {};
      return r.checked ? Qt::Checked : Qt::Unchecked;
    default: return {};
  }
}

bool ResultTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::CheckStateRole || !hasCheckBoxes()) return false;
  const bool wanted = value.toInt() == Qt::Checked;
  if (rowAt(index.row()).checked == wanted) return true;
  // The check box flips the node's flag through the controller, then shows what it holds.
  if (toggle_) toggle_(index.row());
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section != 0) return {};
  switch (table_) {
    case TableId::LeftDup: return tr("Duplicate address");
    case TableId::RightDup: return tr("Bookmarks with this address");
    case TableId::DeadUrl: return tr("Unreachable bookmark");
    default: return {};
  }
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (hasCheckBoxes()) f |= Qt::ItemIsUserCheckable;
  return f;
}

// ---- CookieTableModel ----

CookieTableModel::CookieTableModel(QObject* parent) : QAbstractTableModel(parent) {}

bool CookieTableModel::setRows(const CookieList& rows, std::uint64_t reloads) {
  if (reloads == reloads_ && rows.size() == rows_.size() && std::equal(rows.begin(), rows.end(), rows_.begin()))
    return false;
  beginResetModel();
  rows_ = rows;
  reloads_ = reloads;
  endResetModel();
  return true;
}

int CookieTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CookieTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant CookieTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const PRCookFileNode* c = rows_[static_cast<std::size_t>(index.row())].get();
  if (!c) return {};
  if (role == Qt::ForegroundRole && c->hasExpired) return QBrush(QColor(150, 150, 150));
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  switch (index.column()) {
    case kHost: return Q(c->fileHost);
    case kName: return Q(c->fileName);
    case kPath: return Q(c->filePath);
    case kValue: return Q(c->fileValue);
    case kSecure: return c->secureValue == "YES" ? tr("Yes") : tr("No");
    case kExpires:
      if (role == Qt::ToolTipRole && c->hasExpired) return tr("Expired");
      return Q(c->expiredDate);
    default: return {};
  }
}

QVariant CookieTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kHost: return tr("Host");
    case kName: return tr("Name");
    case kPath: return tr("Path");
    case kValue: return tr("Value");
    case kSecure: return tr("Secure");
    case kExpires: return tr("Expires");
    default: return {};
  }
}

// ---- selection helpers ----

std::vector<std::size_t> SelectedRows(const QItemSelectionModel& selection) {
  std::vector<std::size_t> rows;
  for (const QItemSelectionRange& range : selection.selection())
    for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(static_cast<std::size_t>(r));
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

QItemSelection SelectionForRows(const QAbstractItemModel& model, const std::vector<std::size_t>& rows) {
  QItemSelection selection;
  const int last = model.columnCount() - 1;
  const std::size_t count = static_cast<std::size_t>(model.rowCount());
  std::size_t i = 0;
  while (i < rows.size()) {
    if (rows[i] >= count) break;
    std::size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1 && rows[j + 1] < count) ++j;
    selection.select(model.index(static_cast<int>(rows[i]), 0), model.index(static_cast<int>(rows[j]), last));
    i = j + 1;
  }
  return selection;
}

}  // namespace linvara
