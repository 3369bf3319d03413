// Typed decimals, number lists of the vocabulary ("0, 000,00,000, 0,0,
// 0,0, 0") and the Russian count formatter used by every period box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/configuration.h"

namespace vorsin {

// The one reading of a typed decimal: blanks (space, tab) at pos skipped,
// then the digits; a value above cap reads as cap, so a pasted flood of
// digits neither overflows nor wraps. Nothing when no digit follows the
// blanks. pos ends past what was read.
std::optional<uint32_t> ReadDecimal(std::string_view text, size_t& pos, uint32_t cap = UINT32_MAX);
// The decimal at the start of the text.
std::optional<uint32_t> LeadingDecimal(std::string_view text, uint32_t cap = UINT32_MAX);

// Fills word 1, word 2, ... of the record from a list of unsigned decimals;
// word 0 keeps its value and no word beyond 17 is touched.
void ParseNumberList(const std::string& text, ParamRecord& record);
// The event form: the first nine numbers into words 1..9 (text lower-cased first).
void ParseEventNumbers(const std::string& text, EventEntry& event);

enum class CountUnit { Minutes, Hours, Seconds, Intervals };
// "нет" for 0, else the count and the plural form of its unit ("2 часа").
std::string FormatCount(int count, CountUnit unit);

}  // namespace vorsin
