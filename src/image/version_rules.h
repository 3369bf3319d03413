// Whether this tool may program or read a device with the given versions.
#pragma once

#include <cstdint>

#include "model/messenger.h"

namespace vorsin::image {

enum class Operation { Program, Read };
// Shows the refusal and returns false when the versions do not allow the operation.
bool VersionsAllow(Operation operation, uint8_t formatVersion, uint8_t firmwareVersion, Messenger& messenger);

}  // namespace vorsin::image
