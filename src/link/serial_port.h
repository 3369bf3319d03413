// A serial line reduced to what the device link needs: open one port
// exclusively, set 8N1 at a speed, time-limited reads, writes, the CTS line.
// The POSIX backend also drives pseudo-terminals (the simulator, the tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vorsin {

// Read and write limits in milliseconds, with the usual serial meaning:
//  - readInterval: once a byte has arrived, give up when the next one takes
//    longer than this (0 = no limit between bytes);
//  - a read of k bytes gives up after readTotalConstant + readTotalMultiplier * k;
//  - a write of k bytes gives up after writeConstant + writeMultiplier * k.
// All read fields zero still never blocks forever: a read of k bytes then
// waits about k ms.
struct SerialTimeouts {
  int readInterval = 0;
  int readTotalMultiplier = 0;
  int readTotalConstant = 0;
  int writeMultiplier = 0;
  int writeConstant = 0;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens the named device for reading and writing, exclusively: a port
  // another program (or another SerialPort) holds is refused.
  virtual bool Open(const std::string& name) = 0;
  virtual bool IsOpen() const = 0;
  // Reads the line's current settings; the next ApplySettings changes only
  // what the link needs and keeps the rest as read.
  virtual bool ReadSettings() = 0;
  // baud, 8 data bits, no parity, 1 stop bit, no CTS/DSR output flow control,
  // DTR held off and RTS held on (skipped where the line has no modem lines).
  virtual bool ApplySettings(int baud) = 0;
  // The speed last applied (0 before ApplySettings).
  virtual int Baud() const = 0;
  // Discards both the transmit and the receive buffers.
  virtual void Purge() = 0;
  virtual void SetTimeouts(const SerialTimeouts& timeouts) = 0;
  // Reads up to k bytes within the limits; returns how many arrived.
  virtual size_t Read(uint8_t* dest, size_t k) = 0;
  // Writes n bytes within the limits; returns how many went out.
  virtual size_t Write(const uint8_t* data, size_t n) = 0;
  // Clear To Send; false when the line has no modem lines or on error.
  virtual bool Cts() = 0;
  virtual void Close() = 0;
};

// The platform's backend (termios on POSIX, the Win32 comm API on Windows).
std::unique_ptr<SerialPort> MakeSerialPort();

}  // namespace vorsin
