// The terminal on the serial port: a reader thread (TComTransmit) that shows
// what arrives, sends what is typed and watches CTS, and the window-side
// switch, typing and display steps with the capture log.
//
// Threads: the reader touches the port only under ComPort::readerLock and
// only while PortLent is clear (it looks under the lock); it hands received
// bytes and CTS changes over through hooks that must not block. Everything
// else here runs on the window thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/com_port.h"
#include "model/messenger.h"
#include "tools/capture_log.h"

namespace vorsin {

constexpr size_t kTerminalBatch = 1000;
constexpr size_t kKeyQueueSize = 1000;
constexpr int kTerminalPollMs = 5;

// Received bytes as memo text: a line feed is dropped, a carriage return
// becomes a line break ('\n'), every other byte is one Windows-1251 character.
std::string TerminalText(const uint8_t* bytes, size_t n);

// Characters typed and not yet sent; filled by the window thread, drained by
// the reader.
class KeyQueue {
 public:
  // False (the key is dropped) when the queue is full.
  bool Push(uint8_t byte);
  std::vector<uint8_t> Pending() const;
  // Removes n bytes from the front (those that were written).
  void Drop(size_t n);
  void Clear();
  size_t size() const;

 private:
  mutable std::mutex mutex_;
  std::vector<uint8_t> bytes_;
};

struct TerminalHooks {
  // Both run on the reader thread and must return without waiting for the
  // window thread.
  std::function<void(std::vector<uint8_t>)> received;
  std::function<void(bool cts)> ctsChanged;
};

class TComTransmit {
 public:
  TComTransmit(ComPort& port, KeyQueue& keys, TerminalHooks hooks);
  ~TComTransmit();
  TComTransmit(const TComTransmit&) = delete;
  TComTransmit& operator=(const TComTransmit&) = delete;

  void Start();
  // Asks the loop to end and waits until it has; seen within one turn.
  void Stop();
  // One turn of the loop without its pause: read, send, look at CTS.
  void Turn();

 private:
  void Execute();
  void ReadBatch();
  void SendKeys();
  void WatchCts();

  ComPort& port_;
  KeyQueue& keys_;
  TerminalHooks hooks_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::vector<uint8_t> buffer_;
  bool lastCts_ = false;
};

// The terminal as the window drives it.
class Terminal {
 public:
  explicit Terminal(ComPort& port, CaptureClock clock = LocalNow);
  ~Terminal();

  // Opens the port and starts the reader. False when the port did not open
  // (the link has told the user).
  bool SwitchOn(Messenger& messenger, TerminalHooks hooks);
  // Stops and joins the reader, then really closes the port.
  void SwitchOff();
  bool on() const { return reader_ != nullptr; }

  // A typed character: queued while on and while the queue has room.
  void Type(uint8_t byte);
  // The display step: records the bytes when capturing, returns the text.
  std::string Received(const std::vector<uint8_t>& bytes);
  // The CTS step's record.
  void CtsChanged(bool cts) { capture_.Cts(cts); }
  CaptureLog& capture() { return capture_; }
  const KeyQueue& keys() const { return keys_; }

  // The window closes: the reader and the port first, then the capture.
  void Shutdown();

 private:
  ComPort& port_;
  KeyQueue keys_;
  CaptureLog capture_;
  std::unique_ptr<TComTransmit> reader_;
};

}  // namespace vorsin
