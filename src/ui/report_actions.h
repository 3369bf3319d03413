// The "Файл" menu's items for what an installer takes away: the differences
// from a project file or from the device, the printed report and the report
// saved as an HTML file.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "project/report.h"

class QAction;
class QMenu;
class QPrinter;
class QWidget;

namespace vorsin::ui {

class CompareDialog;
class WindowServices;

class ReportActions : public QObject {
  Q_OBJECT
 public:
  // Sets the printer up, usually by asking the user; false when cancelled.
  // Tests print to a PDF file without a dialog through this seam.
  using PrintDialog = std::function<bool(QWidget* parent, QPrinter& printer)>;

  // Adds "Сравнить с файлом...", "Сравнить с устройством", "Печать...",
  // "Сохранить отчёт..." and the switch for passwords in the report to menu.
  ReportActions(WindowServices& window, QMenu* menu);
  void setPrintDialog(PrintDialog dialog) { printDialog_ = std::move(dialog); }
  CompareDialog* compareDialog();

  void compareWithFile();
  void compareWithDevice();
  void print();
  void saveReport();

 private:
  ReportOptions reportOptions() const;
  std::string reportHtml() const;

  WindowServices& window_;
  PrintDialog printDialog_;
  QAction* secrets_ = nullptr;
  CompareDialog* dialog_ = nullptr;
};

}  // namespace vorsin::ui
