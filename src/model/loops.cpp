#include "model/loops.h"

#include <algorithm>
#include <cstdint>

#include "model/cp1251.h"
#include "model/numbers.h"

namespace vorsin {
namespace {

const char* const kDefaultRangeCode = "0, 000,00,000, 16,16, 0,0, 0";
const char* const kEmptyEventCode = "0, 000,00,000, 0,0, 0,0, 0";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// An unsigned decimal at pos (leading blanks skipped), or fallback when
// there is none.
int32_t ReadLevel(const std::string& text, size_t& pos, int32_t fallback) {
  const auto value = ReadDecimal(text, pos, INT32_MAX);
  return value ? static_cast<int32_t>(*value) : fallback;
}

// "low, high": a number that cannot be read counts as 255.
void ParseLevels(const std::string& text, int32_t& low, int32_t& high) {
  size_t pos = 0;
  low = ReadLevel(text, pos, 255);
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos < text.size() && text[pos] == ',') {
    ++pos;
    high = ReadLevel(text, pos, 255);
  } else {
    high = 255;
  }
}

// The integer reading of a key such as Type: optional sign, then digits; 0
// when there are none.
int ReadInteger(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  // No blank may stand between the sign and the digits.
  const int64_t value = pos < text.size() && IsDigit(text[pos]) ? *ReadDecimal(text, pos, INT32_MAX) : 0;
  return static_cast<int>(negative ? -value : value);
}

bool Present(const std::string& value) { return value != "0"; }

void AppendEntryZero(Configuration& config) {
  Interval off;
  off.setKind(0);
  off.setRangeCount(1);
  off.setRangeLow(0, 0);
  off.setRangeWidth(0, 255);
  IntervalDescription d;
  d.flags = 39;
  d.name = Cp("Шлейф отключен");
  for (auto& block : d.blocks) block[0].name = Cp("Норма ");
  config.intervals.push_back(off);
  config.intervalDescriptions.push_back(d);
}

// Reads one level table from its section; false when it has no range.
bool ReadTable(Vocabulary& v, const std::string& section, const std::string& name,
               Interval& table, IntervalDescription& d) {
  const int kind = ReadInteger(v.Read(section, "Type", "0")) != 0 ? 1 : 0;
  table = Interval{};
  table.setKind(kind);
  d = IntervalDescription{};
  d.flags = 16 * kind;
  d.name = name;
  int ranges = 0;
  // A table holds eight ranges; keys past Val8 are not looked at.
  for (int r = 1; r <= kMaxRanges; ++r) {
    const std::string key = "Val" + std::to_string(r);
    const std::string levels = v.Read(section, key, "0");
    if (!Present(levels)) break;
    int32_t low = 0;
    int32_t high = 0;
    ParseLevels(LowerCp(levels), low, high);
    const int k = r - 1;
    table.setRangeLow(k, low);
    table.setRangeWidth(k, high - low);
    ++ranges;
    for (auto& block : d.blocks) {
      block[k].name = Cp("Интервал ") + std::to_string(k);
      block[k].code = kDefaultRangeCode;
    }
    if (const auto all = v.Read(section, key + "_Name", "0"); Present(all))
      for (auto& block : d.blocks) block[k].name = all;
    struct Own {
      const char* suffix;
      DescriptionBlock block;
      int flag;
    };
    static constexpr Own kOwn[] = {
        {"Cont", kControlBlock, 4}, {"Guard", kGuardBlock, 2}, {"Fire", kFireBlock, 1}};
    for (const auto& own : kOwn) {
      if (const auto n = v.Read(section, key + "_Name" + own.suffix, "0"); Present(n)) {
        d.blocks[own.block][k].name = n;
        d.flags |= own.flag;
      }
      if (const auto code = v.Read(section, key + "_Code" + own.suffix, "0"); Present(code))
        d.blocks[own.block][k].code = code;
    }
  }
  table.setRangeCount(ranges);
  return ranges > 0;
}

int RangeCountAt(const Configuration& config, int index) {
  if (index < 0 || index >= static_cast<int>(config.intervals.size())) return 1;
  return std::clamp<int32_t>(config.intervals[index].rangeCount(), 1, kMaxRanges);
}

void SetEventNumbers(EventEntry& e, const std::string& text) { ParseEventNumbers(text, e); }

}  // namespace

void LoadIntervals(Configuration& config, Vocabulary& vocabulary) {
  config.intervals.clear();
  config.intervalDescriptions.clear();
  AppendEntryZero(config);
  for (const char* series : {"IntervalDef", "IntervalCustom"}) {
    for (int k = 1; config.intervals.size() < kMaxVocabularyList; ++k) {
      const std::string section = series + std::to_string(k);
      const std::string name = vocabulary.Read(section, "Name", "0");
      if (!Present(name)) break;
      Interval table;
      IntervalDescription d;
      if (ReadTable(vocabulary, section, name, table, d)) {
        config.intervals.push_back(table);
        config.intervalDescriptions.push_back(std::move(d));
      }
    }
  }
}

DescriptionBlock LoopBlockKind(uint8_t loopFlags) {
  if (loopFlags & 0x01) return kFireBlock;
  if (loopFlags & 0x10) return kControlBlock;
  return kGuardBlock;
}

std::string RangeText(const Configuration& config, int loop, int k, RangeWhat what) {
  if (loop < 0 || loop >= kLoops || k < 0 || k >= kMaxRanges) return std::string();
  const size_t index = config.general.intervalIndex(loop);
  if (index >= config.intervalDescriptions.size()) return std::string();
  const auto& label =
      config.intervalDescriptions[index].blocks[LoopBlockKind(config.general.loopFlags(loop))][k];
  return what == RangeWhat::Name ? label.name : label.code;
}

int MinLoopEvents(int loop) { return loop < 2 ? 2 : 3; }

int LoopRangeCount(const Configuration& config, int loop) {
  if (loop < 0 || loop >= kLoops) return 1;
  return RangeCountAt(config, config.general.intervalIndex(loop));
}

void FillLoopEvents(Workspace& ws, int loop) {
  if (loop < 0 || loop >= kLoops) return;
  Configuration& c = ws.config;
  c.relayBindings[0][loop].clear();
  c.relayBindings[1][loop].clear();
  const int ranges = LoopRangeCount(c, loop);
  const int size = std::max(ranges - 1, MinLoopEvents(loop));
  const size_t base = c.general.loopEventBase(loop);
  for (int j = 0; j < size; ++j) {
    if (base + j >= c.events.size()) break;
    EventEntry& e = c.events[base + j];
    if (j < ranges - 1) {
      e.text = Cp("Шлейф") + std::to_string(loop + 1) + ": " +
               RangeText(c, loop, j + 1, RangeWhat::Name);
      SetEventNumbers(e, RangeText(c, loop, j + 1, RangeWhat::Event));
      e.setPartition(loop + 1);
      e.setZone(loop + 1);
    } else {
      e.text = Cp("Событие неопределено");  // sic
      SetEventNumbers(e, kEmptyEventCode);
    }
  }
  ws.marks.eventsStale = true;
  ws.marks.reportsStale = true;
}

void TrimLoopEvents(Workspace& ws, int loop, int intervalIndex) {
  ws.marks.eventsStale = true;
  ws.marks.reportsStale = true;
  if (loop < 0 || loop >= kLoops) return;
  Configuration& c = ws.config;
  GeneralSettings& g = c.general;
  const int surplus = RangeCountAt(c, intervalIndex) - 1 - MinLoopEvents(loop);
  for (int t = 0; t < surplus; ++t) {
    const uint8_t base = g.loopEventBase(loop);
    if (base >= c.events.size()) break;
    c.events.erase(c.events.begin() + base);
    for (int M = 0; M < kLoops; ++M)
      if (g.loopEventBase(M) > base) --g.loopEventBase(M);
  }
}

void GrowLoopEvents(Workspace& ws, int loop) {
  if (loop < 0 || loop >= kLoops) return;
  Configuration& c = ws.config;
  GeneralSettings& g = c.general;
  const int surplus = LoopRangeCount(c, loop) - 1 - MinLoopEvents(loop);
  // Every block that starts above this one moves, whatever the loop order
  // (a file may bring the bases in any order): the same rule as trimming.
  const uint8_t base = g.loopEventBase(loop);
  for (int t = 0; t < surplus; ++t) {
    const size_t at = std::min<size_t>(base + 1u, c.events.size());
    c.events.insert(c.events.begin() + static_cast<std::ptrdiff_t>(at), EventEntry{});
    for (int M = 0; M < kLoops; ++M)
      if (g.loopEventBase(M) > base && g.loopEventBase(M) < 255) ++g.loopEventBase(M);
  }
  if (surplus > 0) {
    ws.marks.eventsStale = true;
    ws.marks.reportsStale = true;
  }
}

std::string FormatLatch(uint8_t b, LatchWhich which) {
  const bool latch = which == LatchWhich::Latch;
  if (latch && b == 255) return Cp("до снятия");
  if (b == 0) return Cp(latch ? "нет" : "отключенны");  // sic
  const int n = b + 1;
  const std::string t = std::to_string(n & 63) + Cp((n & 128) ? " мин" : " сек");
  return latch ? Cp(" на ") + t : t;
}

std::string ParseLatch(const std::string& text, LatchWhich which, uint8_t& b) {
  const bool latch = which == LatchWhich::Latch;
  auto has = [&](const char* utf8) { return text.find(Cp(utf8)) != std::string::npos; };
  if (latch && has("нет")) {
    b = 0;
    return Cp("нет");
  }
  if (latch && has("сн")) {
    b = 255;
    return Cp("до снятия");
  }
  if (!latch && has("откл")) {
    b = 0;
    return Cp("отключенны");  // sic
  }
  // Seconds when the text names them (Cyrillic or Latin "c"), else minutes.
  const bool minutes = !has("с") && text.find('c') == std::string::npos;
  // A text without digits names no time: the stored byte stays as it is.
  const size_t first = text.find_first_of("0123456789");
  if (first == std::string::npos) return FormatLatch(b, which);
  int64_t n = *LeadingDecimal(std::string_view(text).substr(first), 1000);
  if (n == 0) {
    b = 0;
    return Cp(latch ? "нет" : "отключенны");  // sic
  }
  n = std::min<int64_t>(n, 62);
  b = static_cast<uint8_t>((n | 64 | (minutes ? 128 : 0)) - 1);
  return FormatLatch(b, which);
}

}  // namespace vorsin
