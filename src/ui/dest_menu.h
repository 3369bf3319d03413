// The window's one context menu. Each control's context handler empties it
// and fills it with the items that fit what lies under the mouse.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace vorsin::ui {

class DestMenu : public QObject {
  Q_OBJECT
 public:
  explicit DestMenu(QWidget* parent);

  void clear();
  // A caption of "-" makes a separator.
  QAction* add(const QString& caption, std::function<void()> action);
  QMenu* addSubmenu(const QString& caption);
  QMenu* menu() const { return menu_; }

  // Gives the control a context handler: fill(point) runs on an emptied
  // menu (point in the control's coordinates); a non-empty menu then opens.
  void attach(QWidget* control, std::function<void(const QPoint&)> fill);

 private:
  QMenu* menu_;
};

}  // namespace vorsin::ui
