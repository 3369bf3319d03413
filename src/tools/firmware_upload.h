// Uploading firmware to the device's loader: the start code, each HEX line
// acknowledged by its checksum, the end record. Raw bytes on the open port,
// no frames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/com_port.h"
#include "model/file_path.h"
#include "model/messenger.h"
#include "tools/firmware_file.h"

namespace vorsin {

// UploadFirmware results; the user has been told on every one but kUploaded
// and kNoFirmware (a file whose entry list ends first says nothing).
enum UploadResult {
  kUploaded = 0,
  kFirmwareUnreadable = 1,  // the file cannot be opened
  kUploadPortFailed = 2,
  kFirmwareBroken = 3,
  kNoFirmware = 4,
  kLoaderSilent = 5,   // no answer to the start code
  kLineUnanswered = 6,
  kLineChecksumWrong = 7,
};

constexpr uint8_t kLoaderStartCode[] = {0x5A, 0x17, 0xC3, 0x08, 0x6E, 0x91, 0x24, 0xB0};
constexpr uint8_t kLoaderEndRecord[] = {0x3A, 0x00, 0x00, 0x00, 0x02, 0xFE};

struct UploadHooks {
  // Called with "0x" + address before each data line goes out.
  std::function<void(const std::string&)> address;
};

// The whole upload of the file at path: opens the port, checks and unpacks
// the file, sends it, closes the port. A broken file sends nothing.
int UploadFirmware(ComPort& port, const FilePath& path, Messenger& messenger, Progress& progress,
                   const UploadHooks& hooks = {});

// Sends checked lines over the open port: the start code, every line, the
// end record.
int SendFirmwareLines(ComPort& port, const std::vector<HexLine>& lines, Messenger& messenger, Progress& progress,
                      const UploadHooks& hooks = {});

}  // namespace vorsin
