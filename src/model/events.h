// The event table: seeding from the vocabulary, visibility and addressee masks.
#pragma once

#include "model/configuration.h"
#include "model/vocabulary.h"

namespace vorsin {

// Empties the table and seeds it: general events, ten undefined ones, the loop blocks.
void LoadEvents(Workspace& ws, Vocabulary& vocabulary);
// General event n (1-based): returns 1 when the vocabulary has none, else 0
// after appending it (or inserting it at position n - 1).
int ReadDefEvent(Workspace& ws, Vocabulary& vocabulary, int n, bool insert);
// Event name for the device reader: defEvent Name(n + 1) or "Событие n".
std::string DefEventName(Vocabulary& vocabulary, int n);
// The general events of the table in hand: the first loop block starts
// right after them (a file or a device may bring fewer than the vocabulary).
int GeneralEventCount(const Configuration& config);
// 0 = not shown, 100 = shown general event, i + 1 + 256 * offset for loop i's events.
// The position rules (0..8 always, 9..12 by loop flags, 13.. always) hold only
// below the general event count; the loop blocks decide the rest.
int IsEventShown(const Workspace& ws, int e);
void DestDeletedInEvents(Configuration& config, int k);
void DestMovedInEvents(Configuration& config, int from, int to);

}  // namespace vorsin
