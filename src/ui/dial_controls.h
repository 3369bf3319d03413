// "Телефон" (Edit23), "Connect" and "Disconnect" on the terminal's row:
// Connect switches the terminal on when it is off, has the modem dial the
// number and waits for its answer under the note "Вызов…", which can be
// cancelled; once "CONNECT" has come, "Загрузить" and "Считать" run over the
// call. Disconnect hangs up. The number is remembered with the page's other
// settings. What the modem says shows in the memo as it comes.
#pragma once

#include <QObject>

class QLineEdit;
class QPushButton;

namespace vorsin::ui {

class TerminalPanel;
class WindowServices;

class DialControls final : public QObject {
  Q_OBJECT
 public:
  DialControls(WindowServices& window, TerminalPanel& panel, QLineEdit* phone, QPushButton* connectButton,
               QPushButton* disconnectButton);

  void connectCall();     // "Connect"
  void disconnectCall();  // "Disconnect"

 private:
  WindowServices& window_;
  TerminalPanel& panel_;
  QLineEdit* phone_;
};

}  // namespace vorsin::ui
