// Aligning the event table of a file saved with an older, shorter event
// vocabulary with the current one.
#pragma once

#include "model/configuration.h"
#include "model/vocabulary.h"

namespace vorsin {

// While the lowest loopEventBase lies below the number of general events the
// vocabulary defines, inserts the next vocabulary event in front of the loop
// blocks and moves every loop's block up by one.
void MigrateEvents(Workspace& ws, Vocabulary& vocabulary);

}  // namespace vorsin
