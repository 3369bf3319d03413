// Comparing what programming wrote with what the device gives back.
#include <gtest/gtest.h>

#include "image/image_layout.h"
#include "image/verify.h"
#include "model/cp1251.h"

namespace vorsin::image {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(VerifyTest, ExpectedContentKeepsTheLastWriteAndJoinsTouchingBlocks) {
  // As programming writes: the flag set, data, the table, the flag cleared.
  const std::vector<StagedBlock> written = {
      {0x1F, {1}}, {0x100, {1, 2, 3}}, {0x103, {4}}, {0x110, {9, 9}}, {0x20, Bytes(4, 7)}, {0x1F, {0}}};
  const std::vector<StagedBlock> expected = ExpectedContent(written);
  ASSERT_EQ(3u, expected.size());
  EXPECT_EQ((StagedBlock{0x1F, {0, 7, 7, 7, 7}}), expected[0]);  // flag and table: one range, flag cleared
  EXPECT_EQ((StagedBlock{0x100, {1, 2, 3, 4}}), expected[1]);
  EXPECT_EQ((StagedBlock{0x110, {9, 9}}), expected[2]);
}

TEST(VerifyTest, DifferenceIsPlacedInItsBlockWithTheBytesOnBothSides) {
  AddressTable table;
  table.address = 0x20;
  SetTableEntry(table, kEntryVersion, 0x10);
  SetTableEntry(table, kEntryPin, 0x100);
  SetTableEntry(table, kEntryGeneral, 0x108);
  SetTableEntry(table, kEntryVoiceRepeat, 0x124);
  SetTableEntry(table, kEntryAreaEnd, 0x110);  // an end, never a block

  Bytes general(0x124 - 0x100, 0x55);
  const std::vector<StagedBlock> expected = {{0x1F, Bytes(87, 0)}, {0x100, general}, {0x124, Bytes(16, 1)}};
  std::vector<StagedBlock> read = expected;
  const VerifyOutcome same = CompareContent(expected, read, table);
  EXPECT_TRUE(same.equal);
  EXPECT_EQ(87u + 0x24 + 16, same.bytesCompared);
  EXPECT_NE(std::string::npos, VerifyMessage(same).find(Cp("совпадает")));

  read[1].bytes[0x112 - 0x100] ^= 0x01;
  read[1].bytes[0x113 - 0x100] ^= 0x80;
  read[0].bytes[0] = 1;      // the flag left set
  read[2].bytes.resize(10);  // a stretch that came back short
  const VerifyOutcome o = CompareContent(expected, read, table);
  EXPECT_FALSE(o.equal);
  EXPECT_EQ(0x1Fu, o.address);
  EXPECT_EQ(kBlockFlag, o.block.entry);
  EXPECT_EQ(1 + 2 + 6u, o.bytesDiffering);

  read[0].bytes[0] = 0;
  const VerifyOutcome g = CompareContent(expected, read, table);
  EXPECT_EQ(0x112u, g.address);
  EXPECT_EQ(kEntryGeneral, g.block.entry);
  EXPECT_EQ(0x108u, g.block.address);
  EXPECT_EQ(0x124u - 0x108, g.block.length);
  EXPECT_EQ(Bytes(8, 0x55), g.expected);
  EXPECT_EQ((Bytes{0x54, 0xD5, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}), g.found);
  const std::string text = ToUtf8(VerifyMessage(g));
  EXPECT_NE(std::string::npos, text.find("\"общие настройки\" (0x0108, 28 байт)")) << text;
  EXPECT_NE(std::string::npos, text.find("по адресу 0x0112")) << text;
  EXPECT_NE(std::string::npos, text.find("Записано: 55 55 55 55 55 55 55 55\nСчитано: 54 D5 55")) << text;

  // Within the table itself.
  read = expected;
  read[0].bytes[5] = 9;
  EXPECT_EQ(kBlockTable, CompareContent(expected, read, table).block.entry);
}

}  // namespace
}  // namespace vorsin::image
