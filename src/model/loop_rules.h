// What the loops page decides: kinds and their presets, interval table
// changes, the loop reset question, and the typed values of its boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin {

enum class LoopKind { Control, Guard, Fire };

LoopKind KindOfLoop(uint8_t loopFlags);
// ": Пожарный", ": Контрольный" or ": Охранный".
std::string LoopKindSuffix(uint8_t loopFlags);
// The title of a kind's group: "Контрольный вход (КВ)", "Охранный шлейф",
// "Пожарный шлейф".
std::string LoopKindTitle(LoopKind kind);

// The option boxes of the three groups, in page order: a bit of the loop's
// flags byte, shown in the group of its kind.
struct LoopOption {
  LoopKind kind;
  int bit;
  std::string caption;
  bool listsStale = false;  // decides whether the loop's own general event is listed
};
const std::vector<LoopOption>& LoopOptions();
bool LoopOptionSet(const GeneralSettings& general, int loop, size_t option);
// The user sets or clears option (a LoopOptions() position) of loop L; an
// option that decides which events are listed marks the event and report
// lists stale.
void SetLoopOption(Workspace& ws, int loop, size_t option, bool on);
// The relay (0 or 1) that powers a fire loop.
int LoopRelay(const GeneralSettings& general, int loop);
void SetLoopRelay(GeneralSettings& general, int loop, int relay);
// A guard loop's delay on disarming is on when its own bit (3 - L) of its
// common loops byte is set; the other bits name the loops it shares.
bool DisarmDelayOn(const GeneralSettings& general, int loop);
void SetDisarmDelay(GeneralSettings& general, int loop, bool on);
// The loops loop L shares: "Шлейф 2, 4", or "нет".
std::string CommonLoopsText(const GeneralSettings& general, int loop);

// "Шлейф 3: Пожарный", the text of the loop's node.
std::string LoopNodeText(const Configuration& config, int loop);
// Only loops 3 and 4 (2 and 3 counted from 0) can be fire loops.
bool KindAllowed(int loop, LoopKind kind);
// The table a loop of this kind starts with: control 2/5, guard 1/4, fire 3.
int KindPresetInterval(int loop, LoopKind kind);

// The lines of the loop reset question for loop L (empty without edit marks).
std::string LoopDefaultsLines(const PageMarks& marks, int loop);
// Asks before loop L is reset when it carries an edit mark. OK clears its
// marks; returns kAnswerOk to go on, kAnswerCancel to give up.
int ConfirmLoopDefaults(Workspace& ws, Messenger& messenger, int loop);

// Resets loop L to the kind's presets, table and events; the relay
// bindings of the loop are emptied. False (nothing changed) for a kind the
// loop cannot take.
bool ChangeLoopKind(Workspace& ws, int loop, LoopKind kind);
// Gives loop L the table at position index and refills its events. False
// (nothing changed) for a position that is not a table.
bool ChangeLoopInterval(Workspace& ws, int loop, int index);
// The positions the interval menu offers for loop L.
std::vector<int> OfferedIntervals(const Configuration& config, int loop);

// Reloads the tables from the vocabulary and gives every loop the table of
// its kind, keeping kinds and options. Asks first when a loop carries an edit
// mark; returns kAnswerCancel with nothing changed when the user gives up.
int LoadDefaultIntervals(Workspace& ws, Vocabulary& vocabulary, Messenger& messenger);

// Reaction time in units of 50 ms from milliseconds typed: below 1550 is
// taken (0 counts as 50), anything else keeps old.
uint8_t ParseReactionTime(const std::string& text, uint8_t old);
std::string FormatReactionTime(uint8_t units);  // "250 мс."
// Delays in seconds 1..255; 0, 256 and above or no number keep old.
uint8_t ParseDelay(const std::string& text, uint8_t old);

}  // namespace vorsin
