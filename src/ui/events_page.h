// The page "События": the event table as the list Event, its filter, and the
// dialog TForm2 that edits the event of a row. The list rebuilds when it is
// shown with EventsStale set, when the filter flips and after the lists
// are replaced ("Новый", "Открыть", reading the device).
#pragma once

#include <QWidget>

#include "ui/page.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vorsin::ui {

class EventDialog;
class WindowServices;

class EventsPage : public QWidget, public Page {
  Q_OBJECT
 public:
  explicit EventsPage(WindowServices& window, QWidget* parent = nullptr);

  // The event table was replaced: the dialog closes, the list rebuilds.
  void refresh() override;
  void shown() override;
  void left() override;

  // TForm2, created with the other windows after this page.
  void setDialog(EventDialog* dialog);
  EventDialog* dialog() const { return dialog_; }

  void fillList();     // FillEventList
  void openSelected();  // ChangeEvntParam
  void flipFilter();    // ChangeEvntFlag
  QTreeWidget* list() const { return list_; }

 private:
  void fillMenu();
  void selectionChanged();
  void showRow(int e);
  QTreeWidgetItem* rowOf(int e) const;
  int selectedEvent() const;

  WindowServices& window_;
  EventDialog* dialog_ = nullptr;
  QTreeWidget* list_ = nullptr;  // Event
};

}  // namespace vorsin::ui
