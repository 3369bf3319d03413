// Relay reaction patterns and the names of what drives a relay.
#pragma once

#include <string>

#include "model/configuration.h"
#include "model/vocabulary.h"

namespace vorsin {

void LoadRelayPatterns(Configuration& config, Vocabulary& vocabulary);
// Name of a relay source identifier; g is the number of general events.
std::string RelayEventName(int id, int g);
// The loop (0..3) that, as a fire loop, powers relay R, or -1.
int FireLoopRelay(const Configuration& config, int relay);

}  // namespace vorsin
