// Shared pieces of the device image tests: a recording messenger, a device
// memory that applies write plans, the shipped vocabulary, a richly filled
// configuration and a comparison that names the part that differs.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "image/image_layout.h"
#include "image/image_writer.h"
#include "link/device_commands.h"
#include "model/configuration.h"
#include "model/cp1251.h"
#include "model/addressee_rules.h"
#include "model/defaults.h"
#include "model/event_rules.h"
#include "model/loops.h"
#include "model/relay_rules.h"
#include "model/messenger.h"
#include "model/vocabulary.h"
#include "read_back.h"
#include "sms/sms.h"
#include "sms/sms_editor_model.h"

namespace vorsin {

// Readable failure output for the model records.
inline void PrintTo(const ParamRecord& r, std::ostream* os) {
  *os << "{";
  for (size_t i = 0; i < ParamRecord::kWords; ++i) *os << (i ? "," : "") << r.w[i];
  *os << " \"" << ToUtf8(r.text) << "\"}";
}
inline void PrintTo(const AddresseePhone& p, std::ostream* os) {
  *os << "{#" << p.autoNumber << " fmt " << p.formats << " flags " << int{p.phoneFlags} << " \""
      << ToUtf8(p.name) << "\" " << p.phoneNumber << "/" << p.cellPrefix << "/" << p.linePrefix << "}";
}
inline void PrintTo(const Addressee& a, std::ostream* os) {
  *os << "{#" << a.autoNumber << " limit " << a.deliveryLimit << " wait " << a.confirmWait << " flags "
      << int{a.addresseeFlags} << " \"" << ToUtf8(a.name) << "\" phones";
  for (const auto& p : a.phones) PrintTo(p, os);
  *os << "}";
}
inline void PrintTo(const RangeLabel& l, std::ostream* os) { *os << "(" << ToUtf8(l.name) << " | " << l.code << ")"; }
inline void PrintTo(const IntervalDescription& d, std::ostream* os) {
  *os << "{flags " << d.flags << " \"" << ToUtf8(d.name) << "\"";
  for (const auto& block : d.blocks) {
    *os << " [";
    for (const auto& l : block) PrintTo(l, os);
    *os << "]";
  }
  *os << "}";
}
inline void PrintTo(const RelayBinding& b, std::ostream* os) {
  *os << "{" << b.w[0] << "," << b.w[1] << "," << b.w[2] << "," << b.w[3] << "}";
}

}  // namespace vorsin

namespace vorsin::image_test {

struct Shown {
  std::string text, caption;
  Icon icon;
  Buttons buttons;
};

// Records every message; questions get `answer`.
class RecordingMessenger final : public Messenger {
 public:
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override {
    shown.push_back({text, caption, icon, buttons});
    return buttons == Buttons::Ok ? kAnswerOk : answer;
  }
  bool Saw(const std::string& utf8) const {
    for (const auto& s : shown)
      if (s.text.find(Cp(utf8)) != std::string::npos) return true;
    return false;
  }
  int answer = kAnswerOk;
  std::vector<Shown> shown;
};

inline std::string ShippedVocabulary() { return std::string(VORSIN_BIN_DIR) + "/RorEdad.ini"; }

inline std::vector<uint8_t> B(std::initializer_list<int> v) {
  std::vector<uint8_t> out;
  for (int b : v) out.push_back(static_cast<uint8_t>(b));
  return out;
}

// Points loop L at level table `index` the way the loops page does.
inline void UseTable(Workspace& ws, int loop, int index) {
  TrimLoopEvents(ws, loop, ws.config.general.intervalIndex(loop));
  ws.config.general.intervalIndex(loop) = static_cast<uint8_t>(index);
  GrowLoopEvents(ws, loop);
  FillLoopEvents(ws, loop);
}

inline AddresseePhone Phone(const std::string& number, int autoNumber) {
  AddresseePhone p;
  p.autoNumber = autoNumber;
  p.name = Cp("Телефон ") + std::to_string(autoNumber);
  p.phoneNumber = number;
  p.formats = 0x41;
  p.phoneFlags = 0xC2;
  return p;
}

inline Addressee NamedAddressee(int autoNumber, int phones) {
  Addressee a;
  a.autoNumber = autoNumber;
  a.name = Cp("Адресат") + std::to_string(autoNumber);
  for (int j = 0; j < phones; ++j) a.phones.push_back(Phone("890311122" + std::to_string(j), j + 1));
  return a;
}

inline User MakeUser(int number, int flags, const std::string& password, int keySeed) {
  User u;
  u.w[1] = number;
  u.w[2] = flags;
  u.text = password;
  if (keySeed != 0) {
    u.w[3] = 1;
    for (int k = 0; k < 6; ++k) u.w[4 + k] = (keySeed + 17 * k) & 0xFF;
  }
  return u;
}

// Defaults of the shipped vocabulary with something set in every block.
inline void FillRich(Workspace& ws) {
  Configuration& c = ws.config;
  GeneralSettings& g = c.general;
  c.pinCode = "1234";
  c.deviceAddress = "2705";
  c.ownNumber = "+79161234567";
  c.smsCentre = "+79020000111";
  c.expressOutNumber = "*100#";
  c.expressInNumber = Cp("баланс");
  c.workPhones = {"89031112233", "???", "", "*#0p5t", "1234567890123456", "", "+7", "0"};
  c.cusdForwardNumber = "*111#";
  g.testPeriod1() = 0x81;
  g.testPeriod2() = 30;
  g.lineCheckPeriod() = 10;
  g.priorityDialTime() = 16;
  g.lineDialDelay() = 4;
  g.dialFlags() = 0x82;
  g.serviceFlags() = 0xD3;  // emulation, priority, express time source, both tests
  for (int k = 1; k <= 16; ++k) g.voiceRepeat(k) = static_cast<uint8_t>(5 * k + 1);

  // Loops 1 and 2 share a custom table; loop 3 is a fire loop on relay 1;
  // loop 4 a control input.
  g.loopFlags(0) = 0x40 | 0x04;
  UseTable(ws, 0, 6);
  UseTable(ws, 1, 6);
  g.loopFlags(2) = 0x01 | 0x04 | 0x80;
  UseTable(ws, 2, 7);
  g.loopFlags(3) = 0x10 | 0x20 | 0x08;
  UseTable(ws, 3, 5);
  g.commonLoops(0) = 0x0B;
  g.commonLoops(1) = 0x04;
  for (int L = 0; L < kLoops; ++L) {
    g.reactionTime(L) = static_cast<uint8_t>(L + 2);
    g.armDelay(L) = static_cast<uint8_t>(20 + L);
    g.disarmDelay(L) = static_cast<uint8_t>(40 + L);
  }
  c.loopLatch = {0, 93, 123, 193, 255, 206, 251, 0};
  g.relayNormallyClosed(1) = 1;
  c.relayTimeLimit = {12, 3};
  c.workPhoneControl = {128, 3, 31, 128, 0, 7, 128, 1};

  // Addressee 2 renamed; the phone of addressee 1 renamed under a default name.
  c.addressees.push_back(NamedAddressee(1, 2));
  c.addressees[0].phones[1].name = Cp("Дежурный");
  c.addressees.push_back(NamedAddressee(2, 1));
  c.addressees[1].name = Cp("Пульт охраны");
  c.addressees[1].addresseeFlags = 0x41;
  c.addressees[1].confirmWait = 45;
  c.addressees[1].deliveryLimit = 31;
  c.addressees[1].phones[0].cellPrefix = "8";
  c.addressees[1].phones[0].linePrefix = "9p";
  c.addressees.push_back(NamedAddressee(3, 3));
  c.addressees[2].phones[2].phoneNumber = "???";

  for (size_t e = 0; e < c.events.size(); ++e) {
    c.events[e].w[9] = (0xE0 >> (e % 3)) & 0xE0;
    c.events[e].w[7] = static_cast<int32_t>(e % 16);
    c.events[e].w[8] = static_cast<int32_t>((e * 7) % 16);
  }
  c.events[2].w[5] = 3;
  c.events[2].w[6] = 4;

  c.users.push_back(MakeUser(1, 0x0F, "1234", 0x21));
  c.users.push_back(MakeUser(2, 0x28, "", 0));
  c.users.push_back(MakeUser(5, 0x03, "987654", 0x90));
  c.users[0].text = "000000";

  for (size_t i = 0; i < c.remoteCommands.size(); ++i) {
    c.remoteCommands[i].w[1] = static_cast<int32_t>(0x80 >> (i % 8));
    c.remoteCommands[i].text = std::to_string(1000 + i);
  }
  for (size_t i = 0; i < c.remoteControls.size() && i < 6; ++i) c.remoteControls[i].w[1] = static_cast<int32_t>(i * 3);

  RelayBinding b;
  b.w[1] = 2;
  b.w[2] = 0x81;
  b.w[3] = 3;
  c.relayBindings[1][0].push_back(b);
  b.w[1] = 23;
  b.w[2] = 0x42;
  c.relayBindings[1][0].push_back(b);
  b.w[1] = 44;
  b.w[2] = 5;
  b.w[3] = 9;
  c.relayBindings[1][4].push_back(b);
  b.w[1] = 40;
  c.relayBindings[1][4].push_back(b);

  c.smsStrings.push_back({{}, Cp("Тревога %s[1] зона %(insEvZone)")});
  c.smsSubStrings.push_back({{}, "Alarm %c[64] %(c_151)"});

  TimeEvent t;
  t.w[1] = 0;
  t.w[2] = 7;
  t.w[3] = 30;
  t.w[4] = 0;
  c.timeEvents.push_back(t);
  t.w[1] = 15;
  t.w[2] = 23;
  t.w[3] = 59;
  t.w[4] = 20;
  c.timeEvents.push_back(t);
}

// The widest values the pages store, through the pages' own rules where
// the model has them: the longest numbers with every key their fields take
// (both cases, Cyrillic and Latin, "?"), full lists, the largest numbers.
// The 8-byte numbers are 16 characters long, as a device read gives them.
inline void FillWidest(Workspace& ws) {
  Configuration& c = ws.config;
  c.pinCode = "9999";
  c.deviceAddress = "9999";
  c.ownNumber = "+79161234567" + Cp("г") + "1" + Cp("Г") + "2";
  c.smsCentre = "*#+0P1p2T3t4" + Cp("П5п6");
  c.expressOutNumber = "*100#" + Cp("Т1т2") + "5550001";
  c.expressInNumber = Cp("Баланс: 123456");  // text form, 14 characters
  c.cusdForwardNumber = "?";
  c.workPhones = {Cp("8916т123"), "555T1234", "???", "1234567890123456", Cp("5550001п2"), "5550001P2",
                  "+*#0", ""};
  const std::string addresseeNumbers[] = {Cp("5550001п2"), Cp("555Т0001"), "5550001P2", "?", "8916t12345",
                                          "*#+pPtT" + Cp("пП"), Cp("Тт") + "0123456789"};
  while (CanAddAddressee(c)) {
    Addressee a;
    a.autoNumber = static_cast<int32_t>(c.addressees.size() + 1);
    a.name = Cp("Адресат") + std::to_string(a.autoNumber);
    a.confirmWait = ParseConfirmWait("510", 0);
    a.deliveryLimit = 255;
    a.addresseeFlags = WithDeliveryMode(0, 2);
    AppendAddressee(ws, a);
  }
  Addressee& full = c.addressees[0];
  while (const auto j = AppendPhone(full)) {
    AddresseePhone& phone = full.phones[*j];
    const std::string& number = addresseeNumbers[*j % std::size(addresseeNumbers)];
    phone.phoneNumber = number.substr(0, kPhoneFieldLength);
    phone.cellPrefix = Cp("8п");
    phone.linePrefix = "9T";
    phone.formats = WithLineFormat(WithGsmFormat(0, GsmFormatCode(static_cast<int>(GsmFormatItems().size()) - 1)),
                                   0);
    phone.phoneFlags = 0xFF;
  }
  for (size_t k = 1; k < c.addressees.size(); ++k) {
    const auto j = AppendPhone(c.addressees[k]);
    c.addressees[k].phones[*j].phoneNumber = addresseeNumbers[k % std::size(addresseeNumbers)].substr(0, kPhoneFieldLength);
  }
  for (EventEntry& e : c.events) {
    e.w[EventEntry::kCode] = TypedEventNumber("999");
    e.w[EventEntry::kPartition] = TypedEventNumber("99");
    e.w[EventEntry::kZone] = TypedEventNumber("999");
    e.w[EventEntry::kVoiceNew] = e.w[EventEntry::kVoiceRestore] = kVoiceMessages;
    e.w[EventEntry::kAddresseeMask] = 0xFF;
  }
  c.users.clear();
  for (int n = 1; n <= kMaxUsers; ++n) c.users.push_back(MakeUser(n, n == kMaxUsers ? 0x80 : 0xBF, "999999", 0xFF));
  for (int L = 0; L < kLoops; ++L) c.general.commonLoops(L) = 0x0F;
  c.timeEvents.push_back({{0, 31, 23, 59, 127}, ""});
  // Full SMS lists and a relay bound to all it can hold, as the SMS editor
  // and the relays page add them.
  for (const int group : {kSmsSubstrings, kSmsStrings}) {
    SmsSelection selection;
    while (AddSmsTemplate(ws, selection, group, "Z" + std::to_string(selection.index)) == SmsAddResult::kAdded) {
    }
  }
  for (int group = 0; group <= kCommonGroup; ++group)
    for (const auto& ids : {IntervalMenuIds(c, 0, group), EventMenuIds(c, 0, group)})
      for (const int id : ids)
        if (id != kMenuSeparator) AddBinding(ws, 0, group, id);
}

// Compares part by part so that a failure names what differs.
inline void ExpectSameConfiguration(const Configuration& want, const Configuration& got) {
  for (size_t i = 0; i < GeneralSettings::kSize; ++i)
    EXPECT_EQ(int{want.general.bytes[i]}, int{got.general.bytes[i]}) << "general byte " << i;
  EXPECT_EQ(want.ownNumber, got.ownNumber);
  EXPECT_EQ(want.smsCentre, got.smsCentre);
  EXPECT_EQ(want.expressOutNumber, got.expressOutNumber);
  EXPECT_EQ(want.expressInNumber, got.expressInNumber);
  EXPECT_EQ(want.workPhones, got.workPhones);
  EXPECT_EQ(want.cusdForwardNumber, got.cusdForwardNumber);
  EXPECT_EQ(want.pinCode, got.pinCode);
  EXPECT_EQ(want.deviceAddress, got.deviceAddress);
  ASSERT_EQ(want.addressees.size(), got.addressees.size());
  for (size_t i = 0; i < want.addressees.size(); ++i) EXPECT_EQ(want.addressees[i], got.addressees[i]) << "addressee " << i;
  EXPECT_EQ(want.intervals, got.intervals);
  ASSERT_EQ(want.intervalDescriptions.size(), got.intervalDescriptions.size());
  for (size_t i = 0; i < want.intervalDescriptions.size(); ++i)
    EXPECT_EQ(want.intervalDescriptions[i], got.intervalDescriptions[i]) << "description " << i;
  EXPECT_EQ(want.relayBindings, got.relayBindings);
  EXPECT_EQ(want.relayPatterns, got.relayPatterns);
  ASSERT_EQ(want.events.size(), got.events.size());
  for (size_t i = 0; i < want.events.size(); ++i) EXPECT_EQ(want.events[i], got.events[i]) << "event " << i;
  EXPECT_EQ(want.smsProfileTexts, got.smsProfileTexts);
  EXPECT_EQ(want.smsSubStrings, got.smsSubStrings);
  EXPECT_EQ(want.smsStrings, got.smsStrings);
  EXPECT_EQ(want.users, got.users);
  EXPECT_EQ(want.remoteCommands, got.remoteCommands);
  EXPECT_EQ(want.remoteControls, got.remoteControls);
  EXPECT_EQ(want.timeEvents, got.timeEvents);
  EXPECT_EQ(want.workPhoneControl, got.workPhoneControl);
  EXPECT_EQ(want.loopLatch, got.loopLatch);
  EXPECT_EQ(want.relayTimeLimit, got.relayTimeLimit);
  EXPECT_EQ("", DifferingPart(want, got));  // the fuzz target's comparison agrees
}

}  // namespace vorsin::image_test
