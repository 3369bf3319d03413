// The one serial port of the process, opened from the programming page's
// port and speed, and lent to device operations while the terminal holds it.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "link/port_list.h"
#include "link/serial_port.h"
#include "model/messenger.h"

namespace vorsin {

constexpr size_t kReplySize = 1000;
constexpr int kDefaultSpeed = 115200;
constexpr int kLoaderSpeed = 57600;

// The speeds the programming page offers ("Скорость порта:"), slowest first;
// the default and the loader's speed are among them.
constexpr std::array<int, 7> kOfferedSpeeds = {2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr bool IsOfferedSpeed(int baud) {
  for (const int s : kOfferedSpeeds)
    if (s == baud) return true;
  return false;
}

// OpenComPort results.
constexpr int kPortOpened = 0;
constexpr int kPortNotFound = 1;      // missing or busy
constexpr int kPortSettingsUnread = 2;
constexpr int kPortSettingsUnset = 3;

struct ComPort {
  std::unique_ptr<SerialPort> handle;  // null while closed
  // Device name: "COM1".."COM5" on Windows, /dev/ttyS0.. or any typed device
  // path (a pseudo-terminal, /dev/ttyUSB0) elsewhere. See PortNameForIndex.
  std::string portName = PortNameForIndex(0);
  int speed = kDefaultSpeed;  // from the speed box, read at each opening

  // Set while the terminal keeps the port open.
  std::atomic<bool> TerminalOn{false};
  // Set while a device operation borrows the terminal's port; the terminal's
  // reader leaves the port alone then.
  std::atomic<bool> PortLent{false};
  // Set while the firmware loader is shown: the port then opens at 57600.
  std::atomic<bool> LoaderShown{false};

  // The limits last given to SetComTimeouts; an exchange lengthens the first
  // read of a reply by the request's wire time and then puts these back.
  SerialTimeouts timeouts{};

  // The last reply frame, zeroed before every exchange.
  std::array<uint8_t, kReplySize> reply{};

  // Bytes that came while a device operation borrowed the port but belong to
  // no reply (a modem's result line, say "NO CARRIER" when the call drops).
  // Kept, up to kUnframedLimit, so that the terminal shows them once it has
  // the port back; the reader takes them under readerLock. A port of the
  // operation's own keeps nothing.
  std::string unframed;
  static constexpr size_t kUnframedLimit = 4096;
  void KeepUnframed(const uint8_t* bytes, size_t n) {
    if (!PortLent) return;
    const size_t room = kUnframedLimit - std::min(kUnframedLimit, unframed.size());
    unframed.append(reinterpret_cast<const char*>(bytes), std::min(n, room));
  }
  // Set by a transaction that heard "NO CARRIER": the call it ran over is
  // gone. Cleared when a call is placed.
  bool callLost = false;

  // Disables (false) and enables (true) the window's page control
  // (PageControl1) around device operations; may be empty.
  std::function<void(bool enabled)> enablePages;

  // Held by the terminal's reader around each read or write it makes (it
  // looks at PortLent only after taking it), and taken by OpenComPort and
  // CloseComPort while lending, so that no reader I/O is still in flight once
  // a device operation starts or the limits change.
  std::mutex readerLock;

  // Makes the backend on opening; empty means MakeSerialPort. Tests plug in
  // scripted ports here.
  std::function<std::unique_ptr<SerialPort>()> makePort;

  bool IsOpen() const { return handle != nullptr; }
};

// Opens (or, while the terminal holds it, borrows) the port. Returns one of
// the kPort* codes; the user has been told on every failure.
int OpenComPort(ComPort& port, Messenger& messenger);
// Closes the port, or gives it back to the terminal; enables the pages.
void CloseComPort(ComPort& port);

// Limits in ms; a read of k bytes gives up after readTotalConstant plus k
// times the wire time of one byte (at least 1 ms per byte). Needs an open port.
void SetComTimeouts(ComPort& port, int readInterval, int readTotalConstant, int writeMultiplier,
                    int writeConstant);

// Milliseconds one byte (10 bits) takes on the wire at baud, rounded up, at least 1.
int ByteWireMs(int baud);
// Milliseconds n bytes take on the wire at baud (n * 10 / baud), rounded up;
// 0 when the speed is unknown.
int WireMs(size_t bytes, int baud);

}  // namespace vorsin
