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

int32_t AllAddressees(int addressees) {
  int32_t bits = 0;
  for (int i = 0; i < addressees && i < kMaxAddressees; ++i) bits |= AddresseeBit(i);
  return bits;
}

void SetField(EventEntry& e, EventField field, int32_t value) {
  switch (field) {
    case EventField::Code: e.setCode(value); return;
    case EventField::Partition: e.setPartition(value); return;
    case EventField::Zone: e.setZone(value); return;
    case EventField::VoiceNew: e.setVoiceNew(value); return;
    case EventField::VoiceRestore: e.setVoiceRestore(value); return;
    case EventField::SmsNew: e.setSmsNew(value); return;
    case EventField::SmsRestore: e.setSmsRestore(value); return;
  }
}

// Event e for a user edit: its loop is marked; nullptr when there is no event e.
EventEntry* EditedEvent(Workspace& ws, int e) {
  if (!ValidEvent(ws.config, e)) return nullptr;
  MarkEventEdited(ws, e);
  return &ws.config.events[static_cast<size_t>(e)];
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
          PadEventNumber(e.code(), 3),
          PadEventNumber(e.partition(), 2),
          PadEventNumber(e.zone(), 3),
          YesNo(e.hasRestore()),
          YesNo(e.voiceNew() != 0 || e.voiceRestore() != 0),
          YesNo(e.smsNew() != 0 || e.smsRestore() != 0),
          YesNo(e.addresseeMask() != 0)};
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

int32_t FieldValue(const EventEntry& e, EventField field) {
  switch (field) {
    case EventField::Code: return e.code();
    case EventField::Partition: return e.partition();
    case EventField::Zone: return e.zone();
    case EventField::VoiceNew: return e.voiceNew();
    case EventField::VoiceRestore: return e.voiceRestore();
    case EventField::SmsNew: return e.smsNew();
    case EventField::SmsRestore: return e.smsRestore();
  }
  return 0;
}

bool EditEvent(Workspace& ws, int e, EventField field, int32_t value) {
  EventEntry* event = EditedEvent(ws, e);
  if (event != nullptr) SetField(*event, field, value);
  return event != nullptr;
}

int RestoreItem(const EventEntry& e) { return e.hasRestore() ? 0 : 1; }

bool EditEventRestore(Workspace& ws, int e, int item) {
  EventEntry* event = EditedEvent(ws, e);
  if (event != nullptr) event->setFlags(WithBits(event->flags(), EventEntry::kRestoreBit, item == 0));
  return event != nullptr;
}

bool EditEventAddressee(Workspace& ws, int e, int i, bool on) {
  if (!ValidEvent(ws.config, e) || i < 0 || i >= kMaxAddressees) return false;
  ws.marks.reportsStale = true;
  EditedEvent(ws, e)->setReportsTo(i, on);
  return true;
}

std::vector<std::string> ReportRowTexts(const EventEntry& e, int position, int addressees) {
  std::vector<std::string> texts{std::to_string(position), e.text};
  for (int i = 0; i < addressees && i < kMaxAddressees; ++i)
    texts.push_back(e.reportsTo(i) ? "+" : "");
  return texts;
}

void ToggleAddresseeColumn(Workspace& ws, std::span<const int> rows, int k) {
  if (k < 0 || k >= kMaxAddressees) return;
  auto& events = ws.config.events;
  bool any = false;
  for (const int e : rows) any = any || (ValidEvent(ws.config, e) && events[e].reportsTo(k));
  for (const int e : rows) {
    if (!ValidEvent(ws.config, e)) continue;
    events[e].setReportsTo(k, !any);
    MarkEventEdited(ws, e);
  }
  ws.marks.eventsStale = true;
}

void DoubleClickMask(Workspace& ws, int e, int column, int addressees) {
  if (!ValidEvent(ws.config, e) || column < 0) return;
  EventEntry& event = ws.config.events[e];
  if (column >= 2) {
    const int k = column - 2;
    if (k >= kMaxAddressees) return;
    event.setReportsTo(k, !event.reportsTo(k));
  } else {
    // Bits beyond the eight addressees mean nothing here and are carried.
    const int32_t mask = event.addresseeMask();
    event.setAddresseeMask((mask & ~0xFF) | ((mask & 0xFF) != 0 ? 0 : AllAddressees(addressees)));
  }
  MarkEventEdited(ws, e);
  ws.marks.eventsStale = true;
}

}  // namespace vorsin
