// TForm3 "Запрос Кода": asks the user to present a touch-memory key to the
// device and polls the device until it reports the key, the link fails or
// the user presses "Отмена". The window stays locked meanwhile (menus and
// pages), while this dialog and its "Отмена" stay usable.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QProgressBar;
class QPushButton;
class QTimer;

namespace vorsin::ui {

class OperationScope;
class WindowServices;

class KeyDialog : public QDialog {
  Q_OBJECT
 public:
  explicit KeyDialog(WindowServices& window, QWidget* parent = nullptr);
  ~KeyDialog() override;

  // Opens the port and starts polling for the user of this number; does
  // nothing more when the port does not open. finished runs once the dialog
  // has closed and the port is closed again, whether a key came or not.
  void start(int userNumber, std::function<void()> finished);
  // Stops polling and closes, storing nothing.
  void cancel();
  bool polling() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void poll();
  void finish();

  WindowServices& window_;
  QProgressBar* bar_;     // PBar
  QPushButton* cancel_;   // Button1
  QTimer* timer_;         // Timer1
  std::unique_ptr<OperationScope> scope_;
  std::function<void()> finished_;
  int userNumber_ = 0;
};

}  // namespace vorsin::ui
