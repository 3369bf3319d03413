// The record kinds of the configuration's lists, with their words named.
// Each kind is stored as a ParamRecord (18 words and a text, the shape the
// project file and the device image keep), so the words stay reachable as
// w[] for the formats; everything else reads and writes them by name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "model/bit_masks.h"

namespace vorsin {

// The record shape of most lists: 18 words and one text.
struct ParamRecord {
  static constexpr size_t kWords = 18;
  std::array<int32_t, kWords> w{};
  std::string text;
  bool operator==(const ParamRecord&) const = default;
};

// Common base of the named kinds: made from any ParamRecord, so a record
// read as plain words becomes any kind without a copy by hand.
struct NamedRecord : ParamRecord {
  NamedRecord() = default;
  NamedRecord(const ParamRecord& r) : ParamRecord(r) {}
  NamedRecord(ParamRecord&& r) : ParamRecord(std::move(r)) {}
  NamedRecord(const std::array<int32_t, kWords>& words, std::string recordText)
      : ParamRecord{words, std::move(recordText)} {}
};

// Level-range table of a loop: a kind (0/1) and up to eight ranges, each a
// low level and a width.
struct Interval : NamedRecord {
  using NamedRecord::NamedRecord;
  static constexpr size_t kKind = 0;
  static constexpr size_t kRangeCount = 1;
  static constexpr size_t kFirstRange = 2;  // low of range k at 2 + 2k, width at 3 + 2k

  int32_t kind() const { return w[kKind]; }
  void setKind(int32_t v) { w[kKind] = v; }
  // As stored: callers clamp it to 1..kMaxRanges where they need a count.
  int32_t rangeCount() const { return w[kRangeCount]; }
  void setRangeCount(int32_t v) { w[kRangeCount] = v; }
  int32_t rangeLow(int k) const { return w.at(kFirstRange + 2 * static_cast<size_t>(k)); }
  void setRangeLow(int k, int32_t v) { w.at(kFirstRange + 2 * static_cast<size_t>(k)) = v; }
  int32_t rangeWidth(int k) const { return w.at(kFirstRange + 1 + 2 * static_cast<size_t>(k)); }
  void setRangeWidth(int k, int32_t v) { w.at(kFirstRange + 1 + 2 * static_cast<size_t>(k)) = v; }
};

// Event row; text = the event's name.
struct EventEntry : NamedRecord {
  using NamedRecord::NamedRecord;
  static constexpr size_t kFlags = 1;
  static constexpr size_t kCode = 2;
  static constexpr size_t kPartition = 3;
  static constexpr size_t kZone = 4;
  static constexpr size_t kSmsNew = 5;
  static constexpr size_t kSmsRestore = 6;
  static constexpr size_t kVoiceRestore = 7;
  static constexpr size_t kVoiceNew = 8;
  static constexpr size_t kAddresseeMask = 9;
  static constexpr int32_t kRestoreBit = 0x40;  // in flags: the event has a restore

  int32_t flags() const { return w[kFlags]; }
  void setFlags(int32_t v) { w[kFlags] = v; }
  bool hasRestore() const { return HasBits(flags(), kRestoreBit); }
  int32_t code() const { return w[kCode]; }
  void setCode(int32_t v) { w[kCode] = v; }
  int32_t partition() const { return w[kPartition]; }
  void setPartition(int32_t v) { w[kPartition] = v; }
  int32_t zone() const { return w[kZone]; }
  void setZone(int32_t v) { w[kZone] = v; }
  // SMS string numbers (0 none) sent on the event and on its restore.
  int32_t smsNew() const { return w[kSmsNew]; }
  void setSmsNew(int32_t v) { w[kSmsNew] = v; }
  int32_t smsRestore() const { return w[kSmsRestore]; }
  void setSmsRestore(int32_t v) { w[kSmsRestore] = v; }
  // Voice message numbers (0 none).
  int32_t voiceNew() const { return w[kVoiceNew]; }
  void setVoiceNew(int32_t v) { w[kVoiceNew] = v; }
  int32_t voiceRestore() const { return w[kVoiceRestore]; }
  void setVoiceRestore(int32_t v) { w[kVoiceRestore] = v; }
  // Addressees reported to, addressee 0 in bit 0x80; higher bits are kept as read.
  int32_t addresseeMask() const { return w[kAddresseeMask]; }
  void setAddresseeMask(int32_t v) { w[kAddresseeMask] = v; }
  bool reportsTo(int addressee) const { return HasBits(addresseeMask(), AddresseeBit(addressee)); }
  void setReportsTo(int addressee, bool on) { setAddresseeMask(WithBits(addresseeMask(), AddresseeBit(addressee), on)); }
};

// User; text = the password.
struct User : NamedRecord {
  using NamedRecord::NamedRecord;
  static constexpr size_t kNumber = 1;
  static constexpr size_t kFlags = 2;
  static constexpr size_t kKeyPresent = 3;
  static constexpr size_t kKeyFirst = 4;
  static constexpr int kKeyBytes = 6;

  int32_t number() const { return w[kNumber]; }
  void setNumber(int32_t v) { w[kNumber] = v; }
  // Bits 0-3 the loops (loop 1 in bit 3), the rest named in model/flag_names.h.
  int32_t flags() const { return w[kFlags]; }
  void setFlags(int32_t v) { w[kFlags] = v; }
  // Non-zero when a key is assigned; the word as stored.
  int32_t keyPresent() const { return w[kKeyPresent]; }
  void setKeyPresent(int32_t v) { w[kKeyPresent] = v; }
  // Key byte k = 0..5, as stored (one byte per word).
  int32_t keyByte(int k) const { return w.at(kKeyFirst + static_cast<size_t>(k)); }
  void setKeyByte(int k, int32_t v) { w.at(kKeyFirst + static_cast<size_t>(k)) = v; }
  // The word after the key, shown before its bytes (normally "00").
  int32_t afterKey() const { return w[kKeyFirst + kKeyBytes]; }
};

// Remote command or control; text = the password.
struct RemoteCommand : NamedRecord {
  using NamedRecord::NamedRecord;
  static constexpr size_t kPhoneMask = 1;

  // Work phones allowed, phone 0 in bit 0x80.
  int32_t phoneMask() const { return w[kPhoneMask]; }
  void setPhoneMask(int32_t v) { w[kPhoneMask] = v; }
  bool allowsPhone(int phone) const { return HasBits(phoneMask(), PhoneBit(phone)); }
  void setAllowsPhone(int phone, bool on) { setPhoneMask(WithBits(phoneMask(), PhoneBit(phone), on)); }
};

// Time event: at day (0 every day), hours and minutes the event at a
// position of the events list is raised.
struct TimeEvent : NamedRecord {
  using NamedRecord::NamedRecord;
  static constexpr size_t kDay = 1;
  static constexpr size_t kHours = 2;
  static constexpr size_t kMinutes = 3;
  static constexpr size_t kEvent = 4;

  int32_t day() const { return w[kDay]; }
  void setDay(int32_t v) { w[kDay] = v; }
  int32_t hours() const { return w[kHours]; }
  void setHours(int32_t v) { w[kHours] = v; }
  int32_t minutes() const { return w[kMinutes]; }
  void setMinutes(int32_t v) { w[kMinutes] = v; }
  int32_t event() const { return w[kEvent]; }
  void setEvent(int32_t v) { w[kEvent] = v; }
};

// Relay reaction pattern: a step count and the steps (bit 7 energised,
// bits 0-5 the length in tenths of a second); text = the pattern's name.
struct RelayPattern : NamedRecord {
  using NamedRecord::NamedRecord;
  static constexpr size_t kStepCount = 1;
  static constexpr size_t kFirstStep = 2;
  static constexpr int kMaxSteps = static_cast<int>(kWords - kFirstStep);

  // As stored: callers clamp it to 0..kMaxSteps.
  int32_t stepCount() const { return w[kStepCount]; }
  void setStepCount(int32_t v) { w[kStepCount] = v; }
  // Step i = 0..kMaxSteps-1.
  int32_t step(int i) const { return w.at(kFirstStep + static_cast<size_t>(i)); }
  void setStep(int i, int32_t v) { w.at(kFirstStep + static_cast<size_t>(i)) = v; }
};

// A relay's reaction to one event source.
struct RelayBinding {
  static constexpr size_t kReserved = 0;
  static constexpr size_t kSource = 1;
  static constexpr size_t kReactionFlags = 2;
  static constexpr size_t kPriority = 3;
  std::array<int32_t, 4> w{};
  bool operator==(const RelayBinding&) const = default;

  int32_t reserved() const { return w[kReserved]; }
  void setReserved(int32_t v) { w[kReserved] = v; }
  // The event source: a range id of the loop's level table or a common event (model/relays.h names them).
  int32_t source() const { return w[kSource]; }
  void setSource(int32_t v) { w[kSource] = v; }
  // Bits 0-2 pattern, 6 no stop check, 7 cyclic.
  int32_t reactionFlags() const { return w[kReactionFlags]; }
  void setReactionFlags(int32_t v) { w[kReactionFlags] = v; }
  int32_t priority() const { return w[kPriority]; }
  void setPriority(int32_t v) { w[kPriority] = v; }
};

}  // namespace vorsin
