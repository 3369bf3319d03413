// Opening rules and read limits of the termios backend, on a bare
// pseudo-terminal that the test itself drives.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "link/com_port.h"
#include "link/transaction.h"
#include "recording_messenger.h"

namespace vorsin {
namespace {

using Clock = std::chrono::steady_clock;
using testing::RecordingMessenger;

struct Pty {
  Pty() {
    char name[256];
    EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    path = name;
  }
  ~Pty() {
    ::close(master);
    ::close(slave);
  }
  int master = -1, slave = -1;
  std::string path;
};

long MsSince(Clock::time_point t) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

TEST(ComPortOpen, MissingAndBusyPortsAreRefusedAndReported) {
  ComPort port;
  port.portName = "/dev/vorsin-no-such-port";
  RecordingMessenger m;
  EXPECT_EQ(OpenComPort(port, m), kPortNotFound);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(m.LastUtf8(),
            "Не удаётся обнаружить /dev/vorsin-no-such-port\nВозможно ресурс используется "
            "другой программой.");
  EXPECT_EQ(m.shown.back().icon, Icon::Error);
  port.portName.clear();
  EXPECT_EQ(OpenComPort(port, m), kPortNotFound);
  EXPECT_EQ(m.LastUtf8(), "Не указан COM порт: выберите порт из списка или введите путь к устройству.");

  Pty pty;
  ComPort first, second;
  first.portName = second.portName = pty.path;
  ASSERT_EQ(OpenComPort(first, m), kPortOpened);
  EXPECT_EQ(OpenComPort(second, m), kPortNotFound);
  CloseComPort(first);
  EXPECT_EQ(OpenComPort(second, m), kPortOpened);  // free again once closed

  // A speed the line cannot take fails at the settings step and closes it.
  ComPort odd;
  odd.portName = pty.path;
  odd.speed = 12345;
  CloseComPort(second);
  EXPECT_EQ(OpenComPort(odd, m), kPortSettingsUnset);
  EXPECT_EQ(m.LastUtf8(), "Ошибка в конфигурирование COM - порта!");
  EXPECT_FALSE(odd.IsOpen());
}

TEST(SerialRead, IntervalAndTotalLimits) {
  Pty pty;
  auto line = MakeSerialPort();
  ASSERT_TRUE(line->Open(pty.path));
  ASSERT_TRUE(line->ReadSettings());
  ASSERT_TRUE(line->ApplySettings(115200));
  uint8_t buf[64];

  // Nothing comes: the total limit, constant + per byte, ends the read.
  line->SetTimeouts({50, 1, 100, 0, 0});
  auto t = Clock::now();
  EXPECT_EQ(line->Read(buf, 40), 0u);
  EXPECT_GE(MsSince(t), 135);
  EXPECT_LT(MsSince(t), 1000);

  // Two bytes come and then nothing: the interval limit ends it early.
  line->SetTimeouts({30, 1, 2000, 0, 0});
  ASSERT_EQ(::write(pty.master, "ab", 2), 2);
  t = Clock::now();
  EXPECT_EQ(line->Read(buf, 10), 2u);
  EXPECT_LT(MsSince(t), 1000);

  // Bytes trickling in within the interval are all collected.
  std::thread feeder([&] {
    for (int i = 0; i < 5; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      ASSERT_EQ(::write(pty.master, "x", 1), 1);
    }
  });
  line->SetTimeouts({100, 1, 1000, 0, 0});
  EXPECT_EQ(line->Read(buf, 5), 5u);
  feeder.join();

  // All zero: about a millisecond per byte, never forever.
  line->SetTimeouts({});
  t = Clock::now();
  EXPECT_EQ(line->Read(buf, 20), 0u);
  EXPECT_LT(MsSince(t), 1000);
}

TEST(DeviceTransactionTiming, SilentDeviceFailsWithinItsLimits) {
  Pty pty;  // nobody answers on the other side
  ComPort port;
  port.portName = pty.path;
  RecordingMessenger m;
  ASSERT_EQ(OpenComPort(port, m), kPortOpened);
  const auto t = Clock::now();
  EXPECT_EQ(DeviceTransaction(port, m, 0x24, {}, 0xA2, 0), kTransactionNoLink);
  // Five attempts of 2 ms + (100 + 3 + 1) ms, each failed one but the last
  // followed by 100 ms of silence and a 2 ms pause: about 0.95 s.
  EXPECT_GE(MsSince(t), 900);
  EXPECT_LT(MsSince(t), 3000);
  EXPECT_EQ(m.LastUtf8(), "Отсутствие связи с устройством");
  CloseComPort(port);
}

}  // namespace
}  // namespace vorsin
