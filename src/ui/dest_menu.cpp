#include "ui/dest_menu.h"

#include <QMenu>
#include <QWidget>

namespace vorsin::ui {

DestMenu::DestMenu(QWidget* parent) : QObject(parent), menu_(new QMenu(parent)) {
  menu_->setObjectName("DestMenu");
}

void DestMenu::clear() {
  // Submenus are children of the menu, which clear() alone would keep.
  for (QMenu* sub : menu_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) sub->deleteLater();
  menu_->clear();
}

QAction* DestMenu::add(const QString& caption, std::function<void()> action) {
  if (caption == QStringLiteral("-")) return menu_->addSeparator();
  QAction* item = menu_->addAction(caption);
  connect(item, &QAction::triggered, item, [action = std::move(action)] {
    if (action) action();
  });
  return item;
}

QMenu* DestMenu::addSubmenu(const QString& caption) { return menu_->addMenu(caption); }

void DestMenu::attach(QWidget* control, std::function<void(const QPoint&)> fill) {
  control->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(control, &QWidget::customContextMenuRequested, this,
          [this, control, fill = std::move(fill)](const QPoint& point) {
            clear();
            fill(point);
            if (!menu_->isEmpty()) menu_->popup(control->mapToGlobal(point));
          });
}

}  // namespace vorsin::ui
