// The captions of the check boxes that edit one bit of a flag byte, in the
// order the pages show them, so that a page and a printed record name a
// flag alike. Texts are Windows-1251.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorsin {

struct FlagName {
  enum Byte { Dial, Service } byte = Dial;  // which general flag byte (general flags only)
  int bit = 0;
  std::string caption;
};

// The general page's boxes: dial flags 7, 6, 5, 3, service flags 7, 6, 5,
// 4, 1, 0, then the modem log (dial flag 1).
const std::vector<FlagName>& GeneralFlagNames();
// Dial flag 2 (users page): " Работы с шлейфами по логике "И"."
const FlagName& LoopsAndFlagName();
// Service flags 3 and 2 (remote page): forwarding SMS from unknown numbers
// and from the "express" balance number.
const std::vector<FlagName>& ForwardFlagNames();

bool FlagSet(uint8_t byte, const FlagName& flag);
// The captions of the set flags joined by ", ", or "нет".
std::string SetFlagsText(uint8_t byte, const std::vector<FlagName>& flags);
// "да" or "нет".
std::string YesNoText(bool value);
// "Шлейф 1, 2" (loops 0-based, ascending), or "нет" for none.
std::string LoopListText(const std::vector<int>& loops);

}  // namespace vorsin
