// What the events and reports pages decide, free of widgets: the texts of an
// event row, the loop an event belongs to, the rows the lists show, the
// typed event numbers and the addressee-mask operations of the reports grid.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin {

// The device keeps a voice message number in 4 bits: "нет", then 1..15.
constexpr int kVoiceMessages = 15;

// Loop (0..3) whose used block entries hold event e, or -1 for a general
// event and for the placeholders of a block.
int EventOwnerLoop(const Configuration& config, int e);
// A user edit of event e counts against its loop: the next kind or table
// change of that loop asks before resetting the loop's events.
void MarkEventEdited(Workspace& ws, int e);

// Event positions the events and reports lists show, in order.
std::vector<int> ListedEvents(const Workspace& ws);

// Code and zone pad to 3 digits, partition to 2: 5 -> "005", 7 -> "07".
std::string PadEventNumber(int32_t value, int width);

enum EventColumn {
  kColNumber,
  kColName,
  kColCode,
  kColPartition,
  kColZone,
  kColRestore,
  kColVoice,
  kColSms,
  kColBinding,
  kEventColumns
};
// The texts of the events list's row for event entry e at position.
std::array<std::string, kEventColumns> EventRowTexts(const EventEntry& e, int position);

// A code, partition or zone as typed: every character that is not a digit
// counts as "0" ("1 3" is 103). Empty text is 0.
int32_t TypedEventNumber(const std::string& text);

// The item a list of count entries shows for a stored number: the number
// itself when it is one of them, else -1 (no item; the value is kept).
int ListIndexFor(int32_t stored, int count);

// The numbers and lists of the event dialog, one word of the entry each.
enum class EventField { Code, Partition, Zone, VoiceNew, VoiceRestore, SmsNew, SmsRestore };
int32_t FieldValue(const EventEntry& e, EventField field);
// A user edit of event e stores the value and counts against e's loop
// (MarkEventEdited). False, storing nothing, when there is no event e.
bool EditEvent(Workspace& ws, int e, EventField field, int32_t value);
// The restore box: item 0 "Есть" (the restore bit set), item 1 "Нет".
int RestoreItem(const EventEntry& e);
bool EditEventRestore(Workspace& ws, int e, int item);
// Checking addressee i (0..7, EventEntry::reportsTo) in the dialog also
// leaves the reports grid stale. Other bits of the mask stay.
bool EditEventAddressee(Workspace& ws, int e, int i, bool on);

// The reports grid: "N", the name, then "+" or "" per addressee.
std::vector<std::string> ReportRowTexts(const EventEntry& e, int position, int addressees);

// Header click on addressee k: clears bit k in every listed event when any
// of them has it, else sets it in all. Other events and bits stay.
void ToggleAddresseeColumn(Workspace& ws, std::span<const int> rows, int k);
// Double click on column c of event e's row: an addressee column flips its
// bit; "N" or "Событие" empties a bound row or binds all addressees.
void DoubleClickMask(Workspace& ws, int e, int column, int addressees);

}  // namespace vorsin
