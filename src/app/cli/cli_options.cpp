// Option checks shared by the device commands.
#include <cstdlib>
#include <iostream>

#include "app/cli/cli.h"
#include "link/com_port.h"
#include "link/device_commands.h"
#include "link/port_list.h"

namespace vorsin::cli {

bool PortOption(const Args& args, ComPort& port) {
  const auto name = args.Option("port");
  if (!name || name->empty()) {
    UsageError(args, "--port needs a port name");
    return false;
  }
  port.portName = *name;
  // "Com3" as the window lists it means the third numbered port.
  if (name->size() == 4 && (name->rfind("Com", 0) == 0 || name->rfind("COM", 0) == 0) && (*name)[3] >= '1' &&
      (*name)[3] <= '0' + kNumberedPorts)
    port.portName = PortNameForIndex((*name)[3] - '1');
  if (const auto speed = args.Option("speed")) {
    char* end = nullptr;
    const long v = std::strtol(speed->c_str(), &end, 10);
    // The same speeds on every system, settled before any port is opened.
    if (speed->empty() || *end != '\0' || v <= 0 || v > kOfferedSpeeds.back() || !IsOfferedSpeed(static_cast<int>(v))) {
      std::string offered;
      for (const int s : kOfferedSpeeds) offered += (offered.empty() ? "" : ", ") + std::to_string(s);
      std::cerr << "vorsin-cli: bad --speed " << *speed << " (one of " << offered << ")\n";
      return false;
    }
    port.speed = static_cast<int>(v);
  }
  return true;
}

bool PasswordOption(const Args& args, std::string& password) {
  password = args.Option("password").value_or("");
  if (ValidPassword(password)) return true;
  std::cerr << "vorsin-cli: --password takes at most six digits\n";
  return false;
}

}  // namespace vorsin::cli
