// Calling a distant device through a modem on the port: the modem is reset
// (and given its init line), ATD dials the number, and the modem's answer
// decides; hanging up is the guarded "+++" and ATH. While the call is up the
// port is held as the terminal holds it, so device operations borrow it with
// the longer limits a call needs.
//
// Nothing here is tied to a window: the window's "Connect" and
// "Disconnect", vorsin-cli's --dial and the benchmark use the same code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/com_port.h"
#include "link/serial_port.h"
#include "model/messenger.h"

namespace vorsin {

constexpr int kDialAnswerLimitMs = 60000;  // from ATD to the modem's answer
constexpr int kModemReplyLimitMs = 5000;   // for "OK" to a command
constexpr int kGuardMs = 1000;             // silence around "+++"
constexpr size_t kDialNumberMax = 15;

struct DialOptions {
  std::string number;         // digits, '#', '*', '+'
  std::string init;           // an AT line sent after the reset, or empty
  int answerLimitMs = kDialAnswerLimitMs;
  int replyLimitMs = kModemReplyLimitMs;
  int guardMs = kGuardMs;
};

enum class CallAnswer {
  kConnected,   // "CONNECT ..."
  kBusy,        // "BUSY"
  kNoAnswer,    // "NO ANSWER"
  kNoCarrier,   // "NO CARRIER"
  kNoDialtone,  // "NO DIALTONE" / "NO DIAL TONE"
  kError,       // "ERROR", to the reset, the init line or ATD
  kSilent,      // no answer within the limit
  kCancelled,   // the user gave up
};

struct DialOutcome {
  CallAnswer answer = CallAnswer::kSilent;
  std::string said;  // the modem's last line ("BUSY", "CONNECT 9600"), empty when silent
};

// Everything the modem sent, as it came, for the terminal to show.
using HeardFn = std::function<void(const uint8_t* bytes, size_t n)>;

// The typing rule of the work phones, without "?": digits, '#', '*', '+',
// at most 15.
bool IsDialChar(char c);
bool ValidDialNumber(const std::string& number);
// An init line is a command line of its own: "AT" followed by printable text.
bool ValidModemInit(const std::string& line);

// On an open line: reset, init, dial, wait for the answer (Breathe between
// reads, Cancelled gives up and stops the dialling). The line's limits are
// its own afterwards; callers that lend it set them back.
DialOutcome DialOn(SerialPort& line, const DialOptions& options, Progress& progress, const HeardFn& heard = {});
// A second of silence, "+++", a second, then ATH. With escape false (the
// modem has already said the call is gone) only ATH. True when the modem
// answered the ATH.
bool HangUpOn(SerialPort& line, Progress& progress, const HeardFn& heard = {}, bool escape = true,
              int guardMs = kGuardMs);

// The message for a call that did not come up, naming the modem's answer
// (Windows-1251): "Вызов не состоялся: абонент занят (BUSY)".
std::string CallFailureText(const DialOutcome& outcome);

// With the port held (TerminalOn, the terminal's or a HeldCall's): borrows
// it like a device operation, dials, gives it back. On failure the user has
// been told (not after a cancel).
DialOutcome PlaceCall(ComPort& port, Messenger& messenger, const DialOptions& options, Progress& progress,
                      const HeardFn& heard = {});
// Borrows the held port and hangs up. A call the last transaction heard
// dropped ("NO CARRIER") needs no escape.
bool EndCall(ComPort& port, Progress& progress, const HeardFn& heard = {}, int guardMs = kGuardMs);

// The port held for a call without a terminal (vorsin-cli, the benchmark):
// Open takes the port, Dial places the call; device operations meanwhile
// borrow the port; the destructor hangs up when the call is up and closes
// the port.
class HeldCall {
 public:
  explicit HeldCall(ComPort& port) : port_(port) {}
  ~HeldCall() { Release(); }
  HeldCall(const HeldCall&) = delete;
  HeldCall& operator=(const HeldCall&) = delete;

  // 0 when the call is up; 1 after telling the user why not.
  int Dial(Messenger& messenger, const DialOptions& options, Progress& progress);
  const DialOutcome& outcome() const { return outcome_; }
  // Hangs up (when the call came up) and closes the port.
  void Release();

 private:
  ComPort& port_;
  bool held_ = false;
  bool up_ = false;
  int guardMs_ = kGuardMs;
  DialOutcome outcome_;
};

}  // namespace vorsin
