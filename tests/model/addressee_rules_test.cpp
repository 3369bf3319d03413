#include "model/addressee_rules.h"

#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "model/defaults.h"

namespace vorsin {
namespace {

Workspace ThreeAddressees(int32_t mask) {
  Workspace ws;
  for (int i = 0; i < 3; ++i) ws.config.addressees.push_back(NewAddressee(ws.config));
  ws.config.events.assign(2, EventEntry{});
  ws.config.events[0].w[9] = mask;
  ws.marks = PageMarks{};
  ws.marks.eventsStale = ws.marks.reportsStale = false;
  return ws;
}

std::vector<int> Numbers(const Configuration& c) {
  std::vector<int> out;
  for (const auto& a : c.addressees) out.push_back(a.autoNumber);
  return out;
}

TEST(AddresseeList, DeleteAndMoveKeepTheMasksInStep) {
  Workspace ws = ThreeAddressees(0xE0);
  ASSERT_TRUE(DeleteAddressee(ws, 1));
  EXPECT_EQ(ws.config.events[0].w[9], 0xC0);
  EXPECT_EQ(Numbers(ws.config), (std::vector<int>{1, 3}));
  EXPECT_TRUE(ws.marks.eventsStale && ws.marks.reportsStale);
  EXPECT_EQ(NewAddressee(ws.config).name, Cp("Адресат4"));
  EXPECT_FALSE(DeleteAddressee(ws, 2));

  // Addressee 0 dropped onto 2 lands before it, at 1; its bit follows.
  ws = ThreeAddressees(0x80);
  ws.config.events[1].w[9] = 0x40;
  ASSERT_TRUE(MoveAddressee(ws, 0, DropIndex(0, 2)));
  EXPECT_EQ(Numbers(ws.config), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(ws.config.events[0].w[9], 0x40);
  EXPECT_EQ(ws.config.events[1].w[9], 0x80);
  // Dragging up lands on the target's own place.
  ASSERT_TRUE(MoveAddressee(ws, 2, DropIndex(2, 0)));
  EXPECT_EQ(Numbers(ws.config), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(ws.config.events[0].w[9], 0x20);
}

TEST(AddresseeList, LimitsOfTheListAndTheImage) {
  Workspace ws;
  for (int i = 0; i < 9; ++i) ws.config.addressees.push_back(NewAddressee(ws.config));  // as a file may bring
  EXPECT_FALSE(AppendAddressee(ws, NewAddressee(ws.config)));
  EXPECT_EQ(ws.config.addressees.size(), 9u);
  // The ninth has no mask bit: it can neither be moved nor take another's place.
  EXPECT_FALSE(MoveAddressee(ws, 8, 0));
  EXPECT_FALSE(MoveAddressee(ws, 0, 8));
  EXPECT_TRUE(CanMoveAddressee(7, 0) && !CanMoveAddressee(8, 0));
  EXPECT_EQ(ws.config.addressees[8].autoNumber, 9);

  Addressee& a = ws.config.addressees[0];
  for (int i = 1; i < 15; ++i) ASSERT_TRUE(AppendPhone(a));
  EXPECT_EQ(a.phones.back().name, Cp("Телефон 15"));
  EXPECT_FALSE(AppendPhone(a));
  EXPECT_EQ(a.phones.size(), 15u);
  EXPECT_TRUE(MovePhone(a, 0, 14));
  EXPECT_EQ(a.phones[14].autoNumber, 1);
  EXPECT_FALSE(MovePhone(a, 0, 15));
  EXPECT_TRUE(DeletePhone(a, 14));
  EXPECT_FALSE(DeletePhone(a, 14));
}

TEST(AddresseeCodes, DeliveryModeAndWaitTime) {
  EXPECT_EQ(DeliveryModeIndex(0x88), 0);
  EXPECT_EQ(DeliveryModeIndex(0xC8), 1);
  EXPECT_EQ(DeliveryModeIndex(0x41), 2);  // both bits show the preliminary call
  EXPECT_EQ(WithDeliveryMode(0x41, 1), 0x40);
  EXPECT_EQ(WithDeliveryMode(0xC8, 2), 0x89);
  EXPECT_EQ(WithDeliveryMode(0xC9, 0), 0x88);
  // The wait and the availability check belong to confirmed delivery only.
  EXPECT_TRUE(ConfirmWaitShown(0xC8));
  EXPECT_FALSE(ConfirmWaitShown(0x41) || ConfirmWaitShown(0x88));
  EXPECT_EQ(AddresseeFlagNames()[4].bit, 1);
  EXPECT_FALSE(AddresseeFlagOpen(4, 0x88));
  EXPECT_TRUE(AddresseeFlagOpen(4, 0xC8));
  EXPECT_TRUE(AddresseeFlagOpen(0, 0x88) && AddresseeFlagOpen(5, 0x41));

  EXPECT_EQ(ParseConfirmWait("0", 30), 1);
  EXPECT_EQ(ParseConfirmWait("1", 30), 1);
  EXPECT_EQ(ConfirmWaitText(1), Cp("2 сек."));
  EXPECT_EQ(ParseConfirmWait("45", 30), 22);
  EXPECT_EQ(ParseConfirmWait("255", 30), 127);
  EXPECT_EQ(ParseConfirmWait("256", 30), 30);
  EXPECT_EQ(ParseConfirmWait("", 30), 30);
  EXPECT_EQ(ParseConfirmWait(" 90 s", 30), 45);
  EXPECT_EQ(ParseConfirmWait(std::string(30, '9'), 30), 30);  // a pasted flood is refused, not wrapped
}

TEST(AddresseeCodes, FormatsAndVoiceRepeats) {
  const int gsmCodes[] = {0, 1, 3, 4, 5, 6, 7, 8};
  for (int item = 0; item < 8; ++item) {
    EXPECT_EQ(GsmFormatCode(item), gsmCodes[item]);
    EXPECT_EQ(GsmFormatItem(gsmCodes[item]), item);
  }
  for (int code : {2, 9, 15}) EXPECT_EQ(GsmFormatItem(code), -1);
  EXPECT_EQ(UnlistedFormatText(2, true), Cp("Аргус-Т (?\?\?)"));
  EXPECT_EQ(UnlistedFormatText(9, true), Cp("неподдерживаемый тип"));
  EXPECT_EQ(LineFormatItem(3), 3);
  EXPECT_EQ(LineFormatItem(4), -1);
  EXPECT_EQ(WithGsmFormat(0x123, 8), 0x183);  // the other bits stay
  EXPECT_EQ(WithLineFormat(0x183, 2), 0x182);

  GeneralSettings g;
  g.voiceRepeat(1) = 10;
  g.voiceRepeat(8) = 80;
  EXPECT_EQ(VoiceRepeatItems(g).front(), "0: 10");
  EXPECT_EQ(VoiceRepeatItems(g).back(), "7: 80");
  EXPECT_EQ(VoiceRepeatItem(0xF7), 7);
  EXPECT_EQ(VoiceRepeatItem(0xF9), -1);
  EXPECT_EQ(WithVoiceRepeatItem(0xF9, 3), 0xF3);
  EXPECT_TRUE(StoreVoiceRepeat(g, 7, "255"));
  EXPECT_EQ(g.voiceRepeat(8), 255);
  // No item remembered: the typed value must not reach entry 0, the cleared mark.
  g.block(lb::kClearedMark) = 1;
  EXPECT_FALSE(StoreVoiceRepeat(g, -1, "77"));
  EXPECT_FALSE(StoreVoiceRepeat(g, 8, "77"));
  EXPECT_FALSE(StoreVoiceRepeat(g, 0, "256"));
  EXPECT_EQ(g.block(lb::kClearedMark), 1);
  EXPECT_EQ(g.voiceRepeat(1), 10);

  // A picked item chooses the entry; typed text rewrites the chosen entry's value.
  AddresseePhone p;
  p.phoneFlags = 0xF9;
  StoreVoiceChoice(g, p, 2, "2: 0");
  EXPECT_EQ(p.phoneFlags, 0xF2);
  StoreVoiceChoice(g, p, -1, "33");
  EXPECT_EQ(g.voiceRepeat(3), 33);
  EXPECT_EQ(p.phoneFlags, 0xF2);
}

TEST(AddresseeCodes, PhoneTextsAndUsability) {
  EXPECT_TRUE(IsValidPhoneText("+790012345"));
  EXPECT_FALSE(IsValidPhoneText("+7900123456"));  // 11 characters
  EXPECT_TRUE(IsValidPhoneText(Cp("8П12Т") + "pt?"));
  EXPECT_TRUE(IsValidPhoneText(Cp("8г12Г")));  // the hint's dial-tone letter
  EXPECT_FALSE(IsValidPhoneText(Cp("8д12")));
  EXPECT_FALSE(IsValidPhoneText(""));
  EXPECT_TRUE(IsPhoneKey(U'Т') && IsPhoneKey(U'p') && IsPhoneKey(U'#'));
  EXPECT_TRUE(IsPhoneKey(U'г') && IsPhoneKey(U'Г'));
  EXPECT_FALSE(IsPhoneKey(U'?') || IsPhoneKey(U'a') || IsPhoneKey(U'д'));
  std::string field = "123";
  EXPECT_FALSE(StorePhoneText(field, "12a"));
  EXPECT_EQ(field, "");  // an invalid text empties the field
  EXPECT_TRUE(StorePhoneText(field, "+7p9"));
  EXPECT_EQ(field, "+7p9");

  EXPECT_EQ(WithCellular(0x35, true), 0xB5);
  EXPECT_EQ(WithCellular(0xB5, false), 0x35);
  EXPECT_TRUE(IsCellular(0x80) && !IsCellular(0x7F));
  EXPECT_TRUE(LineChannelOpen(0) && !LineChannelOpen(dial_flag::kLineDisconnected));
  EXPECT_EQ(AddresseeDialogFlagNames()[0].bit, 2);
  EXPECT_EQ(AddresseeDialogFlagNames()[1].bit, 7);

  AddresseePhone p;
  p.phoneFlags = 0xC0;
  SwitchOffBox box = CheckPhoneUsability(p, 0);
  EXPECT_FALSE(box.enabled);
  EXPECT_TRUE(box.checked && !box.greyed);
  p.linePrefix = "9";
  p.formats = WithLineFormat(0, 1);
  box = CheckPhoneUsability(p, 0);
  EXPECT_TRUE(box.enabled && box.checked && box.greyed);
  p.phoneFlags = 0xC0;
  EXPECT_FALSE(CheckPhoneUsability(p, 0).checked);
  EXPECT_FALSE(CheckPhoneUsability(p, dial_flag::kLineDisconnected).enabled);
  EXPECT_TRUE(p.phoneFlags & 0x20);
}

}  // namespace
}  // namespace vorsin
