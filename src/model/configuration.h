// The one device configuration the tool edits, and the values kept beside it.
// Plain data, the record kinds in model/records.h: the operations live in
// model/defaults.h, model/events.h and the other model headers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/file_path.h"
#include "model/records.h"

namespace vorsin {

constexpr int kMaxRanges = 8;
constexpr int kLoops = 4;
constexpr int kRelays = 2;
constexpr int kRelayLists = 5;  // four loops and the common events
constexpr int kMaxAddressees = 8;
constexpr int kMaxUsers = 32;
constexpr int kWorkPhones = 8;
constexpr int kMaxGeneralEvents = 29;
constexpr int kUndefinedEvents = 10;

// Range names of one loop kind: a name and an event definition text per range.
struct RangeLabel {
  std::string name;
  std::string code;
  bool operator==(const RangeLabel&) const = default;
};

// Which description block serves which loop kind.
enum DescriptionBlock { kControlBlock = 0, kGuardBlock = 1, kFireBlock = 2 };

struct IntervalDescription {
  int32_t flags = 0;  // bit 0 fire, 1 guard, 2 control own names; 4 kind; 5 offered to all; 6 marked
  std::string name;
  std::array<std::array<RangeLabel, kMaxRanges>, 3> blocks{};  // control, guard, fire
  bool operator==(const IntervalDescription&) const = default;
};

struct AddresseePhone {
  int32_t autoNumber = 1;
  int32_t formats = 0;        // bits 4-7 GSM format, bits 0-3 line format
  uint8_t phoneFlags = 240;   // bits 0-3 voice repeat index, 7 cellular, 6 busy, 5 off, 4 handset
  std::string name;
  std::string phoneNumber;
  std::string cellPrefix;
  std::string linePrefix;
  bool operator==(const AddresseePhone&) const = default;
};

struct Addressee {
  int32_t autoNumber = 1;
  int32_t deliveryLimit = 1;
  int32_t confirmWait = 30;
  uint8_t addresseeFlags = 136;
  std::string name;
  std::vector<AddresseePhone> phones;
  bool operator==(const Addressee&) const = default;
};

// Offsets inside the 84-byte loop block (block index i lies at general offset 20 + i).
namespace lb {
constexpr size_t kClearedMark = 0;
constexpr size_t kVoiceRepeatTable = 1;  // entries 1..16
constexpr size_t kDeviceHeldByte = 17;
constexpr size_t kLoopFlags = 50;
constexpr size_t kCommonLoops = 54;
constexpr size_t kLoopConstants = 58;
constexpr size_t kLoopEventBase = 62;
constexpr size_t kReactionTime = 66;
constexpr size_t kArmDelay = 70;
constexpr size_t kDisarmDelay = 74;
constexpr size_t kIntervalIndex = 78;
constexpr size_t kRelayNormallyClosed = 82;
constexpr size_t kSize = 84;
}  // namespace lb

// The fixed 104-byte block of general, loop and relay settings; project
// files store it byte for byte, so it stays a byte array with named offsets.
struct GeneralSettings {
  static constexpr size_t kSize = 104;
  static constexpr size_t kTestPeriod1 = 0;
  static constexpr size_t kTestPeriod2 = 8;
  static constexpr size_t kLineCheckPeriod = 9;
  static constexpr size_t kPriorityDialTime = 10;
  static constexpr size_t kLineDialDelay = 11;
  static constexpr size_t kDialFlags = 12;
  static constexpr size_t kServiceFlags = 13;
  static constexpr size_t kProfileIndex = 16;  // 4 bytes, little-endian
  static constexpr size_t kLoopBlock = 20;

  std::array<uint8_t, kSize> bytes{};

  uint8_t& at(size_t offset) { return bytes.at(offset); }
  uint8_t at(size_t offset) const { return bytes.at(offset); }
  uint8_t& block(size_t index) { return bytes.at(kLoopBlock + index); }
  uint8_t block(size_t index) const { return bytes.at(kLoopBlock + index); }

  uint8_t& testPeriod1() { return at(kTestPeriod1); }
  uint8_t& testPeriod2() { return at(kTestPeriod2); }
  uint8_t& lineCheckPeriod() { return at(kLineCheckPeriod); }
  uint8_t& priorityDialTime() { return at(kPriorityDialTime); }
  uint8_t& lineDialDelay() { return at(kLineDialDelay); }
  uint8_t& dialFlags() { return at(kDialFlags); }
  uint8_t& serviceFlags() { return at(kServiceFlags); }
  uint8_t dialFlags() const { return at(kDialFlags); }
  uint8_t serviceFlags() const { return at(kServiceFlags); }

  int32_t profileIndex() const {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes[kProfileIndex + i]) << (8 * i);
    return static_cast<int32_t>(v);
  }
  void setProfileIndex(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[kProfileIndex + i] = static_cast<uint8_t>(v >> (8 * i));
  }

  // Voice-repeat table entry k = 1..16.
  uint8_t& voiceRepeat(int k) { return block(lb::kVoiceRepeatTable + k - 1); }
  uint8_t& deviceHeldByte() { return block(lb::kDeviceHeldByte); }
  uint8_t& loopFlags(int loop) { return block(lb::kLoopFlags + loop); }
  uint8_t& commonLoops(int loop) { return block(lb::kCommonLoops + loop); }
  uint8_t& loopEventBase(int loop) { return block(lb::kLoopEventBase + loop); }
  uint8_t& reactionTime(int loop) { return block(lb::kReactionTime + loop); }
  uint8_t& armDelay(int loop) { return block(lb::kArmDelay + loop); }
  uint8_t& disarmDelay(int loop) { return block(lb::kDisarmDelay + loop); }
  uint8_t& intervalIndex(int loop) { return block(lb::kIntervalIndex + loop); }
  uint8_t& relayNormallyClosed(int relay) { return block(lb::kRelayNormallyClosed + relay); }
  uint8_t voiceRepeat(int k) const { return block(lb::kVoiceRepeatTable + k - 1); }
  uint8_t deviceHeldByte() const { return block(lb::kDeviceHeldByte); }
  uint8_t loopFlags(int loop) const { return block(lb::kLoopFlags + loop); }
  uint8_t commonLoops(int loop) const { return block(lb::kCommonLoops + loop); }
  uint8_t loopEventBase(int loop) const { return block(lb::kLoopEventBase + loop); }
  uint8_t reactionTime(int loop) const { return block(lb::kReactionTime + loop); }
  uint8_t armDelay(int loop) const { return block(lb::kArmDelay + loop); }
  uint8_t disarmDelay(int loop) const { return block(lb::kDisarmDelay + loop); }
  uint8_t intervalIndex(int loop) const { return block(lb::kIntervalIndex + loop); }
  uint8_t relayNormallyClosed(int relay) const { return block(lb::kRelayNormallyClosed + relay); }

  bool operator==(const GeneralSettings&) const = default;
};

// dialFlags and serviceFlags bits.
namespace dial_flag {
constexpr uint8_t kToneDialing = 0x80;
constexpr uint8_t kNo425Check = 0x40;
constexpr uint8_t kPulseRatio2 = 0x20;
constexpr uint8_t kLineDisconnected = 0x08;
constexpr uint8_t kLoopsAnd = 0x04;
constexpr uint8_t kModemLog = 0x02;
}  // namespace dial_flag

struct Configuration {
  GeneralSettings general;
  std::string ownNumber;
  std::string smsCentre;
  std::string expressOutNumber;
  std::string expressInNumber;
  std::array<std::string, kWorkPhones> workPhones;
  std::string cusdForwardNumber;
  std::string pinCode;
  std::string pukCode;
  std::string deviceAddress;
  std::vector<Addressee> addressees;
  std::vector<Interval> intervals;
  std::vector<IntervalDescription> intervalDescriptions;
  // relayBindings[relay][list], list 0..3 the loops, 4 the common events.
  std::array<std::array<std::vector<RelayBinding>, kRelayLists>, kRelays> relayBindings;
  std::vector<RelayPattern> relayPatterns;
  std::vector<EventEntry> events;
  std::vector<ParamRecord> smsProfileTexts;
  std::vector<ParamRecord> smsSubStrings;
  std::vector<ParamRecord> smsStrings;
  std::vector<User> users;
  std::vector<RemoteCommand> remoteCommands;
  std::vector<RemoteCommand> remoteControls;
  std::vector<TimeEvent> timeEvents;
  std::array<uint8_t, 8> workPhoneControl{};
  std::array<uint8_t, 8> loopLatch{};
  std::array<uint8_t, 2> relayTimeLimit{};
  std::string lastLoadTime;

  bool operator==(const Configuration&) const = default;
};

struct CodeDefinition {
  int code = 0;  // 151..255
  std::string name;
  bool operator==(const CodeDefinition&) const = default;
};

struct OperatorProfile {
  int section = 0;  // 0 = "Другой"
  std::string name;
  bool operator==(const OperatorProfile&) const = default;
};

// A named entry of the remote-control tree; names and SMS forms always come
// from the vocabulary, the records of the configuration hold the rest.
struct RemoteEntryName {
  std::string name;
  std::string form;
};

// Rebuild and edit marks shared by the pages.
struct PageMarks {
  std::array<bool, kLoops> loopRelayEdited{};
  std::array<bool, kLoops> loopEventsEdited{};
  bool eventsStale = true;   // the events list rebuilds when next shown
  bool reportsStale = true;  // the reports grid likewise
  bool showAddresseeDialog = true;
};

// The configuration together with what the main window keeps beside it and
// does not save.
struct Workspace {
  Configuration config;
  FilePath projectFileName = "default";
  PageMarks marks;
  std::vector<CodeDefinition> codeDefinitions;
  std::vector<OperatorProfile> profiles;  // "Другой" first
  std::vector<RemoteEntryName> commandNames;
  std::vector<RemoteEntryName> controlNames;
  int remoteCommandCount = 0;
  int remoteControlCount = 0;
  int definedEventCount = 0;  // general events the vocabulary defines
  bool eventFilterOn = true;
};

}  // namespace vorsin
