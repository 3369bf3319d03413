#include "model/event_rules.h"

#include <gtest/gtest.h>

#include "model/cp1251.h"

namespace vorsin {
namespace {

// Loop tables: 3 ranges at index 1 (2 used entries), 2 ranges at index 2 (1 used).
Workspace TwoLoopTables() {
  Workspace ws;
  auto& c = ws.config;
  c.intervals.resize(3);
  c.intervals[1].w[1] = 3;
  c.intervals[2].w[1] = 2;
  c.events.resize(20);
  const int bases[] = {10, 12, 14, 17};
  const int tables[] = {1, 1, 2, 0};
  for (int i = 0; i < kLoops; ++i) {
    c.general.loopEventBase(i) = static_cast<uint8_t>(bases[i]);
    c.general.intervalIndex(i) = static_cast<uint8_t>(tables[i]);
  }
  return ws;
}

TEST(EventRows, TextsPadAndSayWhetherEachPartIsSet) {
  EventEntry e;
  e.text = Cp("Пожар");
  e.w[EventEntry::kFlags] = 0x41;
  e.w[EventEntry::kCode] = 5;
  e.w[EventEntry::kPartition] = 7;
  e.w[EventEntry::kZone] = 100;
  e.w[EventEntry::kVoiceRestore] = 3;
  e.w[EventEntry::kAddresseeMask] = 0xA0;
  const auto row = EventRowTexts(e, 12);
  EXPECT_EQ(ToUtf8(row[kColNumber] + "|" + row[kColName] + "|" + row[kColCode] + "|" + row[kColPartition] + "|" +
                   row[kColZone] + "|" + row[kColRestore] + "|" + row[kColVoice] + "|" + row[kColSms] + "|" +
                   row[kColBinding]),
            "12|Пожар|005|07|100|Есть|Есть|Нет|Есть");
  EXPECT_EQ(PadEventNumber(42, 3), "042");
  EXPECT_EQ(PadEventNumber(1599, 3), "1599");
  EXPECT_EQ(PadEventNumber(10, 2), "10");
  EXPECT_EQ(ReportRowTexts(e, 12, 3), (std::vector<std::string>{"12", e.text, "+", "", "+"}));
}

TEST(EventRows, TypedNumbersAndListIndexes) {
  EXPECT_EQ(TypedEventNumber("1 3"), 103);
  EXPECT_EQ(TypedEventNumber("5"), 5);
  EXPECT_EQ(TypedEventNumber(" 5 "), 50);
  EXPECT_EQ(TypedEventNumber(""), 0);
  EXPECT_EQ(TypedEventNumber(std::string(40, '9')), INT32_MAX);
  EXPECT_EQ(ListIndexFor(15, kVoiceMessages + 1), 15);
  EXPECT_EQ(ListIndexFor(16, kVoiceMessages + 1), -1);
  EXPECT_EQ(ListIndexFor(-1, 4), -1);
}

TEST(EventRows, OwnerLoopCoversUsedEntriesOnly) {
  Workspace ws = TwoLoopTables();
  std::vector<int> owners;
  for (int e = 9; e < 20; ++e) owners.push_back(EventOwnerLoop(ws.config, e));
  EXPECT_EQ(owners, (std::vector<int>{-1, 0, 0, 1, 1, 2, -1, -1, -1, -1, -1}));
  MarkEventEdited(ws, 15);
  MarkEventEdited(ws, 3);
  EXPECT_EQ(ws.marks.loopEventsEdited, (std::array<bool, kLoops>{false, false, false, false}));
  MarkEventEdited(ws, 13);
  EXPECT_EQ(ws.marks.loopEventsEdited, (std::array<bool, kLoops>{false, true, false, false}));
}

TEST(EventDialog, EditsStoreOneFieldAndMarkTheLoop) {
  Workspace ws = TwoLoopTables();
  EventEntry& e = ws.config.events[12];
  e.w[EventEntry::kFlags] = 0x101;
  e.w[EventEntry::kAddresseeMask] = 0x101;  // a carried bit, addressee 8
  EXPECT_EQ(RestoreItem(e), 1);
  ASSERT_TRUE(EditEventRestore(ws, 12, 0));
  EXPECT_EQ(e.w[EventEntry::kFlags], 0x141);
  EXPECT_EQ(RestoreItem(e), 0);
  EXPECT_TRUE(ws.marks.loopEventsEdited[1]);
  EditEventRestore(ws, 12, 1);
  EXPECT_EQ(e.w[EventEntry::kFlags], 0x101);

  ASSERT_TRUE(EditEvent(ws, 12, EventField::Zone, 42));
  ASSERT_TRUE(EditEvent(ws, 12, EventField::SmsRestore, 3));
  EXPECT_EQ(e.w[EventEntry::kZone], 42);
  EXPECT_EQ(FieldValue(e, EventField::SmsRestore), 3);
  EXPECT_EQ(FieldValue(e, EventField::VoiceNew), 0);

  ws.marks.reportsStale = false;
  ASSERT_TRUE(EditEventAddressee(ws, 12, 1, true));
  EXPECT_EQ(e.w[EventEntry::kAddresseeMask], 0x141);
  EXPECT_TRUE(ws.marks.reportsStale);
  EXPECT_TRUE(e.reportsTo(1) && e.reportsTo(7) && !e.reportsTo(0));
  EditEventAddressee(ws, 12, 7, false);
  EXPECT_EQ(e.w[EventEntry::kAddresseeMask], 0x140);

  // No such event or addressee: nothing stored, nothing marked.
  const Workspace before = ws;
  ws.marks = {};
  ws.marks.reportsStale = false;
  EXPECT_FALSE(EditEvent(ws, 20, EventField::Code, 1));
  EXPECT_FALSE(EditEvent(ws, -1, EventField::Code, 1));
  EXPECT_FALSE(EditEventRestore(ws, 20, 0));
  EXPECT_FALSE(EditEventAddressee(ws, 12, 8, true));
  EXPECT_FALSE(EditEventAddressee(ws, 12, -1, true));
  EXPECT_TRUE(ws.config == before.config);
  EXPECT_EQ(ws.marks.loopEventsEdited, (std::array<bool, kLoops>{}));
  EXPECT_FALSE(ws.marks.reportsStale);
}

TEST(ReportMasks, HeaderClickTouchesListedRowsAndOneBit) {
  Workspace ws = TwoLoopTables();
  auto mask = [&](int e) -> int32_t& { return ws.config.events[e].w[EventEntry::kAddresseeMask]; };
  mask(0) = 0x100 | 0x01;  // carried high bit, addressee 8
  mask(3) = 0x40;          // not listed
  const std::vector<int> rows{0, 1, 10};
  ws.marks.eventsStale = false;
  ToggleAddresseeColumn(ws, rows, 1);
  EXPECT_EQ(mask(0), 0x141);
  EXPECT_EQ(mask(1), 0x40);
  EXPECT_EQ(mask(10), 0x40);
  EXPECT_TRUE(ws.marks.eventsStale);
  EXPECT_TRUE(ws.marks.loopEventsEdited[0]);
  mask(1) = 0;  // one row without the bit still clears the column
  ToggleAddresseeColumn(ws, rows, 1);
  EXPECT_EQ(mask(0), 0x101);
  EXPECT_EQ(mask(1), 0);
  EXPECT_EQ(mask(10), 0);
  EXPECT_EQ(mask(3), 0x40);
  ToggleAddresseeColumn(ws, rows, 8);
  EXPECT_EQ(mask(0), 0x101);
}

TEST(ReportMasks, DoubleClickFlipsOneBitOrTheWholeRow) {
  Workspace ws = TwoLoopTables();
  int32_t& mask = ws.config.events[2].w[EventEntry::kAddresseeMask];
  DoubleClickMask(ws, 2, 1, 3);
  EXPECT_EQ(mask, 0xE0);
  DoubleClickMask(ws, 2, 3, 3);
  EXPECT_EQ(mask, 0xA0);
  DoubleClickMask(ws, 2, 0, 3);
  EXPECT_EQ(mask, 0);
  DoubleClickMask(ws, 2, 0, 0);  // no addressees: nothing to bind
  EXPECT_EQ(mask, 0);
  DoubleClickMask(ws, 2, 10, 3);  // beyond eight addressees
  DoubleClickMask(ws, 99, 2, 3);
  EXPECT_EQ(mask, 0);
  EXPECT_EQ(ws.marks.loopEventsEdited, (std::array<bool, kLoops>{false, false, false, false}));
  DoubleClickMask(ws, 14, 2, 3);
  EXPECT_TRUE(ws.marks.loopEventsEdited[2]);
}

}  // namespace
}  // namespace vorsin
