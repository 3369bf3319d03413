// T_FileDialog: asks whether an existing file is replaced or appended to.
// "Добавить" is the default button, so Enter never destroys the old file.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vorsin::ui {

class ReplaceDialog : public QDialog {
  Q_OBJECT
 public:
  enum Result { kNone = 0, kReplace = 1, kAppend = 2, kCancel = 3 };

  explicit ReplaceDialog(QWidget* parent = nullptr);
  // The caller sets the caption with setWindowTitle and the question here.
  void setQuestion(const QString& text);
  int choice() const { return choice_; }
  // Shows the dialog modally and returns the choice.
  int ask();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* label_;
  QPushButton* append_ = nullptr;  // "Добавить", the default
  int choice_ = kNone;
};

}  // namespace vorsin::ui
