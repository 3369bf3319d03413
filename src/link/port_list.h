// The choices of the port box: the five numbered ports, then the other ports
// present now (Windows: the COM ports the system knows, a USB adapter's COM7
// or COM12; Linux: the USB serial adapters).
#pragma once

#include <string>
#include <vector>

namespace vorsin {

struct PortChoice {
  std::string label;  // what the box shows: "Com1".."Com5", or the device path
  std::string name;   // what OpenComPort opens
};

constexpr int kNumberedPorts = 5;

// Device name of the numbered item 0..4: "COM1".."COM5" on Windows,
// /dev/ttyS0../dev/ttyS4 elsewhere.
std::string PortNameForIndex(int index);

// The five numbered items, then (Windows) the other COM ports, or (Linux)
// /dev/ttyUSB* and /dev/ttyACM* in name order.
std::vector<PortChoice> ListPorts();

// Of the names the system gives ("COM7", "COM12", "\\.\COM3", "CNCA0"), the
// COM ports beyond the five numbered ones, once each, in number order.
std::vector<std::string> OtherComPorts(const std::vector<std::string>& systemNames);

}  // namespace vorsin
