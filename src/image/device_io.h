// Writing the configuration into the device ("Загрузить") and reading it back
// ("Считать"). Both run synchronously, tell the user about every failure
// through the Messenger and return 0 on success, 1 on failure.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "image/descriptions.h"
#include "image/verify.h"
#include "link/com_port.h"
#include "link/device_commands.h"
#include "model/configuration.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin {

using DeviceClock = std::function<image::Stamp()>;
// The local date and time.
image::Stamp LocalStamp();

struct ProgramOptions {
  std::string password;  // engineer password (Edit10)
  int vgr = 0;           // "VGR" (Edit21)
  int vgt = 255;         // "VGT" (Edit24)
  DeviceClock clock;     // empty: the local time
  // Read every written block back and compare ("Проверить запись"); the
  // window and vorsin-cli ask for it unless the user turns it off.
  bool verify = false;
};

// What a programming run learned besides its status.
struct ProgramResult {
  AddressTable table;       // the device's table as written
  bool accessed = false;    // access was granted
  size_t bytesWritten = 0;  // staged bytes that went out
  bool verified = false;    // the blocks were read back and compared
  image::VerifyOutcome verification;
};

// Checks the SIM codes and whether the image can hold the configuration,
// opens the port, takes access and writes every block; the address table
// and the cleared programming flag go last; a failure once the writes have
// begun also says that the device must be programmed again (its programming
// flag stays set). With verify, everything written is read back and compared
// before success is reported; a difference is an error naming where it lies. Sets deviceHeldByte and, on success,
// lastLoadTime (the window refreshes its caption).
int ProgramDevice(Workspace& ws, ComPort& port, const ProgramOptions& options, Messenger& messenger,
                  Progress& progress, ProgramResult* result = nullptr);

struct ReadOptions {
  std::string password;  // engineer password (Edit10)
};

struct ReadResult {
  bool accessed = false;    // access was granted
  bool haveVg = false;      // vgr and vgt were read (Edit21, Edit24)
  int vgr = 0;
  int vgt = 0;
  uint8_t formatVersion = 0;
  uint8_t firmwareVersion = 0;
  AddressTable table;
};

// Reads the configuration area in one pass and rebuilds the configuration
// from it; projectFileName becomes "Read". The workspace is replaced only
// when the whole read succeeds; on any failure it is left as it was. The
// window then shows the pages anew and selects the profile of profileIndex
// without loading its numbers.
int ReadDevice(Workspace& ws, Vocabulary& vocabulary, ComPort& port, const ReadOptions& options,
               Messenger& messenger, Progress& progress, ReadResult& out);

// A table whose version entry or area bounds are unset, or whose chained
// blocks all lie outside the area: the device was never programmed.
bool HoldsNoConfiguration(const AddressTable& table);

}  // namespace vorsin
