#include "ui/RowCellDelegate.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "app/TableRows.h"
#include "ui/TableModels.h"

namespace linvara {
namespace {
constexpr int kPad = 6;
constexpr int kIcon = 24;
constexpr int kCheck = 16;
}  // namespace

RowCellDelegate::RowCellDelegate(int rowHeight, QObject* parent) : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

QRect RowCellDelegate::CheckBoxRect(const QRect& cell) {
  return QRect(cell.left() + kPad, cell.top() + (cell.height() - kCheck) / 2, kCheck, kCheck);
}

QSize RowCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize s = QStyledItemDelegate::sizeHint(option, index);
  return QSize(std::max(s.width(), 120), rowHeight_);
}

void RowCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();

  // Background and selection only; the content is drawn below.
  opt.text.clear();
  opt.icon = QIcon();
  opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
  opt.features &= ~QStyleOptionViewItem::HasDecoration;
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

  painter->save();
  QRect area = option.rect.adjusted(kPad, 0, -kPad, 0);

  const QVariant check = index.data(Qt::CheckStateRole);
  if (check.isValid()) {
    QStyleOptionButton box;
    box.rect = CheckBoxRect(option.rect);
    box.state = QStyle::State_Enabled | (check.toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
    style->drawControl(QStyle::CE_CheckBox, &box, painter, widget);
    area.setLeft(box.rect.right() + kPad);
  }

  const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
  if (!icon.isNull()) {
    QRect iconRect(area.left(), option.rect.top() + (option.rect.height() - kIcon) / 2, kIcon, kIcon);
    icon.paint(painter, iconRect);
    area.setLeft(iconRect.right() + kPad);
  }

  const bool selected = option.state & QStyle::State_Selected;
  const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
  QColor textColor = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
  const QVariant foreground = index.data(Qt::ForegroundRole);
  if (!selected && foreground.canConvert<QBrush>()) textColor = qvariant_cast<QBrush>(foreground).color();
  const QColor detailColor =
      selected ? textColor : QColor(CellStyle::kRed, CellStyle::kGreen, CellStyle::kBlue).darker(135);

  const QString title = index.data(Qt::DisplayRole).toString();
  QStringList details;
  for (int role : {rowrole::kSecondLine, rowrole::kThirdLine}) {
    const QString line = index.data(role).toString();
    if (!line.isEmpty()) details << line;
  }

  QFont titleFont = opt.font;  // the row's own font when the model gives one
  QFont detailFont = opt.font;
  detailFont.setPointSizeF(std::max(7.0, opt.font.pointSizeF() - 1.0));
  const QFontMetrics titleMetrics(titleFont);
  const QFontMetrics detailMetrics(detailFont);
  const int blockHeight =
      titleMetrics.height() + static_cast<int>(details.size()) * (detailMetrics.height() + 1);
  int y = option.rect.top() + (option.rect.height() - blockHeight) / 2;

  painter->setFont(titleFont);
  painter->setPen(textColor);
  painter->drawText(QRect(area.left(), y, area.width(), titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                    titleMetrics.elidedText(title, Qt::ElideRight, area.width()));
  y += titleMetrics.height() + 1;
  painter->setFont(detailFont);
  painter->setPen(detailColor);
  for (const QString& line : details) {
    painter->drawText(QRect(area.left(), y, area.width(), detailMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                      detailMetrics.elidedText(line, Qt::ElideMiddle, area.width()));
    y += detailMetrics.height() + 1;
  }
  painter->restore();
}

bool RowCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) {
  if (!(index.flags() & Qt::ItemIsUserCheckable)) return false;
  const QVariant check = index.data(Qt::CheckStateRole);
  if (!check.isValid()) return false;
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !CheckBoxRect(option.rect).contains(mouse->position().toPoint()))
      return false;
  } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    // Swallow presses on the box so they do not also change the selection.
    return mouse->button() == Qt::LeftButton && CheckBoxRect(option.rect).contains(mouse->position().toPoint());
  } else if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Space && key->key() != Qt::Key_Select) return false;
  } else {
    return false;
  }
  const int next = check.toInt() == Qt::Checked ? Qt::Unchecked : Qt::Checked;
  return model->setData(index, next, Qt::CheckStateRole);
}

}  // namespace linvara
