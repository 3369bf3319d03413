#include "model/numbers.h"

#include <gtest/gtest.h>

#include "model/cp1251.h"

namespace vorsin {
namespace {

TEST(FormatCount, ZeroIsNoneAndPluralFollowsTheLastDigitsOfTheCount) {
  EXPECT_EQ(ToUtf8(FormatCount(0, CountUnit::Seconds)), "нет");
  const std::pair<int, const char*> minutes[] = {
      {1, "1 минута"},   {2, "2 минуты"},   {4, "4 минуты"},     {5, "5 минут"},    {11, "11 минут"},
      {14, "14 минут"},  {21, "21 минута"}, {22, "22 минуты"},   {100, "100 минут"}, {101, "101 минута"},
      {111, "111 минут"}, {112, "112 минут"}, {255, "255 минут"}};
  for (const auto& [n, text] : minutes) EXPECT_EQ(ToUtf8(FormatCount(n, CountUnit::Minutes)), text) << n;
  EXPECT_EQ(ToUtf8(FormatCount(2, CountUnit::Hours)), "2 часа");
  EXPECT_EQ(ToUtf8(FormatCount(5, CountUnit::Hours)), "5 часов");
  EXPECT_EQ(ToUtf8(FormatCount(21, CountUnit::Hours)), "21 час");
  EXPECT_EQ(ToUtf8(FormatCount(122, CountUnit::Seconds)), "122 секунды");
  EXPECT_EQ(ToUtf8(FormatCount(1, CountUnit::Intervals)), "1 интервал");
  EXPECT_EQ(ToUtf8(FormatCount(10, CountUnit::Intervals)), "10 интервалов");
}

TEST(Decimal, SkipsBlanksSaturatesAtItsCapAndReadsNothingWithoutDigits) {
  EXPECT_EQ(LeadingDecimal(" \t42x"), 42u);
  EXPECT_EQ(LeadingDecimal("x42"), std::nullopt);
  EXPECT_EQ(LeadingDecimal("  "), std::nullopt);
  EXPECT_EQ(LeadingDecimal("99999999999999999999"), UINT32_MAX);
  EXPECT_EQ(LeadingDecimal("1001", 1000), 1000u);
  EXPECT_EQ(LeadingDecimal("999", 1000), 999u);
  size_t pos = 0;
  const std::string list = " 12, 7";
  EXPECT_EQ(ReadDecimal(list, pos), 12u);
  EXPECT_EQ(pos, 3u);
  pos = 4;
  EXPECT_EQ(ReadDecimal(list, pos), 7u);
  EXPECT_EQ(ReadDecimal(list, pos), std::nullopt);
}

TEST(NumberList, FillsWordsFromOneAndNeverPastSeventeen) {
  ParamRecord r;
  r.w[0] = 7;
  ParseNumberList("4, 133, 5,133 ,20", r);
  EXPECT_EQ(r.w[0], 7);
  EXPECT_EQ((std::vector<int32_t>(r.w.begin() + 1, r.w.begin() + 6)), (std::vector<int32_t>{4, 133, 5, 133, 20}));

  ParamRecord many;
  std::string text;
  for (int i = 1; i <= 25; ++i) text += std::to_string(i) + ",";
  ParseNumberList(text, many);
  EXPECT_EQ(many.w[17], 17);
  EXPECT_EQ(many.w[0], 0);

  ParamRecord odd;
  // Any non-digit is a separator, so "x" is an empty field of its own.
  ParseNumberList("x,,12;99999999999", odd);
  EXPECT_EQ((std::vector<int32_t>(odd.w.begin() + 1, odd.w.begin() + 5)), (std::vector<int32_t>{0, 0, 0, 12}));
  EXPECT_EQ(static_cast<uint32_t>(odd.w[5]), 0xFFFFFFFFu);
}

TEST(NumberList, EventFormTakesNineNumbersAndZeroesTheMissing) {
  EventEntry e;
  e.w.fill(5);
  ParseEventNumbers("64, 130,01,005, 15,16, 2,1, 160, 77, 88", e);
  EXPECT_EQ((std::vector<int32_t>(e.w.begin(), e.w.begin() + 11)),
            (std::vector<int32_t>{5, 64, 130, 1, 5, 15, 16, 2, 1, 160, 5}));
  ParseEventNumbers("1, 2", e);
  EXPECT_EQ(e.w[2], 2);
  EXPECT_EQ(e.w[3], 0);
  EXPECT_EQ(e.w[9], 0);
}

}  // namespace
}  // namespace vorsin
