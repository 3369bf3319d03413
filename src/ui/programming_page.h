// The page "Программирование": engineer password, port and speed, the
// buttons that program, read, restart and release the device, the progress
// bar, and the remote-programming group's VGR and VGT values.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "link/port_list.h"
#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vorsin::ui {

class PortBox;
class WindowServices;

class ProgrammingPage : public QWidget, public Page {
  Q_OBJECT
 public:
  explicit ProgrammingPage(WindowServices& window, QWidget* parent = nullptr);

  void refresh() override {}

  // The port and speed the next device operation uses.
  std::string portName() const;
  int speed() const;
  std::string password() const;
  // VGR and VGT as typed, -1 when the text is not a number; programming
  // refuses anything outside 0..255.
  int vgr() const;
  int vgt() const;
  void setVgr(uint8_t value);
  void setVgt(uint8_t value);
  // Lists the ports and selects item selected.
  void fillPorts(const std::vector<PortChoice>& choices, int selected);
  QGroupBox* remoteGroup() const { return remote_; }

  void programDevice();   // "Загрузить"
  void readDevice();      // "Считать"
  void restartDevice();   // "Перезапуск"
  void leaveProgramming();  // "Выход из программ."

 private:
  void buildControls();
  void usePortSettings();

  WindowServices& window_;
  QLineEdit* password_ = nullptr;  // Edit10
  PortBox* ports_ = nullptr;       // ComboBox22
  QComboBox* speeds_ = nullptr;    // ComboBox24
  QProgressBar* bar_ = nullptr;    // pBar
  QCheckBox* verify_ = nullptr;    // VerifyCheck, remembered in the user's settings
  QLineEdit* vgr_ = nullptr;       // Edit21
  QLineEdit* vgt_ = nullptr;       // Edit24
  QGroupBox* remote_ = nullptr;
};

}  // namespace vorsin::ui
