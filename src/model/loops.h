// Level tables of the loops and the loop blocks of the event table.
#pragma once

#include <string>

#include "model/configuration.h"
#include "model/vocabulary.h"

namespace vorsin {

// Rebuilds intervals and intervalDescriptions: entry 0, then the vocabulary's tables.
void LoadIntervals(Configuration& config, Vocabulary& vocabulary);

enum class RangeWhat { Name, Event };
// Name or event text of range k of loop L's table, from the block of the loop's kind.
std::string RangeText(const Configuration& config, int loop, int k, RangeWhat what);
// Which description block serves loop L now (fire, control input or guard).
DescriptionBlock LoopBlockKind(uint8_t loopFlags);

// Minimum size of a loop's event block (2 for loops 0 and 1, 3 for loops 2 and 3).
int MinLoopEvents(int loop);
// Number of ranges of loop L's current table (1 when the index is out of range).
int LoopRangeCount(const Configuration& config, int loop);

// Empties loop L's relay lists and rewrites its event block from its table.
void FillLoopEvents(Workspace& ws, int loop);
// Shrinks loop L's block, sized for table i, to its minimum; marks events and reports stale.
void TrimLoopEvents(Workspace& ws, int loop, int intervalIndex);
// Grows loop L's block to max(c - 1, m) entries for its current table.
void GrowLoopEvents(Workspace& ws, int loop);

enum class LatchWhich { Latch, Rearm };
std::string FormatLatch(uint8_t b, LatchWhich which);
// Stores the parsed value into b and returns the text to show.
std::string ParseLatch(const std::string& text, LatchWhich which, uint8_t& b);

}  // namespace vorsin
