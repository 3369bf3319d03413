// Exchange and transaction rules against a scripted line: each request frame
// the tool writes is answered with the next scripted reply.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

#include "link/device_commands.h"
#include "link/frame.h"
#include "link/transaction.h"
#include "recording_messenger.h"

namespace vorsin {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::RecordingMessenger;
using testing::RecordingProgress;

struct Script {
  std::deque<Bytes> replies;   // one per request; exhausted = silence
  std::vector<Bytes> requests;
  size_t bytesRead = 0;
};

class ScriptedPort final : public SerialPort {
 public:
  explicit ScriptedPort(std::shared_ptr<Script> s) : s_(std::move(s)) {}
  bool Open(const std::string&) override { return open_ = true; }
  bool IsOpen() const override { return open_; }
  bool ReadSettings() override { return true; }
  bool ApplySettings(int baud) override { return (baud_ = baud) > 0; }
  int Baud() const override { return baud_; }
  void Purge() override { pending_.clear(); }
  void SetTimeouts(const SerialTimeouts&) override {}
  size_t Read(uint8_t* dest, size_t k) override {
    size_t n = 0;
    while (n < k && !pending_.empty()) {
      dest[n++] = pending_.front();
      pending_.pop_front();
    }
    s_->bytesRead += n;
    return n;
  }
  size_t Write(const uint8_t* data, size_t n) override {
    s_->requests.emplace_back(data, data + n);
    if (!s_->replies.empty()) {
      pending_.insert(pending_.end(), s_->replies.front().begin(), s_->replies.front().end());
      s_->replies.pop_front();
    }
    return n;
  }
  bool Cts() override { return false; }
  void Close() override { open_ = false; }

 private:
  std::shared_ptr<Script> s_;
  std::deque<uint8_t> pending_;
  bool open_ = false;
  int baud_ = 0;
};

Bytes Frame(uint8_t code, const Bytes& payload) { return BuildFrame(code, payload); }
Bytes Error(uint8_t cmd, uint8_t sub) { return Frame(0x86, {cmd, sub}); }

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    port.makePort = [this] { return std::make_unique<ScriptedPort>(script); };
    ASSERT_EQ(OpenComPort(port, messenger), 0);
  }
  int Run(uint8_t cmd, int code, int length) {
    return DeviceTransaction(port, messenger, cmd, {}, code, length);
  }
  std::shared_ptr<Script> script = std::make_shared<Script>();
  ComPort port;
  RecordingMessenger messenger;
};

TEST_F(TransactionTest, BrokenRepliesFailTheAttempt) {
  Bytes good = Frame(0xA2, {0x00, 0x20});
  Bytes badStart = good;
  badStart[0] = 0x01;
  Bytes badComplement = good;
  badComplement[2] ^= 0x01;
  Bytes swapped = good;
  std::swap(swapped[good.size() - 1], swapped[good.size() - 2]);
  Bytes cut(good.begin(), good.end() - 1);

  script->replies = {badStart, badComplement, swapped, cut};
  EXPECT_EQ(ExchangeFrame(port, 0x24, {}), kExchangeNoHeader);
  EXPECT_EQ(script->bytesRead, 3u);  // a bad header is not read past
  EXPECT_EQ(ExchangeFrame(port, 0x24, {}), kExchangeNoHeader);
  EXPECT_EQ(ExchangeFrame(port, 0x24, {}), kExchangeBadChecksum);
  EXPECT_EQ(ExchangeFrame(port, 0x24, {}), kExchangeShortBody);
  EXPECT_EQ(script->requests.front(), (Bytes{0x00, 0x01, 0xFE, 0x24, 0x01, 0x23}));

  // Four broken replies and a good one: the fifth attempt succeeds.
  script->replies = {badStart, badComplement, swapped, cut, good};
  EXPECT_EQ(Run(0x24, 0xA2, 0), kTransactionOk);
  EXPECT_EQ(ReplyPayload(port, 1), 0x20);
  EXPECT_TRUE(messenger.shown.empty());
  // Five broken ones: no link.
  script->replies = {badStart, badComplement, swapped, cut, cut};
  EXPECT_EQ(Run(0x24, 0xA2, 0), kTransactionNoLink);
  EXPECT_EQ(messenger.LastUtf8(), "Отсутствие связи с устройством");
  EXPECT_EQ(ToUtf8(messenger.shown.back().caption), "Ошибка");
  EXPECT_EQ(messenger.shown.back().icon, Icon::Error);
}

TEST_F(TransactionTest, WhatIsRetriedAndWhatIsNot) {
  // A wrong code of the right length is final at once.
  script->replies = {Frame(0x85, Bytes(6)), Frame(0xA1, Bytes(6))};
  EXPECT_EQ(Run(0x22, 0xA1, 6), kTransactionRefused);
  script->replies.clear();
  EXPECT_EQ(script->requests.size(), 1u);
  EXPECT_EQ(messenger.LastUtf8(), "Ошибка: получен неверный ответ");

  // A device error is retried when a fixed length was asked for...
  script->requests.clear();
  script->replies = {Error(0x22, 1), Error(0x22, 1), Frame(0xA1, Bytes(6))};
  EXPECT_EQ(Run(0x22, 0xA1, 6), kTransactionOk);
  EXPECT_EQ(script->requests.size(), 3u);
  // ...and reported at once when not.
  script->requests.clear();
  script->replies = {Error(0x23, 16), Frame(0x85, {})};
  EXPECT_EQ(Run(0x23, 0x85, 0), kTransactionRefused);
  script->replies.clear();
  EXPECT_EQ(script->requests.size(), 1u);
  EXPECT_EQ(messenger.LastUtf8(), "WriteEEPROM: неверный пароль или оштбка доступа");

  // The retry request is always retried and only shown when it persists.
  script->requests.clear();
  script->replies = {Error(0x20, 2), Error(0x20, 2), Frame(0x85, {})};
  EXPECT_EQ(Run(0x20, 0x85, 0), kTransactionOk);
  EXPECT_EQ(script->requests.size(), 3u);
  script->requests.clear();
  script->replies.assign(6, Error(0x20, 2));
  EXPECT_EQ(Run(0x20, 0x85, 0), kTransactionRefused);
  script->replies.clear();
  EXPECT_EQ(script->requests.size(), 5u);
  EXPECT_EQ(messenger.LastUtf8(), "TakeAccess: ?");

  // A short reply is retried, then reported.
  script->requests.clear();
  script->replies.assign(5, Frame(0xA1, Bytes(3)));
  EXPECT_EQ(Run(0x22, 0xA1, 6), kTransactionShort);
  EXPECT_EQ(script->requests.size(), 5u);
  EXPECT_EQ(messenger.LastUtf8(), "Ошибка: полученно меньше байт чем запрошено");

  // Sub-code 18 fails without a word.
  const size_t before = messenger.shown.size();
  script->replies = {Error(0x23, 18)};
  EXPECT_EQ(Run(0x23, 0x85, 0), kTransactionRefused);
  EXPECT_EQ(messenger.shown.size(), before);
}

TEST_F(TransactionTest, HostileRepliesStayInsideTheBuffer) {
  // The longest frame a header can announce, and an error reply too short to
  // carry its command and sub-code.
  script->replies = {Frame(0xA1, Bytes(254, 0xEE)), Frame(0x86, {})};
  EXPECT_EQ(ExchangeFrame(port, 0x22, {}), kExchangeOk);
  EXPECT_EQ(ReplyLength(port), 255);
  EXPECT_EQ(Run(0x24, kAnyReplyCode, 0), kTransactionRefused);
  EXPECT_EQ(messenger.LastUtf8(), "??? : неизвестная комманда");  // not its checksum bytes
}

TEST_F(TransactionTest, AnAddressTableReplyWithoutBothAddressBytesFails) {
  AddressTable table;
  script->replies = {Frame(0xA2, {0x01})};
  EXPECT_EQ(ReadAddressTable(port, messenger, table), 1);
  EXPECT_EQ(script->requests.size(), 1u);  // nothing read from an invented address
  EXPECT_EQ(messenger.LastUtf8(), "Ошибка: полученно меньше байт чем запрошено");
}

TEST_F(TransactionTest, RangesGoOutInChunks) {
  RecordingProgress progress;
  Bytes data(120);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  script->replies.assign(3, Frame(0x85, {}));
  ASSERT_EQ(WriteRange(port, messenger, progress, 0x7F00, data.size(), data.data()), 0);
  ASSERT_EQ(script->requests.size(), 3u);
  const size_t sizes[] = {50, 50, 20};
  uint32_t address = 0x7F00;
  for (size_t i = 0; i < 3; ++i) {
    const Bytes& r = script->requests[i];
    ASSERT_EQ(r.size(), 6 + 3 + sizes[i]);
    EXPECT_EQ(r[3], 0x23);
    EXPECT_EQ(r[4], address >> 8);
    EXPECT_EQ(r[5], address & 0xFF);
    EXPECT_EQ(r[6], sizes[i]);
    EXPECT_EQ(r[7], data[address - 0x7F00]);
    address += static_cast<uint32_t>(sizes[i]);
  }
  EXPECT_EQ(progress.advances, (std::vector<int>{50, 50, 20}));
  EXPECT_EQ(progress.breaths, 3);

  // A failure stops the range at once.
  script->requests.clear();
  script->replies = {Frame(0x85, {}), Error(0x23, 0)};
  EXPECT_EQ(WriteRange(port, messenger, progress, 0, 200, Bytes(200).data()), 1);
  EXPECT_EQ(script->requests.size(), 2u);

  // Reads of 200, 200 and 50; the data starts after the unused byte.
  script->requests.clear();
  for (size_t n : {200, 200, 50}) {
    Bytes payload(n + 1, static_cast<uint8_t>(n));
    payload[0] = 0x99;
    script->replies.push_back(Frame(0xA1, payload));
  }
  Bytes dest(450);
  ASSERT_EQ(ReadRange(port, messenger, progress, dest.data(), 0x0100, dest.size()), 0);
  ASSERT_EQ(script->requests.size(), 3u);
  EXPECT_EQ(script->requests[1], Frame(0x22, {0x01, 0xC8, 200}));
  EXPECT_EQ(script->requests[2], Frame(0x22, {0x02, 0x90, 50}));
  EXPECT_EQ(dest[0], 200);
  EXPECT_EQ(dest[449], 50);
}

TEST_F(TransactionTest, NothingIsWrittenAtOrPastTheEepromEnd) {
  RecordingProgress progress;
  const Bytes data(20);
  EXPECT_EQ(WriteRange(port, messenger, progress, 0x8000 - 19, 20, data.data()), 1);
  EXPECT_TRUE(script->requests.empty());
  EXPECT_EQ(messenger.LastUtf8(), "Переполнение памяти");
  script->replies = {Frame(0x85, {})};
  EXPECT_EQ(WriteRange(port, messenger, progress, 0x8000 - 20, 20, data.data()), 0);
  EXPECT_EQ(script->requests.size(), 1u);
  // Reads past 16-bit addresses would wrap to the start of memory.
  Bytes dest(20);
  EXPECT_EQ(ReadRange(port, messenger, progress, dest.data(), 0xFFF0, 20), 1);
  EXPECT_EQ(script->requests.size(), 1u);
}

// A device that takes serviceMs over every request, one after another, on a
// clock of its own; reply n (to the n-th request it received) carries n.
class SlowDevicePort final : public SerialPort {
 public:
  using Clock = std::chrono::steady_clock;
  explicit SlowDevicePort(int serviceMs) : service_(serviceMs) {}
  bool Open(const std::string&) override { return open_ = true; }
  bool IsOpen() const override { return open_; }
  bool ReadSettings() override { return true; }
  bool ApplySettings(int) override { return true; }
  int Baud() const override { return 0; }
  void Purge() override { Arrive(), arrived_.clear(); }  // what is still on its way stays
  void SetTimeouts(const SerialTimeouts& t) override { timeouts_ = t; }
  size_t Read(uint8_t* dest, size_t k) override {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeouts_.readTotalConstant +
                                                                   timeouts_.readTotalMultiplier * static_cast<int>(k));
    size_t n = 0;
    for (;;) {
      Arrive();
      while (n < k && !arrived_.empty()) dest[n++] = arrived_.front(), arrived_.pop_front();
      if (n == k || Clock::now() >= deadline) return n;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  size_t Write(const uint8_t*, size_t n) override {
    free_ = std::max(free_, Clock::now()) + std::chrono::milliseconds(service_);
    ++requests;
    inFlight_.push_back({free_, Frame(0x85, {static_cast<uint8_t>(requests)})});
    return n;
  }
  bool Cts() override { return false; }
  void Close() override { open_ = false; }
  int requests = 0;

 private:
  void Arrive() {
    while (!inFlight_.empty() && inFlight_.front().first <= Clock::now()) {
      arrived_.insert(arrived_.end(), inFlight_.front().second.begin(), inFlight_.front().second.end());
      inFlight_.pop_front();
    }
  }
  int service_;
  bool open_ = false;
  SerialTimeouts timeouts_;
  Clock::time_point free_;
  std::deque<std::pair<Clock::time_point, Bytes>> inFlight_;
  std::deque<uint8_t> arrived_;
};

// Slower than the wait for a reply and the wait after it: the first attempt's
// reply comes while the retry is out. Each transaction must still get a
// reply to one of its own requests, never to the one before (an
// acknowledgement for a write the device had not got, or another read's data).
TEST(SlowDeviceTransaction, EachGetsAReplyToItsOwnRequest) {
  ComPort port;
  SlowDevicePort* device = nullptr;
  port.makePort = [&] {
    auto p = std::make_unique<SlowDevicePort>(250);
    device = p.get();
    return p;
  };
  RecordingMessenger messenger;
  ASSERT_EQ(OpenComPort(port, messenger), 0);
  for (int transaction = 0; transaction < 3; ++transaction) {
    const int before = device->requests;
    ASSERT_EQ(DeviceTransaction(port, messenger, 0x23, Bytes{1, 2, 3}, 0x85, 1), kTransactionOk);
    EXPECT_GT(ReplyPayload(port, 0), before) << "transaction " << transaction << " took an earlier request's reply";
    EXPECT_LE(ReplyPayload(port, 0), device->requests);
  }
  EXPECT_TRUE(messenger.shown.empty());
}

}  // namespace
}  // namespace vorsin
