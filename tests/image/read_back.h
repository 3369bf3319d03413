// A device memory that takes write plans, what reading an image gives back
// for a configuration it did not write itself, and a comparison that names the
// first part that differs. Shared by the round-trip tests and the fuzz target
// that checks the same property.
#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "image/image_layout.h"
#include "image/image_writer.h"
#include "link/device_commands.h"
#include "model/configuration.h"
#include "model/cp1251.h"
#include "model/loops.h"
#include "sms/sms.h"

namespace vorsin::image_test {

// A 32 KiB memory with a table of fixed blocks spaced like a real device's.
struct MemoryDevice {
  std::array<uint8_t, image::kMemorySize> mem{};
  AddressTable table;
  uint8_t format = 2;
  uint8_t firmware = 7;

  MemoryDevice() {
    mem.fill(0xFF);
    table.address = 0x0020;
    const std::pair<int, uint16_t> fixed[] = {
        {0, 0x0010},  {1, 0x0100},  {3, 0x0108},  {5, 0x0124},  {9, 0x0134},  {10, 0x0154},
        {11, 0x0158}, {12, 0x015A}, {13, 0x015E}, {14, 0x0162}, {19, 0x0170}, {24, 0x01D0},
        {25, 0x0240}, {27, 0x0370}, {28, 0x0380}, {29, 0x0388}, {30, 0x038A}, {34, 0x0390},
        {38, 0x0450}, {41, 0x0468}, {42, 0x0470}, {40, 0x0478}};
    for (const auto& [entry, address] : fixed) SetTableEntry(table, entry, address);
    for (int chained : {16, 17, 26, 31, 32, 33, 39}) SetTableEntry(table, chained, 0x0478);
    SyncTable();
    mem[0x10] = format;
    mem[0x11] = firmware;
    mem[table.address - 1] = 0;
  }
  void SyncTable() { std::copy(table.bytes.begin(), table.bytes.end(), mem.begin() + table.address); }
  void Apply(const image::ImagePlan& plan) {
    for (const auto& b : plan.blocks) std::copy(b.bytes.begin(), b.bytes.end(), mem.begin() + b.address);
    std::copy(mem.begin() + table.address, mem.begin() + table.address + kTableBytes, table.bytes.begin());
  }
  std::vector<uint8_t> Area() const {
    return {mem.begin() + TableEntry(table, 1), mem.begin() + TableEntry(table, 40)};
  }
};

// What reading is expected to give back for a configuration it did not
// write itself: the parts the image does not hold, or holds differently.
inline Configuration AsReadBack(const Configuration& written, const Workspace& fresh,
                                std::span<const CodeDefinition> codes) {
  Configuration c = written;
  c.general.setProfileIndex(0);
  if (c.general.serviceFlags() & 0x10) c.general.serviceFlags() &= static_cast<uint8_t>(~0x20);
  c.general.block(lb::kClearedMark) = 1;
  std::vector<Addressee> kept;
  for (size_t i = 0; i < c.addressees.size(); ++i) {
    if (c.addressees[i].phones.empty()) continue;
    Addressee a = c.addressees[i];
    a.autoNumber = static_cast<int32_t>(kept.size() + 1);
    for (size_t j = 0; j < a.phones.size(); ++j) a.phones[j].autoNumber = static_cast<int32_t>(j + 1);
    kept.push_back(a);
  }
  c.addressees = kept;
  for (int R = 0; R < kRelays; ++R)
    for (int L = 0; L < kLoops; ++L) {
      const uint8_t f = c.general.loopFlags(L);
      if ((f & 1) && (f & 0x10) == R * 16) {
        c.general.relayNormallyClosed(R) = 0;
        for (auto& list : c.relayBindings[R]) list.clear();
      }
    }
  for (size_t n = 0; n < c.relayPatterns.size(); ++n) {
    static const char* const kNames[] = {"Вкл. непрерывно", "Меандр 1", "Меандр 2", "Меандр 3",
                                         "Меандр 4",        "Меандр 5", "Выкл"};
    c.relayPatterns[n].text = n < 7 ? Cp(kNames[n]) : Cp("Тип ") + std::to_string(n);
  }
  // Texts come back in their canonical spelling.
  const SmsContext ctx{c.smsSubStrings, codes};
  std::vector<ParamRecord> canonical[3] = {c.smsProfileTexts, c.smsStrings, c.smsSubStrings};
  for (auto& list : canonical)
    for (auto& t : list) {
      const auto stored = StoreSmsList(std::span<const ParamRecord>(&t, 1), 1, ctx);
      t.text = DecodeSms(std::span<const uint8_t>(stored).subspan(1), codes);
    }
  c.smsProfileTexts = canonical[0];
  c.smsStrings = canonical[1];
  c.smsSubStrings = canonical[2];
  // Parts of the workspace reading never touches stay as they were.
  c.pukCode = fresh.config.pukCode;
  return c;
}

// The name of the first part in which got differs from want, empty when
// they agree on everything the image holds.
inline std::string DifferingPart(const Configuration& want, const Configuration& got) {
  if (want.general.bytes != got.general.bytes) return "general";
#define VORSIN_SAME(part) \
  if (!(want.part == got.part)) return #part
  VORSIN_SAME(ownNumber);
  VORSIN_SAME(smsCentre);
  VORSIN_SAME(expressOutNumber);
  VORSIN_SAME(expressInNumber);
  VORSIN_SAME(workPhones);
  VORSIN_SAME(cusdForwardNumber);
  VORSIN_SAME(pinCode);
  VORSIN_SAME(deviceAddress);
  VORSIN_SAME(addressees);
  VORSIN_SAME(intervals);
  VORSIN_SAME(intervalDescriptions);
  VORSIN_SAME(relayBindings);
  VORSIN_SAME(relayPatterns);
  VORSIN_SAME(events);
  VORSIN_SAME(smsProfileTexts);
  VORSIN_SAME(smsSubStrings);
  VORSIN_SAME(smsStrings);
  VORSIN_SAME(users);
  VORSIN_SAME(remoteCommands);
  VORSIN_SAME(remoteControls);
  VORSIN_SAME(timeEvents);
  VORSIN_SAME(workPhoneControl);
  VORSIN_SAME(loopLatch);
  VORSIN_SAME(relayTimeLimit);
#undef VORSIN_SAME
  return {};
}

}  // namespace vorsin::image_test
