// One request/reply exchange with the device, and a transaction of retried
// exchanges that tells the user what went wrong.
#pragma once

#include <cstdint>
#include <span>

#include "link/com_port.h"
#include "model/messenger.h"

namespace vorsin {

// ExchangeFrame results.
constexpr int kExchangeOk = 0;
constexpr int kExchangeNoHeader = 2;   // nothing, or a bad header
constexpr int kExchangeShortBody = 3;  // fewer bytes than the header announced
constexpr int kExchangeBadChecksum = 4;

// DeviceTransaction results.
constexpr int kTransactionOk = 0;
constexpr int kTransactionRefused = 1;  // device error or unexpected reply code
constexpr int kTransactionNoLink = 2;
constexpr int kTransactionShort = 3;

constexpr int kAnyReplyCode = -1;
constexpr int kTries = 5;
constexpr int kTryDelayMs = 2;

// Sends one frame and reads one reply frame into port.reply.
int ExchangeFrame(ComPort& port, uint8_t command, std::span<const uint8_t> payload);

// Up to tries exchanges; judges the last one and shows its message. The good
// reply stays in port.reply. expectedCode kAnyReplyCode accepts any code;
// expectedLength 0 any length, else the reply must carry exactly that many
// bytes after its code.
int DeviceTransaction(ComPort& port, Messenger& messenger, uint8_t command,
                      std::span<const uint8_t> payload, int expectedCode = kAnyReplyCode,
                      int expectedLength = 0, int tries = kTries, int delayMs = kTryDelayMs);

// Reply accessors: L, the reply code, and payload byte i (0 past the
// payload the reply's L announced, so a short reply never yields its checksum).
inline int ReplyLength(const ComPort& port) { return port.reply[1]; }
inline int ReplyCode(const ComPort& port) { return port.reply[3]; }
inline uint8_t ReplyPayload(const ComPort& port, size_t i) {
  const size_t payload = port.reply[1] > 0 ? port.reply[1] - 1u : 0u;
  return i < payload ? port.reply[4 + i] : 0;
}

}  // namespace vorsin
