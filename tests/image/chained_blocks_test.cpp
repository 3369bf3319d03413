// The chained blocks: level tables, relays, relay patterns, phones, SMS
// texts, time events and the descriptions.
#include <gtest/gtest.h>

#include "image/chained_lists.h"
#include "image/descriptions.h"
#include "image/level_tables.h"
#include "image/relay_blocks.h"
#include "image_test_support.h"

namespace vorsin {
namespace {

using namespace image;
using image_test::B;
using image_test::RecordingMessenger;

Interval Table(int kind, std::initializer_list<int> values) {
  Interval t;
  t.w[0] = kind;
  t.w[1] = static_cast<int32_t>(values.size() / 2);
  int i = 2;
  for (int v : values) t.w[i++] = v;
  return t;
}

Configuration WithTables(int count) {
  Configuration c;
  for (int i = 0; i < count; ++i) {
    c.intervals.push_back(Table(i % 2, {0, 10 + i, 100, 50}));
    c.intervalDescriptions.push_back(IntervalDescription{});
  }
  return c;
}

TEST(LevelTables, FirstSixAlwaysThenSharedCustomTablesOnce) {
  Configuration c = WithTables(9);
  c.general.intervalIndex(0) = 7;
  c.general.intervalIndex(1) = 2;
  c.general.intervalIndex(2) = 7;
  c.general.intervalIndex(3) = 8;
  const auto b = EncodeLevelTables(c);
  EXPECT_EQ(B({7, 3, 7, 8}), std::vector<uint8_t>(b.begin(), b.begin() + 4));
  EXPECT_EQ(4u + 8 * 5 + 1, b.size());  // eight tables of two ranges, then 0xFF
  EXPECT_EQ(0x82, b[4 + 5]);            // table 2: kind 1, two ranges
  EXPECT_EQ(0xFF, b.back());

  Configuration r = WithTables(9);
  std::string error;
  ASSERT_TRUE(DecodeLevelTables(b, r, error)) << error;
  EXPECT_EQ(9u, r.intervals.size());
  for (int L = 0; L < kLoops; ++L) EXPECT_EQ(c.general.intervalIndex(L), r.general.intervalIndex(L));
}

TEST(LevelTables, ReadingMatchesByValuesAndAddsUnknownTables) {
  Configuration c = WithTables(8);
  c.intervals[7] = Table(1, {1, 2, 3, 4, 5, 6});
  c.general.intervalIndex(0) = 7;
  c.general.intervalIndex(1) = 7;
  const auto b = EncodeLevelTables(c);

  // The reader knows table 7 at another place and not tables 4 and 5.
  Configuration r = WithTables(4);
  r.intervals.push_back(Table(0, {1, 2, 3, 4, 5, 6}));  // kind is not compared
  r.intervalDescriptions.emplace_back();
  std::string error;
  ASSERT_TRUE(DecodeLevelTables(b, r, error)) << error;
  EXPECT_EQ(4, r.general.intervalIndex(0));
  EXPECT_EQ(4, r.general.intervalIndex(1));
  ASSERT_EQ(7u, r.intervals.size());  // tables 4 and 5 appended
  ASSERT_EQ(7u, r.intervalDescriptions.size());
  EXPECT_EQ(c.intervals[4], r.intervals[5]);
  EXPECT_EQ(c.intervals[5], r.intervals[6]);
  EXPECT_EQ(0, r.general.intervalIndex(2));
  const IntervalDescription& d = r.intervalDescriptions[6];
  EXPECT_EQ(1 * 16 + 70, d.flags);
  EXPECT_EQ(Cp("1 интервал"), d.name);
  EXPECT_EQ(Cp("норма"), d.blocks[kGuardBlock][0].name);
  EXPECT_EQ(Cp("Интервал 2"), d.blocks[kFireBlock][2].name);
  EXPECT_EQ("0, 000,00,000, 16,16, 0,0, 0", d.blocks[kControlBlock][1].code);
}

TEST(LevelTables, NewTableOfEightRangesNamesOnlyItsSlots) {
  std::vector<uint8_t> b = {1, 1, 1, 1, 0x01, 0, 255, 0x08};
  for (int i = 0; i < 16; ++i) b.push_back(static_cast<uint8_t>(i));
  b.push_back(0xFF);
  b[0] = 2;
  Configuration r = WithTables(1);
  std::string error;
  ASSERT_TRUE(DecodeLevelTables(b, r, error)) << error;
  ASSERT_EQ(2u, r.intervalDescriptions.size());
  EXPECT_EQ(Cp("7 интервалов"), r.intervalDescriptions[1].name);
  EXPECT_EQ(Cp("Интервал 7"), r.intervalDescriptions[1].blocks[kFireBlock][7].name);
  EXPECT_EQ(1, r.general.intervalIndex(0));
}

TEST(LevelTables, MalformedBlocksAreRefused) {
  std::string error;
  Configuration r = WithTables(3);
  EXPECT_FALSE(DecodeLevelTables(B({1, 1, 1}), r, error));
  EXPECT_FALSE(DecodeLevelTables(B({1, 1, 1, 1, 0x02, 0, 1}), r, error));          // cut inside a table
  EXPECT_FALSE(DecodeLevelTables(B({1, 1, 1, 1, 0x01, 0, 255}), r, error));        // no end mark
  EXPECT_FALSE(DecodeLevelTables(B({3, 1, 1, 1, 0x01, 0, 255, 0xFF}), r, error));  // table 3 absent
  EXPECT_FALSE(DecodeLevelTables(B({0, 1, 1, 1, 0x01, 0, 255, 0xFF}), r, error));
  std::vector<uint8_t> nine = {1, 1, 1, 1, 0x09};
  nine.resize(nine.size() + 18, 1);
  nine.push_back(0xFF);
  EXPECT_FALSE(DecodeLevelTables(nine, r, error));
  EXPECT_FALSE(error.empty());
}

TEST(RelayCodes, IdentifiersSurviveTheirCodes) {
  for (int id = 0; id <= 45; ++id) {
    if (id >= 8 && id <= 19) continue;  // no such sources in any list
    const bool loopList = id < 40;
    EXPECT_EQ(id, RelaySourceFromCode(RelaySourceCode(id), loopList)) << id;
  }
  EXPECT_EQ(40, RelaySourceFromCode(0, false));
  EXPECT_EQ(0, RelaySourceFromCode(0, true));
  RelayBinding b;
  b.w[1] = 44;
  b.w[2] = 0xC5;
  b.w[3] = 9;
  const auto bytes = EncodeBinding(b);
  EXPECT_EQ(B({10 * 8 + 5, 0xC9}), std::vector<uint8_t>(bytes.begin(), bytes.end()));
  EXPECT_EQ(b, DecodeBinding(bytes[0], bytes[1], false));
}

TEST(RelayBlocks, FixedFormForAFireLoopAndBindingFormOtherwise) {
  Configuration c;
  c.general.loopFlags(2) = 0x11;  // fire loop on relay 2
  c.general.relayNormallyClosed(0) = 1;
  RelayBinding b;
  b.w[1] = 3;
  b.w[2] = 2;
  b.w[3] = 1;
  c.relayBindings[0][1] = {b, b};
  c.relayBindings[1][0] = {b};

  const auto relay1 = EncodeRelayBlock(c, 0);
  ASSERT_EQ(1u + 25 + 2, relay1.size());
  EXPECT_EQ(27, relay1[0]);  // normally closed: no 0x80
  EXPECT_EQ(B({2, 0x78, 0x01, 4, 0x1A, 0x01, 0x1A, 0x01}), std::vector<uint8_t>(relay1.begin() + 1, relay1.begin() + 9));

  const auto relay2 = EncodeRelayBlock(c, 1);
  ASSERT_EQ(26u, relay2.size());
  EXPECT_EQ(B({0x59, 2, 0x78, 1, 2, 0x78, 1, 2, 0x40, 5, 2, 0x78, 1, 0x0C}),
            std::vector<uint8_t>(relay2.begin(), relay2.begin() + 14));

  std::vector<uint8_t> both = relay1;
  both.insert(both.end(), relay2.begin(), relay2.end());
  Configuration r;
  r.general.loopFlags(2) = 0x11;
  std::string error;
  ASSERT_TRUE(DecodeRelayBlocks(both, r, error)) << error;
  EXPECT_EQ(c.relayBindings[0], r.relayBindings[0]);
  EXPECT_EQ(1, r.general.relayNormallyClosed(0));
  for (const auto& list : r.relayBindings[1]) EXPECT_TRUE(list.empty());
  EXPECT_EQ(0, r.general.relayNormallyClosed(1));
  EXPECT_FALSE(DecodeRelayBlocks(std::span<const uint8_t>(relay1).first(10), r, error));
}

TEST(RelayPatterns, LastStepMarkAndTheEndMark) {
  Configuration c;
  c.relayPatterns = {ParamRecord{{0, 1, 153}, "a"}, ParamRecord{{0, 2, 138, 10}, "b"}};
  const auto b = EncodeRelayPatterns(c);
  EXPECT_EQ(B({153 | 0x40, 138, 10 | 0x40, 0xFF}), b);
  Configuration r;
  std::string error;
  ASSERT_TRUE(DecodeRelayPatterns(b, r, error));
  ASSERT_EQ(2u, r.relayPatterns.size());
  EXPECT_EQ(Cp("Вкл. непрерывно"), r.relayPatterns[0].text);
  EXPECT_EQ(Cp("Меандр 1"), r.relayPatterns[1].text);
  EXPECT_EQ(c.relayPatterns[1].w, r.relayPatterns[1].w);

  // A last step of 0xBF goes out as 0xFF and ends the list when read.
  c.relayPatterns.insert(c.relayPatterns.begin() + 1, ParamRecord{{0, 2, 5, 0xBF}, "x"});
  r.relayPatterns.clear();
  ASSERT_TRUE(DecodeRelayPatterns(EncodeRelayPatterns(c), r, error));
  EXPECT_EQ(1u, r.relayPatterns.size());
  EXPECT_EQ(Cp("Выкл"), RelayPatternName(6));
  EXPECT_EQ(Cp("Тип 9"), RelayPatternName(9));
  EXPECT_FALSE(DecodeRelayPatterns(B({1, 2, 3}), r, error));
}

TEST(PhonesBlock, AddresseesWithoutPhonesAreNotStored) {
  Configuration c;
  c.addressees = {image_test::NamedAddressee(1, 2), image_test::NamedAddressee(2, 0),
                  image_test::NamedAddressee(3, 1)};
  c.addressees[0].phones[0].formats = 0x1234;
  const auto b = EncodePhones(c);
  EXPECT_EQ(2u + 2 * 17 + 2 + 17 + 2, b.size());
  EXPECT_EQ(B({4, 2}), std::vector<uint8_t>(b.begin(), b.begin() + 2));
  EXPECT_EQ(0x34, b[2 + 15]);
  EXPECT_EQ(B({0, 0}), std::vector<uint8_t>(b.end() - 2, b.end()));

  Configuration r;
  std::string error;
  ASSERT_TRUE(DecodePhones(b, r, error));
  ASSERT_EQ(2u, r.addressees.size());
  EXPECT_EQ(Cp("Адресат2"), r.addressees[1].name);
  EXPECT_EQ(Cp("Телефон 2"), r.addressees[0].phones[1].name);
  EXPECT_EQ(0x34, r.addressees[0].phones[0].formats);
  r.addressees.clear();
  EXPECT_FALSE(DecodePhones(std::span<const uint8_t>(b).first(20), r, error));
}

TEST(SmsTextsBlock, IdentifierRangesAndTheWalk) {
  // Profile 1, SMS string 20 twice (the first wins), substring 81, an
  // identifier past the lists, then the end mark.
  const auto b = B({1, 'a', 0xFF, 20, 'b', 0xFF, 20, 'z', 0xFF, 81, 138, 0xE0, 0xFF, 252, 0xFF, 0xFF, 0xFF, 0xFF});
  Configuration r;
  std::string error;
  ASSERT_TRUE(DecodeSmsTexts(b, {}, r, error)) << error;
  ASSERT_EQ(1u, r.smsProfileTexts.size());
  ASSERT_EQ(1u, r.smsStrings.size());
  ASSERT_EQ(1u, r.smsSubStrings.size());
  EXPECT_EQ("b", r.smsStrings[0].text);
  EXPECT_EQ("\xE0", r.smsSubStrings[0].text);
  r = Configuration{};
  EXPECT_FALSE(DecodeSmsTexts(B({1, 'a', 0xFF, 20, 'b'}), {}, r, error));
  EXPECT_FALSE(DecodeSmsTexts(B({1, 'a', 0xFF, 0xFF}), {}, r, error));
}

TEST(TimeEventsBlock, TestReportsAreFlagged) {
  Configuration c;
  c.timeEvents = {TimeEvent{{0, 0, 7, 30, 1}, ""}, TimeEvent{{0, 31, 23, 59, 40}, ""}};
  const auto b = EncodeTimeEvents(c);
  EXPECT_EQ(B({0, 7, 30, 0x81, 31, 23, 59, 40, 0xFF}), b);
  Configuration r;
  size_t end = 0;
  std::string error;
  ASSERT_TRUE(DecodeTimeEvents(b, r, &end, error));
  EXPECT_EQ(c.timeEvents, r.timeEvents);
  EXPECT_EQ(b.size(), end);
  EXPECT_FALSE(DecodeTimeEvents(std::span<const uint8_t>(b).first(6), r, &end, error));
}

Configuration DescribedConfiguration() {
  Configuration c;
  c.intervals.push_back(Table(0, {0, 255}));
  IntervalDescription d;
  d.flags = 39;
  d.name = Cp("Шлейф отключен");
  for (auto& block : d.blocks) block[0].name = Cp("Интервал 0");
  c.intervalDescriptions.push_back(d);
  return c;
}

TEST(Descriptions, DefaultNamesGiveOnlyTheLoopRecords) {
  Configuration c = DescribedConfiguration();
  c.addressees = {image_test::NamedAddressee(1, 2)};
  const auto text = BuildDescriptionsText(c, Stamp{2024, 2, 29, 13, 7, 0});
  std::vector<uint8_t> want = {0x07, 0xE8, 2, 29, 13, 7};
  for (int L = 0; L < kLoops; ++L) {
    want.push_back(static_cast<uint8_t>(0x10 + L));
    const std::string name = Cp("Шлейф отключен");
    want.insert(want.end(), name.begin(), name.end());
    want.insert(want.end(), {0, 0xC0, 39});
  }
  want.push_back(0xFF);
  EXPECT_EQ(want, text);
}

TEST(Descriptions, NamesComeBackAfterPackingAndUnpacking) {
  Configuration c = DescribedConfiguration();
  c.addressees = {image_test::NamedAddressee(1, 1), image_test::NamedAddressee(2, 2)};
  c.addressees[0].name = Cp("Пульт");
  c.addressees[1].phones[1].name = Cp("Сотовый");  // under a default addressee name
  c.intervalDescriptions[0].blocks[kGuardBlock][0].name = Cp("Норма");
  std::vector<uint8_t> packed, text;
  ASSERT_TRUE(CompressDescriptions(BuildDescriptionsText(c, Stamp{2024, 12, 1, 9, 5, 0}), packed));
  ASSERT_TRUE(UncompressDescriptions(packed, text));

  Configuration r = DescribedConfiguration();
  r.addressees = {image_test::NamedAddressee(1, 1), image_test::NamedAddressee(2, 2)};
  r.intervalDescriptions[0].flags = 0x20;
  ASSERT_TRUE(ApplyDescriptionsText(text, r));
  EXPECT_EQ("01.12.2024 09:05", r.lastLoadTime);
  EXPECT_EQ(Cp("Пульт"), r.addressees[0].name);
  EXPECT_EQ(Cp("Адресат2"), r.addressees[1].name);
  EXPECT_EQ(Cp("Сотовый"), r.addressees[1].phones[1].name);
  EXPECT_EQ(Cp("Норма"), r.intervalDescriptions[0].blocks[kGuardBlock][0].name);
  EXPECT_EQ(0x20 | 7, r.intervalDescriptions[0].flags);  // only the low three bits are taken
}

TEST(Descriptions, LongNamesUnpackWhole) {
  // Names may add up to far more than 4000 bytes while packing into fewer.
  Configuration c = DescribedConfiguration();
  c.intervalDescriptions[0].name = std::string(20000, 'N');
  std::vector<uint8_t> packed, text;
  ASSERT_TRUE(CompressDescriptions(BuildDescriptionsText(c, Stamp{}), packed));
  EXPECT_LE(packed.size(), 4000u);
  ASSERT_TRUE(UncompressDescriptions(packed, text));
  Configuration r = DescribedConfiguration();
  ASSERT_TRUE(ApplyDescriptionsText(text, r));
  EXPECT_EQ(c.intervalDescriptions[0].name, r.intervalDescriptions[0].name);
}

TEST(Descriptions, RecordsThatNameNothingAreIgnored) {
  Configuration r = DescribedConfiguration();
  r.addressees = {image_test::NamedAddressee(1, 1)};
  // A phone record before any addressee record, one for a missing phone,
  // a range beyond the slots, then an unknown tag that ends the records.
  const auto text = B({0x07, 0xE8, 1, 2, 3, 4, 0xF0, 'x', 0, 0xA0, 'A', 0, 0xF5, 'y', 0, 0x10, 'L', 0,
                       0x2C, 'r', 0, 0x99, 0xA0, 'Z', 0});
  ASSERT_TRUE(ApplyDescriptionsText(text, r));
  EXPECT_EQ("A", r.addressees[0].name);
  EXPECT_EQ(Cp("Телефон 1"), r.addressees[0].phones[0].name);
  EXPECT_EQ("L", r.intervalDescriptions[0].name);
  EXPECT_FALSE(ApplyDescriptionsText(B({1, 2, 3}), r));
}

TEST(Descriptions, ChunksBehindTheTimeEvents) {
  Configuration c = DescribedConfiguration();
  std::vector<uint8_t> packed;
  ASSERT_TRUE(CompressDescriptions(BuildDescriptionsText(c, Stamp{2023, 5, 6, 7, 8, 0}), packed));
  std::vector<uint8_t> block = {0xFF};
  const auto chunk = DescriptionsBlock(packed);
  block.insert(block.end(), chunk.begin(), chunk.end());
  EXPECT_EQ(0x01, chunk[0]);
  EXPECT_EQ(0xF1, chunk[1]);
  EXPECT_EQ(packed.size(), static_cast<size_t>(chunk[2] << 8 | chunk[3]));

  RecordingMessenger m;
  Configuration r = DescribedConfiguration();
  EXPECT_EQ(DescriptionsResult::Applied, ReadDescriptions(block, r, m));
  EXPECT_EQ("06.05.2023 07:08", r.lastLoadTime);
  EXPECT_EQ(DescriptionsResult::Missing, ReadDescriptions(B({0xFF}), r, m));
  EXPECT_TRUE(m.shown.empty());

  // Bytes that are no zlib stream, or a length running past the end of
  // what was read: told, and the read goes on.
  auto spoiled = block;
  spoiled[6] ^= 0x55;
  spoiled[7] ^= 0x55;
  EXPECT_EQ(DescriptionsResult::Unreadable, ReadDescriptions(spoiled, r, m));
  EXPECT_EQ(DescriptionsResult::Unreadable,
            ReadDescriptions(std::span<const uint8_t>(block).first(block.size() - 3), r, m));
  EXPECT_EQ(DescriptionsResult::Unreadable, ReadDescriptions(B({0xFF, 0x01, 0xF1, 0x00}), r, m));
  ASSERT_EQ(3u, m.shown.size());
  for (const auto& shown : m.shown) {
    EXPECT_EQ(Cp("Ошибка чтения установочной информации"), shown.text);
    EXPECT_EQ(Cp("Внимание"), shown.caption);
    EXPECT_EQ(Icon::None, shown.icon);
    EXPECT_EQ(Buttons::Ok, shown.buttons);
  }
}

}  // namespace
}  // namespace vorsin
