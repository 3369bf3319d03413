#include "project/event_migration.h"

#include <algorithm>

#include "model/events.h"
#include "model/vocabulary.h"

namespace vorsin {

void MigrateEvents(Workspace& ws, Vocabulary& vocabulary) {
  const VocabularySnapshot snapshot(vocabulary);
  GeneralSettings& g = ws.config.general;
  int m = g.loopEventBase(0);
  for (int L = 1; L < kLoops; ++L) m = std::min<int>(m, g.loopEventBase(L));
  while (m < ws.definedEventCount) {
    ++m;
    // The vocabulary counted this event at the reset; if it has gone since,
    // moving the blocks without inserting would misalign them.
    if (ReadDefEvent(ws, vocabulary, m, true) != 0) break;
    for (int L = 0; L < kLoops; ++L) {
      // A base is one byte; one already at the top stays there rather than
      // wrapping round to the start of the table.
      if (g.loopEventBase(L) < 255) ++g.loopEventBase(L);
    }
  }
}

}  // namespace vorsin
