// Uploading firmware from the shell, as the loader window does: the port
// opens at the loader's 57600 baud unless --speed says otherwise.
#include <cstdlib>
#include <iostream>

#include "app/cli/cli.h"
#include "link/com_port.h"
#include "model/cp1251.h"
#include "tools/firmware_upload.h"

namespace vorsin::cli {
namespace {

int RunFlash(const Args& args) {
  const auto name = args.Option("port");
  if (!name || name->empty()) return UsageError(args, "--port needs a port name");
  ComPort port;
  port.portName = *name;
  // "Com3" as the window lists it means the third numbered port.
  if (name->size() == 4 && (name->rfind("Com", 0) == 0 || name->rfind("COM", 0) == 0) && (*name)[3] >= '1' &&
      (*name)[3] <= '0' + kNumberedPorts)
    port.portName = PortNameForIndex((*name)[3] - '1');
  if (const auto speed = args.Option("speed")) {
    char* end = nullptr;
    const long v = std::strtol(speed->c_str(), &end, 10);
    if (speed->empty() || *end != '\0' || v <= 0 || v > 4000000) {
      std::cerr << "vorsin-cli: bad --speed " << *speed << "\n";
      return 2;
    }
    port.speed = static_cast<int>(v);
  } else {
    port.LoaderShown = true;  // 57600
  }
  StderrMessenger messenger(false);
  StderrProgress progress;
  const std::string& path = args.positional[0];
#ifdef _WIN32
  const std::string shown = path;  // the ANSI code page already
#else
  const std::string shown = Cp(path);
#endif
  return UploadFirmware(port, path, shown, messenger, progress) == kUploaded ? 0 : 1;
}

const bool kFlash = Register({.name = "flash",
                              .options = {RequiredValue("port", "P"), OptionalValue("speed", "B")},
                              .files = {"FILE.hwr"},
                              .summary = "upload firmware to the device's loader (57600 baud unless --speed)",
                              .run = RunFlash});

}  // namespace
}  // namespace vorsin::cli
