#include "ui/grid_lines.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vorsin::ui {
namespace {

class GridLineDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }
};

}  // namespace

void ShowGridLines(QAbstractItemView* view) { view->setItemDelegate(new GridLineDelegate(view)); }

}  // namespace vorsin::ui
