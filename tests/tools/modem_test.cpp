// pkd-sim --modem and the dialler: the modem's command mode, the dial
// answers, "+++" with its guard time against the device's own six '+', ATO,
// ATH and a lost carrier; then the terminal holding the port while a call is
// up and device operations borrow it, a call lost in the middle of one.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "../link/recording_messenger.h"
#include "../link/sim_process.h"
#include "link/device_commands.h"
#include "link/transaction.h"
#include "model/cp1251.h"
#include "tools/modem_dial.h"
#include "tools/terminal.h"

namespace vorsin {
namespace {

using testing::LogLines;
using testing::RecordingMessenger;
using testing::SimProcess;
using testing::TempPath;
using Clock = std::chrono::steady_clock;

std::vector<std::string> ModemArgs(std::vector<std::string> extra) {
  std::vector<std::string> args{"--modem", "--modem-dial-ms", "200", "--modem-latency", "20", "--modem-jitter", "10"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

// A raw line to the simulator's modem.
struct ModemLine {
  explicit ModemLine(const std::vector<std::string>& extra = {}) : sim(ModemArgs(extra)) {
    EXPECT_TRUE(sim.ok()) << sim.error();
    line = MakeSerialPort();
    EXPECT_TRUE(line->Open(sim.path()) && line->ReadSettings() && line->ApplySettings(115200));
  }
  void Send(const std::string& s) { line->Write(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }
  // Everything that comes within ms.
  std::string Hear(int ms) {
    SerialTimeouts t{};
    t.readTotalConstant = ms;
    line->SetTimeouts(t);
    uint8_t buf[512];
    const size_t n = line->Read(buf, sizeof buf);
    return std::string(reinterpret_cast<const char*>(buf), n);
  }
  std::string Say(const std::string& command, int ms = 60) {
    Send(command);
    return Hear(ms);
  }
  SimProcess sim;
  std::unique_ptr<SerialPort> line;
};

// Gives up after a number of looks.
class CancelAfter final : public Progress {
 public:
  explicit CancelAfter(int looks) : looks_(looks) {}
  void SetMaximum(int) override {}
  void SetPosition(int) override {}
  void Advance(int) override {}
  void Breathe() override {}
  bool Cancelled() override { return --looks_ < 0; }

 private:
  int looks_;
};

DialOptions Number(const std::string& number) {
  DialOptions d;
  d.number = number;
  d.guardMs = 1000;
  return d;
}

TEST(ModemSim, CommandModeAnswers) {
  ModemLine m;
  EXPECT_EQ(m.Say("AT\r"), "AT\r\r\nOK\r\n");
  EXPECT_EQ(m.Say("ATZ\r"), "ATZ\r\r\nOK\r\n");
  EXPECT_EQ(m.Say("ATE0\r"), "ATE0\r\r\nOK\r\n");
  EXPECT_EQ(m.Say("AT&F E0 V1 S0=2\r"), "\r\nOK\r\n");
  EXPECT_EQ(m.Say("at+cbst=7,0,1\r"), "\r\nOK\r\n");
  EXPECT_EQ(m.Say("ATE7\r"), "\r\nERROR\r\n");
  EXPECT_EQ(m.Say("ATS0\r"), "\r\nERROR\r\n");
  EXPECT_EQ(m.Say("ATD\r"), "\r\nERROR\r\n");
  EXPECT_EQ(m.Say("ATO\r"), "\r\nNO CARRIER\r\n");  // no call to go back to
  EXPECT_EQ(m.Say("hello\r"), "");                   // not a command
  EXPECT_EQ(m.Say("ATV0\r"), "0\r");
  EXPECT_EQ(m.Say("ATE1V1\r"), "\r\nOK\r\n");  // echoed from the next line on
  EXPECT_EQ(m.Say("AT\r"), "AT\r\r\nOK\r\n");
  // A key while dialling stops it.
  EXPECT_EQ(m.Say("ATD5551234\r", 50), "ATD5551234\r");
  EXPECT_EQ(m.Say("\r"), "\r\nNO CARRIER\r\n");
}

TEST(ModemSim, DialAnswersAsToldAndTheDiallerNamesThem) {
  const struct {
    const char* answer;
    CallAnswer want;
    const char* said;
  } cases[] = {{"connect", CallAnswer::kConnected, "CONNECT 9600"},
               {"busy", CallAnswer::kBusy, "BUSY"},
               {"no-answer", CallAnswer::kNoAnswer, "NO ANSWER"},
               {"no-carrier", CallAnswer::kNoCarrier, "NO CARRIER"}};
  for (const auto& c : cases) {
    ModemLine m({"--modem-answer", c.answer});
    SilentProgress progress;
    std::string heard;
    const auto t0 = Clock::now();
    const DialOutcome got = DialOn(*m.line, Number("+79161234567"), progress, [&](const uint8_t* b, size_t n) {
      heard.append(reinterpret_cast<const char*>(b), n);
    });
    EXPECT_EQ(got.answer, c.want) << c.answer;
    EXPECT_EQ(got.said, c.said);
    EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(200));  // the dial delay
    EXPECT_NE(heard.find(std::string("ATD+79161234567\r\r\n") + c.said), std::string::npos) << heard;
    if (c.want != CallAnswer::kConnected)
      EXPECT_NE(ToUtf8(CallFailureText(got)).find(std::string("(") + c.said + ")"), std::string::npos);
  }
  // A modem that never answers, and a user who gives up: the dialling is stopped.
  ModemLine silent({"--modem-answer", "none"});
  SilentProgress progress;
  DialOptions quick = Number("1");
  quick.answerLimitMs = 300;
  EXPECT_EQ(DialOn(*silent.line, quick, progress).answer, CallAnswer::kSilent);
  CancelAfter cancel(10);
  EXPECT_EQ(DialOn(*silent.line, Number("1"), cancel).answer, CallAnswer::kCancelled);
  EXPECT_EQ(silent.Say("AT\r"), "AT\r\r\nOK\r\n");  // back in command mode
  // The modem refuses the init line.
  DialOptions init = Number("1");
  init.init = "ATE9";
  EXPECT_EQ(DialOn(*silent.line, init, progress).answer, CallAnswer::kError);
  EXPECT_TRUE(ValidDialNumber("*100#") && !ValidDialNumber("???") && !ValidDialNumber("1234567890123456"));
  EXPECT_TRUE(ValidModemInit("AT+CBST=7,0,1") && !ValidModemInit("ATD\r1") && !ValidModemInit("Z"));
}

// The escape needs a second of silence before and after "+++"; the device's
// "++++++" sent at once passes to the device. ATO goes back, ATH ends the
// call, and a lost carrier says NO CARRIER.
TEST(ModemSim, EscapeGuardTimeSixPlusesAtoAthAndLostCarrier) {
  const std::string log = TempPath("modem_escape.log");
  ModemLine m({"--log", log, "--modem-guard-ms", "300"});
  SilentProgress progress;
  ASSERT_EQ(DialOn(*m.line, Number("1"), progress).answer, CallAnswer::kConnected);
  const auto guard = std::chrono::milliseconds(350);
  std::this_thread::sleep_for(guard);
  EXPECT_EQ(m.Say("++++++", 450), "");  // no escape: more than three
  EXPECT_EQ(LogLines(log, "# leave programming mode").size(), 1u);
  EXPECT_EQ(m.Say("x+++", 450), "");     // no silence before
  std::this_thread::sleep_for(guard);
  m.Send("++");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(m.Say("+", 450), "\r\nOK\r\n");  // a pause shorter than the guard between them is allowed
  EXPECT_EQ(m.Say("ATO\r"), "ATO\r\r\nCONNECT 9600\r\n");
  // A frame goes through again, then the call ends.
  m.Send(std::string("\x00\x01\xFE\x24\x01\x23", 6));
  EXPECT_EQ(m.Hear(300).size(), 8u);  // the address table reply
  std::this_thread::sleep_for(guard);
  EXPECT_EQ(m.Say("+++", 450), "\r\nOK\r\n");
  EXPECT_EQ(m.Say("ATH\r"), "ATH\r\r\nNO CARRIER\r\n");
  EXPECT_EQ(m.Say("ATO\r"), "ATO\r\r\nNO CARRIER\r\n");
  std::remove(log.c_str());

  ModemLine drop({"--modem-drop-after", "10"});
  ASSERT_EQ(DialOn(*drop.line, Number("1"), progress).answer, CallAnswer::kConnected);
  drop.Send(std::string("\x00\x01\xFE\x24\x01\x23", 6));
  EXPECT_EQ(drop.Hear(300), "\r\nNO CARRIER\r\n");  // 6 + 8 bytes: gone before the reply is through
}

template <class Pred>
bool WaitFor(Pred pred, int ms = 3000) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

struct Shown {
  std::mutex mutex;
  std::string text;
  TerminalHooks Hooks() {
    return {[this](std::vector<uint8_t> b) {
              const std::lock_guard<std::mutex> lock(mutex);
              text.append(b.begin(), b.end());
            },
            {}};
  }
  bool Has(const std::string& s) {
    const std::lock_guard<std::mutex> lock(mutex);
    return text.find(s) != std::string::npos;
  }
};

// The terminal's reader runs all along: the dialler and the device
// operations borrow the port from it, and it shows what the modem says.
TEST(TerminalCall, DeviceOperationsBorrowThePortWhileACallIsUp) {
  SimProcess sim(ModemArgs({"--modem-drop-after", "1500"}));
  ASSERT_TRUE(sim.ok()) << sim.error();
  ComPort port;
  port.portName = sim.path();
  port.speed = 9600;
  RecordingMessenger messenger;
  Shown shown;
  Terminal terminal(port);
  ASSERT_TRUE(terminal.SwitchOn(messenger, shown.Hooks()));
  for (const char c : std::string("AT\r")) terminal.Type(static_cast<uint8_t>(c));
  ASSERT_TRUE(WaitFor([&] { return shown.Has("AT\r\r\nOK\r\n"); }));

  SilentProgress progress;
  std::string dialogue;
  const DialOutcome call = PlaceCall(port, messenger, Number("200"), progress, [&](const uint8_t* b, size_t n) {
    dialogue.append(reinterpret_cast<const char*>(b), n);
  });
  ASSERT_EQ(call.answer, CallAnswer::kConnected);
  EXPECT_NE(dialogue.find("CONNECT 9600"), std::string::npos);
  EXPECT_TRUE(port.TerminalOn && !port.PortLent);

  // Over the call, with the lent limits; typing meanwhile waits.
  std::vector<uint8_t> block(600), back(600);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
  ASSERT_EQ(kPortOpened, OpenComPort(port, messenger));
  terminal.Type('k');
  ASSERT_EQ(0, TakeAccess(port, messenger, ""));
  ASSERT_EQ(0, WriteRange(port, messenger, progress, 0x1000, block.size(), block.data()));
  ASSERT_EQ(0, ReadRange(port, messenger, progress, back.data(), 0x1000, back.size()));
  CloseComPort(port);
  EXPECT_EQ(back, block);
  EXPECT_TRUE(messenger.shown.empty());

  // The carrier goes in the middle of the next one: the transaction gives
  // up at once with the link failure, and the terminal shows NO CARRIER.
  ASSERT_EQ(kPortOpened, OpenComPort(port, messenger));
  const auto t0 = Clock::now();
  EXPECT_NE(0, ReadRange(port, messenger, progress, back.data(), 0x1000, back.size()));
  EXPECT_LT(Clock::now() - t0, std::chrono::seconds(4));
  CloseComPort(port);
  ASSERT_EQ(messenger.shown.size(), 1u);
  EXPECT_EQ(messenger.shown[0].text, Cp("Отсутствие связи с устройством"));
  EXPECT_TRUE(port.callLost);
  ASSERT_TRUE(WaitFor([&] { return shown.Has("\r\nNO CARRIER\r\n"); }));
  for (const char c : std::string("ATI\r")) terminal.Type(static_cast<uint8_t>(c));
  ASSERT_TRUE(WaitFor([&] { return shown.Has("ATI\r\r\nOK\r\n"); }));
  // Hanging up a lost call needs no escape.
  const auto t1 = Clock::now();
  EXPECT_TRUE(EndCall(port, progress));
  EXPECT_LT(Clock::now() - t1, std::chrono::milliseconds(900));
  terminal.SwitchOff();
  EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace vorsin
