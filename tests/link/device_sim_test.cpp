// The link against pkd-sim over a pseudo-terminal: real termios, real timing.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "link/device_commands.h"
#include "link/frame.h"
#include "link/transaction.h"
#include "recording_messenger.h"
#include "sim_process.h"

namespace vorsin {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::LogLines;
using testing::RecordingMessenger;
using testing::RecordingProgress;
using testing::SimProcess;
using testing::TempPath;

// A simulator with a log, and a port opened on it.
class SimTest : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> args = {}, int speed = 115200) {
    logPath = TempPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
    std::remove(logPath.c_str());
    args.insert(args.end(), {"--log", logPath});
    sim = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim->ok()) << sim->error();
    port.portName = sim->path();
    port.speed = speed;
    ASSERT_EQ(OpenComPort(port, messenger), 0) << messenger.LastUtf8();
  }
  void TearDown() override {
    CloseComPort(port);
    if (sim) sim->Stop();
    std::remove(logPath.c_str());
  }
  // Request frames the simulator saw with this command code.
  size_t Requests(uint8_t code) {
    size_t n = 0;
    for (const auto& line : LogLines(logPath, "> 00 ")) {
      unsigned l = 0, c = 0;
      if (std::sscanf(line.c_str(), "> 00 %x %*x %x", &l, &c) == 2 && c == code) ++n;
    }
    return n;
  }

  std::unique_ptr<SimProcess> sim;
  std::string logPath;
  ComPort port;
  RecordingMessenger messenger;
  RecordingProgress progress;
};

TEST_F(SimTest, AccessTableAndRangesRoundTrip) {
  Start({"--password", "4711"});
  // Before access the device refuses memory reads.
  uint8_t b[2];
  EXPECT_EQ(ReadRange(port, messenger, progress, b, 0x10, 2), 1);
  EXPECT_EQ(messenger.LastUtf8(), "ReadEEPROM: комманда недопустима в текушем режиме работы");

  EXPECT_EQ(TakeAccess(port, messenger, "4712"), 1);
  EXPECT_EQ(messenger.LastUtf8(), "TakeAccess: неверный пароль или оштбка доступа");
  ASSERT_EQ(TakeAccess(port, messenger, "4711"), 0);

  AddressTable table;
  SetTableEntry(table, 5, 0xDEAD);  // replaced by what the device holds
  ASSERT_EQ(ReadAddressTable(port, messenger, table), 0);
  EXPECT_EQ(table.address, 0x0020);
  EXPECT_EQ(TableEntry(table, 1), 0x0100);
  EXPECT_EQ(TableEntry(table, 5), 0x0124);
  EXPECT_EQ(TableEntry(table, 40), 0x0478);
  uint8_t version[2];
  ASSERT_EQ(ReadRange(port, messenger, progress, version, TableEntry(table, 0), 2), 0);
  EXPECT_EQ(version[0], 2);
  EXPECT_EQ(version[1], 7);

  Bytes data(1234);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + 3);
  const size_t writesBefore = Requests(0x23);
  ASSERT_EQ(WriteRange(port, messenger, progress, 0x8000 - 1234, data.size(), data.data()), 0);
  EXPECT_EQ(Requests(0x23) - writesBefore, 25u);  // 24 of 50 and one of 34
  Bytes back(data.size());
  ASSERT_EQ(ReadRange(port, messenger, progress, back.data(), 0x8000 - 1234, back.size()), 0);
  EXPECT_EQ(back, data);
}

TEST_F(SimTest, FaultyLineStillCarriesTheData) {
  // Every third request unanswered, every fourth reply spoiled, two retry
  // requests first: the retries absorb all of it.
  Start({"--drop-every", "3", "--corrupt-every", "4", "--retry-first", "2"});
  ASSERT_EQ(TakeAccess(port, messenger, ""), 0);
  Bytes data(300, 0x5C);
  ASSERT_EQ(WriteRange(port, messenger, progress, 0x1000, data.size(), data.data()), 0);
  Bytes back(300);
  ASSERT_EQ(ReadRange(port, messenger, progress, back.data(), 0x1000, back.size()), 0);
  EXPECT_EQ(back, data);
  EXPECT_TRUE(messenger.shown.empty()) << messenger.LastUtf8();
}

TEST_F(SimTest, PersistentRetryRequestEndsInUnknownSubCode) {
  Start({"--retry-first", "1000000"});
  AddressTable table;
  EXPECT_EQ(ReadAddressTable(port, messenger, table), 1);
  EXPECT_EQ(messenger.LastUtf8(), "AddressTable: ?");
  EXPECT_EQ(Requests(0x24), 5u);
}

TEST_F(SimTest, ErrorRepliesByCommand) {
  Start({"--error-on", "0x23:18", "--error-on", "0x26:1"});
  ASSERT_EQ(TakeAccess(port, messenger, "1"), 0);
  const uint8_t byte = 1;
  EXPECT_EQ(WriteRange(port, messenger, progress, 0x2000, 1, &byte), 1);
  EXPECT_TRUE(messenger.shown.empty());  // silent sub-code
  std::array<uint8_t, 6> key{};
  EXPECT_EQ(ReadTouchKey(port, messenger, key), kKeyRefused);
  EXPECT_EQ(messenger.LastUtf8(), "??? : недопустимые параметры комманды");
  EXPECT_EQ(Requests(0x26), 5u);  // asked for 6 bytes, so the error was retried
}

TEST_F(SimTest, TouchKeyWaitingIsSilentAndTellsNoLinkApart) {
  Start({"--key", "0102030405A6", "--key-after", "7"});
  std::array<uint8_t, 6> key{};
  EXPECT_EQ(ReadTouchKey(port, messenger, key), kKeyWaiting);  // five "no key yet"
  EXPECT_EQ(ReadTouchKey(port, messenger, key), kKeyRead);     // two more, then the key
  EXPECT_EQ(key[5], 0xA6);
  EXPECT_TRUE(messenger.shown.empty()) << messenger.LastUtf8();
  sim->Stop();
  EXPECT_EQ(ReadTouchKey(port, messenger, key), kKeyNoLink);
  EXPECT_EQ(messenger.LastUtf8(), "Отсутствие связи с устройством");
}

TEST_F(SimTest, TouchKeyAndRestartAndLeaving) {
  Start({"--key", "01A2B3C4D5E6", "--password", "12"});
  std::array<uint8_t, 6> key{};
  ASSERT_EQ(ReadTouchKey(port, messenger, key), 0);
  EXPECT_EQ(key, (std::array<uint8_t, 6>{0x01, 0xA2, 0xB3, 0xC4, 0xD5, 0xE6}));
  CloseComPort(port);

  EXPECT_EQ(RestartDevice(port, messenger, "13"), 1);
  EXPECT_EQ(Requests(0x28), 0u);
  EXPECT_EQ(RestartDevice(port, messenger, "12"), 0);
  EXPECT_EQ(Requests(0x28), 1u);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(LeaveProgramming(port, messenger), 0);
  EXPECT_FALSE(port.IsOpen());
  for (int i = 0; i < 100 && LogLines(logPath, "# leave").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(LogLines(logPath, "# leave").size(), 1u);
}

TEST_F(SimTest, LongReadsWorkOnSlowLines) {
  // 207 reply bytes take 431 ms at 4800 baud: more than 100 ms + 1 ms a byte.
  Start({"--baud", "4800"}, 4800);
  ASSERT_EQ(TakeAccess(port, messenger, ""), 0);
  Bytes back(200);
  EXPECT_EQ(ReadRange(port, messenger, progress, back.data(), 0x0100, back.size()), 0)
      << messenger.LastUtf8();
}

TEST_F(SimTest, WriteLatencyHoldsEveryWriteAtAnyLineSpeed) {
  // A slow EEPROM without an emulated line speed: each of the three frames
  // waits for its acknowledgement (a lower bound only; the machine may be slow).
  Start({"--write-latency", "40"});
  ASSERT_EQ(TakeAccess(port, messenger, ""), 0);
  Bytes data(150, 0x3C);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(WriteRange(port, messenger, progress, 0x1000, data.size(), data.data()), 0) << messenger.LastUtf8();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3 * 40));
  EXPECT_EQ(Requests(0x23), 3u);  // no retries: the wait stays inside the reply timeout
}

TEST_F(SimTest, BorrowingTheTerminalsPort) {
  Start();
  port.TerminalOn = true;  // as the terminal leaves it after its own opening
  SerialPort* held = port.handle.get();
  bool pagesEnabled = true;
  port.enablePages = [&](bool on) { pagesEnabled = on; };
  ASSERT_EQ(OpenComPort(port, messenger), 0);
  EXPECT_TRUE(port.PortLent);
  EXPECT_FALSE(pagesEnabled);
  EXPECT_EQ(port.handle.get(), held);
  EXPECT_EQ(TakeAccess(port, messenger, ""), 0);
  CloseComPort(port);
  EXPECT_FALSE(port.PortLent);
  EXPECT_TRUE(pagesEnabled);
  ASSERT_EQ(port.handle.get(), held);  // still open for the terminal
  const uint8_t probe[] = {0x00, 0x01, 0xFE, 0x24, 0x01, 0x23};
  EXPECT_EQ(port.handle->Write(probe, sizeof probe), sizeof probe);
  uint8_t reply[8];
  EXPECT_EQ(port.handle->Read(reply, sizeof reply), sizeof reply);
  port.TerminalOn = false;
}

TEST_F(SimTest, LoaderSpeedAndSimulatorLoaderProtocol) {
  Start({"--loader-bad-line", "2"});
  CloseComPort(port);
  port.LoaderShown = true;
  port.speed = 2400;
  ASSERT_EQ(OpenComPort(port, messenger), 0);
  EXPECT_EQ(port.handle->Baud(), 57600);
  SerialPort& line = *port.handle;
  auto ask = [&](const Bytes& message) {
    line.Purge();
    line.Write(message.data(), message.size());
    uint8_t r[2] = {0, 0};
    const size_t n = line.Read(r, 2);
    return n == 2 ? (r[0] << 8 | r[1]) : -1;
  };
  EXPECT_NE(ask({0x5A, 0x17, 0xC3, 0x08, 0x6E, 0x91, 0x24, 0xB0}), -1);
  EXPECT_EQ(ask({0x3A, 0x01, 0x00, 0x00, 0x00, 0x00, 0xFF}), 0x764B);
  const int spoiled = ask({0x3A, 0x01, 0x00, 0x00, 0x00, 0x00, 0xFF});
  EXPECT_NE(spoiled, 0x764B);
  EXPECT_NE(spoiled, -1);
  EXPECT_NE(ask({0x3A, 0x00, 0x00, 0x00, 0x02, 0xFE}), -1);
  // Back to frames after the end record.
  EXPECT_EQ(DeviceTransaction(port, messenger, 0x24, {}, 0xA2, 0), 0);
}

// Random bytes, cut and spoiled frames, loader starts and lines, '+' runs:
// the simulator neither dies nor stays stuck, and answers plainly afterwards.
TEST(SimProcessTest, SurvivesRandomBytes) {
  SimProcess sim;
  ASSERT_TRUE(sim.ok()) << sim.error();
  ComPort port;
  port.portName = sim.path();
  RecordingMessenger m;
  ASSERT_EQ(OpenComPort(port, m), 0);
  SerialPort& line = *port.handle;

  std::mt19937 rng(20240611);
  auto below = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
  auto randomBytes = [&](size_t n) {
    Bytes b(n);
    for (auto& x : b) x = static_cast<uint8_t>(rng());
    return b;
  };
  const uint8_t codes[] = {0x20, 0x22, 0x23, 0x24, 0x26, 0x28, 0x86, 0x00, 0xFF};
  uint8_t sink[4096];
  for (int round = 0; round < 400; ++round) {
    Bytes out;
    switch (below(7)) {
      case 0: out = randomBytes(1 + below(600)); break;
      case 1:  // a well-formed frame with any code and payload
        out = BuildFrame(codes[below(sizeof codes)], randomBytes(below(255)));
        break;
      case 2:  // the same, cut short or with one byte spoiled
        out = BuildFrame(codes[below(sizeof codes)], randomBytes(below(60)));
        if (below(2)) out.resize(below(static_cast<unsigned>(out.size())));
        else out[below(static_cast<unsigned>(out.size()))] ^= static_cast<uint8_t>(1 + below(255));
        break;
      case 3:  // a loader start code, sometimes cut
        out = {0x5A, 0x17, 0xC3, 0x08, 0x6E, 0x91, 0x24, 0xB0};
        out.resize(1 + below(8));
        break;
      case 4: {  // a loader line of any announced length, sometimes cut
        out = {0x3A, static_cast<uint8_t>(rng())};
        const Bytes rest = randomBytes(below(270));
        out.insert(out.end(), rest.begin(), rest.end());
        break;
      }
      case 5: out.assign(1 + below(9), '+'); break;
      default: out = {0x00, static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng())}; break;
    }
    if (!out.empty()) line.Write(out.data(), out.size());
    line.SetTimeouts({0, 0, 1, 0, 0});
    line.Read(sink, sizeof sink);  // keep its replies from piling up
  }
  // Past the simulator's patience any cut message is dropped.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  SetComTimeouts(port, 100, 100, 1, 1);
  EXPECT_EQ(TakeAccess(port, m, ""), 0) << m.LastUtf8();
  AddressTable table;
  EXPECT_EQ(ReadAddressTable(port, m, table), 0) << m.LastUtf8();
  EXPECT_EQ(table.address, 0x0020);
  CloseComPort(port);
  EXPECT_EQ(::kill(sim.pid(), 0), 0);
  EXPECT_EQ(sim.Stop(), 0);  // a sanitizer report would end it otherwise
}

TEST(SimProcessTest, SavesAndLoadsItsEeprom) {
  const std::string image = TempPath("eeprom.bin");
  std::remove(image.c_str());
  const Bytes data{0xCA, 0xFE, 0xBA, 0xBE};
  {
    SimProcess sim({"--save", image, "--firmware", "9"});
    ASSERT_TRUE(sim.ok()) << sim.error();
    ComPort port;
    port.portName = sim.path();
    RecordingMessenger m;
    SilentProgress p;
    ASSERT_EQ(OpenComPort(port, m), 0);
    ASSERT_EQ(TakeAccess(port, m, ""), 0);
    ASSERT_EQ(WriteRange(port, m, p, 0x3000, data.size(), data.data()), 0);
    CloseComPort(port);
    EXPECT_EQ(sim.Stop(), 0);
  }
  SimProcess again({"--load", image});
  ASSERT_TRUE(again.ok()) << again.error();
  ComPort port;
  port.portName = again.path();
  RecordingMessenger m;
  SilentProgress p;
  ASSERT_EQ(OpenComPort(port, m), 0);
  ASSERT_EQ(TakeAccess(port, m, ""), 0);
  Bytes back(4);
  uint8_t version[2];
  ASSERT_EQ(ReadRange(port, m, p, back.data(), 0x3000, back.size()), 0);
  ASSERT_EQ(ReadRange(port, m, p, version, 0x0010, 2), 0);
  EXPECT_EQ(back, data);
  EXPECT_EQ(version[1], 9);
  CloseComPort(port);
  std::remove(image.c_str());
}

}  // namespace
}  // namespace vorsin
