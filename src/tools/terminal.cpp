#include "tools/terminal.h"

#include <chrono>

namespace vorsin {

std::string TerminalText(const uint8_t* bytes, size_t n) {
  std::string text;
  text.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    if (bytes[i] == '\n') continue;
    text += bytes[i] == '\r' ? '\n' : static_cast<char>(bytes[i]);
  }
  return text;
}

bool KeyQueue::Push(uint8_t byte) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (bytes_.size() >= kKeyQueueSize) return false;
  bytes_.push_back(byte);
  return true;
}

std::vector<uint8_t> KeyQueue::Pending() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return bytes_;
}

void KeyQueue::Drop(size_t n) {
  const std::lock_guard<std::mutex> lock(mutex_);
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<long>(std::min(n, bytes_.size())));
}

void KeyQueue::Clear() {
  const std::lock_guard<std::mutex> lock(mutex_);
  bytes_.clear();
}

size_t KeyQueue::size() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return bytes_.size();
}

TComTransmit::TComTransmit(ComPort& port, KeyQueue& keys, TerminalHooks hooks)
    : port_(port), keys_(keys), hooks_(std::move(hooks)) {
  buffer_.reserve(kTerminalBatch);
}

TComTransmit::~TComTransmit() { Stop(); }

void TComTransmit::Start() {
  if (thread_.joinable()) return;
  stop_ = false;
  thread_ = std::thread([this] { Execute(); });
}

void TComTransmit::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void TComTransmit::Execute() {
  while (!stop_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kTerminalPollMs));
    Turn();
  }
}

void TComTransmit::Turn() {
  ReadBatch();
  SendKeys();
  WatchCts();
}

// One byte per read with a 1 ms limit, the lock taken for each, so that a
// device operation waits at most one read to borrow the port.
void TComTransmit::ReadBatch() {
  {
    // What a device operation heard that was no reply (a lost call's
    // "NO CARRIER") comes first.
    const std::lock_guard<std::mutex> lock(port_.readerLock);
    if (!port_.PortLent && !port_.unframed.empty()) {
      const size_t n = std::min(port_.unframed.size(), kTerminalBatch);
      buffer_.insert(buffer_.end(), port_.unframed.begin(), port_.unframed.begin() + static_cast<long>(n));
      port_.unframed.erase(0, n);
    }
  }
  while (buffer_.size() < kTerminalBatch && !stop_) {
    uint8_t byte = 0;
    size_t got = 0;
    {
      const std::lock_guard<std::mutex> lock(port_.readerLock);
      if (port_.PortLent || !port_.handle) break;
      got = port_.handle->Read(&byte, 1);
    }
    if (got == 0) break;
    buffer_.push_back(byte);
  }
  if (buffer_.empty()) return;
  std::vector<uint8_t> batch;
  batch.swap(buffer_);
  buffer_.reserve(kTerminalBatch);
  if (hooks_.received) hooks_.received(std::move(batch));
}

void TComTransmit::SendKeys() {
  for (;;) {
    const std::vector<uint8_t> pending = keys_.Pending();
    if (pending.empty()) return;
    size_t sent = 0;
    {
      const std::lock_guard<std::mutex> lock(port_.readerLock);
      if (port_.PortLent || !port_.handle) return;
      sent = port_.handle->Write(pending.data(), pending.size());
    }
    keys_.Drop(sent);
    if (sent == 0) return;
  }
}

// The modem lines are watched even while the port is lent.
void TComTransmit::WatchCts() {
  bool cts = false;
  {
    const std::lock_guard<std::mutex> lock(port_.readerLock);
    if (!port_.handle) return;
    cts = port_.handle->Cts();
  }
  if (cts == lastCts_) return;
  lastCts_ = cts;
  if (hooks_.ctsChanged) hooks_.ctsChanged(cts);
}

Terminal::Terminal(ComPort& port, CaptureClock clock) : port_(port), capture_(std::move(clock)) {}

Terminal::~Terminal() { Shutdown(); }

bool Terminal::SwitchOn(Messenger& messenger, TerminalHooks hooks) {
  if (on()) return true;
  if (OpenComPort(port_, messenger) != kPortOpened) return false;
  // The terminal's own limits: a one-byte read waits about 1 ms.
  SetComTimeouts(port_, 0, 0, 0, 0);
  port_.TerminalOn = true;
  keys_.Clear();
  reader_ = std::make_unique<TComTransmit>(port_, keys_, std::move(hooks));
  reader_->Start();
  return true;
}

void Terminal::SwitchOff() {
  if (reader_) {
    reader_->Stop();
    reader_.reset();
  }
  port_.TerminalOn = false;
  port_.PortLent = false;
  if (port_.IsOpen()) CloseComPort(port_);
}

void Terminal::Type(uint8_t byte) {
  if (on() && port_.TerminalOn) keys_.Push(byte);
}

std::string Terminal::Received(const std::vector<uint8_t>& bytes) {
  capture_.Data(bytes.data(), bytes.size());
  return TerminalText(bytes.data(), bytes.size());
}

void Terminal::Shutdown() {
  if (on()) SwitchOff();
  capture_.Stop();
}

}  // namespace vorsin
