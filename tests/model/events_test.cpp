#include "model/events.h"

#include "model/defaults.h"
#include "model/loops.h"
#include "model_test_support.h"

namespace vorsin {
namespace {

using testing::U;

class EventTable : public testing::TempVocabulary {
 protected:
  std::string GeneralEvents(int count) {
    std::string s = "[defEvent]\n";
    for (int n = 1; n <= count; ++n)
      s += "Name" + std::to_string(n) + "=E" + std::to_string(n) + "\nEvent" + std::to_string(n) + "=0, " +
           std::to_string(100 + n) + ",01,002, 0,0, 0,0, 0\n";
    return s;
  }
  // Tables 1..5 with the given range counts; names "R<k>" in every block.
  std::string Tables(std::initializer_list<int> ranges) {
    std::string s;
    int t = 0;
    for (int count : ranges) {
      ++t;
      s += "[IntervalDef" + std::to_string(t) + "]\nName=T" + std::to_string(t) + "\nType=" +
           (t >= 3 ? "1" : "0") + "\n";
      for (int r = 1; r <= count; ++r)
        s += "Val" + std::to_string(r) + "=0,1\nVal" + std::to_string(r) + "_Name=R" + std::to_string(r - 1) + "\n";
    }
    return s;
  }
  void Reset() {
    Vocabulary v(path_);
    ResetToDefaults(ws, v);
  }
  std::string Name(size_t e) { return U(ws.config.events.at(e).text); }
  Workspace ws;
};

TEST_F(EventTable, GeneralEventsStopAtTheFirstMissingNameAndTenUndefinedFollow) {
  Put("[defEvent]\nName1=Тест 1\nEvent1=0, 602,00,001, 1,0, 0,0, 0\nName2=\nName3=C\nName5=E\n");
  Reset();
  EXPECT_EQ(ws.definedEventCount, 3);
  ASSERT_EQ(ws.config.events.size(), 13u);
  EXPECT_EQ(Name(0), "Тест 1");
  EXPECT_EQ(ws.config.events[0].w[2], 602);
  EXPECT_EQ(ws.config.events[0].w[4], 1);
  EXPECT_EQ(Name(1), "");  // a present empty name is a real event
  EXPECT_EQ(ws.config.events[1].w[2], 0);
  const auto& g = ws.config.general;
  EXPECT_EQ((std::vector<int>{g.loopEventBase(0), g.loopEventBase(1), g.loopEventBase(2), g.loopEventBase(3)}),
            (std::vector<int>{3, 5, 7, 10}));

  Vocabulary v(path_);
  EXPECT_EQ(ReadDefEvent(ws, v, 4, true), 1);
  EXPECT_EQ(ReadDefEvent(ws, v, 3, true), 0);
  EXPECT_EQ(Name(2), "C");
  EXPECT_EQ(Name(3), "C");
  EXPECT_EQ(U(DefEventName(v, 0)), "Тест 1");
  EXPECT_EQ(U(DefEventName(v, 6)), "Событие 6");
}

// Default tables larger than the seeded blocks: each block is sized for its
// table before it is filled, so no loop's events land in another's block.
TEST_F(EventTable, SeedingSizesEachBlockForItsDefaultTable) {
  Put(GeneralEvents(2) + Tables({2, 4, 3, 3, 6}));
  Reset();
  const auto& g = ws.config.general;
  EXPECT_EQ((std::vector<int>{g.loopEventBase(0), g.loopEventBase(1), g.loopEventBase(2), g.loopEventBase(3)}),
            (std::vector<int>{2, 5, 8, 13}));
  ASSERT_EQ(ws.config.events.size(), 2u + 3 + 3 + 5 + 5);
  EXPECT_EQ(Name(2), "Шлейф1: R1");
  EXPECT_EQ(Name(4), "Шлейф1: R3");
  EXPECT_EQ(Name(5), "Шлейф2: R1");
  EXPECT_EQ(Name(7), "Шлейф2: R3");
  EXPECT_EQ(Name(8), "Шлейф3: R1");
  EXPECT_EQ(Name(12), "Шлейф3: R5");
  EXPECT_EQ(Name(13), "Шлейф4: R1");
  EXPECT_EQ(Name(17), "Шлейф4: R5");
  for (size_t e = 8; e < 13; ++e) EXPECT_EQ(ws.config.events[e].w[3], 3) << e;
  for (size_t e = 13; e < 18; ++e) EXPECT_EQ(ws.config.events[e].w[4], 4) << e;
}

TEST_F(EventTable, VisibilityFollowsLoopFlagsAndUsedBlockEntries) {
  Put(GeneralEvents(20) + Tables({3, 3, 3, 3, 2}));
  Reset();
  auto& g = ws.config.general;
  g.loopFlags(0) = 24 | 0x20;  // control input with its own "Норма" event
  g.loopFlags(1) = 24;
  g.loopFlags(2) = 0x21;  // a fire loop never lists its own general event
  g.loopFlags(3) = 0x20;
  // Blocks: loop 1 at 20 (2 used of 2), loop 2 at 22, loop 3 at 24 (1 used of 3), loop 4 at 27.
  ASSERT_EQ(ws.config.events.size(), 30u);
  std::vector<int> shown;
  for (int e = 0; e < 31; ++e) shown.push_back(IsEventShown(ws, e));
  for (int e : {0, 8, 9, 12, 13, 19}) EXPECT_EQ(shown[e], 100) << e;
  for (int e : {10, 11, 25, 26, 28, 29, 30}) EXPECT_EQ(shown[e], 0) << e;
  EXPECT_EQ(shown[20], 1);
  EXPECT_EQ(shown[21], 1 + 256);
  EXPECT_EQ(shown[23], 2 + 256);
  EXPECT_EQ(shown[24], 3);
  EXPECT_EQ(shown[27], 4);
  EXPECT_EQ(IsEventShown(ws, -1), 0);
}

// Five general events: the loop blocks start at 5, so positions 5..12 are
// judged as loop entries only; a loop's flags no longer show a placeholder.
TEST_F(EventTable, WithFewGeneralEventsPositionRulesStopAtTheFirstBlock) {
  Put(GeneralEvents(5) + Tables({3, 3, 3, 3, 2}));
  Reset();
  auto& g = ws.config.general;
  for (int i = 0; i < kLoops; ++i) g.loopFlags(i) = 24 | 0x20;
  // Blocks: loop 1 at 5 (2 used), loop 2 at 7 (2 used), loop 3 at 9 (1 of 3), loop 4 at 12 (1 of 3).
  ASSERT_EQ(GeneralEventCount(ws.config), 5);
  std::vector<int> shown;
  for (int e = 0; e < 15; ++e) shown.push_back(IsEventShown(ws, e));
  EXPECT_EQ(shown, (std::vector<int>{100, 100, 100, 100, 100, 1, 1 + 256, 2, 2 + 256, 3, 0, 0, 4, 0, 0}));
}

TEST(AddresseeMasks, DeletingAndMovingKeepEachBitWithItsAddressee) {
  Configuration c;
  for (int32_t m : {0xA0, 0x01, 0x80, 0x40, 0xFF}) {
    EventEntry e;
    e.w[9] = m;
    c.events.push_back(e);
  }
  Configuration del0 = c;
  DestDeletedInEvents(del0, 0);
  EXPECT_EQ(del0.events[0].w[9], 0x40);
  EXPECT_EQ(del0.events[4].w[9], 0xFE);
  Configuration del7 = c;
  DestDeletedInEvents(del7, 7);
  EXPECT_EQ(del7.events[1].w[9], 0x00);
  EXPECT_EQ(del7.events[0].w[9], 0xA0);
  Configuration del2 = c;
  DestDeletedInEvents(del2, 2);
  EXPECT_EQ(del2.events[0].w[9], 0x80);

  Configuration moved = c;
  DestMovedInEvents(moved, 0, 2);
  EXPECT_EQ(moved.events[2].w[9], 0x20);
  EXPECT_EQ(moved.events[3].w[9], 0x80);
  DestMovedInEvents(moved, 2, 0);
  EXPECT_EQ(moved.events, c.events);
  DestMovedInEvents(moved, 3, 3);
  DestMovedInEvents(moved, 0, 9);
  DestDeletedInEvents(moved, 8);
  EXPECT_EQ(moved.events, c.events);
}

}  // namespace
}  // namespace vorsin
