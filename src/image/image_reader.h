// Rebuilding the configuration from the configuration area read from a
// device, without the device: what reading does once the bytes are in.
#pragma once

#include <cstdint>
#include <span>

#include "link/device_commands.h"
#include "model/configuration.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin::image {

struct DecodeResult {
  bool haveVg = false;  // the general block was decoded
  int vgr = 0;
  int vgt = 0;
};

// The size of the configuration area the table describes, or -1 with a
// message when it is negative or larger than the memory.
long AreaSize(const AddressTable& table, Messenger& messenger);

// Clears what the device holds and decodes every block of area (the bytes
// from entry 1 to entry 40) in the device's order. Returns 0, or 1 after
// telling the user why; the configuration is then half-built and the caller
// resets it.
int DecodeConfigurationArea(Workspace& ws, Vocabulary& vocabulary, const AddressTable& table,
                            uint8_t firmwareVersion, std::span<const uint8_t> area,
                            Messenger& messenger, DecodeResult& result);

}  // namespace vorsin::image
