// Writing a configuration into a device memory and decoding the area again,
// without a link: every block the image holds comes back.
#include <gtest/gtest.h>

#include "image/blocks.h"
#include "image/image_check.h"
#include "image/image_reader.h"
#include "image/image_writer.h"
#include "image_test_support.h"

namespace vorsin {
namespace {

using namespace image_test;

class ImageRoundTrip : public ::testing::Test {
 protected:
  ImageRoundTrip() : vocabulary(ShippedVocabulary()) {
    ResetToDefaults(ws, vocabulary);
    ResetToDefaults(fresh, vocabulary);
  }

  // Builds the plan for ws into the device memory and decodes it into `fresh`.
  int WriteAndRead(image::ImageParams params = {}) {
    image::PreparedImage prepared = image::PrepareForImage(ws.config);
    plan = image::BuildImage(prepared.config, ws.codeDefinitions, device.table, params, messenger);
    EXPECT_TRUE(image::PlanFitsMemory(plan));
    device.Apply(plan);
    image::DecodeResult result;
    const auto area = device.Area();
    const int status = image::DecodeConfigurationArea(fresh, vocabulary, device.table, device.firmware, area,
                                                      messenger, result);
    vgr = result.vgr;
    vgt = result.vgt;
    return status;
  }

  Vocabulary vocabulary;
  Workspace ws, fresh;
  MemoryDevice device;
  RecordingMessenger messenger;
  image::ImagePlan plan;
  int vgr = -1, vgt = -1;
};

TEST_F(ImageRoundTrip, EveryBlockOfARichConfigurationComesBack) {
  FillRich(ws);
  image::ImageParams params;
  params.vgr = 17;
  params.vgt = 200;
  params.stamp = {2024, 3, 9, 14, 5, 0};
  ASSERT_EQ(0, WriteAndRead(params));
  ExpectSameConfiguration(AsReadBack(ws.config, fresh, ws.codeDefinitions), fresh.config);
  EXPECT_EQ(17, vgr);
  EXPECT_EQ(200, vgt);
  EXPECT_EQ("09.03.2024 14:05", fresh.config.lastLoadTime);
  EXPECT_TRUE(messenger.shown.empty());
}

// Reading takes a fixed block's bytes by the table's size: an encoder that
// wrote more or fewer would shift or cut what comes back.
TEST_F(ImageRoundTrip, FixedBlocksAreWrittenAsLongAsReadingTakesThem) {
  FillRich(ws);
  const image::ImageParams params;
  image::WriteInput in{ws.config, ws.codeDefinitions, params, messenger};
  for (const image::Block& block : image::Blocks()) {
    const auto bytes = block.encode(in);
    for (size_t i = 0; i < bytes.size(); ++i)
      if (block.places[i].extent == image::Extent::Fixed)
        EXPECT_EQ(block.places[i].size, bytes[i].size()) << block.part;
  }
}

TEST_F(ImageRoundTrip, ReadingReplacesWhatTheDeviceHoldsAndKeepsTheRest) {
  FillRich(ws);
  fresh.config.addressees.push_back(NamedAddressee(1, 1));
  fresh.config.timeEvents.push_back(TimeEvent{});
  fresh.config.general.setProfileIndex(3);
  fresh.config.pukCode = "11112222";
  ASSERT_EQ(0, WriteAndRead());
  EXPECT_EQ(3u, fresh.config.addressees.size());
  EXPECT_EQ(2u, fresh.config.timeEvents.size());
  EXPECT_EQ(0, fresh.config.general.profileIndex());
  EXPECT_EQ("11112222", fresh.config.pukCode);  // not in the image
  for (int L = 0; L < kLoops; ++L) {
    EXPECT_TRUE(fresh.marks.loopRelayEdited[L]);
    EXPECT_TRUE(fresh.marks.loopEventsEdited[L]);
  }
}

TEST_F(ImageRoundTrip, ServiceFlagBit5GoesOutWithBit4AndIsClearedOnReading) {
  ws.config.general.serviceFlags() = 0x10;
  ASSERT_EQ(0, WriteAndRead());
  EXPECT_EQ(0x30, device.mem[TableEntry(device.table, image::kEntryGeneral) + 2]);
  EXPECT_EQ(0x10, fresh.config.general.serviceFlags());
  // Programming the read configuration again gives the same general block.
  const auto first = std::vector<uint8_t>(device.mem.begin() + 0x108, device.mem.begin() + 0x108 + 28);
  ws = fresh;
  ASSERT_EQ(0, WriteAndRead());
  EXPECT_EQ(first, std::vector<uint8_t>(device.mem.begin() + 0x108, device.mem.begin() + 0x108 + 28));
}

TEST_F(ImageRoundTrip, AddresseeWithoutPhonesIsLeftOutAndTheOthersMoveUp) {
  ws.config.addressees.push_back(NamedAddressee(1, 1));
  ws.config.addressees.push_back(NamedAddressee(2, 0));
  ws.config.addressees.push_back(NamedAddressee(3, 2));
  ws.config.addressees[2].name = Cp("Третий");
  ws.config.addressees[2].confirmWait = 77;
  ws.config.addressees[1].confirmWait = 11;
  ws.config.events[0].w[9] = 0xE0;  // all three
  ws.config.events[1].w[9] = 0x20;  // the third only
  ws.config.events[2].w[9] = 0x40;  // the one without phones only
  const Configuration before = ws.config;
  ASSERT_EQ(0, WriteAndRead());
  EXPECT_EQ(before, ws.config);  // programming leaves the configuration alone
  ASSERT_EQ(2u, fresh.config.addressees.size());
  EXPECT_EQ(Cp("Адресат1"), fresh.config.addressees[0].name);
  EXPECT_EQ(Cp("Третий"), fresh.config.addressees[1].name);
  EXPECT_EQ(77, fresh.config.addressees[1].confirmWait);  // slot 1 follows the written addressees
  EXPECT_EQ(0xC0, fresh.config.events[0].w[9]);
  EXPECT_EQ(0x40, fresh.config.events[1].w[9]);
  EXPECT_EQ(0x00, fresh.config.events[2].w[9]);
  // Unused slots get the fixed filler.
  const uint32_t slots = TableEntry(device.table, image::kEntryAddresseeFlags);
  EXPECT_EQ(0x89, device.mem[slots + 4]);
  EXPECT_EQ(0x1E, device.mem[slots + 5]);
}

TEST_F(ImageRoundTrip, RenamedPhoneOfADefaultNamedAddresseeKeepsItsName) {
  ws.config.addressees.push_back(NamedAddressee(1, 1));
  ws.config.addressees.push_back(NamedAddressee(2, 2));
  ws.config.addressees[1].phones[1].name = Cp("Мобильный");
  ASSERT_EQ(0, WriteAndRead());
  ASSERT_EQ(2u, fresh.config.addressees.size());
  EXPECT_EQ(Cp("Адресат2"), fresh.config.addressees[1].name);
  EXPECT_EQ(Cp("Телефон 1"), fresh.config.addressees[1].phones[0].name);
  EXPECT_EQ(Cp("Мобильный"), fresh.config.addressees[1].phones[1].name);
}

TEST_F(ImageRoundTrip, SharedCustomLevelTableIsWrittenOnceAndMatchedOnReading) {
  UseTable(ws, 0, 7);
  UseTable(ws, 1, 7);
  ASSERT_EQ(0, WriteAndRead());
  const uint32_t at = TableEntry(device.table, image::kEntryLevelTables);
  EXPECT_EQ(7, device.mem[at]);
  EXPECT_EQ(7, device.mem[at + 1]);
  EXPECT_EQ(fresh.config.intervals.size(), ws.config.intervals.size());
  EXPECT_EQ(7, fresh.config.general.intervalIndex(0));
  EXPECT_EQ(7, fresh.config.general.intervalIndex(1));
}

TEST_F(ImageRoundTrip, UnknownLevelTablesAreAddedOnceWithDefaultNames) {
  // The device's tables are unknown to the reading side's vocabulary.
  Interval custom;
  custom.w[0] = 0;
  custom.w[1] = 8;
  for (int i = 0; i < 16; ++i) custom.w[2 + i] = 10 * i;
  ws.config.intervals.push_back(custom);
  IntervalDescription d = ws.config.intervalDescriptions[1];
  d.name = Cp("Восемь");
  ws.config.intervalDescriptions.push_back(d);
  const int index = static_cast<int>(ws.config.intervals.size()) - 1;
  UseTable(ws, 0, index);
  UseTable(ws, 1, index);
  const size_t known = fresh.config.intervals.size();
  fresh.config.intervals.resize(3);  // tables 3.. are not known when reading
  fresh.config.intervalDescriptions.resize(3);
  ASSERT_EQ(0, WriteAndRead());
  // Tables 3..5 of the first six and the custom one are new to the reader.
  EXPECT_EQ(3u + 3u + 1u, fresh.config.intervals.size());
  EXPECT_LT(fresh.config.intervals.size(), known + 2);
  const int got = fresh.config.general.intervalIndex(0);
  EXPECT_EQ(got, fresh.config.general.intervalIndex(1));
  EXPECT_EQ(custom, fresh.config.intervals[got]);
  const IntervalDescription& nd = fresh.config.intervalDescriptions[got];
  EXPECT_EQ(Cp("Восемь"), nd.name);  // from the descriptions block
  EXPECT_EQ((70 & ~7) | (d.flags & 7), nd.flags);  // the image keeps the low three bits
  EXPECT_EQ(8, LoopRangeCount(fresh.config, 0));
  // Range names the writer changed come from the descriptions block, the
  // rest are the defaults of a new table.
  for (int n = 0; n < kMaxRanges; ++n)
    EXPECT_EQ(d.blocks[kGuardBlock][n].name, nd.blocks[kGuardBlock][n].name) << n;
  EXPECT_EQ(Cp("норма"), nd.blocks[kControlBlock][0].name);
  EXPECT_EQ(Cp("Интервал 2"), nd.blocks[kFireBlock][2].name);
}

TEST_F(ImageRoundTrip, WriteOrderPutsTheFlagFirstAndTheTableAndClearedFlagLast) {
  FillRich(ws);
  ASSERT_EQ(0, WriteAndRead());
  ASSERT_GE(plan.blocks.size(), 3u);
  const auto& b = plan.blocks;
  const uint32_t flag = device.table.address - 1u;
  EXPECT_EQ(flag, b[0].address);
  EXPECT_EQ(B({1}), b[0].bytes);
  for (size_t i = 1; i + 2 < b.size(); ++i) {
    EXPECT_LT(b[i - 1].end(), b[i].address + 1) << "block " << i;  // ascending, no overlap
    EXPECT_NE(b[i - 1].end(), b[i].address) << "adjacent blocks are joined";
  }
  EXPECT_EQ(device.table.address, b[b.size() - 2].address);
  EXPECT_EQ(kTableBytes, b[b.size() - 2].bytes.size());
  EXPECT_EQ(flag, b.back().address);
  EXPECT_EQ(B({0}), b.back().bytes);
  EXPECT_EQ(0, device.mem[flag]);
  // Entry 40 ends the area right behind the descriptions block.
  EXPECT_TRUE(plan.withDescriptions);
  EXPECT_EQ(0xFF, device.mem[TableEntry(plan.table, image::kEntryAreaEnd) - 1]);
  size_t total = 0;
  for (size_t i = 1; i < b.size(); ++i) total += b[i].bytes.size();
  EXPECT_EQ(total, plan.total);  // the first flag byte counts nowhere
}

TEST_F(ImageRoundTrip, ChainedBlocksFollowEachOtherInTheirOrder) {
  FillRich(ws);
  ASSERT_EQ(0, WriteAndRead());
  const AddressTable& t = plan.table;
  const int order[] = {image::kEntryEvents, image::kEntryLevelTables, image::kEntryRelays,
                       image::kEntryRelayPatterns, image::kEntryPhones, image::kEntrySms,
                       image::kEntryTimeEvents, image::kEntryAreaEnd};
  EXPECT_EQ(TableEntry(device.table, image::kEntryLoopLatch) + 8u, TableEntry(t, image::kEntryEvents));
  for (size_t i = 1; i < std::size(order); ++i)
    EXPECT_LT(TableEntry(t, order[i - 1]), TableEntry(t, order[i])) << "entry " << order[i];
  EXPECT_EQ(TableEntry(t, image::kEntryEvents) + 9 * ws.config.events.size() + 1,
            TableEntry(t, image::kEntryLevelTables));
}

TEST_F(ImageRoundTrip, PinZeroLeavesTheDeviceBytes) {
  device.mem[0x100] = 'A';
  ws.config.pinCode = "0";
  ASSERT_EQ(0, WriteAndRead());
  EXPECT_EQ('A', device.mem[0x100]);
  for (const auto& b : plan.blocks) EXPECT_NE(0x100u, b.address);
}

TEST_F(ImageRoundTrip, ProgrammingTwiceDiffersOnlyInTheDescriptions) {
  FillRich(ws);
  image::ImageParams params;
  params.stamp = {2024, 1, 1, 0, 0, 0};
  ASSERT_EQ(0, WriteAndRead(params));
  const auto first = plan;
  params.stamp = {2025, 12, 31, 23, 59, 0};
  ASSERT_EQ(0, WriteAndRead(params));
  const uint16_t descriptions = static_cast<uint16_t>(TableEntry(first.table, image::kEntryTimeEvents) +
                                                      4 * ws.config.timeEvents.size() + 1);
  ASSERT_EQ(first.blocks.size(), plan.blocks.size());
  for (size_t i = 0; i + 2 < plan.blocks.size(); ++i) {
    const auto& a = first.blocks[i];
    const auto& b = plan.blocks[i];
    EXPECT_EQ(a.address, b.address);
    const size_t common = std::min<size_t>(descriptions - a.address, a.bytes.size());
    if (a.address < descriptions) {
      EXPECT_TRUE(std::equal(a.bytes.begin(), a.bytes.begin() + common, b.bytes.begin())) << "block " << i;
    }
  }
  EXPECT_EQ("31.12.2025 23:59", fresh.config.lastLoadTime);
}

// A name with a zero byte (a project file may carry one) ends there; what
// followed it must not be read as records and lose the later names.
TEST_F(ImageRoundTrip, ANameWithAZeroByteEndsThereAndTheLaterNamesComeBack) {
  ws.config.addressees.push_back(NamedAddressee(1, 1));
  ws.config.addressees.push_back(NamedAddressee(2, 1));
  ws.config.addressees[0].name = std::string("A\0\x07zz", 5);
  ws.config.addressees[1].name = Cp("Второй");
  ws.config.intervalDescriptions[ws.config.general.intervalIndex(0)].name = Cp("Своя таблица");
  ws.config.remoteCommands[0].text = std::string("12\0\x05\x06", 5);  // the same for a command's password
  ws.config.remoteCommands[1].w[1] = 0xF0;
  ASSERT_EQ(0, WriteAndRead());
  EXPECT_EQ("12", fresh.config.remoteCommands[0].text);
  EXPECT_EQ(0xF0, fresh.config.remoteCommands[1].w[1]);
  ASSERT_EQ(2u, fresh.config.addressees.size());
  EXPECT_EQ("A", fresh.config.addressees[0].name);
  EXPECT_EQ(Cp("Второй"), fresh.config.addressees[1].name);
  EXPECT_EQ(Cp("Своя таблица"), fresh.config.intervalDescriptions[fresh.config.general.intervalIndex(0)].name);
}

// What the image does not hold comes back as the reading side has it: the
// words of SMS records, event names, users in slot order with the engineer
// first, remote words other than the masks, range names left at the default.
TEST_F(ImageRoundTrip, PartsTheImageDoesNotHoldComeBackAsReadingMakesThem) {
  Configuration& c = ws.config;
  c.smsStrings.push_back({{7, 8, 9}, "Alarm"});
  c.events[0].text = Cp("Переименовано");
  c.users.clear();  // no engineer: the device gets "not set up"
  c.users.push_back(MakeUser(5, 0x03, "987654", 0));
  c.users.push_back(MakeUser(2, 0x01, "12", 0x21));
  c.remoteControls[0].text = "secret";
  c.remoteControls[0].w[4] = 77;
  c.remoteCommands[0].w[3] = 5;
  c.intervalDescriptions[c.general.intervalIndex(0)].blocks[0][2].name.clear();
  ASSERT_EQ(0, WriteAndRead());
  EXPECT_EQ(0, fresh.config.smsStrings.back().w[0]);
  EXPECT_NE(c.events[0].text, fresh.config.events[0].text);
  ASSERT_EQ(3u, fresh.config.users.size());
  EXPECT_EQ(32, fresh.config.users[0].w[1]);
  EXPECT_EQ(0x80, fresh.config.users[0].w[2]);
  EXPECT_EQ(2, fresh.config.users[1].w[1]);
  EXPECT_EQ("", fresh.config.remoteControls[0].text);

  EXPECT_EQ("", ImageReadBackDifference(c, fresh, ws.codeDefinitions, plan.withDescriptions));
}

}  // namespace
}  // namespace vorsin
