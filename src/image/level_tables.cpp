#include "image/level_tables.h"

#include <algorithm>
#include <array>

#include "model/bytes.h"
#include "model/cp1251.h"
#include "model/numbers.h"

namespace vorsin::image {
namespace {

constexpr size_t kFirstTables = 6;
constexpr uint8_t kEnd = 0xFF;
constexpr uint8_t kKindBit = 0x80;
// Table numbers and intervalIndex are single bytes.
constexpr size_t kMaxTables = 255;

int RangeCount(const Interval& table) { return std::clamp<int32_t>(table.w[1], 0, kMaxRanges); }

IntervalDescription NewDescription(int kind, int n) {
  IntervalDescription d;
  d.flags = kind * 16 + 70;
  d.name = FormatCount(n > 0 ? n - 1 : 0, CountUnit::Intervals);
  for (auto& block : d.blocks) {
    block[0].name = Cp("норма");
    // A new table has n ranges, so its slots end at n - 1; slot n is named
    // too as long as it exists.
    for (int r = 1; r <= n && r < kMaxRanges; ++r) {
      block[r].name = Cp("Интервал ") + std::to_string(r);
      block[r].code = "0, 000,00,000, 16,16, 0,0, 0";
    }
  }
  return d;
}

}  // namespace

bool LevelTableMatches(const Interval& table, int n, std::span<const uint8_t> values) {
  if (table.w[1] != n || n > kMaxRanges || values.size() < static_cast<size_t>(2 * n)) return false;
  for (int i = 0; i < 2 * n; ++i)
    if (table.w[2 + i] != values[i]) return false;
  return true;
}

std::vector<uint8_t> EncodeLevelTables(const Configuration& config) {
  std::vector<size_t> written;
  for (size_t i = 0; i < kFirstTables && i < config.intervals.size(); ++i) written.push_back(i);
  std::array<uint8_t, kLoops> numbers{};
  for (int L = 0; L < kLoops; ++L) {
    const size_t index = config.general.intervalIndex(L);
    if (index < kFirstTables) {
      numbers[L] = static_cast<uint8_t>(index + 1);
      continue;
    }
    auto it = std::find(written.begin(), written.end(), index);
    if (it == written.end()) {
      written.push_back(index);
      it = written.end() - 1;
    }
    numbers[L] = static_cast<uint8_t>(it - written.begin() + 1);
  }
  ByteWriter w;
  for (const uint8_t n : numbers) w.u8(n);
  for (const size_t index : written) {
    if (index >= config.intervals.size()) continue;  // refused before programming
    const Interval& table = config.intervals[index];
    const int n = RangeCount(table);
    w.u8(static_cast<uint8_t>(n | (table.w[0] != 0 ? kKindBit : 0)));
    for (int i = 0; i < 2 * n; ++i) w.u8(static_cast<uint8_t>(table.w[2 + i] & 0xFF));
  }
  w.u8(kEnd);
  return w.take();
}

bool DecodeLevelTables(std::span<const uint8_t> block, Configuration& config, std::string& error) {
  const auto fail = [&](const char* why) {
    error = Cp("Ошибка чтения настроек: таблицы интервалов ") + Cp(why);
    return false;
  };
  ByteReader r(block);
  std::array<uint8_t, kLoops> numbers{};
  for (auto& n : numbers) n = r.u8();
  if (!r.ok()) return fail("за пределами считанных данных");
  GeneralSettings& g = config.general;
  for (int L = 0; L < kLoops; ++L) g.intervalIndex(L) = static_cast<uint8_t>(numbers[L] - 1);

  std::array<bool, kLoops> remapped{};
  size_t k = 0;
  for (;; ++k) {
    const uint8_t header = r.u8();
    if (!r.ok()) return fail("за пределами считанных данных");
    if (header == kEnd) break;
    const int n = header & 0x0F;
    const int kind = header & kKindBit ? 1 : 0;
    const auto values = r.bytes(2 * static_cast<size_t>(n));
    if (!r.ok()) return fail("за пределами считанных данных");
    if (n > kMaxRanges) return fail("повреждены: слишком много диапазонов");
    if (k >= kMaxTables) return fail("повреждены: слишком много таблиц");

    size_t index = 0;
    if (k != 0) {
      auto& known = config.intervals;
      if (k < known.size() && LevelTableMatches(known[k], n, values)) {
        index = k;
      } else {
        index = known.size();
        for (size_t j = 0; j < known.size(); ++j)
          if (LevelTableMatches(known[j], n, values)) {
            index = j;
            break;
          }
        if (index == known.size()) {
          Interval table;
          table.w[0] = kind;
          table.w[1] = n;
          for (int i = 0; i < 2 * n; ++i) table.w[2 + i] = values[i];
          known.push_back(table);
          config.intervalDescriptions.resize(known.size() - 1);
          config.intervalDescriptions.push_back(NewDescription(kind, n));
        }
      }
    }
    if (index >= 256) return fail("повреждены: слишком много таблиц");
    if (index != k) {
      for (int L = 0; L < kLoops; ++L)
        if (!remapped[L] && g.intervalIndex(L) == k) {
          g.intervalIndex(L) = static_cast<uint8_t>(index);
          remapped[L] = true;
        }
    }
  }
  for (int L = 0; L < kLoops; ++L)
    if (numbers[L] == 0 || numbers[L] > k)
      return fail("повреждены: шлейф ссылается на отсутствующую таблицу");
  return true;
}

}  // namespace vorsin::image
