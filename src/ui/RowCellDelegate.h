#pragma once
// Draws the cells of the tables: an optional check box, an optional icon, the
// title and up to two lines below it (the address line `urlStrlab`, the path
// `pathlab`). Used for the Name and UDID columns of the bookmark table and for
// the duplicate and dead-link rows. Rows have one fixed height per table, so
// views never measure rows one by one.
#include <QStyledItemDelegate>

namespace linvara {

class RowCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit RowCellDelegate(int rowHeight, QObject* parent = nullptr);
  int rowHeight() const { return rowHeight_; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

  // Where the check box of a cell is drawn.
  static QRect CheckBoxRect(const QRect& cell);

 private:
  int rowHeight_;
};

}  // namespace linvara
