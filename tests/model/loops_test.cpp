#include "model/loops.h"

#include "model/defaults.h"
#include "model_test_support.h"

namespace vorsin {
namespace {

using testing::U;

class LevelTables : public testing::TempVocabulary {};

TEST_F(LevelTables, EntryZeroAloneWithoutTheFile) {
  Configuration c;
  Vocabulary v(path_);
  LoadIntervals(c, v);
  ASSERT_EQ(c.intervals.size(), 1u);
  ASSERT_EQ(c.intervalDescriptions.size(), 1u);
  EXPECT_EQ(c.intervals[0].w[1], 1);
  EXPECT_EQ(c.intervals[0].w[3], 255);
  const auto& d = c.intervalDescriptions[0];
  EXPECT_EQ(d.flags, 39);
  EXPECT_EQ(U(d.name), "Шлейф отключен");
  for (const auto& block : d.blocks) {
    EXPECT_EQ(U(block[0].name), "Норма ");
    EXPECT_EQ(block[0].code, "");
  }
}

TEST_F(LevelTables, SeriesRangesNamesAndCodesFollowTheFileRules) {
  Put("[IntervalDef1]\nName=Guard\nVal1=60,140\nVal2=141,255\nVal2_NameGuard=Обрыв\n"
      "Val2_CodeGuard=64, 130,00,000, 1,2, 0,0, 0\nVal3 = 0 , 59\nVal3_Name=КЗ\n"
      "[IntervalDef2]\nName=Gap\nType=7\nVal1=10\nVal3=1,2\n"
      "[IntervalDef3]\nName=NoRanges\nVal2=1,2\n"
      "[IntervalDef4]\nName=\nVal1=5,6\nVal2=x,9\n"
      "[IntervalDef5]\nName=0\nVal1=1,2\n"
      "[IntervalDef6]\nName=NeverRead\nVal1=1,2\n"
      "[IntervalCustom1]\nName=Long\nType=-1\nVal1=0,1\nVal2=1,2\nVal3=2,3\nVal4=3,4\nVal5=4,5\n"
      "Val6=5,6\nVal7=6,7\nVal8=7,8\nVal9=8,9\nVal9_Name=ninth\nVal1_NameFire=F\nVal1_NameCont=C\n");
  Configuration c;
  Vocabulary v(path_);
  LoadIntervals(c, v);
  ASSERT_EQ(c.intervals.size(), 5u);  // entry 0, Guard, Gap, (unnamed), Long
  ASSERT_EQ(c.intervalDescriptions.size(), 5u);

  const auto& guard = c.intervals[1];
  EXPECT_EQ(guard.w[0], 0);
  EXPECT_EQ(guard.w[1], 3);
  EXPECT_EQ((std::vector<int32_t>(guard.w.begin() + 2, guard.w.begin() + 8)),
            (std::vector<int32_t>{60, 80, 141, 114, 0, 59}));
  const auto& gd = c.intervalDescriptions[1];
  EXPECT_EQ(gd.flags, 2);
  EXPECT_EQ(U(gd.blocks[kControlBlock][0].name), "Интервал 0");
  EXPECT_EQ(U(gd.blocks[kGuardBlock][1].name), "Обрыв");
  EXPECT_EQ(U(gd.blocks[kFireBlock][1].name), "Интервал 1");
  EXPECT_EQ(gd.blocks[kGuardBlock][1].code, "64, 130,00,000, 1,2, 0,0, 0");
  EXPECT_EQ(gd.blocks[kFireBlock][1].code, "0, 000,00,000, 16,16, 0,0, 0");
  for (const auto& block : gd.blocks) EXPECT_EQ(U(block[2].name), "КЗ");

  // Val3 after a gap is never read; Type 7 is kind 1; "10" alone has high 255.
  EXPECT_EQ(c.intervals[2].w[0], 1);
  EXPECT_EQ(c.intervals[2].w[1], 1);
  EXPECT_EQ(c.intervals[2].w[2], 10);
  EXPECT_EQ(c.intervals[2].w[3], 245);
  EXPECT_EQ(c.intervalDescriptions[2].flags, 16);

  // A present but empty name is a table; an unreadable level is 255.
  EXPECT_EQ(c.intervalDescriptions[3].name, "");
  EXPECT_EQ(c.intervals[3].w[4], 255);
  EXPECT_EQ(c.intervals[3].w[5], 0);  // the high level is not reached either

  // Nine ranges are cut to the eight a table holds; a negative Type is kind 1.
  const auto& longer = c.intervals[4];
  EXPECT_EQ(longer.w[0], 1);
  EXPECT_EQ(longer.w[1], 8);
  EXPECT_EQ(longer.w[17], 1);
  EXPECT_EQ(c.intervalDescriptions[4].flags, 16 | 4 | 1);
}

// A small configuration with tables of 5 and 2 ranges beside entry 0.
class LoopBlocks : public testing::TempVocabulary {
 protected:
  void SetUp() override {
    TempVocabulary::SetUp();
    Put("[IntervalDef1]\nName=Five\nVal1=0,10\nVal2=11,20\nVal2_NameGuard=Обрыв\n"
        "Val2_CodeGuard=64, 130,07,009, 3,4, 0,0, 128\nVal3=21,30\nVal4=31,40\nVal5=41,50\n"
        "[IntervalDef2]\nName=Two\nVal1=0,10\nVal2=11,20\nVal2_NameCont=Сработка\nVal2_NameGuard=Тревога\n");
    Vocabulary v(path_);
    ResetToDefaults(ws, v);
  }
  std::vector<std::string> Names(int from, int count) {
    std::vector<std::string> out;
    for (int i = from; i < from + count; ++i) out.push_back(U(ws.config.events[i].text));
    return out;
  }
  uint8_t& Base(int L) { return ws.config.general.loopEventBase(L); }
  Workspace ws;
};

TEST_F(LoopBlocks, ChangingTablesGrowsAndShrinksTheBlockAndMovesLaterBases) {
  auto& g = ws.config.general;
  ASSERT_EQ(ws.config.events.size(), 10u);  // no general events, blocks 2,2,3,3
  g.loopFlags(0) = 4;  // guard
  ws.config.relayBindings[1][0].push_back(RelayBinding{{0, 21, 0, 1}});
  ws.config.relayBindings[1][1].push_back(RelayBinding{{0, 22, 0, 1}});

  TrimLoopEvents(ws, 0, g.intervalIndex(0));
  g.intervalIndex(0) = 1;
  GrowLoopEvents(ws, 0);
  FillLoopEvents(ws, 0);
  EXPECT_EQ(ws.config.events.size(), 12u);
  EXPECT_EQ((std::vector<int>{Base(0), Base(1), Base(2), Base(3)}), (std::vector<int>{0, 4, 6, 9}));
  EXPECT_EQ(Names(0, 4), (std::vector<std::string>{"Шлейф1: Обрыв", "Шлейф1: Интервал 2", "Шлейф1: Интервал 3",
                                                   "Шлейф1: Интервал 4"}));
  const auto& e = ws.config.events[0];
  EXPECT_EQ(e.w[1], 64);
  EXPECT_EQ(e.w[2], 130);
  EXPECT_EQ(e.w[3], 1);  // partition and zone follow the loop, not the text
  EXPECT_EQ(e.w[4], 1);
  EXPECT_EQ(e.w[9], 128);
  EXPECT_TRUE(ws.config.relayBindings[1][0].empty());
  EXPECT_EQ(ws.config.relayBindings[1][1].size(), 1u);

  ws.marks.eventsStale = ws.marks.reportsStale = false;
  TrimLoopEvents(ws, 0, g.intervalIndex(0));
  EXPECT_TRUE(ws.marks.eventsStale && ws.marks.reportsStale);
  g.intervalIndex(0) = 2;
  GrowLoopEvents(ws, 0);
  FillLoopEvents(ws, 0);
  EXPECT_EQ(ws.config.events.size(), 10u);
  EXPECT_EQ((std::vector<int>{Base(0), Base(1), Base(2), Base(3)}), (std::vector<int>{0, 2, 4, 7}));
  EXPECT_EQ(Names(0, 2), (std::vector<std::string>{"Шлейф1: Тревога", "Событие неопределено"}));
  EXPECT_EQ(LoopRangeCount(ws.config, 0), 2);
  EXPECT_EQ(U(RangeText(ws.config, 0, 1, RangeWhat::Name)), "Тревога");
  g.loopFlags(0) = 24;
  EXPECT_EQ(U(RangeText(ws.config, 0, 1, RangeWhat::Name)), "Сработка");
  g.loopFlags(0) = 5;  // fire uses the fire block's names
  EXPECT_EQ(U(RangeText(ws.config, 0, 1, RangeWhat::Name)), "Интервал 1");
  EXPECT_EQ(RangeText(ws.config, 0, 8, RangeWhat::Name), "");
}

TEST_F(LoopBlocks, AMissingTableCountsAsOneRangeAndNothingIsWrittenPastTheList) {
  auto& g = ws.config.general;
  g.intervalIndex(3) = 200;
  EXPECT_EQ(LoopRangeCount(ws.config, 3), 1);
  EXPECT_EQ(RangeText(ws.config, 3, 0, RangeWhat::Name), "");
  FillLoopEvents(ws, 3);
  EXPECT_EQ(U(ws.config.events[9].text), "Событие неопределено");

  Base(3) = 250;  // a base from a damaged file
  g.intervalIndex(3) = 1;
  GrowLoopEvents(ws, 3);
  FillLoopEvents(ws, 3);
  TrimLoopEvents(ws, 3, 1);
  EXPECT_LE(ws.config.events.size(), 12u);
}

TEST(Latch, FormatAndParseFollowTheByteEncoding) {
  EXPECT_EQ(U(FormatLatch(0, LatchWhich::Latch)), "нет");
  EXPECT_EQ(U(FormatLatch(0, LatchWhich::Rearm)), "отключенны");
  EXPECT_EQ(U(FormatLatch(255, LatchWhich::Latch)), "до снятия");
  EXPECT_EQ(U(FormatLatch(255, LatchWhich::Rearm)), "0 сек");
  EXPECT_EQ(U(FormatLatch(93, LatchWhich::Latch)), " на 30 сек");
  EXPECT_EQ(U(FormatLatch(193, LatchWhich::Rearm)), "2 мин");

  struct Case {
    const char* text;
    LatchWhich which;
    uint8_t before, after;
    const char* shown;
  };
  const Case cases[] = {
      {"на 100 мин", LatchWhich::Latch, 0, 253, " на 62 мин"},
      {"до снятия", LatchWhich::Latch, 0, 255, "до снятия"},
      {"нет", LatchWhich::Latch, 93, 0, "нет"},
      {"на 30 cек", LatchWhich::Latch, 0, 93, " на 30 сек"},  // Latin c
      {"на 60 сек", LatchWhich::Latch, 0, 123, " на 60 сек"},
      {"на 15 мин", LatchWhich::Latch, 0, 206, " на 15 мин"},
      {"НЕТ", LatchWhich::Latch, 93, 93, " на 30 сек"},  // no digits, no keyword: kept
      {"мин", LatchWhich::Rearm, 0, 0, "отключенны"},
      {"через 30 cек", LatchWhich::Rearm, 0, 93, "30 сек"},
      {"через 60 мин", LatchWhich::Rearm, 0, 251, "60 мин"},
      {"отключено", LatchWhich::Rearm, 93, 0, "отключенны"},
      {"0 сек", LatchWhich::Rearm, 93, 0, "отключенны"},
      {"5", LatchWhich::Latch, 0, 196, " на 5 мин"},
  };
  for (const auto& c : cases) {
    uint8_t b = c.before;
    EXPECT_EQ(U(ParseLatch(Cp(c.text), c.which, b)), c.shown) << c.text;
    EXPECT_EQ(b, c.after) << c.text;
  }
}

}  // namespace
}  // namespace vorsin
