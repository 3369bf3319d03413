// The choices of the port box: the link's ports (Com1..Com5 and the USB
// serial adapters present now), then any device simulator that was started
// with a link under /tmp (pkd-sim --link /tmp/pkd-sim...), so that a demo or
// a bench setup can be picked like a port.
#pragma once

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

}  // namespace vorsin::ui
