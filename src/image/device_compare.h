// Comparing a device with a configuration. The device holds some things
// differently from a project file (the profile index is 0, bit 5 of the
// service flags goes with bit 4, addressees without phones are left out,
// relay pattern names, SMS texts in their canonical spelling, level tables
// matched against the known ones, event names from the vocabulary), so the
// configuration is compared as a device programmed with it would give it
// back: its image is built in memory and decoded as reading decodes.
#pragma once

#include "image/device_io.h"
#include "model/configuration.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin {

struct DeviceComparison {
  Configuration device;  // what the device gave back
  Configuration own;     // the workspace's configuration as that device would give it back
};

// What reading a device with this table, firmware version, VGR and VGT
// would give after programming it with ws's configuration; heldByte is the
// general block's byte the device keeps through programming. Built and
// decoded in memory, starting from ws as reading starts from the open
// workspace. Returns 0, or 1 after telling the user why.
int ConfigurationAsReadBack(const Workspace& ws, Vocabulary& vocabulary, const ReadResult& device,
                            uint8_t heldByte, Messenger& messenger, Configuration& out);

// Reads the device like "Считать", into a copy of ws (ws is left alone and
// nothing is written to the device), and builds the other side with
// ConfigurationAsReadBack. The time of the last programming is the device's
// on both sides: it says when, not what. Returns 0, or 1 after telling the
// user why.
int ReadForComparison(const Workspace& ws, Vocabulary& vocabulary, ComPort& port, const ReadOptions& options,
                      Messenger& messenger, Progress& progress, DeviceComparison& out);

}  // namespace vorsin
