#include "link/transaction.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "link/device_errors.h"
#include "link/frame.h"
#include "model/cp1251.h"

namespace vorsin {
namespace {

constexpr int kPauseAfterRequestMs = 2;
// Silence that ends the wait for what a failed attempt still had coming,
// when the port sets no gap between bytes of its own.
constexpr int kQuietMs = 100;
// A line that never falls silent (noise, a babbling device) is given up on.
constexpr auto kDrainLimit = std::chrono::seconds(2);
// The longest a late reply is waited for after a retry was answered.
constexpr long long kLateReplyLimitMs = 1500;

void Pause(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool IsRetryRequest(const ComPort& port) {
  return ReplyCode(port) == kReplyError && ReplyPayload(port, 1) == kSubRetry;
}

// The rest of a failed attempt's reply, or a late reply to it, may still be
// on its way; were it left, the next request would be credited with it and
// every later reply would be out of step. Read until the line has been quiet
// for the gap allowed within a reply, then discard both buffers.
// What is read here is kept as unframed: over a call it may be the modem's
// word that the call is gone.
void WaitOutAndPurge(ComPort& port, int quietMs = 0) {
  SerialPort& line = *port.handle;
  SerialTimeouts quiet{};
  quiet.readTotalConstant = port.timeouts.readInterval > 0 ? port.timeouts.readInterval : kQuietMs;
  if (quietMs > quiet.readTotalConstant) quiet.readTotalConstant = quietMs;
  line.SetTimeouts(quiet);
  const auto limit = std::chrono::steady_clock::now() + kDrainLimit;
  uint8_t sink[64];
  for (size_t n; (n = line.Read(sink, sizeof sink)) > 0;) {
    port.KeepUnframed(sink, n);
    if (std::chrono::steady_clock::now() >= limit) break;
  }
  line.SetTimeouts(port.timeouts);
  line.Purge();
}

// On a port the terminal holds, whatever came between two requests (the
// modem's "NO CARRIER" after a lost call) is kept before the purge below
// would discard it. The wait is a millisecond: nothing is expected.
void KeepPending(ComPort& port) {
  SerialPort& line = *port.handle;
  SerialTimeouts brief{};
  brief.readInterval = 1;
  brief.readTotalConstant = 1;
  line.SetTimeouts(brief);
  uint8_t sink[64];
  for (size_t n, total = 0; total < ComPort::kUnframedLimit && (n = line.Read(sink, sizeof sink)) > 0; total += n)
    port.KeepUnframed(sink, n);
  line.SetTimeouts(port.timeouts);
}

bool HeardNoCarrier(const ComPort& port, size_t from) {
  return port.unframed.find("NO CARRIER", std::min(from, port.unframed.size())) != std::string::npos;
}

}  // namespace

int ExchangeFrame(ComPort& port, uint8_t command, std::span<const uint8_t> payload) {
  port.reply.fill(0);
  if (!port.handle) return kExchangeNoHeader;
  SerialPort& line = *port.handle;
  if (port.PortLent) KeepPending(port);
  line.Purge();
  const auto frame = BuildFrame(command, payload);
  line.Write(frame.data(), frame.size());  // a short write shows up as no reply
  Pause(kPauseAfterRequestMs);

  // A write returns once the driver has the bytes, not once they are sent
  // (tcdrain is no help: a pseudo-terminal returns at once, an adapter's
  // driver promises nothing), and the reply cannot begin before the request
  // has left: the first read also allows the request's own wire time.
  SerialTimeouts first = port.timeouts;
  first.readTotalConstant += WireMs(frame.size(), line.Baud());
  line.SetTimeouts(first);
  uint8_t* reply = port.reply.data();
  const size_t header = line.Read(reply, 3);
  line.SetTimeouts(port.timeouts);
  if (header < 3 || reply[0] != kFrameStart || reply[1] != (reply[2] ^ 0xFF)) {
    port.KeepUnframed(reply, header);
    return kExchangeNoHeader;
  }
  // L is at most 255, so header, body and checksum (at most 260 bytes) fit the buffer.
  const size_t length = reply[1];
  static_assert(3 + 255 + 2 <= kReplySize);
  const size_t body = line.Read(reply + 3, length + 2);
  if (body < length + 2) {
    port.KeepUnframed(reply, 3 + body);
    return kExchangeShortBody;
  }
  const uint16_t sum = FrameChecksum(std::span<const uint8_t>(reply, length + 3));
  if (reply[length + 3] != (sum >> 8) || reply[length + 4] != (sum & 0xFF)) {
    port.KeepUnframed(reply, length + 5);
    return kExchangeBadChecksum;
  }
  // A modem that lost the call echoes the request in its command mode; no
  // reply of the device's is its own request.
  if (std::equal(frame.begin(), frame.end(), reply, reply + length + 5)) return kExchangeNoHeader;
  return kExchangeOk;
}

int DeviceTransaction(ComPort& port, Messenger& messenger, uint8_t command,
                      std::span<const uint8_t> payload, int expectedCode, int expectedLength,
                      int tries, int delayMs) {
  int result = kExchangeNoHeader;
  // A device slower than the wait for a reply answers an attempt the tool
  // has given up on while the next one is on its way; that late reply is
  // taken for the retry's, and the retry's own would then be taken for the
  // next request's (an acknowledgement for a write the device never got, or
  // another address's data). So after a reply that followed an attempt
  // without one, the line is waited out for as long as the device has just
  // shown it may take, before anything else is sent.
  std::optional<std::chrono::steady_clock::time_point> unansweredSince;
  // A modem's "NO CARRIER" ends the retries: nothing will answer them. What
  // nobody took (no terminal shows it) is let go down to half the room.
  if (port.unframed.size() > ComPort::kUnframedLimit / 2)
    port.unframed.erase(0, port.unframed.size() - ComPort::kUnframedLimit / 2);
  const size_t heardFrom = port.unframed.size();
  bool callLost = false;
  for (int attempt = 0; attempt < tries; ++attempt) {
    const auto sent = std::chrono::steady_clock::now();
    result = ExchangeFrame(port, command, payload);
    if (result == kExchangeNoHeader && !unansweredSince) unansweredSince = sent;
    if (result == kExchangeOk && unansweredSince) {
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - *unansweredSince);
      // The drain reads into a buffer of its own: the reply stays.
      WaitOutAndPurge(port, static_cast<int>(std::min<long long>(took.count(), kLateReplyLimitMs)) + kQuietMs);
      unansweredSince.reset();
    }
    if (result == kExchangeOk && !IsRetryRequest(port) &&
        (expectedLength == 0 || ReplyLength(port) == expectedLength + 1))
      break;
    if (result != kExchangeOk && (attempt + 1 < tries || port.unframed.size() > heardFrom)) {
      WaitOutAndPurge(port);
      if ((callLost = HeardNoCarrier(port, heardFrom))) break;
    }
    if (attempt + 1 < tries) Pause(delayMs);
  }
  if (callLost) port.callLost = true;
  if (result != kExchangeOk || callLost) {
    messenger.Error(Cp("Отсутствие связи с устройством"));
    return kTransactionNoLink;
  }
  if (ReplyCode(port) == kReplyError) {
    if (const auto text = DeviceErrorText(ReplyPayload(port, 0), ReplyPayload(port, 1)))
      messenger.Error(*text);
    return kTransactionRefused;
  }
  if (expectedCode != kAnyReplyCode && ReplyCode(port) != expectedCode) {
    messenger.Error(Cp("Ошибка: получен неверный ответ"));
    return kTransactionRefused;
  }
  if (expectedLength != 0 && ReplyLength(port) != expectedLength + 1) {
    messenger.Error(Cp("Ошибка: полученно меньше байт чем запрошено"));  // sic
    return kTransactionShort;
  }
  return kTransactionOk;
}

}  // namespace vorsin
