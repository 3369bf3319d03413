// TForm7 "Sms": the editor of the SMS substrings, the SMS header and the
// SMS strings, with live previews and length counters. Non-modal; created
// at start and only shown and hidden. The edited template (group, index)
// is kept between openings.
#pragma once

#include <QDialog>

#include "sms/sms_editor_model.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vorsin::ui {

class WindowServices;

class SmsEditor : public QDialog {
  Q_OBJECT
 public:
  explicit SmsEditor(WindowServices& window, QWidget* parent = nullptr);

  // Rebuilds the list from the model and reselects the edited template;
  // a template that no longer exists leaves nothing selected.
  void refresh();
  // "Редактор Sms сообщений": rebuilt, then shown on the last template.
  void showEditor();
  // Opens on template index of group (kSmsStrings with an event's SMS
  // number); an index beyond the list selects nothing.
  void openOn(int group, int index);
  SmsSelection selection() const { return selection_; }

 signals:
  // Strings were added or deleted, or the editor closed: lists showing the
  // SMS strings fill themselves anew.
  void templatesChanged();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void buildControls();
  // Rebuilds the list and selects row (-1: none).
  void fillList(int row);
  void rowSelected();
  void showSelected();
  void textEdited(const QString& text);
  void addTemplate(int group);
  void deleteTemplate();
  void showPreview(const SmsPreview& preview);

  WindowServices& window_;
  SmsSelection selection_;
  QTreeWidget* list_ = nullptr;    // Sms
  QLineEdit* text_ = nullptr;      // Edit1
  QLineEdit* newEvent_ = nullptr;  // Edit2
  QLineEdit* restore_ = nullptr;   // Edit3
  QLabel* newCounter_ = nullptr;   // Label1
  QLabel* restoreCounter_ = nullptr;  // Label2
  QLabel* lengthWarning_ = nullptr;   // beside the counters while the template is too long
  QPushButton* delete_ = nullptr;  // Button2
};

}  // namespace vorsin::ui
