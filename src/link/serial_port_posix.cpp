// termios backend of SerialPort; also serves pseudo-terminals, which have no
// modem lines and accept any speed.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "link/serial_port.h"

namespace vorsin {
namespace {

using Clock = std::chrono::steady_clock;

int MsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
  if (left.count() <= 0) return 0;
  return static_cast<int>((left.count() + 999) / 1000);  // round up: never give up early
}

bool SpeedConstant(int baud, speed_t& out) {
  static const struct {
    int baud;
    speed_t code;
  } kSpeeds[] = {{300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
                 {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},
                 {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400}};
  for (const auto& s : kSpeeds) {
    if (s.baud == baud) {
      out = s.code;
      return true;
    }
  }
  return false;
}

class PosixSerialPort final : public SerialPort {
 public:
  ~PosixSerialPort() override { Close(); }

  bool Open(const std::string& name) override {
    Close();
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // TIOCEXCL keeps out other openers (root excepted); flock covers root and
    // other users of the same rule.
    if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
      ::close(fd);
      return false;
    }
    fd_ = fd;
    return true;
  }

  bool IsOpen() const override { return fd_ >= 0; }

  bool ReadSettings() override {
    haveSettings_ = fd_ >= 0 && ::tcgetattr(fd_, &settings_) == 0;
    return haveSettings_;
  }

  bool ApplySettings(int baud) override {
    if (fd_ < 0 || !haveSettings_) return false;
    speed_t code;
    if (!SpeedConstant(baud, code)) return false;
    termios t = settings_;
    // Binary bytes both ways: no line editing, echo, translation or XON/XOFF.
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                        ICRNL | IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, code) != 0 || ::cfsetospeed(&t, code) != 0) return false;
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) return false;
    settings_ = t;
    baud_ = baud;
    // DTR off, RTS on; a line without modem lines (a pseudo-terminal) skips this.
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) == 0) {
      const int dtr = TIOCM_DTR, rts = TIOCM_RTS;
      if (::ioctl(fd_, TIOCMBIC, &dtr) != 0 || ::ioctl(fd_, TIOCMBIS, &rts) != 0) return false;
    }
    return true;
  }

  int Baud() const override { return baud_; }

  void Purge() override {
    if (fd_ >= 0) ::tcflush(fd_, TCIOFLUSH);
  }

  void SetTimeouts(const SerialTimeouts& timeouts) override { timeouts_ = timeouts; }

  size_t Read(uint8_t* dest, size_t k) override {
    if (fd_ < 0 || k == 0) return 0;
    const auto& t = timeouts_;
    long long totalMs = t.readTotalConstant + static_cast<long long>(t.readTotalMultiplier) * k;
    if (totalMs <= 0 && t.readInterval <= 0) totalMs = static_cast<long long>(k);
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(totalMs);
    size_t got = 0;
    Clock::time_point lastByte = start;
    while (got < k) {
      int wait = totalMs > 0 ? MsUntil(deadline) : -1;
      if (got > 0 && t.readInterval > 0) {
        const int gap = MsUntil(lastByte + std::chrono::milliseconds(t.readInterval));
        wait = wait < 0 ? gap : std::min(wait, gap);
      }
      if (wait == 0) {
        // Out of time: take what is already there, but wait no longer.
        const ssize_t n = ::read(fd_, dest + got, k - got);
        if (n > 0) got += static_cast<size_t>(n);
        break;
      }
      pollfd p{fd_, POLLIN, 0};
      const int r = ::poll(&p, 1, wait);
      if (r < 0) {
        if (errno == EINTR) continue;
        break;
      }
      if (r == 0) continue;  // the loop sees the deadline and makes a last read
      const ssize_t n = ::read(fd_, dest + got, k - got);
      if (n > 0) {
        got += static_cast<size_t>(n);
        lastByte = Clock::now();
      } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        continue;
      } else {
        // Hung up (the other end of a pseudo-terminal is gone) or an error:
        // nothing more will come.
        break;
      }
    }
    return got;
  }

  size_t Write(const uint8_t* data, size_t n) override {
    if (fd_ < 0) return 0;
    const auto& t = timeouts_;
    long long limitMs = t.writeConstant + static_cast<long long>(t.writeMultiplier) * n;
    // No write limit means "until done"; a stuck line still must not hang us.
    if (limitMs <= 0) limitMs = 1000 + static_cast<long long>(n);
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    size_t sent = 0;
    while (sent < n) {
      const ssize_t w = ::write(fd_, data + sent, n - sent);
      if (w > 0) {
        sent += static_cast<size_t>(w);
        continue;
      }
      if (w < 0 && errno == EINTR) continue;
      if (w < 0 && errno != EAGAIN) break;
      const int wait = MsUntil(deadline);
      if (wait == 0) break;
      pollfd p{fd_, POLLOUT, 0};
      if (::poll(&p, 1, wait) <= 0 && errno != EINTR) break;
    }
    return sent;
  }

  bool Cts() override {
    int lines = 0;
    return fd_ >= 0 && ::ioctl(fd_, TIOCMGET, &lines) == 0 && (lines & TIOCM_CTS) != 0;
  }

  void Close() override {
    if (fd_ < 0) return;
    // The exclusive mark lives on the tty, not on this descriptor; clear it so
    // a later open succeeds while someone else keeps the line open.
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
    haveSettings_ = false;
    baud_ = 0;
  }

 private:
  int fd_ = -1;
  termios settings_{};
  bool haveSettings_ = false;
  int baud_ = 0;
  SerialTimeouts timeouts_{};
};

}  // namespace

std::unique_ptr<SerialPort> MakeSerialPort() { return std::make_unique<PosixSerialPort>(); }

}  // namespace vorsin

#endif  // !_WIN32
