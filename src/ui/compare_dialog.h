// The list of differences from "Сравнить с файлом..." and "Сравнить с
// устройством": read-only text the user can select and copy, one difference
// a line, the current configuration on the left of each "→". It shows a
// snapshot: later edits do not change it until the next comparison.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace vorsin::ui {

class CompareDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CompareDialog(QWidget* parent = nullptr);
  // lines are UTF-8 as DiffConfigurations gives them; none means equal.
  void showDifferences(const QString& title, const QString& sides, const std::vector<std::string>& lines);
  QString text() const;

 private:
  QLabel* sides_;
  QPlainTextEdit* list_;
};

}  // namespace vorsin::ui
