// The terminal without a window: memo text and capture bytes, the reader's
// batches, keys and CTS watch, lending the port to device operations while
// data flows, and switching off.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "../link/recording_messenger.h"
#include "fake_line.h"
#include "tools/terminal.h"

namespace vorsin {
namespace {

using testing::LineState;
using testing::RecordingMessenger;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string TempFile(const std::string& name) {
  return ::testing::TempDir() + "terminal_" + name;
}

std::tm FixedTime() {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 9;
  t.tm_min = 7;
  t.tm_sec = 3;
  return t;
}

template <class Pred>
bool WaitFor(Pred pred, int ms = 3000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// The reader's hand-over, as the window would receive it.
struct Received {
  std::mutex mutex;
  std::vector<std::vector<uint8_t>> batches;
  std::vector<bool> cts;
  size_t bytes = 0;

  TerminalHooks Hooks() {
    return {[this](std::vector<uint8_t> b) {
              const std::lock_guard<std::mutex> lock(mutex);
              bytes += b.size();
              batches.push_back(std::move(b));
            },
            [this](bool on) {
              const std::lock_guard<std::mutex> lock(mutex);
              cts.push_back(on);
            }};
  }
  size_t Bytes() {
    const std::lock_guard<std::mutex> lock(mutex);
    return bytes;
  }
};

struct TerminalTest : ::testing::Test {
  void SetUp() override {
    line->watch = &port;
    testing::UseFakeLine(port, line);
  }
  std::shared_ptr<LineState> line = std::make_shared<LineState>();
  ComPort port;
  RecordingMessenger messenger;
  Received received;
};

TEST(TerminalTextTest, LineBreaksAndCaptureOfASplitReply) {
  // «AT\r\nOK\r\n» arriving as "AT\r" and "\nOK\r\n": two lines on screen,
  // the eight bytes unchanged in the capture.
  const std::string path = TempFile("split.cap");
  ComPort port;
  Terminal terminal(port, FixedTime);
  ASSERT_TRUE(terminal.capture().Start(path, CaptureLog::Mode::kReplace));
  std::string shown = terminal.Received(Bytes("AT\r"));
  shown += terminal.Received(Bytes("\nOK\r\n"));
  EXPECT_EQ(shown, "AT\nOK\n");
  terminal.capture().Stop();
  EXPECT_EQ(FileText(path), "\n[Capture: 05.03.2024 09:07:03]\nAT\r\nOK\r\n\n[End: 05.03.2024 09:07:03]\n");
  // Any other byte is one character, Cyrillic included.
  const uint8_t other[] = {0xCF, 0x00, 0x41};
  EXPECT_EQ(TerminalText(other, 3), std::string("\xCF\0A", 3));
  std::remove(path.c_str());
}

TEST_F(TerminalTest, ReaderBatchesKeysAndCts) {
  ASSERT_TRUE(port.handle == nullptr);
  KeyQueue keys;
  TComTransmit reader(port, keys, received.Hooks());
  ASSERT_EQ(kPortOpened, OpenComPort(port, messenger));
  line->Send(Bytes("AT\r"));
  line->Send(Bytes("\nOK\r\n"));
  line->Send(std::vector<uint8_t>(2500, 'z'));
  for (int i = 0; i < 6; ++i) reader.Turn();
  ASSERT_EQ(received.batches.size(), 5u);
  EXPECT_EQ(received.batches[0], Bytes("AT\r"));
  EXPECT_EQ(received.batches[1], Bytes("\nOK\r\n"));
  EXPECT_EQ(received.batches[2].size(), 1000u);
  EXPECT_EQ(received.batches[4].size(), 500u);

  // At most 1000 keys wait; a turn sends them all in order.
  for (int i = 0; i < 1005; ++i) keys.Push(static_cast<uint8_t>('a' + i % 26));
  EXPECT_EQ(keys.size(), kKeyQueueSize);
  reader.Turn();
  EXPECT_EQ(line->Written().size(), kKeyQueueSize);
  EXPECT_EQ(line->Written()[25], 'z');
  EXPECT_EQ(keys.size(), 0u);

  // One hand-over per CTS change, none while it stays.
  line->SetCts(true);
  reader.Turn();
  reader.Turn();
  line->SetCts(false);
  reader.Turn();
  EXPECT_EQ(received.cts, (std::vector<bool>{true, false}));
  CloseComPort(port);
}

TEST_F(TerminalTest, DeviceOperationsBorrowThePortWhileDataFlows) {
  Terminal terminal(port, FixedTime);
  ASSERT_TRUE(terminal.SwitchOn(messenger, received.Hooks()));
  line->Send(Bytes("hello"));
  ASSERT_TRUE(WaitFor([&] { return received.Bytes() == 5; }));
  {
    const std::lock_guard<std::mutex> lock(line->mutex);
    line->endless = true;
  }
  // Each lending waits for the reader's read in flight; none starts while lent.
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(kPortOpened, OpenComPort(port, messenger));
    EXPECT_TRUE(port.PortLent);
    terminal.Type('k');
    std::this_thread::sleep_for(std::chrono::microseconds(300));
    CloseComPort(port);
    EXPECT_TRUE(port.IsOpen());
    std::this_thread::sleep_for(std::chrono::microseconds(700 + 97 * (i % 11)));  // lend mid-batch
  }
  EXPECT_EQ(line->opened, 1);
  // Given back, the reader goes on reading and sends what was typed.
  const size_t before = received.Bytes();
  ASSERT_TRUE(WaitFor([&] { return received.Bytes() > before && line->Written().size() == 100; }));
  EXPECT_EQ(line->Written(), std::vector<uint8_t>(100, 'k'));

  // Switching off while data flows joins the reader and closes the port.
  terminal.SwitchOff();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.TerminalOn);
  const size_t after = received.Bytes();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(received.Bytes(), after);
  EXPECT_EQ(line->misuse, 0);
  // Off, typing queues nothing.
  terminal.Type('q');
  EXPECT_EQ(terminal.keys().size(), 0u);
}

TEST_F(TerminalTest, ShutdownStopsTheReaderBeforeEndingTheCapture) {
  const std::string path = TempFile("shutdown.cap");
  {
    Terminal terminal(port, FixedTime);
    ASSERT_TRUE(terminal.SwitchOn(messenger, received.Hooks()));
    ASSERT_TRUE(terminal.capture().Start(path, CaptureLog::Mode::kReplace));
    {
      const std::lock_guard<std::mutex> lock(line->mutex);
      line->endless = true;
    }
    terminal.CtsChanged(true);
    terminal.Shutdown();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(terminal.capture().on());
  }
  EXPECT_EQ(FileText(path),
            "\n[Capture: 05.03.2024 09:07:03]\n\n[Cts On: 09:07:03]\n\n[End: 05.03.2024 09:07:03]\n");
  std::remove(path.c_str());
}

TEST(CaptureFileTest, AppendReplaceAndUnopenableFiles) {
  const std::string path = TempFile("append.cap");
  {
    std::ofstream(path, std::ios::binary) << "old";
  }
  CaptureLog log(FixedTime);
  ASSERT_TRUE(log.Start(path, CaptureLog::Mode::kAppend));
  log.Stop();
  EXPECT_EQ(FileText(path).rfind("old\n[Capture: ", 0), 0u);
  ASSERT_TRUE(log.Start(path, CaptureLog::Mode::kReplace));
  log.Stop();
  EXPECT_EQ(FileText(path).rfind("\n[Capture: ", 0), 0u);
  EXPECT_FALSE(log.Start(TempFile("no/such/dir.cap"), CaptureLog::Mode::kReplace));
  EXPECT_FALSE(log.on());
  std::remove(path.c_str());
}

TEST(CaptureFileTest, MemoTextAndFileNames) {
  const std::string path = TempFile("memo.cap");
  ASSERT_TRUE(SaveMemoText(path, "AT\nOK\n\xCF\xF0\xE8"));
  EXPECT_EQ(FileText(path), "AT\r\nOK\r\n\xCF\xF0\xE8\r\n");
  std::remove(path.c_str());
  EXPECT_FALSE(SaveMemoText(TempFile("no/such/dir.cap"), "x"));
  EXPECT_EQ(WithExtension("/tmp/log", ".cap"), "/tmp/log.cap");
  EXPECT_EQ(WithExtension("/tmp/log.txt", ".cap"), "/tmp/log.txt");
  EXPECT_EQ(WithExtension("/tmp/v1.2/log", ".cap"), "/tmp/v1.2/log.cap");
  EXPECT_EQ(WithExtension("C:\\fw\\new", ".hwr"), "C:\\fw\\new.hwr");
}

}  // namespace
}  // namespace vorsin
