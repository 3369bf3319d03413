// Where the device keeps each part of the configuration: the entries of its
// address table and the sizes of the fixed blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/device_limits.h"

namespace vorsin::image {

// Address table entries.
constexpr int kEntryVersion = 0;          // image format version, firmware version
constexpr int kEntryPin = 1;              // also the start of the configuration area
constexpr int kEntryGeneral = 3;
constexpr int kEntryVoiceRepeat = 5;
constexpr int kEntryUserAttributes = 9;
constexpr int kEntryLoopFlags = 10;
constexpr int kEntryCommonLoops = 11;
constexpr int kEntryLoopConstants = 12;
constexpr int kEntryReactionTime = 13;
constexpr int kEntryDelays = 14;
constexpr int kEntryPhones = 16;          // chained
constexpr int kEntryEvents = 17;          // chained
constexpr int kEntryPasswords = 19;
constexpr int kEntryNumbers = 24;
constexpr int kEntryRemoteCommands = 25;
constexpr int kEntrySms = 26;             // chained
constexpr int kEntryAddresseeFlags = 27;
constexpr int kEntryDeliveryLimits = 28;
constexpr int kEntryTestPeriods = 29;
constexpr int kEntryLoopEventBase = 30;
constexpr int kEntryLevelTables = 31;     // chained
constexpr int kEntryRelays = 32;          // chained, relay 2 follows relay 1
constexpr int kEntryRelayPatterns = 33;   // chained
constexpr int kEntryKeys = 34;
constexpr int kEntryZeros = 38;
constexpr int kEntryTimeEvents = 39;      // chained, the descriptions follow
constexpr int kEntryAreaEnd = 40;
constexpr int kEntryWorkPhoneControl = 41;
constexpr int kEntryLoopLatch = 42;

constexpr size_t kVersionSize = 2;
constexpr size_t kPinSize = 4;
constexpr size_t kGeneralSize = 28;
constexpr size_t kVoiceRepeatSize = 16;
constexpr size_t kUserAttributesSize = 32;
constexpr size_t kLoopFlagsSize = 4;
constexpr size_t kCommonLoopsSize = 2;
constexpr size_t kLoopConstantsSize = 4;
constexpr size_t kReactionTimeSize = 4;
constexpr size_t kDelaysSize = 8;
constexpr size_t kPasswordsSize = 96;
constexpr size_t kNumbersSize = 112;
constexpr size_t kAddresseeFlagsSize = 16;
constexpr size_t kDeliveryLimitsSize = 8;
constexpr size_t kTestPeriodsSize = 2;
constexpr size_t kLoopEventBaseSize = 4;
constexpr size_t kKeysSize = 192;
constexpr size_t kZerosSize = 21;
constexpr size_t kWorkPhoneControlSize = 8;
constexpr size_t kLoopLatchSize = 8;
// Bytes read at entry 3 before programming, to learn the device-held byte.
constexpr size_t kGeneralPeekSize = 10;
constexpr size_t kDeviceHeldOffset = 8;

// Version rules: programming needs firmware 7, reading firmware 2; both
// refuse an image format this tool does not know.
constexpr uint8_t kMinProgramFirmware = 7;
constexpr uint8_t kMinReadFirmware = 2;
constexpr uint8_t kMaxImageFormat = 2;
// The CUSD forward number exists from firmware 7 on.
constexpr uint8_t kCusdFirmware = 7;

// The whole EEPROM the tool may address.
constexpr uint32_t kMemorySize = 0x8000;

}  // namespace vorsin::image
