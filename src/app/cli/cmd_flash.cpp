// Uploading firmware from the shell, as the loader window does: the port
// opens at the loader's 57600 baud unless --speed says otherwise.
#include <cstdlib>
#include <iostream>

#include "app/cli/cli.h"
#include "link/com_port.h"
#include "tools/firmware_upload.h"

namespace vorsin::cli {
namespace {

int RunFlash(const Args& args) {
  ComPort port;
  if (!PortOption(args, port)) return 2;
  if (!args.Option("speed")) port.LoaderShown = true;  // 57600
  StderrMessenger messenger(false);
  StderrProgress progress;
  const FilePath path = args.File(0);
  const int result = UploadFirmware(port, path, messenger, progress);
  // The window says nothing here; a shell user still learns why nothing happened.
  if (result == kNoFirmware)
    std::cerr << "vorsin-cli: " << PathUtf8(path) << ": no firmware in the file, nothing sent\n";
  return result == kUploaded ? 0 : 1;
}

const bool kFlash = Register({.name = "flash",
                              .options = {RequiredValue("port", "P"), OptionalValue("speed", "B")},
                              .files = {"FILE.hwr"},
                              .summary = "upload firmware to the device's loader (57600 baud unless --speed)",
                              .run = RunFlash});

}  // namespace
}  // namespace vorsin::cli
