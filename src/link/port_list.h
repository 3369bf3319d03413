// The choices of the port box: the five numbered ports, and on Linux also
// the USB serial adapters present now.
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

// The five numbered items, then (Linux) /dev/ttyUSB* and /dev/ttyACM* in
// name order.
std::vector<PortChoice> ListPorts();

}  // namespace vorsin
