// Win32 comm backend of SerialPort: synchronous I/O on "COMn" with the
// driver's own timeouts, which have exactly the semantics SerialTimeouts names.
#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "link/serial_port.h"

namespace vorsin {
namespace {

class Win32SerialPort final : public SerialPort {
 public:
  ~Win32SerialPort() override { Close(); }

  bool Open(const std::string& name) override {
    Close();
    // Names past COM9 need the device namespace prefix; it is harmless below.
    std::string path = name;
    if (path.rfind("\\\\.\\", 0) != 0 && path.rfind("COM", 0) == 0) path = "\\\\.\\" + path;
    // No sharing: a port another program holds fails here.
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
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
    c.ReadIntervalTimeout = static_cast<DWORD>(t.readInterval);
    c.ReadTotalTimeoutMultiplier = static_cast<DWORD>(t.readTotalMultiplier);
    c.ReadTotalTimeoutConstant = static_cast<DWORD>(t.readTotalConstant);
    // All-zero read limits would block until every byte came; we promise
    // "about one millisecond per byte" instead.
    if (t.readInterval <= 0 && t.readTotalMultiplier <= 0 && t.readTotalConstant <= 0)
      c.ReadTotalTimeoutMultiplier = 1;
    c.WriteTotalTimeoutMultiplier = static_cast<DWORD>(t.writeMultiplier);
    c.WriteTotalTimeoutConstant = static_cast<DWORD>(t.writeConstant);
    ::SetCommTimeouts(handle_, &c);
  }

  size_t Read(uint8_t* dest, size_t k) override {
    if (!IsOpen() || k == 0) return 0;
    DWORD got = 0;
    if (!::ReadFile(handle_, dest, static_cast<DWORD>(k), &got, nullptr)) return 0;
    return got;
  }

  size_t Write(const uint8_t* data, size_t n) override {
    if (!IsOpen() || n == 0) return 0;
    DWORD sent = 0;
    if (!::WriteFile(handle_, data, static_cast<DWORD>(n), &sent, nullptr)) return 0;
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
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  DCB dcb_{};
  bool haveSettings_ = false;
  int baud_ = 0;
};

}  // namespace

std::unique_ptr<SerialPort> MakeSerialPort() { return std::make_unique<Win32SerialPort>(); }

}  // namespace vorsin

#endif  // _WIN32
