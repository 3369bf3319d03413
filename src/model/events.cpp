#include "model/events.h"

#include <algorithm>
#include <array>

#include "model/cp1251.h"
#include "model/loops.h"
#include "model/numbers.h"

namespace vorsin {
namespace {

const char* const kSection = "defEvent";
const char* const kEmptyEventCode = "0, 000,00,000, 0,0, 0,0, 0";

// The four blocks start 2, 2, 3, 3 entries apart when the table is seeded.
constexpr std::array<int, kLoops> kSeedOffsets{0, 2, 4, 7};

}  // namespace

int ReadDefEvent(Workspace& ws, Vocabulary& vocabulary, int n, bool insert) {
  const std::string name = vocabulary.Read(kSection, "Name" + std::to_string(n), "0");
  if (name == "0") return 1;
  EventEntry e;
  e.text = name;
  ParseEventNumbers(vocabulary.Read(kSection, "Event" + std::to_string(n), kEmptyEventCode), e);
  auto& events = ws.config.events;
  if (insert) {
    const size_t at = std::clamp<size_t>(n > 0 ? static_cast<size_t>(n - 1) : 0, 0, events.size());
    events.insert(events.begin() + static_cast<std::ptrdiff_t>(at), std::move(e));
  } else {
    events.push_back(std::move(e));
  }
  return 0;
}

void LoadEvents(Workspace& ws, Vocabulary& vocabulary) {
  Configuration& c = ws.config;
  c.events.clear();
  int general = 0;
  for (int n = 1; n <= kMaxGeneralEvents; ++n) {
    if (ReadDefEvent(ws, vocabulary, n, false) != 0) break;
    ++general;
  }
  ws.definedEventCount = general;
  EventEntry undefined;
  undefined.text = Cp("событие не определено");
  c.events.insert(c.events.end(), kUndefinedEvents, undefined);
  for (int L = 0; L < kLoops; ++L)
    c.general.loopEventBase(L) = static_cast<uint8_t>(general + kSeedOffsets[L]);
  // A loop's default table may have more ranges than the seeded block
  // holds: size the block first, so filling never spills into the next loop.
  for (int L = 0; L < kLoops; ++L) {
    GrowLoopEvents(ws, L);
    FillLoopEvents(ws, L);
  }
  ws.marks.eventsStale = true;
  ws.marks.reportsStale = true;
}

std::string DefEventName(Vocabulary& vocabulary, int n) {
  return vocabulary.Read(kSection, "Name" + std::to_string(n + 1), Cp("Событие ") + std::to_string(n));
}

int GeneralEventCount(const Configuration& config) {
  int lowest = config.general.loopEventBase(0);
  for (int i = 1; i < kLoops; ++i) lowest = std::min<int>(lowest, config.general.loopEventBase(i));
  return lowest;
}

int IsEventShown(const Workspace& ws, int e) {
  const Configuration& c = ws.config;
  if (e < 0 || e >= static_cast<int>(c.events.size())) return 0;
  const int general = GeneralEventCount(c);
  if (e < general) {
    if (e < 9 || e >= 13) return 100;
    const uint8_t flags = c.general.loopFlags(e - 9);
    return !(flags & 0x01) && (flags & 0x20) ? 100 : 0;
  }
  for (int i = 0; i < kLoops; ++i) {
    const int first = c.general.loopEventBase(i);
    const int used = LoopRangeCount(c, i) - 1;
    if (e >= first && e < first + used) return i + 1 + 256 * (e - first);
  }
  return 0;
}

void DestDeletedInEvents(Configuration& config, int k) {
  if (k < 0 || k >= kMaxAddressees) return;
  const int32_t c = (1 << (8 - k)) - 1;
  for (auto& e : config.events) {
    const int32_t m = e.addresseeMask();
    e.setAddresseeMask((m & ~c & 0xFF) | (c & static_cast<int32_t>(static_cast<uint32_t>(m) << 1)));
  }
}

void DestMovedInEvents(Configuration& config, int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= kMaxAddressees || to >= kMaxAddressees) return;
  for (auto& e : config.events) {
    std::array<bool, kMaxAddressees> f{};
    for (int i = 0; i < kMaxAddressees; ++i) f[i] = e.reportsTo(i);
    const bool moved = f[from];
    if (from < to) {
      for (int i = from; i < to; ++i) f[i] = f[i + 1];
    } else {
      for (int i = from; i > to; --i) f[i] = f[i - 1];
    }
    f[to] = moved;
    e.setAddresseeMask(e.addresseeMask() & ~0xFF);  // bits beyond the eight addressees are carried
    for (int i = 0; i < kMaxAddressees; ++i) e.setReportsTo(i, f[i]);
  }
}

}  // namespace vorsin
