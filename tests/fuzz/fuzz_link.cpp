// The device's side of the conversation is the fuzz input: a scripted line
// serves it as the replies to a run of device operations, so hostile,
// partial, late and missing replies all reach the link.
//
// Input: five header bytes, then the reply stream.
//   h[0]          the operation the run starts with (they run round-robin)
//   h[1] bits 0-1 which step of the next reopening fails (0 none, 1 open,
//                 2 read settings, 3 apply settings)
//        bit 2    the terminal holds the port (operations borrow it)
//        bits 3-4 low bits of the chosen range's length
//   h[2], h[3]    the chosen range's address (high, low)
//   h[4]          the chosen range's length / 4
// Every Read takes one control byte from the stream: 0 serves all the bytes
// asked for, c > 0 at most c - 1 of them (1 is a timeout). A well-formed
// seed is therefore "00 <3 header bytes> 00 <L + 2 body bytes>" per reply;
// the run stops starting operations once the stream is used up.
#include <time.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "link/com_port.h"
#include "link/device_commands.h"
#include "link/frame.h"
#include "link/transaction.h"
#include "model/cp1251.h"
#include "model/messenger.h"

// The link pauses a few ms around each exchange to let a real line settle;
// against the scripted line that only slows the fuzzer a hundredfold, so
// short sleeps return at once here. Longer ones (libFuzzer's own) still sleep.
extern "C" int nanosleep(const struct timespec* req, struct timespec* rem) {
  if (req && req->tv_sec == 0 && req->tv_nsec <= 20'000'000) return 0;
  return static_cast<int>(syscall(SYS_nanosleep, req, rem));
}

namespace {

using namespace vorsin;
using Bytes = std::vector<uint8_t>;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

const std::string kPortName = "fuzz-line";

// The byte the tool is expected to write at an EEPROM address.
uint8_t SourceByte(uint32_t address) { return static_cast<uint8_t>(address * 7 + 3); }

struct Line {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t at = 0;
  int failOpenStep = 0;  // consumed by the next opening
  Bytes served;          // the reply to the last request, as read

  bool UsedUp() const { return at >= size; }
};

// A request frame the tool wrote must be well formed and stay inside the
// device's memory; written data must be the caller's.
void CheckRequest(const uint8_t* data, size_t n) {
  if (n == kLeaveCount && std::all_of(data, data + n, [](uint8_t b) { return b == kLeaveByte; }))
    return;
  Check(n >= kFrameOverhead && data[0] == kFrameStart);
  const size_t length = data[1];
  Check(length >= 1 && n == length + 5 && data[2] == (length ^ 0xFF));
  const uint16_t sum = FrameChecksum(std::span<const uint8_t>(data, length + 3));
  Check(data[n - 2] == (sum >> 8) && data[n - 1] == (sum & 0xFF));
  const uint8_t code = data[3];
  const uint8_t* payload = data + 4;
  const size_t payloadSize = length - 1;
  if (code == kCmdReadEeprom || code == kCmdWriteEeprom) {
    Check(payloadSize >= 3);
    const uint32_t address = payload[0] << 8 | payload[1];
    const size_t count = payload[2];
    if (code == kCmdReadEeprom) {
      Check(payloadSize == 3 && count >= 1 && count <= kReadChunk);
      Check(address + count <= 0x10000);
    } else {
      Check(payloadSize == 3 + count && count >= 1 && count <= kWriteChunk);
      Check(address + count <= kEepromLimit);
      for (size_t i = 0; i < count; ++i)
        Check(payload[3 + i] == SourceByte(address + static_cast<uint32_t>(i)));
    }
  } else {
    Check(code == kCmdTakeAccess || code == kCmdAddressTable || code == kCmdReadTouchKey ||
          code == kCmdRestart);
  }
}

class FuzzLine final : public SerialPort {
 public:
  explicit FuzzLine(Line& line) : line_(line) {}
  bool Open(const std::string& name) override {
    Check(name == kPortName);
    return open_ = Step(1);
  }
  bool IsOpen() const override { return open_; }
  bool ReadSettings() override { return Step(2); }
  bool ApplySettings(int baud) override {
    const bool ok = Step(3);
    line_.failOpenStep = 0;
    if (ok) baud_ = baud;
    return ok;
  }
  int Baud() const override { return baud_; }
  void Purge() override {}
  void SetTimeouts(const SerialTimeouts&) override {}
  size_t Read(uint8_t* dest, size_t k) override {
    Check(open_);
    if (line_.UsedUp()) return 0;
    const uint8_t control = line_.data[line_.at++];
    size_t n = control == 0 ? k : std::min<size_t>(k, control - 1u);
    n = std::min(n, line_.size - line_.at);
    // Write every byte the caller may fill, so ASan sees a short buffer.
    if (n > 0) std::memcpy(dest, line_.data + line_.at, n);
    line_.served.insert(line_.served.end(), line_.data + line_.at, line_.data + line_.at + n);
    line_.at += n;
    return n;
  }
  size_t Write(const uint8_t* data, size_t n) override {
    Check(open_);
    CheckRequest(data, n);
    line_.served.clear();
    return n;
  }
  bool Cts() override { return false; }
  void Close() override { open_ = false; }

 private:
  bool Step(int step) {
    if (line_.failOpenStep != step) return true;
    line_.failOpenStep = 0;
    return false;
  }
  Line& line_;
  bool open_ = false;
  int baud_ = 0;
};

const std::set<std::string>& KnownTexts() {
  static const std::set<std::string> texts = [] {
    std::set<std::string> t{
        Cp("Отсутствие связи с устройством"),
        Cp("Ошибка: получен неверный ответ"),
        Cp("Ошибка: полученно меньше байт чем запрошено"),
        Cp("Переполнение памяти"),
        Cp("Не удаётся обнаружить ") + kPortName +
            Cp("\nВозможно ресурс используется другой программой."),
        Cp("Ошибка в конфигурирование COM - порта!"),
    };
    const char* prefixes[] = {"TakeAccess: ", "ReadEEPROM: ", "WriteEEPROM: ", "AddressTable: ",
                              "??? : "};
    const std::string subs[] = {Cp("неизвестная комманда"),
                                Cp("недопустимые параметры комманды"),
                                Cp("комманда недопустима в текушем режиме работы"),
                                Cp("неверный пароль или оштбка доступа"),
                                Cp("ошибка таблицы адресации"), "?"};
    for (const char* p : prefixes)
      for (const auto& s : subs) t.insert(p + s);
    return t;
  }();
  return texts;
}

class CheckingMessenger final : public Messenger {
 public:
  int shown = 0;
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons) override {
    Check(KnownTexts().count(text) == 1);
    Check(caption == CaptionError() && icon == Icon::Error);
    ++shown;
    return kAnswerOk;
  }
};

// Records, at each chunk a read accepts, the data bytes of the reply the
// line served for it: what the range must hold afterwards.
class ChunkProgress final : public Progress {
 public:
  explicit ChunkProgress(const Line& line) : line_(line) {}
  bool reading = false;
  Bytes expected;
  size_t advanced = 0;
  void SetMaximum(int) override {}
  void SetPosition(int) override {}
  void Advance(int by) override {
    Check(by > 0);
    const auto n = static_cast<size_t>(by);
    advanced += n;
    if (!reading) return;
    const Bytes& r = line_.served;
    // Header, code, one unused byte, the data, the checksum; after a reply
    // that came late the link also reads the line out, and those bytes follow.
    Check(r.size() >= n + 7 && r[1] == n + 2 && r[3] == kReplyRead);
    expected.insert(expected.end(), r.begin() + 5, r.begin() + 5 + static_cast<ptrdiff_t>(n));
  }
  void Breathe() override {}

 private:
  const Line& line_;
};

struct Run {
  Line& line;
  ComPort& port;
  CheckingMessenger messenger;

  // One operation: 0 or 1, nothing shown on success, at most one message.
  void Judge(int result, int shownBefore) {
    Check(result == 0 || result == 1);
    const int shown = messenger.shown - shownBefore;
    Check(result == 0 ? shown == 0 : shown <= 1);
  }

  void ReadRangeAt(uint32_t address, size_t length) {
    ChunkProgress progress(line);
    progress.reading = true;
    // Exactly the requested size, so ASan catches any byte past it.
    auto dest = std::make_unique<uint8_t[]>(length == 0 ? 1 : length);
    const int before = messenger.shown;
    const int result = ReadRange(port, messenger, progress, dest.get(), address, length);
    Judge(result, before);
    Check(progress.advanced <= length);
    if (address + length > 0x10000) Check(result == 1 && progress.advanced == 0);
    if (result == 0) {
      Check(progress.advanced == length && progress.expected.size() == length);
      Check(length == 0 || std::memcmp(dest.get(), progress.expected.data(), length) == 0);
    }
  }

  void WriteRangeAt(uint32_t address, size_t length) {
    ChunkProgress progress(line);
    Bytes source(length);
    for (size_t i = 0; i < length; ++i) source[i] = SourceByte(address + static_cast<uint32_t>(i));
    const int before = messenger.shown;
    const int result = WriteRange(port, messenger, progress, address, length, source.data());
    Judge(result, before);
    Check(progress.advanced <= length);
    if (address + length > kEepromLimit) Check(result == 1 && progress.advanced == 0);
    if (result == 0) Check(progress.advanced == length);
  }

  void TableOp() {
    AddressTable table;
    const int before = messenger.shown;
    const int result = ReadAddressTable(port, messenger, table);
    Judge(result, before);
    if (result == 0) {
      const Bytes& r = line.served;
      Check(r.size() == kTableBytes + 7 && r[3] == kReplyRead);
      Check(std::equal(table.bytes.begin(), table.bytes.end(), r.begin() + 5));
    }
  }

  void TouchKeyOp() {
    std::array<uint8_t, kTouchKeyLength> key{};
    const int before = messenger.shown;
    const int result = ReadTouchKey(port, messenger, key);
    // Waiting for a key says nothing; no link and a refusal say it once.
    Check(result >= kKeyRead && result <= kKeyRefused);
    const int shown = messenger.shown - before;
    Check(result == kKeyRead || result == kKeyWaiting ? shown == 0 : shown <= 1);
    if (result == 0) {
      const Bytes& r = line.served;
      Check(r.size() == kTouchKeyLength + 6 && r[3] == kReplyTouchKey);
      Check(std::equal(key.begin(), key.end(), r.begin() + 4));
    }
  }

  void Simple(const std::function<int()>& op) {
    const int before = messenger.shown;
    Judge(op(), before);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 5;
  if (size < kHeader) return 0;
  Line line;
  line.data = data + kHeader;
  line.size = size - kHeader;

  ComPort port;
  port.portName = kPortName;
  port.makePort = [&line] { return std::make_unique<FuzzLine>(line); };
  Run run{line, port, {}};
  Check(OpenComPort(port, run.messenger) == kPortOpened);
  line.failOpenStep = data[1] & 3;
  if (data[1] & 4) port.TerminalOn = true;

  const uint32_t chosenAddress = data[2] << 8 | data[3];
  const size_t chosenLength = data[4] * 4u + (data[1] >> 3 & 3);

  const std::function<void()> ops[] = {
      [&] { run.Simple([&] { return TakeAccess(port, run.messenger, "123456"); }); },
      [&] { run.TableOp(); },
      [&] { run.ReadRangeAt(0x0100, 450); },
      [&] { run.ReadRangeAt(0x7F00, 0x100); },  // ends at the EEPROM's end
      [&] { run.ReadRangeAt(0x7FF0, 0x20); },   // reads may go past it
      [&] { run.ReadRangeAt(0xFF38, 200); },    // ends at the last address
      [&] {
        run.ReadRangeAt(0xFFFF, 1);
        run.ReadRangeAt(0xFFFF, 2);  // would wrap: refused without a request
        run.ReadRangeAt(0x1234, 0);
      },
      [&] { run.ReadRangeAt(chosenAddress, chosenLength); },
      [&] { run.WriteRangeAt(0x0000, 120); },
      [&] {
        run.WriteRangeAt(0x8000 - kWriteChunk, kWriteChunk);
        run.WriteRangeAt(0x7FFF, 2);  // refused without a request
      },
      [&] { run.WriteRangeAt(chosenAddress, chosenLength); },
      [&] { run.TouchKeyOp(); },
      [&] { run.Simple([&] { return RestartDevice(port, run.messenger, "0000"); }); },
      [&] { run.Simple([&] { return LeaveProgramming(port, run.messenger); }); },
  };
  constexpr size_t kOps = std::size(ops);
  for (size_t i = 0; i < kOps && !line.UsedUp(); ++i) {
    // Restart and leave close the port; the next operation opens it again
    // (the opening may fail as the header says, and then the link has no line).
    if (!port.IsOpen()) {
      const int before = run.messenger.shown;
      const int opened = OpenComPort(port, run.messenger);
      Check(run.messenger.shown - before == (opened == kPortOpened ? 0 : 1));
    }
    ops[(data[0] + i) % kOps]();
  }
  CloseComPort(port);
  port.TerminalOn = false;
  CloseComPort(port);
  return 0;
}
