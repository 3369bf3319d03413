#include "model/event_rules.h"

#include "model/cp1251.h"
#include "model/events.h"
#include "model/loops.h"

namespace vorsin {
namespace {

std::string YesNo(bool yes) { return yes ? Cp("Есть") : Cp("Нет"); }

bool ValidEvent(const Configuration& config, int e) {
  return e >= 0 && static_cast<size_t>(e) < config.events.size();
}

// Addressee i's bit of an event mask: the first addressee is the top bit of the low byte.
int32_t MaskBit(int i) { return 0x80 >> i; }

int32_t AllAddressees(int addressees) {
  int32_t bits = 0;
  for (int i = 0; i < addressees && i < kMaxAddressees; ++i) bits |= MaskBit(i);
  return bits;
}

size_t FieldWord(EventField field) {
  switch (field) {
    case EventField::Code: return ev::kCode;
    case EventField::Partition: return ev::kPartition;
    case EventField::Zone: return ev::kZone;
    case EventField::VoiceNew: return ev::kVoiceNew;
    case EventField::VoiceRestore: return ev::kVoiceRestore;
    case EventField::SmsNew: return ev::kSmsNew;
    case EventField::SmsRestore: return ev::kSmsRestore;
  }
  return ev::kCode;
}

// Stores one word of event e as a user edit does.
bool EditWord(Workspace& ws, int e, size_t word, int32_t value) {
  if (!ValidEvent(ws.config, e)) return false;
  MarkEventEdited(ws, e);
  ws.config.events[static_cast<size_t>(e)].w[word] = value;
  return true;
}

}  // namespace

int EventOwnerLoop(const Configuration& config, int e) {
  for (int i = 0; i < kLoops; ++i) {
    const int first = config.general.loopEventBase(i);
    if (e >= first && e < first + LoopRangeCount(config, i) - 1) return i;
  }
  return -1;
}

void MarkEventEdited(Workspace& ws, int e) {
  const int loop = EventOwnerLoop(ws.config, e);
  if (loop >= 0) ws.marks.loopEventsEdited[loop] = true;
}

std::vector<int> ListedEvents(const Workspace& ws) {
  std::vector<int> rows;
  const int count = static_cast<int>(ws.config.events.size());
  for (int e = 0; e < count; ++e) {
    if (!ws.eventFilterOn || IsEventShown(ws, e) != 0) rows.push_back(e);
  }
  return rows;
}

std::string PadEventNumber(int32_t value, int width) {
  const std::string digits = std::to_string(value);
  if (value >= 0 && static_cast<int>(digits.size()) < width)
    return std::string(static_cast<size_t>(width) - digits.size(), '0') + digits;
  return digits;
}

std::array<std::string, kEventColumns> EventRowTexts(const EventEntry& e, int position) {
  return {std::to_string(position),
          e.text,
          PadEventNumber(e.w[ev::kCode], 3),
          PadEventNumber(e.w[ev::kPartition], 2),
          PadEventNumber(e.w[ev::kZone], 3),
          YesNo((e.w[ev::kFlags] & ev::kRestoreBit) != 0),
          YesNo(e.w[ev::kVoiceNew] != 0 || e.w[ev::kVoiceRestore] != 0),
          YesNo(e.w[ev::kSmsNew] != 0 || e.w[ev::kSmsRestore] != 0),
          YesNo(e.w[ev::kMask] != 0)};
}

int32_t TypedEventNumber(const std::string& text) {
  int64_t value = 0;
  for (const char c : text) {
    value = value * 10 + ((c >= '0' && c <= '9') ? c - '0' : 0);
    if (value > INT32_MAX) return INT32_MAX;  // only a pasted flood gets here
  }
  return static_cast<int32_t>(value);
}

int ListIndexFor(int32_t stored, int count) { return stored >= 0 && stored < count ? stored : -1; }

int32_t FieldValue(const EventEntry& e, EventField field) { return e.w[FieldWord(field)]; }

bool EditEvent(Workspace& ws, int e, EventField field, int32_t value) {
  return EditWord(ws, e, FieldWord(field), value);
}

int RestoreItem(const EventEntry& e) { return (e.w[ev::kFlags] & ev::kRestoreBit) != 0 ? 0 : 1; }

bool EditEventRestore(Workspace& ws, int e, int item) {
  if (!ValidEvent(ws.config, e)) return false;
  const int32_t flags = ws.config.events[static_cast<size_t>(e)].w[ev::kFlags];
  return EditWord(ws, e, ev::kFlags, item == 0 ? (flags | ev::kRestoreBit) : (flags & ~ev::kRestoreBit));
}

bool HasAddressee(const EventEntry& e, int i) {
  return i >= 0 && i < kMaxAddressees && (e.w[ev::kMask] & MaskBit(i)) != 0;
}

bool EditEventAddressee(Workspace& ws, int e, int i, bool on) {
  if (!ValidEvent(ws.config, e) || i < 0 || i >= kMaxAddressees) return false;
  ws.marks.reportsStale = true;
  const int32_t mask = ws.config.events[static_cast<size_t>(e)].w[ev::kMask];
  return EditWord(ws, e, ev::kMask, on ? (mask | MaskBit(i)) : (mask & ~MaskBit(i)));
}

std::vector<std::string> ReportRowTexts(const EventEntry& e, int position, int addressees) {
  std::vector<std::string> texts{std::to_string(position), e.text};
  for (int i = 0; i < addressees && i < kMaxAddressees; ++i)
    texts.push_back(HasAddressee(e, i) ? "+" : "");
  return texts;
}

void ToggleAddresseeColumn(Workspace& ws, std::span<const int> rows, int k) {
  if (k < 0 || k >= kMaxAddressees) return;
  auto& events = ws.config.events;
  const int32_t bit = MaskBit(k);
  bool any = false;
  for (const int e : rows) any = any || (ValidEvent(ws.config, e) && (events[e].w[ev::kMask] & bit) != 0);
  for (const int e : rows) {
    if (!ValidEvent(ws.config, e)) continue;
    int32_t& mask = events[e].w[ev::kMask];
    mask = any ? (mask & ~bit) : (mask | bit);
    MarkEventEdited(ws, e);
  }
  ws.marks.eventsStale = true;
}

void DoubleClickMask(Workspace& ws, int e, int column, int addressees) {
  if (!ValidEvent(ws.config, e) || column < 0) return;
  int32_t& mask = ws.config.events[e].w[ev::kMask];
  if (column >= 2) {
    if (column - 2 >= kMaxAddressees) return;
    mask ^= MaskBit(column - 2);
  } else {
    // Bits beyond the eight addressees mean nothing here and are carried.
    mask = (mask & ~0xFF) | ((mask & 0xFF) != 0 ? 0 : AllAddressees(addressees));
  }
  MarkEventEdited(ws, e);
  ws.marks.eventsStale = true;
}

}  // namespace vorsin
