// The blocks that lie at the addresses the device's table gives: general
// settings, users, loop settings, addressee slots, numbers, remote commands.
// Encoders build the bytes to write; decoders take exactly the bytes of their
// block (the caller has checked that they were read) and fill the configuration.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin::image {

using Bytes = std::vector<uint8_t>;

// Entry 1: the four PIN characters.
Bytes EncodePin(const std::string& pin);
std::string DecodePin(std::span<const uint8_t> block);

// Entry 3. The device address goes in as four BCD digits, the relays' time
// limits as a nibble each.
constexpr size_t kDeviceAddressDigits = 4;
constexpr uint8_t kMaxRelayTimeLimit = 0x0F;
// vgr and vgt are the values of the programming page's two boxes.
Bytes EncodeGeneralBlock(const Configuration& config, int vgr, int vgt);
struct GeneralReadBack {
  int vgr = 0;
  int vgt = 0;
};
GeneralReadBack DecodeGeneralBlock(std::span<const uint8_t> block, Configuration& config);

// Entry 5: voiceRepeatTable (loop block 1..16).
Bytes EncodeVoiceRepeat(const Configuration& config);
void DecodeVoiceRepeat(std::span<const uint8_t> block, Configuration& config);

// Entries 9, 19 and 34, indexed by user number 1..32. Bit 6 of a user's
// attribute byte marks an empty slot; user 32, the engineer, is always read.
constexpr uint8_t kNoUserBit = 0x40;
constexpr int kEngineerUser = 32;
constexpr uint8_t kNoEngineer = 0x80;  // the engineer's byte when there is none
struct UserBlocks {
  Bytes attributes;  // 32
  Bytes passwords;   // 96
  Bytes keys;        // 192
};
UserBlocks EncodeUsers(const Configuration& config);
// Replaces the user list: user 32 first, then every present user 1..31.
void DecodeUsers(std::span<const uint8_t> attributes, std::span<const uint8_t> passwords,
                 std::span<const uint8_t> keys, Configuration& config);

// The loop flag transform of entry 10; its own inverse.
uint8_t LoopFlagsCode(uint8_t flags);

// Small loop and timing blocks.
Bytes EncodeLoopFlags(const Configuration& config);                 // entry 10
void DecodeLoopFlags(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeCommonLoops(const Configuration& config);               // entry 11
void DecodeCommonLoops(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeLoopConstants();                                        // entry 12
Bytes EncodeReactionTimes(const Configuration& config);             // entry 13
void DecodeReactionTimes(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeDelays(const Configuration& config);                    // entry 14
void DecodeDelays(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeLoopEventBases(const Configuration& config);            // entry 30
void DecodeLoopEventBases(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeTestPeriods(const Configuration& config);               // entry 29
void DecodeTestPeriods(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeWorkPhoneControl(const Configuration& config);          // entry 41
void DecodeWorkPhoneControl(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeLoopLatch(const Configuration& config);                 // entry 42
void DecodeLoopLatch(std::span<const uint8_t> block, Configuration& config);
Bytes EncodeZeros();                                                // entry 38

// Entries 27 and 28: slot s is addressee s; empty slots get 0x89, 0x1E and 1.
Bytes EncodeAddresseeFlags(const Configuration& config);
Bytes EncodeDeliveryLimits(const Configuration& config);
// Gives each existing addressee the settings of its slot.
void DecodeAddresseeSlots(std::span<const uint8_t> flags, std::span<const uint8_t> limits,
                          Configuration& config);

// Entry 24: the work phones, then these numbers in 8-byte number fields, the
// incoming balance number (a 16-byte number field, or text), the CUSD
// forward number last. Labels as the checks name them (UTF-8).
struct NumberField {
  const char* label;
  std::string Configuration::*number;
};
constexpr NumberField kNumberFields[] = {{"Собственный номер", &Configuration::ownNumber},
                                         {"Номер Sms-центра", &Configuration::smsCentre},
                                         {"Номер экспресс-запроса", &Configuration::expressOutNumber},
                                         {"Номер переадресации USSD", &Configuration::cusdForwardNumber}};
Bytes EncodeNumbers(const Configuration& config);
// The CUSD forward number is read only from firmware that keeps it.
void DecodeNumbers(std::span<const uint8_t> block, bool withCusd, Configuration& config);

// Entry 25: per command its number, work-phone mask, password and 0x00; a
// final 0x00. Reading walks the existing list and never resizes it; false
// when a record runs past the bytes given.
Bytes EncodeRemoteCommands(const Configuration& config);
bool DecodeRemoteCommands(std::span<const uint8_t> rest, Configuration& config);

}  // namespace vorsin::image
