// Number lists of the vocabulary ("0, 000,00,000, 0,0, 0,0, 0") and the
// Russian count formatter used by every period box.
#pragma once

#include <string>

#include "model/configuration.h"

namespace vorsin {

// Fills word 1, word 2, ... of the record from a list of unsigned decimals;
// word 0 keeps its value and no word beyond 17 is touched.
void ParseNumberList(const std::string& text, ParamRecord& record);
// The event form: the first nine numbers into words 1..9 (text lower-cased first).
void ParseEventNumbers(const std::string& text, EventEntry& event);

enum class CountUnit { Minutes, Hours, Seconds, Intervals };
// "нет" for 0, else the count and the plural form of its unit ("2 часа").
std::string FormatCount(int count, CountUnit unit);

}  // namespace vorsin
