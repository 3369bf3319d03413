// The choices of the port box: the link's ports (Com1..Com5 and the USB
// serial adapters present now), then any device simulator that was started
// with a link under /tmp (pkd-sim --link /tmp/pkd-sim...), so that a demo or
// a bench setup can be picked like a port.
#pragma once

#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

#include "link/port_list.h"

namespace vorsin::ui {

// Symlinks named pkd-sim* in the directory, in name order.
std::vector<PortChoice> SimulatorLinks(const std::string& directory);

std::vector<PortChoice> PortChoices();

// The item selected at start: the first simulator link when there is one,
// else the first numbered port.
int InitialPortChoice(const std::vector<PortChoice>& choices);

// The port box (ComboBox22). Adapters and simulators come and go while the
// window is open, so the list is made anew each time it drops down, keeping
// what the user typed. Long device paths are elided in the middle of the
// list and shown whole in the tool tips.
class PortBox : public QComboBox {
  Q_OBJECT
 public:
  explicit PortBox(QWidget* parent = nullptr);
  // Where the choices come from; PortChoices unless a test says otherwise.
  void setSource(std::function<std::vector<PortChoice>()> source) { source_ = std::move(source); }
  // Lists the choices and selects item selected.
  void fill(const std::vector<PortChoice>& choices, int selected);
  // The device the chosen item opens, or the typed text taken as a path.
  std::string portName() const;
  void showPopup() override;

 private:
  void showTip();
  std::function<std::vector<PortChoice>()> source_ = PortChoices;
};

}  // namespace vorsin::ui
