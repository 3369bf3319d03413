// Device commands from the shell: restarting the device and making it leave
// programming mode, as the programming page's buttons do.
#include <cstdlib>
#include <iostream>

#include "app/cli/cli.h"
#include "app/cli/dial.h"
#include "link/com_port.h"
#include "link/device_commands.h"

namespace vorsin::cli {
namespace {

int RunRestart(const Args& args) {
  ComPort port;
  if (!PortOption(args, port)) return 2;
  std::string password;
  if (!PasswordOption(args, password)) return 2;
  std::optional<DialOptions> dial;
  if (!DialOption(args, dial)) return 2;
  StderrMessenger messenger(false);
  return OverCall(port, dial, messenger, 1, [&] { return RestartDevice(port, messenger, password) == 0 ? 0 : 1; });
}

int RunLeave(const Args& args) {
  ComPort port;
  if (!PortOption(args, port)) return 2;
  std::optional<DialOptions> dial;
  if (!DialOption(args, dial)) return 2;
  StderrMessenger messenger(false);
  return OverCall(port, dial, messenger, 1, [&] { return LeaveProgramming(port, messenger) == 0 ? 0 : 1; });
}

const bool kRestart = Register({.name = "restart",
                                .options = WithDial({RequiredValue("port", "P"), OptionalValue("speed", "B"),
                                                     OptionalValue("password", "D")}),
                                .summary = "restart the device",
                                .run = RunRestart});
const bool kLeave = Register({.name = "leave",
                              .options = WithDial({RequiredValue("port", "P"), OptionalValue("speed", "B")}),
                              .summary = "make the device leave programming mode",
                              .run = RunLeave});

}  // namespace
}  // namespace vorsin::cli
