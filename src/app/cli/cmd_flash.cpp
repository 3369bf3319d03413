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

const char kUsage[] = "usage: vorsin-cli flash --port P [--speed B] FILE.hwr\n";

int RunFlash(const Args& args) {
  const auto name = args.Option("port");
  if (!name || name->empty() || args.positional.size() != 1) {
    std::cerr << kUsage;
    return 2;
  }
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
  const int result = UploadFirmware(port, path, shown, messenger, progress);
  // The window says nothing here; a shell user still learns why nothing happened.
  if (result == kNoFirmware) std::cerr << "vorsin-cli: " << path << ": no firmware in the file, nothing sent\n";
  return result == kUploaded ? 0 : 1;
}

const bool kFlash = Register({"flash", "flash --port P [--speed B] FILE.hwr    upload firmware to the device's loader",
                              RunFlash,
                              {"port", "speed"}});

}  // namespace
}  // namespace vorsin::cli
