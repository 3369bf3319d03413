// The device's error reply (0x86: failed command, sub-code) in words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorsin {

constexpr uint8_t kReplyError = 0x86;
constexpr uint8_t kSubRetry = 2;   // "try again": retried, never shown unless it persists
constexpr uint8_t kSubSilent = 18; // fails without a message

// Windows-1251 message for an error reply; nullopt for the silent sub-code.
std::optional<std::string> DeviceErrorText(uint8_t failedCommand, uint8_t subCode);

}  // namespace vorsin
