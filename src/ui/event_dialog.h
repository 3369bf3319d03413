// TForm2 "Параметры события": the non-modal dialog that edits one event of
// the table (restore, code, partition, zone, voice and SMS messages,
// addressees). Every change goes straight into the event and is announced
// with eventEdited so the list can show it.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "model/configuration.h"
#include "model/event_rules.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vorsin::ui {

class EventDialog : public QDialog {
  Q_OBJECT
 public:
  explicit EventDialog(Workspace& ws, QWidget* parent = nullptr);

  // Fills the controls for event e without storing anything; the dialog
  // then edits e until it is closed or shown another event.
  void showEventParams(int e);
  // The event on show, -1 while the dialog is closed.
  int editedEvent() const { return edited_; }
  // Shows the dialog (not modal, above the main window), centred on the screen.
  void openOn(int e);
  // Hides the dialog and forgets its event.
  void closeDialog();

  // The SMS strings editor, once it exists: the two buttons open it on the
  // SMS string group with the event's SMS number selected.
  void setOpenSmsEditor(std::function<void(int group, int index)> open);

 public slots:
  // The SMS strings changed: list them anew, keeping the event on show.
  void refillSmsLists();

 signals:
  void eventEdited(int e);

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void buildControls();
  // The event on show, looked up afresh: nullptr when there is none.
  EventEntry* current();
  void fillSmsLists();
  void storeField(EventField field, int32_t value);
  void addresseeChecked(QListWidgetItem* item);
  void openSmsEditor(EventField field);

  Workspace& ws_;
  int edited_ = -1;
  std::function<void(int, int)> openSmsEditor_;

  QComboBox* restore_ = nullptr;        // ComboBox1
  QLineEdit* code_ = nullptr;           // MaskEdit4
  QLineEdit* partition_ = nullptr;      // MaskEdit1
  QLineEdit* zone_ = nullptr;           // MaskEdit2
  QComboBox* voiceNew_ = nullptr;       // ComboBox4
  QComboBox* voiceRestore_ = nullptr;   // ComboBox3
  QComboBox* smsNew_ = nullptr;         // ComboBox5
  QComboBox* smsRestore_ = nullptr;     // ComboBox6
  QListWidget* addressees_ = nullptr;   // evDestList
  QPushButton* editSmsNew_ = nullptr;      // Button1
  QPushButton* editSmsRestore_ = nullptr;  // Button2
};

}  // namespace vorsin::ui
