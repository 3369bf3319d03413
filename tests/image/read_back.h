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

#include "image/blocks.h"
#include "image/image_layout.h"
#include "image/image_writer.h"
#include "image/phone_code.h"
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

// Names travel zero-terminated in the descriptions block.
inline std::string UpToZero(const std::string& text) { return text.substr(0, text.find('\0')); }

// What reading is expected to give back for a configuration it did not
// write itself: the parts the image does not hold, or holds differently.
inline Configuration AsReadBack(const Configuration& written, const Workspace& fresh,
                                std::span<const CodeDefinition> codes) {
  Configuration c = written;
  // What each block keeps of its fields (numbers in the device's form, the
  // users by slot, the relays' bits, the SMS texts' canonical spelling...).
  image::KeepWhatTheBlocksHold(c, codes);
  c.general.setProfileIndex(0);
  c.general.block(lb::kClearedMark) = 1;
  // The reserved bytes of the general block are the tool's own.
  for (size_t i : {1, 2, 3, 4, 5, 6, 7, 14, 15}) c.general.at(i) = fresh.config.general.at(i);
  for (size_t i = lb::kDeviceHeldByte + 1; i < lb::kLoopFlags; ++i) c.general.block(i) = fresh.config.general.block(i);
  // Reading maps the device's first level table to the reader's own first
  // table without comparing them (the level-table rule).
  if (!c.intervals.empty() && !fresh.config.intervals.empty()) c.intervals[0] = fresh.config.intervals[0];
  // The device's loop constants are written as 9 to 12 whatever the model holds.
  for (int L = 0; L < kLoops; ++L) c.general.block(lb::kLoopConstants + L) = static_cast<uint8_t>(9 + L);
  std::vector<Addressee> kept;
  for (size_t i = 0; i < c.addressees.size(); ++i) {
    if (c.addressees[i].phones.empty()) continue;
    Addressee a = c.addressees[i];
    a.autoNumber = static_cast<int32_t>(kept.size() + 1);
    a.name = UpToZero(a.name);
    for (size_t j = 0; j < a.phones.size(); ++j) {
      a.phones[j].autoNumber = static_cast<int32_t>(j + 1);
      a.phones[j].name = UpToZero(a.phones[j].name);
    }
    kept.push_back(a);
  }
  c.addressees = kept;
  for (size_t n = 0; n < c.relayPatterns.size(); ++n) {
    static const char* const kNames[] = {"Вкл. непрерывно", "Меандр 1", "Меандр 2", "Меандр 3",
                                         "Меандр 4",        "Меандр 5", "Выкл"};
    c.relayPatterns[n].text = n < 7 ? Cp(kNames[n]) : Cp("Тип ") + std::to_string(n);
  }
  // Parts of the workspace reading never touches stay as they were.
  c.pukCode = fresh.config.pukCode;
  // Reading lays the loops' blocks out one after another behind the general
  // events, whatever the gaps or overlaps between them in the device: the
  // device sees the same records, the list may be shorter and the bases move.
  // A block's events past the loop's ranges are not read; blank ones stand in.
  std::vector<EventEntry> events;
  int lowest = c.general.loopEventBase(0);
  for (int L = 1; L < kLoops; ++L) lowest = std::min<int>(lowest, c.general.loopEventBase(L));
  events.assign(c.events.begin(), c.events.begin() + std::min<size_t>(lowest, c.events.size()));
  std::array<uint8_t, kLoops> bases{};
  for (int L = 0; L < kLoops; ++L) {
    bases[L] = static_cast<uint8_t>(events.size());
    const int used = LoopRangeCount(c, L) - 1;
    const size_t base = c.general.loopEventBase(L);
    for (int v = 0; v < used; ++v) events.push_back(base + v < c.events.size() ? c.events[base + v] : EventEntry{});
    for (int v = used; v < MinLoopEvents(L); ++v) events.push_back(EventEntry{});
  }
  c.events = events;
  for (int L = 0; L < kLoops; ++L) c.general.loopEventBase(L) = bases[L];
  return c;
}

// Reduces the level tables to what the image holds of them: for each loop
// the table it uses (kind, ranges, levels) and, when the descriptions were
// written, that table's name, flag bits 0-2 and the names of its ranges
// (up to its count) that differ from the default ("Интервал n"; an empty name counts as one). Reading takes
// the rest from its own vocabulary (the other tables, the range codes).
inline void KeepLoopTablesOnly(Configuration& c, bool withDescriptions) {
  std::vector<Interval> tables;
  std::vector<IntervalDescription> descriptions;
  for (int L = 0; L < kLoops; ++L) {
    const size_t index = c.general.intervalIndex(L);
    Interval t = index < c.intervals.size() ? c.intervals[index] : Interval{};
    const int n = std::clamp<int32_t>(t.w[1], 0, kMaxRanges);
    Interval held;
    held.w[0] = t.w[0] != 0;
    held.w[1] = n;
    for (int i = 0; i < 2 * n; ++i) held.w[2 + i] = t.w[2 + i];
    tables.push_back(held);
    IntervalDescription d;
    if (withDescriptions && index < c.intervalDescriptions.size()) {
      const IntervalDescription& from = c.intervalDescriptions[index];
      d.name = UpToZero(from.name);
      d.flags = from.flags & 7;
      for (size_t b = 0; b < d.blocks.size(); ++b)
        for (size_t r = 0; r < static_cast<size_t>(n) && r < d.blocks[b].size(); ++r) {
          const std::string name = UpToZero(from.blocks[b][r].name);
          if (!name.empty() && name != Cp("Интервал ") + std::to_string(r)) d.blocks[b][r].name = name;
        }
    }
    descriptions.push_back(d);
    c.general.intervalIndex(L) = static_cast<uint8_t>(L);
  }
  c.intervals = tables;
  c.intervalDescriptions = descriptions;
}

// Range names the image does not carry (see KeepLoopTablesOnly) are whatever
// the reading side starts from: they are not compared.
inline void IgnoreUnwrittenRangeNames(Configuration& want, const Configuration& got) {
  for (size_t t = 0; t < want.intervalDescriptions.size() && t < got.intervalDescriptions.size(); ++t)
    for (size_t b = 0; b < want.intervalDescriptions[t].blocks.size(); ++b)
      for (size_t r = 0; r < want.intervalDescriptions[t].blocks[b].size(); ++r) {
        auto& name = want.intervalDescriptions[t].blocks[b][r].name;
        if (name.empty()) name = got.intervalDescriptions[t].blocks[b][r].name;
      }
}

// Of the remote commands the image holds each one's mask byte and its text
// (zero-terminated, 0xFF skipped), as many as the reading vocabulary lists;
// of the controls the mask byte of the first six.
inline void KeepRemoteWordsOnly(Configuration& want, const Configuration& got) {
  for (auto* pair : {&want.remoteCommands, &want.remoteControls}) {
    const bool commands = pair == &want.remoteCommands;
    pair->resize(commands ? got.remoteCommands.size() : got.remoteControls.size());
    for (size_t i = 0; i < pair->size(); ++i) {
      RemoteCommand held;
      RemoteCommand& r = (*pair)[i];
      if (commands || i < 6) held.w[1] = r.w[1] & 0xFF;
      if (commands)
        for (const char ch : UpToZero(r.text))
          if (static_cast<uint8_t>(ch) != 0xFF) held.text += ch;
      r = held;
    }
  }
}

// The image holds an event's record (words 1 to 9), not its name: reading
// names general events from its vocabulary and loop events from the ranges.
inline void KeepEventRecordsOnly(Configuration& c) {
  for (EventEntry& e : c.events) {
    EventEntry held;
    for (int k = 1; k <= 9; ++k) held.w[k] = e.w[k];
    e = held;
  }
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

// The property the checks before programming promise, for any configuration
// they let through: the part in which reading the image back differs from
// what was written, beyond the differences above; empty when none.
inline std::string ImageReadBackDifference(const Configuration& written, const Workspace& fresh,
                                           std::span<const CodeDefinition> codes, bool withDescriptions,
                                           Configuration* wantOut = nullptr, Configuration* gotOut = nullptr) {
  Configuration want = AsReadBack(written, fresh, codes);
  Configuration got = fresh.config;
  KeepLoopTablesOnly(want, withDescriptions);
  KeepLoopTablesOnly(got, withDescriptions);
  // Reading matches tables by their ranges and levels, not by kind: a table
  // equal to a known one but for the kind comes back with that one's kind.
  for (size_t t = 0; t < want.intervals.size() && t < got.intervals.size(); ++t) {
    Interval& w = want.intervals[t];
    const Interval& g = got.intervals[t];
    if (std::equal(w.w.begin() + 1, w.w.end(), g.w.begin() + 1)) w.w[0] = g.w[0];
  }
  IgnoreUnwrittenRangeNames(want, got);
  KeepRemoteWordsOnly(want, got);
  KeepRemoteWordsOnly(got, got);
  KeepEventRecordsOnly(want);
  KeepEventRecordsOnly(got);
  if (wantOut) *wantOut = want;
  if (gotOut) *gotOut = got;
  return DifferingPart(want, got);
}

}  // namespace vorsin::image_test
