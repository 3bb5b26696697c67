#pragma once
// Item models over the controller's tables. Each model keeps its own copy of
// the row list it shows (a vector of shared pointers), so the row count and
// the rows the view asks for never disagree, and replaces it in one reset.
// Cells are built on demand from the node of a row; nothing is made per row
// beforehand, so a table of 150,000 bookmarks costs one vector copy.
#include <QAbstractTableModel>
#include <QCache>
#include <QItemSelection>
#include <cstdint>
#include <functional>

#include "app/TableRows.h"
#include "cookies/PRCookFileNode.h"
#include "model/PRBookMarkNode.h"

class QItemSelectionModel;

namespace linvara {

// Roles the row delegate reads besides the display text and the icon.
namespace rowrole {
inline constexpr int kSecondLine = Qt::UserRole + 1;  // address line (`urlStrlab`) or path (`pathlab`)
inline constexpr int kThirdLine = Qt::UserRole + 2;   // path of a duplicate row (`pathlab`)
inline constexpr int kIconName = Qt::UserRole + 3;    // resource name of the row's icon
inline constexpr int kIsFolder = Qt::UserRole + 4;
}  // namespace rowrole

// `dataTableView`: columns Name, Date, UDID, Type.
class BookmarkTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kName, kDate, kUdid, kType, kColumnCount };
  // The column identifiers of the view definition ("Name", "Date", "UDID", "Type").
  static const char* ColumnIdentifier(int column);

  explicit BookmarkTableModel(QObject* parent = nullptr);

  // Shows these rows. Resets the model when the list or the reload count
  // changed; returns whether it did.
  bool setRows(const NodeList& rows, std::uint64_t reloads);
  const NodeList& rows() const { return rows_; }
  NodePtr nodeAt(int row) const;
  // The cell data of a row, as the controller defines it.
  BookmarkRow rowAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  NodeList rows_;
  std::uint64_t reloads_ = ~std::uint64_t{0};
  mutable QCache<int, BookmarkRow> cache_;
};

// The duplicate tables and the dead-link table (`PSDupTableCellView` rows):
// one column; member and dead-link rows carry a check box bound to `bSelect`.
class ResultTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using Toggle = std::function<void(int row)>;
  // `toggle` is called when the user clicks a row's check box.
  ResultTableModel(TableId table, Toggle toggle, QObject* parent = nullptr);

  TableId table() const { return table_; }
  // `bookMarkType` decides how a duplicate member's path reads. Rows appended
  // without a reload are inserted; anything else resets the model, and only
  // then does it return true.
  bool setRows(const NodeList& rows, std::uint64_t reloads, ViewKind bookMarkType);
  const NodeList& rows() const { return rows_; }
  ResultRow rowAt(int row) const;
  bool hasCheckBoxes() const { return table_ == TableId::RightDup || table_ == TableId::DeadUrl; }
  // Re-reads every row's check box (after the controller ticked rows itself).
  void refreshCheckBoxes();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  TableId table_;
  Toggle toggle_;
  NodeList rows_;
  std::uint64_t reloads_ = ~std::uint64_t{0};
  ViewKind bookMarkType_ = ViewKind::None;
};

// The cookie table: host, name, path, value, secure, expiry.
class CookieTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kHost, kName, kPath, kValue, kSecure, kExpires, kColumnCount };
  explicit CookieTableModel(QObject* parent = nullptr);

  bool setRows(const CookieList& rows, std::uint64_t reloads);
  const CookieList& rows() const { return rows_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  CookieList rows_;
  std::uint64_t reloads_ = ~std::uint64_t{0};
};

// Selected rows of a selection model, ascending, read range by range.
std::vector<std::size_t> SelectedRows(const QItemSelectionModel& selection);
// The selection covering exactly these rows (ascending), as few ranges as possible.
QItemSelection SelectionForRows(const QAbstractItemModel& model, const std::vector<std::size_t>& rows);

}  // namespace linvara
