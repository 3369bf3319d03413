#include "tools/modem_dial.h"

#include <cctype>
#include <chrono>
#include <deque>
#include <optional>

#include "model/cp1251.h"

namespace vorsin {
namespace {

using Clock = std::chrono::steady_clock;

// A read gives up after this long, so that the window breathes and a
// cancel is seen while the modem thinks.
constexpr int kPollMs = 50;
constexpr int kAbortWaitMs = 2000;

// The hang-up borrows a port that is already open: nothing to tell.
class QuietMessenger final : public Messenger {
 public:
  int Show(const std::string&, const std::string&, Icon, Buttons) override { return kAnswerOk; }
};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The modem's result lines, one at a time; the echo of our own commands
// ("AT...") and empty lines are skipped. Every byte read goes to heard.
class ModemLines {
 public:
  ModemLines(SerialPort& line, Progress& progress, const HeardFn& heard)
      : line_(line), progress_(progress), heard_(heard) {
    SerialTimeouts t{};
    t.readInterval = 10;
    t.readTotalConstant = kPollMs;
    t.writeConstant = 1000;
    line_.SetTimeouts(t);
  }

  void Send(const std::string& text) {
    line_.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }

  // The next result line within ms, or nothing (cancelled() says whether
  // the user gave up; only when cancellable).
  std::optional<std::string> Next(int ms, bool cancellable = true) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      if (!lines_.empty()) {
        std::string l = lines_.front();
        lines_.pop_front();
        return l;
      }
      if (cancellable && progress_.Cancelled()) {
        cancelled_ = true;
        return std::nullopt;
      }
      if (Clock::now() >= deadline) return std::nullopt;
      uint8_t buf[64];
      const size_t n = line_.Read(buf, sizeof buf);
      if (n > 0 && heard_) heard_(buf, n);
      Take(buf, n);
      progress_.Breathe();
    }
  }

  // Waits until one of the words begins a line; returns that line.
  std::optional<std::string> Await(std::initializer_list<const char*> words, int ms, bool cancellable = true) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      const int left =
          static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
      const auto l = Next(left > 0 ? left : 0, cancellable);
      if (!l) return std::nullopt;
      const std::string upper = Upper(*l);
      for (const char* w : words)
        if (StartsWith(upper, w)) return *l;
    }
  }

  bool cancelled() const { return cancelled_; }

 private:
  void Take(const uint8_t* bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      const char c = static_cast<char>(bytes[i]);
      if (c != '\r' && c != '\n') {
        if (partial_.size() < 256) partial_ += c;
        continue;
      }
      if (!partial_.empty() && !StartsWith(Upper(partial_), "AT")) lines_.push_back(partial_);
      partial_.clear();
    }
  }

  SerialPort& line_;
  Progress& progress_;
  const HeardFn& heard_;
  std::string partial_;
  std::deque<std::string> lines_;
  bool cancelled_ = false;
};

DialOutcome Stopped(ModemLines& lines) {
  return {lines.cancelled() ? CallAnswer::kCancelled : CallAnswer::kSilent, {}};
}

// Sends a command line and waits for "OK"; anything else is the outcome.
std::optional<DialOutcome> Command(ModemLines& lines, const std::string& command, int ms) {
  lines.Send(command + "\r");
  const auto answer = lines.Await({"OK", "ERROR"}, ms);
  if (!answer) return Stopped(lines);
  if (Upper(*answer) == "OK") return std::nullopt;
  return DialOutcome{CallAnswer::kError, *answer};
}

}  // namespace

bool IsDialChar(char c) { return (c >= '0' && c <= '9') || c == '#' || c == '*' || c == '+'; }

bool ValidDialNumber(const std::string& number) {
  if (number.empty() || number.size() > kDialNumberMax) return false;
  for (const char c : number)
    if (!IsDialChar(c)) return false;
  return true;
}

bool ValidModemInit(const std::string& line) {
  if (line.size() < 2 || line.size() > 200 || Upper(line.substr(0, 2)) != "AT") return false;
  for (const char c : line)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
  return true;
}

DialOutcome DialOn(SerialPort& line, const DialOptions& options, Progress& progress, const HeardFn& heard) {
  ModemLines lines(line, progress, heard);
  if (auto failed = Command(lines, "ATZ", options.replyLimitMs)) return *failed;
  if (!options.init.empty())
    if (auto failed = Command(lines, options.init, options.replyLimitMs)) return *failed;
  lines.Send("ATD" + options.number + "\r");
  const auto answer = lines.Await({"CONNECT", "BUSY", "NO ANSWER", "NO CARRIER", "NO DIAL", "ERROR"},
                                  options.answerLimitMs);
  if (!answer) {
    // A key stops a modem that is still dialling; its "NO CARRIER" is awaited.
    lines.Send("\r");
    lines.Await({"NO CARRIER", "OK", "ERROR"}, kAbortWaitMs, false);
    return Stopped(lines);
  }
  const std::string upper = Upper(*answer);
  if (StartsWith(upper, "CONNECT")) return {CallAnswer::kConnected, *answer};
  if (StartsWith(upper, "BUSY")) return {CallAnswer::kBusy, *answer};
  if (StartsWith(upper, "NO ANSWER")) return {CallAnswer::kNoAnswer, *answer};
  if (StartsWith(upper, "NO CARRIER")) return {CallAnswer::kNoCarrier, *answer};
  if (StartsWith(upper, "NO DIAL")) return {CallAnswer::kNoDialtone, *answer};
  return {CallAnswer::kError, *answer};
}

bool HangUpOn(SerialPort& line, Progress& progress, const HeardFn& heard, bool escape, int guardMs) {
  ModemLines lines(line, progress, heard);
  if (escape) {
    lines.Next(guardMs, false);  // silence first; anything heard is only shown
    lines.Send("+++");
    lines.Await({"OK"}, guardMs + 1500, false);
  }
  lines.Send("ATH\r");
  return lines.Await({"OK", "NO CARRIER"}, kModemReplyLimitMs, false).has_value();
}

std::string CallFailureText(const DialOutcome& outcome) {
  const std::string said = outcome.said.empty() ? std::string() : " (" + outcome.said + ")";
  switch (outcome.answer) {
    case CallAnswer::kConnected:
      return {};
    case CallAnswer::kBusy:
      return Cp("Вызов не состоялся: номер занят") + said;
    case CallAnswer::kNoAnswer:
      return Cp("Вызов не состоялся: устройство не отвечает") + said;
    case CallAnswer::kNoCarrier:
      return Cp("Вызов не состоялся: нет соединения с модемом устройства") + said;
    case CallAnswer::kNoDialtone:
      return Cp("Вызов не состоялся: нет сигнала сети") + said;
    case CallAnswer::kError:
      return Cp("Вызов не состоялся: модем не принял команду") + said;
    case CallAnswer::kSilent:
      return Cp("Вызов не состоялся: модем не ответил");
    case CallAnswer::kCancelled:
      return Cp("Вызов отменён");
  }
  return {};
}

DialOutcome PlaceCall(ComPort& port, Messenger& messenger, const DialOptions& options, Progress& progress,
                      const HeardFn& heard) {
  if (!port.TerminalOn || OpenComPort(port, messenger) != kPortOpened) return {};
  port.callLost = false;
  const DialOutcome outcome = DialOn(*port.handle, options, progress, heard);
  CloseComPort(port);
  if (outcome.answer != CallAnswer::kConnected && outcome.answer != CallAnswer::kCancelled)
    messenger.Error(CallFailureText(outcome));
  return outcome;
}

bool EndCall(ComPort& port, Progress& progress, const HeardFn& heard, int guardMs) {
  if (!port.TerminalOn || !port.handle) return false;
  QuietMessenger quiet;
  if (OpenComPort(port, quiet) != kPortOpened) return false;
  const bool done = HangUpOn(*port.handle, progress, heard, !port.callLost, guardMs);
  port.callLost = false;
  CloseComPort(port);
  return done;
}

int HeldCall::Dial(Messenger& messenger, const DialOptions& options, Progress& progress) {
  Release();
  if (OpenComPort(port_, messenger) != kPortOpened) return 1;
  // Held as the terminal holds it: device operations borrow it meanwhile.
  SetComTimeouts(port_, 0, 0, 0, 0);
  port_.TerminalOn = true;
  held_ = true;
  guardMs_ = options.guardMs;
  outcome_ = PlaceCall(port_, messenger, options, progress);
  up_ = outcome_.answer == CallAnswer::kConnected;
  return up_ ? 0 : 1;
}

void HeldCall::Release() {
  if (up_) {
    SilentProgress progress;
    EndCall(port_, progress, {}, guardMs_);
    up_ = false;
  }
  if (held_) {
    port_.TerminalOn = false;
    port_.PortLent = false;
    CloseComPort(port_);
    held_ = false;
  }
}

}  // namespace vorsin
