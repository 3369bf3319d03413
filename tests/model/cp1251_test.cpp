#include "model/cp1251.h"

#include <gtest/gtest.h>

namespace vorsin {
namespace {

TEST(Cp1251, RussianLiteralsBecomeSingleBytes) {
  EXPECT_EQ(Cp("Ошибка"), std::string("\xCE\xF8\xE8\xE1\xEA\xE0"));
  EXPECT_EQ(Cp("Ёё№"), std::string("\xA8\xB8\xB9"));
  EXPECT_EQ(Cp("abc 123"), "abc 123");
}

TEST(Cp1251, EveryByteSurvivesTheRoundTrip) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Cp(ToUtf8(one)), one) << "byte " << b;
  }
}

TEST(Cp1251, UnmappableAndBrokenInputBecomeQuestionMarks) {
  EXPECT_EQ(Cp("\xE4\xB8\xAD"), "?");        // a CJK character
  EXPECT_EQ(Cp("a\xD0"), "a?");              // cut sequence at the end
  EXPECT_EQ(Cp("\xFF" "b"), "?b");           // not a lead byte
  EXPECT_EQ(Cp("\xD0" "b"), "?b");           // lead byte without continuation
}

TEST(Cp1251, LowerFoldsLatinAndCyrillic) {
  EXPECT_EQ(LowerCp(Cp("ШЛЕЙФ Ё AbC")), Cp("шлейф ё abc"));
}

}  // namespace
}  // namespace vorsin
