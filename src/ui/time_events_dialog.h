// TForm4 "Настройка событий по времени": the trigger times of the events the
// device's clock raises, one root per event and one child per time. Every
// change goes straight into the configuration's time-event list.
#pragma once

#include <QDialog>
#include <functional>

#include "model/configuration.h"

class QComboBox;
class QMenu;
class QTimeEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorsin::ui {

class TimeEventsDialog : public QDialog {
  Q_OBJECT
 public:
  // testOptionsChanged runs after every change that may open or close the
  // general page's CheckBox9 and CheckBox10.
  TimeEventsDialog(Workspace& ws, std::function<void()> testOptionsChanged, QWidget* parent = nullptr);

  // FillTimeEvents: the tree and the day list anew from the configuration.
  void fill();
  // Fills and shows the dialog modally (Button11).
  int run();

  // The items of TimeMenu for the selected node (the popup fills it so).
  void fillMenu();
  QMenu* menu() const { return menu_; }

  void addTime();     // AddEventTime
  void clearEvent();  // ClrTimeEvent
  void deleteTime();  // DelEventTime

 private:
  void addRoot(int event);
  void selectionChanged();
  void dayChosen(int index);
  void timeChanged();
  // The event a node stands for, or -1 for the error root and no node.
  int eventOf(const QTreeWidgetItem* node) const;
  // The time event a child node shows, or nullptr.
  TimeEvent* timeOf(const QTreeWidgetItem* node);
  void showNodeText(QTreeWidgetItem* node);

  Workspace& ws_;
  std::function<void()> testOptionsChanged_;
  QTreeWidget* tree_;   // EvSelect
  QComboBox* date_;     // Date
  QTimeEdit* time_;     // Time
  QMenu* menu_;         // TimeMenu
  QTreeWidgetItem* remembered_ = nullptr;  // the node Time writes to
};

}  // namespace vorsin::ui
