// Everything programming writes, built from the configuration without a
// device: the staged blocks in write order and the updated address table.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "image/descriptions.h"
#include "image/staging.h"
#include "link/device_commands.h"
#include "model/configuration.h"
#include "model/messenger.h"

namespace vorsin::image {

struct ImageParams {
  int vgr = 0;    // the "VGR" box of the programming page
  int vgt = 255;  // the "VGT" box
  Stamp stamp;    // date and time of programming
};

struct ImagePlan {
  std::vector<StagedBlock> blocks;  // in write order: data by address, then table, then flag 0
  size_t total = 0;                 // bytes counted for the progress bar
  AddressTable table;               // the device's table with chained entries and entry 40 set
  bool withDescriptions = false;
};

// Builds the plan for a configuration as the image holds it (see
// PrepareForImage). Tells the user when the descriptions cannot be packed.
ImagePlan BuildImage(const Configuration& config, std::span<const CodeDefinition> codeDefinitions,
                     const AddressTable& deviceTable, const ImageParams& params, Messenger& messenger);

// Whether every block of the plan lies inside the device's memory and no
// block would overwrite another.
bool PlanFitsMemory(const ImagePlan& plan);

}  // namespace vorsin::image
