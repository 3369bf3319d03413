#include "image/event_table.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/events.h"
#include "model/loops.h"
#include "model/vocabulary.h"

namespace vorsin::image {
namespace {

uint8_t Low(int64_t v) { return static_cast<uint8_t>(v & 0xFF); }

}  // namespace

std::array<uint8_t, kEventRecordSize> EncodeEventRecord(const EventEntry& e) {
  const int64_t c = e.w[2], p = e.w[3], z = e.w[4];
  std::array<uint8_t, kEventRecordSize> r{};
  r[0] = Low(e.w[1]);
  r[1] = Low((c / 100) * 16 + (c / 10) % 10);
  r[2] = Low((c % 10) * 16 + (p & 0xFF) / 16);
  r[3] = Low((p % 16) * 16 + (z / 256) % 16);
  r[4] = Low(z % 256);
  r[5] = Low(int64_t{e.w[7]} * 16 + e.w[8] % 16);
  r[6] = e.w[5] == 0 ? 0 : Low(int64_t{e.w[5]} + kSmsIdOffset);
  r[7] = Low(e.w[9]);
  r[8] = e.w[6] == 0 ? 0 : Low(int64_t{e.w[6]} + kSmsIdOffset);
  return r;
}

EventEntry DecodeEventRecord(std::span<const uint8_t, kEventRecordSize> r) {
  EventEntry e;
  e.w[1] = r[0];
  e.w[2] = (r[1] >> 4) * 100 + (r[1] & 0x0F) * 10 + (r[2] >> 4);
  e.w[3] = (r[2] & 0x0F) * 16 + (r[3] >> 4);
  e.w[4] = (r[3] & 0x0F) * 256 + r[4];
  e.w[5] = r[6] == 0 ? 0 : r[6] - kSmsIdOffset;
  e.w[6] = r[8] == 0 ? 0 : r[8] - kSmsIdOffset;
  e.w[7] = r[5] >> 4;
  e.w[8] = r[5] & 0x0F;
  e.w[9] = r[7];
  return e;
}

std::vector<uint8_t> EncodeEventTable(const Configuration& config) {
  std::vector<uint8_t> out;
  out.reserve(config.events.size() * kEventRecordSize + 1);
  for (const EventEntry& e : config.events) {
    const auto r = EncodeEventRecord(e);
    out.insert(out.end(), r.begin(), r.end());
  }
  out.push_back(0xFF);
  return out;
}

bool RebuildEvents(Workspace& ws, Vocabulary& vocabulary, std::span<const uint8_t> records,
                   std::string& error) {
  const VocabularySnapshot snapshot(vocabulary);
  Configuration& c = ws.config;
  GeneralSettings& g = c.general;
  const auto record = [&](size_t s, EventEntry& out) {
    if ((s + 1) * kEventRecordSize > records.size()) {
      error = Cp("Ошибка чтения настроек: запись события ") + std::to_string(s) +
              Cp(" лежит за пределами считанных данных");
      return false;
    }
    out = DecodeEventRecord(records.subspan(s * kEventRecordSize).first<kEventRecordSize>());
    return true;
  };

  c.events.clear();
  int lowest = g.loopEventBase(0);
  for (int L = 1; L < kLoops; ++L) lowest = std::min<int>(lowest, g.loopEventBase(L));
  for (int s = 0; s < lowest; ++s) {
    EventEntry e;
    if (!record(static_cast<size_t>(s), e)) return false;
    e.text = DefEventName(vocabulary, s);
    c.events.push_back(std::move(e));
  }
  // General events the device image does not hold yet come from the
  // vocabulary, as many as it defined when the workspace was reset.
  for (int n = lowest + 1; n <= std::min(ws.definedEventCount, kMaxGeneralEvents); ++n)
    if (ReadDefEvent(ws, vocabulary, n, true) != 0) break;
  // Each block goes where the list has got to; the device's bases only say
  // where its records lie.
  std::array<size_t, kLoops> placed{};
  for (int L = 0; L < kLoops; ++L) {
    placed[L] = c.events.size();
    const int used = LoopRangeCount(c, L) - 1;
    const size_t base = g.loopEventBase(L);
    int count = 0;
    for (int v = 0; v < used; ++v, ++count) {
      EventEntry e;
      if (!record(base + static_cast<size_t>(v), e)) return false;
      e.text = Cp("Шлейф") + std::to_string(L + 1) + ": " + RangeText(c, L, v + 1, RangeWhat::Name);
      c.events.push_back(std::move(e));
    }
    for (; count < MinLoopEvents(L); ++count) {
      EventEntry e;
      e.text = Cp("Событие неопределено");  // sic
      c.events.push_back(std::move(e));
    }
  }
  // The bases follow the blocks, which may have moved behind inserted
  // general events or closed up where the device's blocks overlapped.
  for (int L = 0; L < kLoops; ++L) {
    if (placed[L] > 255) {
      error = Cp("Ошибка чтения настроек: неверное начало событий шлейфа ") + std::to_string(L + 1);
      return false;
    }
    g.loopEventBase(L) = static_cast<uint8_t>(placed[L]);
  }
  return true;
}

}  // namespace vorsin::image
