// Relay reaction patterns and the names of what drives a relay.
#pragma once

#include <string>

#include "model/configuration.h"
#include "model/vocabulary.h"

namespace vorsin {

void LoadRelayPatterns(Configuration& config, Vocabulary& vocabulary);
// Name of a relay source identifier that needs no level table: the loop and
// common events by their fixed names, a range id 0..19 as "Интервал id".
std::string RelayEventName(int id, int g);
// Name of a binding identifier in relay group `group` (0..3 a loop, 4 the
// common events): a range id is named by the loop's level table.
std::string RelayEventName(const Configuration& config, int id, int group);
// The loop (0..3) that, as a fire loop, powers relay R, or -1.
int FireLoopRelay(const Configuration& config, int relay);
// Bytes after the header of relay R's block; the header keeps only 6 bits of it.
size_t RelayBodySize(const Configuration& config, int relay);

}  // namespace vorsin
