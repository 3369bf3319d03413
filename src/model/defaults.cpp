#include "model/defaults.h"

#include <algorithm>
#include <array>

#include "model/cp1251.h"
#include "model/events.h"
#include "model/loops.h"
#include "model/relays.h"
#include "model/vocabulary_lists.h"

namespace vorsin {
namespace {

void ResetScalarSettings(GeneralSettings& g) {
  // Reserved bytes 1..7 and 14..15 are zeroed along with the named fields.
  for (size_t i = 0; i < GeneralSettings::kLoopBlock; ++i) g.at(i) = 0;
  g.testPeriod1() = 0;
  g.testPeriod2() = 0;
  g.lineCheckPeriod() = 30;
  g.priorityDialTime() = 8;
  g.lineDialDelay() = 2;
  g.dialFlags() = 0;
  g.serviceFlags() = 0;
  g.setProfileIndex(0);
}

void ResetVoiceRepeatTable(GeneralSettings& g) {
  for (int k = 1; k <= 16; ++k) g.voiceRepeat(k) = static_cast<uint8_t>(10 * k);
}

void ResetLoopBlock(GeneralSettings& g) {
  for (size_t i = 0; i < lb::kSize; ++i) g.block(i) = 0;
  ResetVoiceRepeatTable(g);
  constexpr std::array<uint8_t, kLoops> kReaction{1, 1, 8, 8};
  constexpr std::array<uint8_t, kLoops> kArm{15, 15, 8, 8};
  constexpr std::array<uint8_t, kLoops> kDisarm{30, 30, 8, 8};
  constexpr std::array<uint8_t, kLoops> kInterval{2, 2, 5, 5};
  for (int L = 0; L < kLoops; ++L) {
    g.loopFlags(L) = 24;  // control input
    g.block(lb::kLoopConstants + L) = static_cast<uint8_t>(9 + L);
    g.reactionTime(L) = kReaction[L];
    g.armDelay(L) = kArm[L];
    g.disarmDelay(L) = kDisarm[L];
    g.intervalIndex(L) = kInterval[L];
  }
}

struct DeliveryRow {
  int32_t upper;  // the highest stored value shown on this row
  int32_t code;
  const char* text;
};
constexpr std::array<DeliveryRow, 8> kDeliveryRows{{
    {1, 1, "не ограничено"},
    {3, 3, "16 минут"},
    {5, 5, "32 минуты"},
    {8, 8, "1 час"},
    {31, 31, "4 часа"},
    {61, 61, "8 часов"},
    {91, 91, "12 часов"},
    {INT32_MAX, 181, "сутки"},
}};

}  // namespace

User DefaultUser() {
  User u;
  u.setNumber(32);
  u.setFlags(128);
  return u;
}

int NextAddresseeNumber(const Configuration& config) {
  int32_t top = 0;
  for (const auto& a : config.addressees) top = std::max(top, a.autoNumber);
  return top + 1;
}

int NextPhoneNumber(const Addressee& addressee) {
  int32_t top = 0;
  for (const auto& p : addressee.phones) top = std::max(top, p.autoNumber);
  return top + 1;
}

AddresseePhone NewPhone(const Addressee& addressee) {
  AddresseePhone p;
  p.autoNumber = NextPhoneNumber(addressee);
  p.name = Cp("Телефон ") + std::to_string(p.autoNumber);
  return p;
}

Addressee NewAddressee(const Configuration& config) {
  Addressee a;
  a.autoNumber = NextAddresseeNumber(config);
  a.name = Cp("Адресат") + std::to_string(a.autoNumber);
  a.phones.push_back(NewPhone(a));
  return a;
}

void ClearAddressees(Configuration& config) {
  for (int k = static_cast<int>(config.addressees.size()) - 1; k >= 0; --k) {
    if (k < kMaxAddressees) DestDeletedInEvents(config, k);
  }
  config.addressees.clear();
  config.general.block(lb::kClearedMark) = 1;
}

bool LineChannelUsable(const AddresseePhone& phone, uint8_t dialFlags) {
  if (dialFlags & dial_flag::kLineDisconnected) return false;
  if ((phone.formats & 0x0F) == 0) return false;
  return !phone.linePrefix.empty() || !phone.phoneNumber.empty();
}

bool GsmChannelUsable(const AddresseePhone& phone) {
  if (((phone.formats >> 4) & 0x0F) == 0) return false;
  return !phone.cellPrefix.empty() || !phone.phoneNumber.empty();
}

bool ApplyPhoneUsability(AddresseePhone& phone, uint8_t dialFlags) {
  if (LineChannelUsable(phone, dialFlags) || GsmChannelUsable(phone)) return true;
  phone.phoneFlags |= 0x20;
  return false;
}

void ApplyPhoneUsabilityToAll(Configuration& config) {
  const uint8_t flags = config.general.dialFlags();
  for (auto& a : config.addressees)
    for (auto& p : a.phones) ApplyPhoneUsability(p, flags);
}

int DeliveryLimitRow(int32_t stored) {
  int row = 1;  // zero and negative values show as "16 минут"
  if (stored >= 1) {
    row = 0;
    while (stored > kDeliveryRows[row].upper) ++row;
  }
  return row;
}

int32_t DeliveryLimitCode(int row) {
  if (row < 0 || row >= static_cast<int>(kDeliveryRows.size())) return kDeliveryRows[0].code;
  return kDeliveryRows[row].code;
}

std::string DeliveryLimitText(int row) {
  if (row < 0 || row >= static_cast<int>(kDeliveryRows.size())) return std::string();
  return Cp(kDeliveryRows[row].text);
}

void ResetToDefaults(Workspace& ws, Vocabulary& vocabulary) {
  const VocabularySnapshot snapshot(vocabulary);
  Configuration& c = ws.config;
  c.lastLoadTime.clear();
  ws.projectFileName = "default";

  PageMarks& m = ws.marks;
  m.loopRelayEdited.fill(false);
  m.loopEventsEdited.fill(false);
  m.eventsStale = true;
  m.reportsStale = true;
  m.showAddresseeDialog = true;

  c.pinCode = "7158";
  c.pukCode = "38170462";
  c.deviceAddress = "0000";
  ResetScalarSettings(c.general);
  c.ownNumber.clear();
  c.smsCentre.clear();
  c.expressOutNumber.clear();
  c.expressInNumber.clear();
  for (auto& phone : c.workPhones) phone.clear();
  c.cusdForwardNumber.clear();
  ResetLoopBlock(c.general);
  c.users.assign(1, DefaultUser());
  c.timeEvents.clear();
  c.workPhoneControl.fill(128);
  c.loopLatch.fill(0);
  c.relayTimeLimit.fill(0);

  ReadOperatorProfiles(ws, vocabulary);
  LoadIntervals(c, vocabulary);
  LoadRelayPatterns(c, vocabulary);
  ResetVoiceRepeatTable(c.general);
  ClearAddressees(c);
  for (auto& relay : c.relayBindings)
    for (auto& list : relay) list.clear();
  LoadEvents(ws, vocabulary);
  LoadCodeDefinitions(ws, vocabulary);
  LoadSmsLists(c, vocabulary);
  ws.eventFilterOn = true;
  LoadRemoteCommands(ws, vocabulary);
  // The window has always read the code definitions once more at the end.
  LoadCodeDefinitions(ws, vocabulary);
}

}  // namespace vorsin
