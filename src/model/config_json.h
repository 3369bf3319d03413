// The configuration and the values kept beside it as JSON, for inspection
// from the command line. Texts are converted to UTF-8; fields keep the order
// of the records.
#pragma once

#include <nlohmann/json.hpp>

#include "model/configuration.h"

namespace vorsin {

nlohmann::ordered_json ToJson(const Configuration& config);
// The configuration plus the profiles, code definitions, remote entry names
// and counts of the workspace.
nlohmann::ordered_json ToJson(const Workspace& ws);

}  // namespace vorsin
