// The terminal on the page "Программирование": "Открыть Com порт"
// (CheckBox48) holds the port open while a reader thread shows in Memo2 what
// arrives and sends what is typed there; Panel7 shows CTS; the memo's
// context menu clears and saves it and starts or stops the capture log.
#pragma once

#include <QByteArray>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "tools/terminal.h"

class QAction;
class QCheckBox;
class QFrame;

namespace vorsin::ui {

class WindowServices;

// Memo2: shows only what arrives. Typed keys go to the terminal; paste and
// drop are refused.
class TerminalMemo final : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TerminalMemo(QWidget* parent = nullptr);
  std::function<void(const QString& typed)> onKey;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool canInsertFromMimeData(const QMimeData*) const override { return false; }
  void insertFromMimeData(const QMimeData*) override {}
};

class TerminalPanel final : public QWidget {
  Q_OBJECT
 public:
  // loaderItem: the menu item "Загрузчик", disabled while the terminal holds the port.
  TerminalPanel(WindowServices& window, QAction* loaderItem, QWidget* parent = nullptr);
  ~TerminalPanel() override;

  // Before the window closes: the reader stops and the port closes, then the
  // capture ends.
  void shutDown();

  Terminal& terminal() { return terminal_; }
  // Checks "Открыть Com порт" when it is not; true when the terminal is on.
  bool switchOn();
  // Shows bytes the port brought as if the reader had (the dialler's).
  void show(const uint8_t* bytes, size_t n);

  void clearTerminal();  // "Очистить"
  void saveMemo();       // "Сохранить как..."
  void startCapture();   // "Включить запись"
  void stopCapture();    // "Остановить запись"

 signals:
  // Emitted on the reader thread, delivered queued on the window thread.
  void bytesArrived(QByteArray bytes);
  void ctsArrived(bool on);

 private:
  void switchTerminal(bool on);  // CheckBox48Click
  void keyTyped(const QString& text);  // Memo2KeyPress
  void showBytes(const QByteArray& bytes);
  void showCts(bool on);
  void setCtsColour(bool on);
  void fillMenu();
  QString captureDir() const;

  WindowServices& window_;
  QPointer<QAction> loaderItem_;
  Terminal terminal_;
  QCheckBox* open_ = nullptr;    // CheckBox48
  QFrame* cts_ = nullptr;        // Panel7
  TerminalMemo* memo_ = nullptr;  // Memo2
};

}  // namespace vorsin::ui
