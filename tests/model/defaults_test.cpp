#include "model/defaults.h"

#include "model_test_support.h"

namespace vorsin {
namespace {

using testing::U;

class Reset : public testing::TempVocabulary {};

TEST_F(Reset, ReplacesEverythingAndLeavesTheMarksOfItsOrder) {
  Put("[0]\nName=Typed\nServNum=+7\n[2]\nName=Op\n[CodeDefine]\nc_151=A\n[Command]\nName1=Arm\n");
  Workspace ws;
  Configuration& c = ws.config;
  c.general.bytes.fill(0x5A);
  c.addressees.assign(3, Addressee{});
  c.relayBindings[0][4].push_back(RelayBinding{{0, 40, 0, 1}});
  c.users.assign(4, User{});
  c.timeEvents.assign(2, TimeEvent{});
  c.smsCentre = "+7900";
  c.workPhones[3] = "123";
  c.cusdForwardNumber = "5";
  c.lastLoadTime = "x";
  c.workPhoneControl.fill(3);
  c.loopLatch.fill(9);
  ws.projectFileName = "a.dat";
  ws.marks.loopEventsEdited[0] = true;
  ws.marks.showAddresseeDialog = false;
  ws.eventFilterOn = false;

  Vocabulary v(path_);
  ResetToDefaults(ws, v);

  // Everything left over from before is gone: a fresh workspace resets to the same.
  Workspace fresh;
  ResetToDefaults(fresh, v);
  EXPECT_EQ(fresh.config, c);

  const auto& g = c.general;
  EXPECT_EQ(ws.projectFileName, "default");
  EXPECT_EQ((std::vector<std::string>{c.pinCode, c.pukCode, c.deviceAddress}),
            (std::vector<std::string>{"7158", "38170462", "0000"}));
  EXPECT_EQ(g.at(GeneralSettings::kLineCheckPeriod), 30);
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(g.voiceRepeat(k), 10 * k);
  for (int L = 0; L < kLoops; ++L) EXPECT_EQ(g.block(lb::kLoopConstants + L), 9 + L);
  EXPECT_EQ((std::vector<int>{g.intervalIndex(0), g.intervalIndex(1), g.intervalIndex(2), g.intervalIndex(3)}),
            (std::vector<int>{2, 2, 5, 5}));
  // The addressees are cleared after the loop block defaults, which marks it.
  EXPECT_EQ(g.block(lb::kClearedMark), 1);
  ASSERT_EQ(c.users.size(), 1u);
  EXPECT_EQ(c.users[0].w[1], 32);
  EXPECT_EQ(c.users[0].w[2], 128);
  EXPECT_EQ(c.workPhoneControl[7], 128);

  EXPECT_FALSE(ws.marks.loopEventsEdited[0]);
  EXPECT_TRUE(ws.marks.showAddresseeDialog && ws.marks.eventsStale && ws.marks.reportsStale);
  EXPECT_TRUE(ws.eventFilterOn);
  ASSERT_EQ(ws.profiles.size(), 2u);
  EXPECT_EQ(ws.profiles[1].section, 2);
  EXPECT_EQ(Contents().find("Typed"), std::string::npos);  // "Другой" erased from the file
  EXPECT_EQ(ws.codeDefinitions.size(), 1u);
  EXPECT_EQ(ws.remoteCommandCount, 1);
}

TEST(Addressees, NewRecordsNumberOnFromTheLargestAutoNumber) {
  Configuration c;
  Addressee first = NewAddressee(c);
  EXPECT_EQ(U(first.name), "Адресат1");
  EXPECT_EQ((std::vector<int>{first.deliveryLimit, first.confirmWait, first.addresseeFlags}),
            (std::vector<int>{1, 30, 136}));
  ASSERT_EQ(first.phones.size(), 1u);
  EXPECT_EQ(U(first.phones[0].name), "Телефон 1");
  EXPECT_EQ(first.phones[0].phoneFlags, 240);
  c.addressees.push_back(first);
  c.addressees.push_back(NewAddressee(c));
  c.addressees.push_back(NewAddressee(c));
  EXPECT_EQ(U(c.addressees[2].name), "Адресат3");
  c.addressees[2].autoNumber = 0;  // renamed in place
  EXPECT_EQ(NextAddresseeNumber(c), 3);
  first.phones[0].autoNumber = 0;
  EXPECT_EQ(NextPhoneNumber(first), 1);
  first.phones.push_back(NewPhone(first));
  EXPECT_EQ(U(NewPhone(first).name), "Телефон 2");

  EventEntry e;
  e.w[9] = 0xE1;
  c.events.push_back(e);
  ClearAddressees(c);
  EXPECT_TRUE(c.addressees.empty());
  EXPECT_EQ(c.events[0].w[9], 0x08);  // bits of the eight slots shift as each goes
  EXPECT_EQ(c.general.block(lb::kClearedMark), 1);
}

TEST(Phones, AChannelIsUsableOnlyWithAFormatAndANumberOrPrefix) {
  AddresseePhone p;
  p.phoneFlags = 0x80;
  EXPECT_FALSE(ApplyPhoneUsability(p, 0));
  EXPECT_EQ(p.phoneFlags, 0xA0);

  AddresseePhone line;
  line.phoneFlags = 0;
  line.formats = 0x01;
  line.linePrefix = "9";
  AddresseePhone gsm;
  gsm.phoneFlags = 0;
  gsm.formats = 0x13;
  gsm.phoneNumber = "123";
  EXPECT_TRUE(ApplyPhoneUsability(line, 0));
  EXPECT_FALSE(GsmChannelUsable(line));
  EXPECT_EQ(line.phoneFlags, 0);
  gsm.cellPrefix = "";
  EXPECT_TRUE(LineChannelUsable(gsm, 0));

  Configuration c;
  c.addressees.push_back(Addressee{});
  c.addressees[0].phones = {line, gsm};
  c.general.dialFlags() = dial_flag::kLineDisconnected;
  ApplyPhoneUsabilityToAll(c);
  EXPECT_EQ(c.addressees[0].phones[0].phoneFlags, 0x20);
  EXPECT_EQ(c.addressees[0].phones[1].phoneFlags, 0);
}

// A stored value shows as its row; choosing that row would store the code.
TEST(DeliveryLimit, StoredValuesShowAsTheirRow) {
  const std::pair<int32_t, std::pair<int, int32_t>> cases[] = {
      {0, {1, 3}},    {-5, {1, 3}},  {1, {0, 1}},   {2, {1, 3}},    {4, {2, 5}},    {6, {3, 8}},
      {31, {4, 31}},  {32, {5, 61}}, {91, {6, 91}}, {92, {7, 181}}, {100, {7, 181}}};
  for (const auto& [stored, expected] : cases) {
    EXPECT_EQ(DeliveryLimitRow(stored), expected.first) << stored;
    EXPECT_EQ(DeliveryLimitCode(expected.first), expected.second) << stored;
  }
  EXPECT_EQ(DeliveryLimitCode(7), 181);
  EXPECT_EQ(U(DeliveryLimitText(1)), "16 минут");
  EXPECT_EQ(U(DeliveryLimitText(7)), "сутки");
}

}  // namespace
}  // namespace vorsin
