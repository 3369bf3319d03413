// The page "Отчёты": the grid EventAddres of events against addressees, a
// "+" where an addressee receives the event. A header click binds or frees
// one addressee for every listed event; a double click changes one row.
#pragma once

#include <QWidget>

#include "ui/page.h"

class QPoint;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorsin::ui {

class WindowServices;

class ReportsPage : public QWidget, public Page {
  Q_OBJECT
 public:
  explicit ReportsPage(WindowServices& window, QWidget* parent = nullptr);

  void refresh() override { fillGrid(); }
  void shown() override;

  void fillGrid();                   // FillEventAddres
  void headerClicked(int column);    // EventAddresColumnClick
  // EventAddresDblClick at a point of the grid's viewport: the row and the
  // column under the pointer.
  void doubleClickAt(const QPoint& point);
  QTreeWidget* grid() const { return grid_; }

 private:
  void fillRow(QTreeWidgetItem* item);
  int addresseeColumns() const;

  WindowServices& window_;
  QTreeWidget* grid_ = nullptr;  // EventAddres
};

}  // namespace vorsin::ui
