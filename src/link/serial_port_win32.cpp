// Win32 comm backend of SerialPort: synchronous I/O on "COMn" with the
// driver's own timeouts, which have exactly the semantics SerialTimeouts names.
#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "link/serial_port.h"

namespace vorsin {
namespace {

// The driver reads a negative limit as a huge one, or as MAXDWORD with its
// own special meanings: treat it as "no limit", like the termios backend.
DWORD Limit(int ms) { return ms > 0 ? static_cast<DWORD>(ms) : 0; }

// ReadFile and WriteFile take a DWORD count; asking for less is within
// "up to k bytes".
DWORD Count(size_t n) { return static_cast<DWORD>(std::min<size_t>(n, MAXDWORD)); }

class Win32SerialPort final : public SerialPort {
 public:
  ~Win32SerialPort() override { Close(); }

  bool Open(const std::string& name) override {
    Close();
    // Names past COM9 need the device namespace prefix; it is harmless below.
    std::string path = name;
    if (path.rfind("\\\\.\\", 0) != 0 && path.size() > 3 && ::_strnicmp(path.c_str(), "COM", 3) == 0)
      path = "\\\\.\\" + path;
    // No sharing: a port another program holds fails here.
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    // Only a character device can be a serial line; a disk file is refused
    // here, as on POSIX.
    if (::GetFileType(h) != FILE_TYPE_CHAR) {
      ::CloseHandle(h);
      return false;
    }
    handle_ = h;
    return true;
  }

  bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

  bool ReadSettings() override {
    if (!IsOpen()) return false;
    ZeroMemory(&dcb_, sizeof dcb_);
    dcb_.DCBlength = sizeof dcb_;
    haveSettings_ = ::GetCommState(handle_, &dcb_) != 0;
    return haveSettings_;
  }

  bool ApplySettings(int baud) override {
    if (!IsOpen() || !haveSettings_ || baud <= 0) return false;
    DCB d = dcb_;
    d.BaudRate = static_cast<DWORD>(baud);
    d.ByteSize = 8;
    d.Parity = NOPARITY;
    d.StopBits = ONESTOPBIT;
    // Binary bytes both ways, whatever the driver was left with: no parity
    // check, no XON/XOFF (0x11 and 0x13 occur in frames), no dropped NULs,
    // no error-character replacement, no DSR gating of received bytes, and no
    // line error that aborts every later read until ClearCommError.
    d.fBinary = TRUE;
    d.fParity = FALSE;
    d.fOutX = FALSE;
    d.fInX = FALSE;
    d.fNull = FALSE;
    d.fErrorChar = FALSE;
    d.fDsrSensitivity = FALSE;
    d.fAbortOnError = FALSE;
    d.fOutxCtsFlow = FALSE;
    d.fOutxDsrFlow = FALSE;
    d.fDtrControl = DTR_CONTROL_DISABLE;
    d.fRtsControl = RTS_CONTROL_ENABLE;
    if (!::SetCommState(handle_, &d)) return false;
    dcb_ = d;
    baud_ = baud;
    return true;
  }

  int Baud() const override { return baud_; }

  void Purge() override {
    if (IsOpen())
      ::PurgeComm(handle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  }

  void SetTimeouts(const SerialTimeouts& t) override {
    if (!IsOpen()) return;
    COMMTIMEOUTS c{};
    c.ReadIntervalTimeout = Limit(t.readInterval);
    c.ReadTotalTimeoutMultiplier = Limit(t.readTotalMultiplier);
    c.ReadTotalTimeoutConstant = Limit(t.readTotalConstant);
    // All-zero read limits would block until every byte came; we promise
    // "about one millisecond per byte" instead.
    if (c.ReadIntervalTimeout == 0 && c.ReadTotalTimeoutMultiplier == 0 &&
        c.ReadTotalTimeoutConstant == 0)
      c.ReadTotalTimeoutMultiplier = 1;
    c.WriteTotalTimeoutMultiplier = Limit(t.writeMultiplier);
    c.WriteTotalTimeoutConstant = Limit(t.writeConstant);
    // No write limit means "until done", which a stuck line never is: allow
    // a second plus a millisecond per byte, as the termios backend does.
    if (c.WriteTotalTimeoutMultiplier == 0 && c.WriteTotalTimeoutConstant == 0) {
      c.WriteTotalTimeoutMultiplier = 1;
      c.WriteTotalTimeoutConstant = 1000;
    }
    ::SetCommTimeouts(handle_, &c);
  }

  size_t Read(uint8_t* dest, size_t k) override {
    if (!IsOpen() || k == 0) return 0;
    // One call is enough: the driver returns when k bytes came or a limit
    // ran out. Bytes that came before a failure are still ours.
    DWORD got = 0;
    if (!::ReadFile(handle_, dest, Count(k), &got, nullptr)) ClearErrors();
    return got;
  }

  size_t Write(const uint8_t* data, size_t n) override {
    if (!IsOpen() || n == 0) return 0;
    DWORD sent = 0;
    if (!::WriteFile(handle_, data, Count(n), &sent, nullptr)) ClearErrors();
    return sent;
  }

  bool Cts() override {
    DWORD status = 0;
    return IsOpen() && ::GetCommModemStatus(handle_, &status) && (status & MS_CTS_ON) != 0;
  }

  void Close() override {
    if (!IsOpen()) return;
    ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    haveSettings_ = false;
    baud_ = 0;
  }

 private:
  // A line error left set would fail every later read and write.
  void ClearErrors() {
    DWORD errors = 0;
    ::ClearCommError(handle_, &errors, nullptr);
  }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  DCB dcb_{};
  bool haveSettings_ = false;
  int baud_ = 0;
};

}  // namespace

std::unique_ptr<SerialPort> MakeSerialPort() { return std::make_unique<Win32SerialPort>(); }

}  // namespace vorsin

#endif  // _WIN32
