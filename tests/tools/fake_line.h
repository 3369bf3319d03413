// A serial line for the terminal and loader tests, safe to use from the
// terminal's reader thread and the test thread at once: incoming bytes come
// in chunks (a read between two chunks finds nothing, so each chunk is a
// batch of its own), writes are kept, CTS can be flipped, and a read or
// write made while the port is lent is counted as misuse.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/com_port.h"
#include "link/serial_port.h"

namespace vorsin::testing {

struct LineState {
  std::mutex mutex;
  std::deque<std::vector<uint8_t>> incoming;
  bool between = false;    // the last chunk has just been read out
  bool endless = false;    // every read finds a byte ('x')
  std::vector<uint8_t> written;
  size_t reads = 0;
  bool cts = false;
  int misuse = 0;
  int opened = 0;
  int baud = 0;  // as last applied
  const ComPort* watch = nullptr;  // checked for PortLent on each read and write
  // The device's answer to one write; empty means none.
  std::function<std::vector<uint8_t>(const std::vector<uint8_t>&)> answer;

  void Send(std::vector<uint8_t> chunk) {
    const std::lock_guard<std::mutex> lock(mutex);
    incoming.push_back(std::move(chunk));
  }
  std::vector<uint8_t> Written() {
    const std::lock_guard<std::mutex> lock(mutex);
    return written;
  }
  size_t Reads() {
    const std::lock_guard<std::mutex> lock(mutex);
    return reads;
  }
  void SetCts(bool on) {
    const std::lock_guard<std::mutex> lock(mutex);
    cts = on;
  }
};

class FakeLine final : public SerialPort {
 public:
  explicit FakeLine(std::shared_ptr<LineState> state) : s_(std::move(state)) {}

  bool Open(const std::string&) override {
    const std::lock_guard<std::mutex> lock(s_->mutex);
    ++s_->opened;
    return open_ = true;
  }
  bool IsOpen() const override { return open_; }
  bool ReadSettings() override { return true; }
  bool ApplySettings(int baud) override {
    const std::lock_guard<std::mutex> lock(s_->mutex);
    s_->baud = baud;
    return (baud_ = baud) > 0;
  }
  int Baud() const override { return baud_; }
  void Purge() override {}
  void SetTimeouts(const SerialTimeouts&) override {}
  bool Cts() override {
    const std::lock_guard<std::mutex> lock(s_->mutex);
    return s_->cts;
  }
  void Close() override { open_ = false; }

  size_t Read(uint8_t* dest, size_t k) override {
    // A read takes a while, as on a real line: long enough for a lending
    // that does not wait for it to land in the middle.
    std::this_thread::sleep_for(std::chrono::microseconds(50));
    const std::lock_guard<std::mutex> lock(s_->mutex);
    Check();
    ++s_->reads;
    if (s_->endless) {
      for (size_t i = 0; i < k; ++i) dest[i] = 'x';
      return k;
    }
    if (s_->between) {
      s_->between = false;
      return 0;
    }
    size_t got = 0;
    while (got < k && !s_->incoming.empty()) {
      auto& chunk = s_->incoming.front();
      dest[got++] = chunk.front();
      chunk.erase(chunk.begin());
      if (chunk.empty()) {
        s_->incoming.pop_front();
        s_->between = true;
        break;
      }
    }
    return got;
  }

  size_t Write(const uint8_t* data, size_t n) override {
    const std::lock_guard<std::mutex> lock(s_->mutex);
    Check();
    const std::vector<uint8_t> message(data, data + n);
    s_->between = false;  // a new exchange
    s_->written.insert(s_->written.end(), data, data + n);
    if (s_->answer) {
      auto reply = s_->answer(message);
      if (!reply.empty()) s_->incoming.push_back(std::move(reply));
    }
    return n;
  }

 private:
  void Check() {
    if (s_->watch != nullptr && s_->watch->PortLent) ++s_->misuse;
  }
  std::shared_ptr<LineState> s_;
  bool open_ = false;
  int baud_ = 0;
};

// Makes port open a FakeLine on state.
inline void UseFakeLine(ComPort& port, const std::shared_ptr<LineState>& state) {
  port.makePort = [state] { return std::make_unique<FakeLine>(state); };
}

}  // namespace vorsin::testing
