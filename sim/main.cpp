// pkd-sim: stands in for the device on a pseudo-terminal. Prints the path of
// the terminal's slave side, then serves requests until SIGTERM or SIGINT.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <optional>
#include <iostream>
#include <string>
#include <vector>

#include "device.h"
#include "eeprom.h"
#include "modem.h"
#include "options.h"

namespace pkdsim {
namespace {

using Clock = std::chrono::steady_clock;

volatile sig_atomic_t gStop = 0;
volatile sig_atomic_t gSave = 0;

void OnStop(int) { gStop = 1; }
void OnSave(int) { gSave = 1; }

void InstallSignals() {
  struct sigaction sa {};
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: poll and sleeps return so the loop sees the flags
  sa.sa_handler = OnStop;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sa.sa_handler = OnSave;
  sigaction(SIGUSR1, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

// No byte for this long and an incomplete message is given up.
constexpr auto kStaleAfter = std::chrono::milliseconds(300);

void SleepUntil(Clock::time_point t) {
  while (!gStop) {
    const auto left = t - Clock::now();
    if (left <= Clock::duration::zero()) return;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    nanosleep(&ts, nullptr);
  }
}

class Pty {
 public:
  bool Open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
      error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
      return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
      error = "ptsname failed";
      return false;
    }
    path_ = name;
    // Keep one slave descriptor ourselves: the master then never sees a
    // hang-up when the tool closes and reopens its side.
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
      error = "cannot open " + path_;
      return false;
    }
    // Held as the controlling terminal of a session of our own, the terminal
    // can become no other's: a server that opens it from a session of its own
    // (wine's, which opens COM ports itself) would otherwise take it and be
    // hung up when we end. Started as a process group leader (by an
    // interactive shell) we keep the shell's session instead.
    if (::setsid() >= 0) ::ioctl(slave_, TIOCSCTTY, 0);
    termios t{};
    if (tcgetattr(slave_, &t) == 0) {
      cfmakeraw(&t);  // no echo of our replies back to us before the tool sets the line up
      tcsetattr(slave_, TCSANOW, &t);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
  }

  int master() const { return master_; }
  const std::string& path() const { return path_; }

  // Writes everything, or gives up on a side nobody drains any more.
  void Send(const uint8_t* data, size_t n) {
    size_t sent = 0;
    bool flushed = false;
    while (sent < n && !gStop) {
      const ssize_t w = ::write(master_, data + sent, n - sent);
      if (w > 0) {
        sent += static_cast<size_t>(w);
        continue;
      }
      if (w < 0 && errno == EINTR) continue;
      if (w < 0 && errno != EAGAIN) return;
      pollfd p{master_, POLLOUT, 0};
      if (::poll(&p, 1, 200) > 0) continue;
      if (flushed) return;
      tcflush(slave_, TCIFLUSH);  // the tool is gone and left our replies unread
      flushed = true;
    }
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

class Log {
 public:
  bool Open(const std::string& path) {
    if (path.empty()) return true;
    out_.open(path, std::ios::app);
    return static_cast<bool>(out_);
  }
  void Line(const std::string& line) {
    if (!out_.is_open()) return;
    out_ << line << '\n';
    out_.flush();  // readers (tests, people) watch it live
  }

 private:
  std::ofstream out_;
};

void Save(const Options& o, const Eeprom& eeprom, Log& log) {
  if (o.savePath.empty()) return;
  std::string error;
  if (SaveEeprom(o.savePath, eeprom, error)) {
    log.Line("# saved " + o.savePath);
  } else {
    std::cerr << "pkd-sim: " << error << std::endl;
  }
}

// Sends a reply no sooner than start, each byte no sooner than its wire
// time after the one before; pieces of about a millisecond keep the timing
// close without a system call per byte.
void SendTimed(Pty& pty, const std::vector<uint8_t>& bytes, Clock::time_point start,
               double byteSeconds) {
  if (byteSeconds <= 0) {
    SleepUntil(start);  // the device's own time (a slow EEPROM) counts at any speed
    pty.Send(bytes.data(), bytes.size());
    return;
  }
  const size_t piece = std::max<size_t>(1, static_cast<size_t>(0.001 / byteSeconds));
  for (size_t at = 0; at < bytes.size() && !gStop; at += piece) {
    const size_t n = std::min(piece, bytes.size() - at);
    SleepUntil(start + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(byteSeconds * double(at + n))));
    pty.Send(bytes.data() + at, n);
  }
}

int Run(const Options& o) {
  Eeprom eeprom = FactoryEeprom(2, 7);
  std::string error;
  if (!o.loadPath.empty() && !LoadEeprom(o.loadPath, eeprom, error)) {
    std::cerr << "pkd-sim: " << error << std::endl;
    return 2;
  }
  SetVersion(eeprom, o.format, o.firmware);

  Log log;
  if (!log.Open(o.logPath)) {
    std::cerr << "pkd-sim: cannot open log " << o.logPath << std::endl;
    return 2;
  }
  Pty pty;
  if (!pty.Open(error)) {
    std::cerr << "pkd-sim: " << error << std::endl;
    return 2;
  }
  if (!o.linkPath.empty()) {
    struct stat st {};
    if (lstat(o.linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(o.linkPath.c_str());
    if (symlink(pty.path().c_str(), o.linkPath.c_str()) != 0) {
      std::cerr << "pkd-sim: cannot make the link " << o.linkPath << ": " << std::strerror(errno)
                << std::endl;
      return 2;
    }
  }
  std::cout << pty.path() << std::endl;
  log.Line("# serving " + pty.path());

  const auto logLine = [&log](const std::string& line) { log.Line(line); };
  Device device(eeprom, o, logLine);
  std::optional<Modem> modem;
  if (o.modem) modem.emplace(o, logLine);
  // Behind the modem the call sets the pace; --baud is the line to the tool.
  const double byteSeconds = o.baud > 0 && !o.modem ? 10.0 / o.baud : 0.0;
  const auto wireTime = [&](size_t n) {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(byteSeconds * double(n)));
  };

  std::vector<uint8_t> input;
  Clock::time_point firstArrival{};  // when the byte now at input[0] came
  Clock::time_point lastArrival{};
  const auto arrive = [&](const uint8_t* bytes, size_t n, Clock::time_point at) {
    if (input.empty()) firstArrival = at;
    input.insert(input.end(), bytes, bytes + n);
    lastArrival = at;
  };
  std::vector<uint8_t> toTool, toDevice;
  uint8_t buf[4096];
  while (!gStop) {
    if (gSave) {
      gSave = 0;
      Save(o, eeprom, log);
    }
    int timeout = input.empty() ? -1 : static_cast<int>(kStaleAfter.count());
    if (modem) {
      if (const auto next = modem->NextEvent()) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(*next - Clock::now()).count();
        const int wait = static_cast<int>(std::clamp<long long>(ms + 1, 0, 60000));
        timeout = timeout < 0 ? wait : std::min(timeout, wait);
      }
    }
    pollfd p{pty.master(), POLLIN, 0};
    const int r = ::poll(&p, 1, timeout);
    if (r < 0) {
      if (errno == EINTR) continue;
      break;
    }
    const auto now = Clock::now();
    if (r > 0) {
      const ssize_t n = ::read(pty.master(), buf, sizeof buf);
      if (n > 0) {
        if (modem) {
          modem->FromTool(buf, static_cast<size_t>(n), now);
        } else {
          arrive(buf, static_cast<size_t>(n), now);
        }
      } else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
        break;
      } else if (n <= 0) {
        // Nothing to read after all (a hang-up that our own slave prevents
        // should not happen); avoid spinning.
        ::poll(nullptr, 0, 10);
      }
    }
    if (modem) {
      toTool.clear();
      toDevice.clear();
      modem->Tick(Clock::now(), toTool, toDevice);
      if (!toTool.empty()) pty.Send(toTool.data(), toTool.size());
      if (!toDevice.empty()) arrive(toDevice.data(), toDevice.size(), Clock::now());
    }
    const bool stale = !input.empty() && Clock::now() - lastArrival >= kStaleAfter;
    while (!input.empty() && !gStop) {
      const auto step = device.Next(input, stale);
      if (!step) break;
      // The request could not have finished arriving before its wire time.
      const auto received = std::max(Clock::now(), firstArrival + wireTime(step->consumed));
      input.erase(input.begin(), input.begin() + static_cast<long>(step->consumed));
      firstArrival = received;  // the rest of the input came behind it on the wire
      if (modem) {
        // The modem takes the reply when the device has it ready.
        if (!step->reply.empty())
          modem->FromDevice(step->reply, received + std::chrono::milliseconds(step->latencyMs));
      } else if (!step->reply.empty()) {
        const auto start = received + std::chrono::milliseconds(step->latencyMs);
        SendTimed(pty, step->reply, start, byteSeconds);
      } else if (step->latencyMs > 0) {
        SleepUntil(received + std::chrono::milliseconds(step->latencyMs));
      }
    }
  }
  Save(o, eeprom, log);
  log.Line("# stopped");
  if (!o.linkPath.empty()) unlink(o.linkPath.c_str());
  return 0;
}

}  // namespace
}  // namespace pkdsim

int main(int argc, char** argv) {
  std::string error;
  const auto options = pkdsim::ParseOptions(argc, argv, error);
  if (!options) {
    if (error.empty()) {
      std::cout << pkdsim::kUsage;
      return 0;
    }
    std::cerr << "pkd-sim: " << error << "\n" << pkdsim::kUsage;
    return 2;
  }
  pkdsim::InstallSignals();
  return pkdsim::Run(*options);
}
