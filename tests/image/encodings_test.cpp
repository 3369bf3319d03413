// Field encodings of the image: phone digits, number and password fields,
// the general and numbers blocks, users, remote commands, event records.
#include <gtest/gtest.h>

#include "image/event_table.h"
#include "image/fixed_blocks.h"
#include "image/phone_code.h"
#include "image_test_support.h"

namespace vorsin {
namespace {

using namespace image;
using image_test::B;

TEST(PhoneCode, NumberFieldExamples) {
  EXPECT_EQ(B({0xE7, 0xDC, 0, 0, 0}), EncodeNumberField("+7*p", 5));
  EXPECT_EQ(B({0xBC, 0, 0, 0, 0}), EncodeNumberField("1?", 5));
  EXPECT_EQ("???", DecodeNumberField(B({0xBC, 0x12, 0, 0, 0})));
  EXPECT_EQ("+7*p", DecodeNumberField(EncodeNumberField("+7*p", 5)));
  EXPECT_EQ("", DecodeNumberField(EncodeNumberField("", 8)));

  const std::string sixteen = "1234567890#*+pt1";
  const auto full = EncodeNumberField(sixteen, 8);
  EXPECT_EQ(0xB1, full.back());  // "t1"
  EXPECT_EQ(sixteen, DecodeNumberField(full));
  const auto fifteen = EncodeNumberField(sixteen.substr(0, 15), 8);
  EXPECT_EQ(0, fifteen.back() & 0x0F);
  EXPECT_EQ(sixteen.substr(0, 15), DecodeNumberField(fifteen));
  // More characters than the field holds are not written past it.
  EXPECT_EQ(full, EncodeNumberField(sixteen + "999", 8));
}

TEST(PhoneCode, CyrillicAndCapitalLettersAreNotCutShort) {
  // The number fields accept these letters; each must code as its Latin
  // lower-case letter rather than end the number.
  EXPECT_EQ("8t9t1p2p3t", DecodeNumberField(EncodeNumberField(Cp("8т9Т1П2P3T"), 5)));
  EXPECT_EQ("5t5p", DecodeNumberField(EncodeNumberField(Cp("5г5п"), 5)));
  EXPECT_EQ(11, PhoneDigitCode(static_cast<char>(0xE3)));  // 'г'
  EXPECT_EQ(0, PhoneDigitCode('x'));
  // A character with no code still reads back as a cut.
  EXPECT_EQ("12", DecodeNumberField(EncodeNumberField("12x3", 5)));
}

TEST(PhoneCode, PasswordField) {
  const auto three = EncodePasswordField("123");
  EXPECT_EQ(0x12, three[0]);
  EXPECT_EQ(0x3F, three[1]);
  EXPECT_EQ(0xFF, three[2]);
  EXPECT_EQ("123", DecodePasswordField(three));
  EXPECT_EQ("000000", DecodePasswordField(EncodePasswordField("000000")));
  for (const char* notDigits : {"???", "", "12a4"}) {
    const auto p = EncodePasswordField(notDigits);
    EXPECT_EQ((std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}), p) << notDigits;
    EXPECT_EQ("", DecodePasswordField(p));
  }
  // A password the device will not give away.
  EXPECT_EQ("???", DecodePasswordField(B({0xBC, 0x12, 0xFF})));
}

TEST(PhoneCode, ExpressInNumberForms) {
  Configuration c;
  c.expressInNumber = "balance";
  auto block = EncodeNumbers(c);
  EXPECT_EQ('b', block[88]);
  EXPECT_EQ(0x0F, block[103]);
  c.expressInNumber.clear();
  DecodeNumbers(block, true, c);
  EXPECT_EQ("balance", c.expressInNumber);

  c.expressInNumber = "*100#";
  block = EncodeNumbers(c);
  EXPECT_EQ(0xD1, block[88]);  // "*1"
  EXPECT_EQ(0x00, block[103]);
  DecodeNumbers(block, true, c);
  EXPECT_EQ("*100#", c.expressInNumber);

  // A text too long for the edit field is kept to its 14 characters.
  c.expressInNumber = "abcdefghijklmnopq";
  DecodeNumbers(EncodeNumbers(c), true, c);
  EXPECT_EQ("abcdefghijklmn", c.expressInNumber);
  // The empty text travels in text form and stays empty.
  c.expressInNumber.clear();
  EXPECT_EQ(0x0F, EncodeNumbers(c)[103]);
}

TEST(NumbersBlock, CusdNumberOnlyFromNewerFirmware) {
  Configuration c;
  c.cusdForwardNumber = "*111#";
  c.workPhones[7] = "8905";
  const auto block = EncodeNumbers(c);
  Configuration old;
  old.cusdForwardNumber = "x";
  DecodeNumbers(block, false, old);
  EXPECT_EQ("", old.cusdForwardNumber);
  EXPECT_EQ("8905", old.workPhones[7]);
  DecodeNumbers(block, true, old);
  EXPECT_EQ("*111#", old.cusdForwardNumber);
}

TEST(GeneralBlock, LayoutAndReadBack) {
  Configuration c;
  c.deviceAddress = "2705";
  c.general.dialFlags() = 0x82;
  c.general.serviceFlags() = 0x11;
  c.general.deviceHeldByte() = 0x5A;
  c.general.loopFlags(0) = 0x80;
  c.general.loopFlags(3) = 0x81;
  c.relayTimeLimit = {12, 3};
  for (int i = 0; i < 6; ++i) c.remoteControls.push_back(RemoteCommand{{0, 0x10 + i}, ""});
  const auto b = EncodeGeneralBlock(c, 300, 255);
  ASSERT_EQ(28u, b.size());
  EXPECT_EQ(0x05, b[5]);
  EXPECT_EQ(0x27, b[6]);
  EXPECT_EQ(0x31, b[2]);  // bit 5 goes with bit 4
  EXPECT_EQ(0x5A, b[8]);
  EXPECT_EQ(0x9F, b[9]);
  EXPECT_EQ(B({0x0A, 0x10, 0x11, 0x12, 0x13, 0x14, 0xFF, 0x80, 0x40, 0x80}),
            std::vector<uint8_t>(b.begin() + 10, b.begin() + 20));
  EXPECT_EQ(300 & 0xFF, b[20]);
  EXPECT_EQ(B({0xFF, 0x1E, 0x1F, 0x40, 0xFF, 0x15, 0xC3}), std::vector<uint8_t>(b.begin() + 21, b.end()));

  Configuration r;
  for (int i = 0; i < 6; ++i) r.remoteControls.push_back(RemoteCommand{});
  const auto back = DecodeGeneralBlock(b, r);
  EXPECT_EQ(44, back.vgr);
  EXPECT_EQ(255, back.vgt);
  EXPECT_EQ("2705", r.deviceAddress);
  EXPECT_EQ(0x11, r.general.serviceFlags());
  EXPECT_EQ(0x5A, r.general.deviceHeldByte());
  EXPECT_EQ(c.relayTimeLimit, r.relayTimeLimit);
  EXPECT_EQ(0x15, r.remoteControls[5].w[1]);
  // With fewer than six controls nothing is written past the list.
  Configuration shortList;
  shortList.remoteControls.resize(2);
  DecodeGeneralBlock(b, shortList);
  EXPECT_EQ(2u, shortList.remoteControls.size());
}

TEST(UserBlocks, MissingUsersAndRebuildOrder) {
  Configuration c;
  c.users = {image_test::MakeUser(32, 0x80, "", 0), image_test::MakeUser(7, 0x0F, "4321", 0x33),
             image_test::MakeUser(2, 0x01, "???", 0)};
  const auto u = EncodeUsers(c);
  EXPECT_EQ(0x40, u.attributes[0]);
  EXPECT_EQ(0x01, u.attributes[1]);
  EXPECT_EQ(0x0F, u.attributes[6]);
  EXPECT_EQ(0x80, u.attributes[31]);
  EXPECT_EQ(B({0x43, 0x21, 0xFF}), std::vector<uint8_t>(u.passwords.begin() + 18, u.passwords.begin() + 21));
  EXPECT_EQ(0x33, u.keys[36]);

  Configuration r;
  DecodeUsers(u.attributes, u.passwords, u.keys, r);
  ASSERT_EQ(3u, r.users.size());
  EXPECT_EQ(32, r.users[0].w[1]);
  EXPECT_EQ(2, r.users[1].w[1]);
  EXPECT_EQ("", r.users[1].text);  // an unknown password reads back empty
  EXPECT_EQ(0, r.users[1].w[3]);
  EXPECT_EQ(c.users[1], r.users[2]);
}

TEST(RemoteCommands, RecordsAndTheWalkOverTheExistingList) {
  Configuration c;
  c.remoteCommands = {RemoteCommand{{0, 0x81}, "12"}, RemoteCommand{{0, 0x02}, "123456"}};
  const auto b = EncodeRemoteCommands(c);
  EXPECT_EQ(B({1, 0x81, '1', '2', 0xFF, 0xFF, 0, 2, 0x02, '1', '2', '3', '4', '5', '6', 0, 0}), b);

  Configuration r;
  r.remoteCommands.resize(3, RemoteCommand{{0, 9}, "x"});
  EXPECT_TRUE(DecodeRemoteCommands(b, r));
  EXPECT_EQ(c.remoteCommands[0], r.remoteCommands[0]);
  EXPECT_EQ(c.remoteCommands[1], r.remoteCommands[1]);
  EXPECT_EQ(RemoteCommand{}, r.remoteCommands[2]);  // beyond the last record
  // A record cut off by the end of what was read is refused.
  EXPECT_FALSE(DecodeRemoteCommands(std::span<const uint8_t>(b).first(10), r));
}

TEST(LoopBlocks, FlagTransformAndNibbles) {
  for (int x = 0; x < 256; ++x) EXPECT_EQ(x, LoopFlagsCode(LoopFlagsCode(static_cast<uint8_t>(x))));
  Configuration c;
  c.general.commonLoops(0) = 0x0B;
  c.general.commonLoops(3) = 0x04;
  EXPECT_EQ(B({0xB0, 0x04}), EncodeCommonLoops(c));
}

TEST(EventRecords, ExampleAndRoundTrip) {
  EventEntry e;
  e.w[2] = 130;
  e.w[3] = 1;
  e.w[4] = 5;
  const auto r = EncodeEventRecord(e);
  EXPECT_EQ(B({0x13, 0x00, 0x10, 0x05}), std::vector<uint8_t>(r.begin() + 1, r.begin() + 5));

  e.w[1] = 0x40;
  e.w[2] = 987;
  e.w[3] = 0xAB;
  e.w[4] = 0xFED;
  e.w[5] = 3;
  e.w[6] = 60;
  e.w[7] = 15;
  e.w[8] = 9;
  e.w[9] = 0xA5;
  const auto full = EncodeEventRecord(e);
  EXPECT_EQ(22, full[6]);  // SMS string 3 travels as identifier 22
  EXPECT_EQ(0xF9, full[5]);
  EXPECT_EQ(e, DecodeEventRecord(full));
  e.w[5] = 0;
  EXPECT_EQ(0, EncodeEventRecord(e)[6]);
}

}  // namespace
}  // namespace vorsin
