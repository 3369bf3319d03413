#include "model/numbers.h"

#include <algorithm>
#include <cstdint>

#include "model/cp1251.h"

namespace vorsin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A list's number reads 0 when there is none.
uint32_t ReadUnsigned(const std::string& text, size_t& pos) { return ReadDecimal(text, pos).value_or(0); }

// Calls store(index, value) for each number of the list, in order, until
// store returns false or the text ends.
template <typename Store>
void WalkNumbers(const std::string& text, Store store) {
  size_t pos = 0;
  int index = 0;
  while (pos < text.size()) {
    const uint32_t value = ReadUnsigned(text, pos);
    if (!store(index++, value)) return;
    while (pos < text.size() && (IsDigit(text[pos]) || IsBlank(text[pos]))) ++pos;
    if (pos < text.size()) ++pos;  // the separator, whatever it is
  }
}

const char* PluralOf(int d, CountUnit unit) {
  // Russian plural forms: [one, few, many] per unit.
  static const char* const kForms[4][3] = {
      {" минута", " минуты", " минут"},
      {" час", " часа", " часов"},
      {" секунда", " секунды", " секунд"},
      {" интервал", " интервала", " интервалов"},
  };
  const int form = d == 1 ? 0 : (d >= 2 && d <= 4) ? 1 : 2;
  return kForms[static_cast<int>(unit)][form];
}

}  // namespace

std::optional<uint32_t> ReadDecimal(std::string_view text, size_t& pos, uint32_t cap) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos >= text.size() || !IsDigit(text[pos])) return std::nullopt;
  uint64_t value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos)
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(text[pos] - '0'), cap);
  return static_cast<uint32_t>(value);
}

std::optional<uint32_t> LeadingDecimal(std::string_view text, uint32_t cap) {
  size_t pos = 0;
  return ReadDecimal(text, pos, cap);
}

void ParseNumberList(const std::string& text, ParamRecord& record) {
  WalkNumbers(text, [&](int index, uint32_t value) {
    if (index + 1 >= static_cast<int>(ParamRecord::kWords)) return false;
    record.w[index + 1] = static_cast<int32_t>(value);
    return true;
  });
}

void ParseEventNumbers(const std::string& text, EventEntry& event) {
  // The vocabulary lists the numbers in word order, flags to addressee mask.
  constexpr size_t kFirst = EventEntry::kFlags;
  constexpr int kCount = static_cast<int>(EventEntry::kAddresseeMask - kFirst + 1);
  for (int i = 0; i < kCount; ++i) event.w[kFirst + i] = 0;
  WalkNumbers(LowerCp(text), [&](int index, uint32_t value) {
    if (index >= kCount) return false;
    event.w[kFirst + static_cast<size_t>(index)] = static_cast<int32_t>(value);
    return true;
  });
}

std::string FormatCount(int count, CountUnit unit) {
  if (count == 0) return Cp("нет");
  int r = count % 100;
  if (r < 0) r = -r;
  if (r >= 10 && r <= 19) r = 0;
  return std::to_string(count) + Cp(PluralOf(r % 10, unit));
}

}  // namespace vorsin
