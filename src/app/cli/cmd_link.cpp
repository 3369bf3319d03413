// Device commands from the shell: restarting the device and making it leave
// programming mode, as the programming page's buttons do.
#include <cstdlib>
#include <iostream>

#include "app/cli/cli.h"
#include "link/com_port.h"
#include "link/device_commands.h"

namespace vorsin::cli {
namespace {

// --port (a device path or Com1..Com5) and --speed; false on bad values.
bool SetUpPort(const Args& args, ComPort& port) {
  const auto name = args.Option("port");
  if (!name || name->empty()) {
    UsageError(args, "--port needs a port name");
    return false;
  }
  port.portName = *name;
  // "Com3" as the window lists it means the third numbered port.
  if (name->size() == 4 && (name->rfind("Com", 0) == 0 || name->rfind("COM", 0) == 0) &&
      (*name)[3] >= '1' && (*name)[3] <= '0' + kNumberedPorts)
    port.portName = PortNameForIndex((*name)[3] - '1');
  if (const auto speed = args.Option("speed")) {
    char* end = nullptr;
    const long v = std::strtol(speed->c_str(), &end, 10);
    if (speed->empty() || *end != '\0' || v <= 0 || v > 4000000) {
      std::cerr << "vorsin-cli: bad --speed " << *speed << "\n";
      return false;
    }
    port.speed = static_cast<int>(v);
  }
  return true;
}

int RunRestart(const Args& args) {
  ComPort port;
  if (!SetUpPort(args, port)) return 2;
  std::string password;
  if (!PasswordOption(args, password)) return 2;
  StderrMessenger messenger(false);
  return RestartDevice(port, messenger, password) == 0 ? 0 : 1;
}

int RunLeave(const Args& args) {
  ComPort port;
  if (!SetUpPort(args, port)) return 2;
  StderrMessenger messenger(false);
  return LeaveProgramming(port, messenger) == 0 ? 0 : 1;
}

const bool kRestart = Register({.name = "restart",
                                .options = {RequiredValue("port", "P"), OptionalValue("speed", "B"),
                                            OptionalValue("password", "D")},
                                .summary = "restart the device",
                                .run = RunRestart});
const bool kLeave = Register({.name = "leave",
                              .options = {RequiredValue("port", "P"), OptionalValue("speed", "B")},
                              .summary = "make the device leave programming mode",
                              .run = RunLeave});

}  // namespace
}  // namespace vorsin::cli
