// TForm6 "Загрузчик": picks a firmware file (*.hwr) and uploads it to the
// device's loader. While shown, the port opens at the loader's 57600 baud.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vorsin::ui {

class WindowServices;

class LoaderDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit LoaderDialog(WindowServices& window);

  // The chosen file, kept while the program runs.
  const QString& path() const { return path_; }
  bool uploading() const { return uploading_; }

  void chooseFile();  // "Открыть"
  void upload();      // "Запрограммировать"

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  WindowServices& window_;
  QString path_;
  bool uploading_ = false;
  QLineEdit* edit_ = nullptr;         // Edit1
  QPushButton* open_ = nullptr;       // Button1
  QPushButton* program_ = nullptr;    // Button2
  QProgressBar* bar_ = nullptr;       // ProgressBar1
  QLabel* address_ = nullptr;         // Label1
};

}  // namespace vorsin::ui
