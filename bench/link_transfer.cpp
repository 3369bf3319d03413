// Writes and reads 4,000 bytes through the chunked range commands against
// pkd-sim emulating a 115200-baud line, and compares the time taken with the
// protocol's floor: every byte on the wire both ways at 10 bits, plus the
// 2 ms pause after each request.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "../tests/link/sim_process.h"
#include "link/device_commands.h"
#include "model/messenger.h"

namespace {

class QuietMessenger final : public vorsin::Messenger {
 public:
  int Show(const std::string& text, const std::string&, vorsin::Icon, vorsin::Buttons) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return vorsin::kAnswerOk;
  }
};

constexpr int kBaud = 115200;
constexpr size_t kBytes = 4000;
constexpr uint32_t kAddress = 0x1000;
constexpr int kRuns = 5;

struct Floor {
  double wireMs = 0;   // all frames both ways
  double pauseMs = 0;  // the pause after each request
  double tightMs = 0;  // per exchange, the pause and the wire time overlap
};

Floor ProtocolFloor() {
  Floor f;
  const double byteMs = 10.0 * 1000.0 / kBaud;
  auto exchange = [&](size_t requestBytes, size_t replyBytes) {
    const double wire = double(requestBytes + replyBytes) * byteMs;
    f.wireMs += wire;
    f.pauseMs += 2.0;
    f.tightMs += std::max(2.0, wire);
  };
  for (size_t left = kBytes; left > 0;) {
    const size_t n = std::min(left, vorsin::kWriteChunk);
    exchange(6 + 3 + n, 6);  // WriteEEPROM and its acknowledgement
    left -= n;
  }
  for (size_t left = kBytes; left > 0;) {
    const size_t n = std::min(left, vorsin::kReadChunk);
    exchange(6 + 3, 6 + 1 + n);  // ReadEEPROM and the data reply
    left -= n;
  }
  return f;
}

}  // namespace

int main() {
  vorsin::testing::SimProcess sim({"--baud", std::to_string(kBaud)});
  if (!sim.ok()) {
    std::fprintf(stderr, "%s\n", sim.error().c_str());
    return 1;
  }
  vorsin::ComPort port;
  port.portName = sim.path();
  port.speed = kBaud;
  QuietMessenger messenger;
  vorsin::SilentProgress progress;
  if (vorsin::OpenComPort(port, messenger) != 0 || vorsin::TakeAccess(port, messenger, "") != 0)
    return 1;

  std::vector<uint8_t> data(kBytes), back(kBytes);
  for (size_t i = 0; i < kBytes; ++i) data[i] = static_cast<uint8_t>(i * 31 + 7);
  const Floor floor = ProtocolFloor();
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    if (vorsin::WriteRange(port, messenger, progress, kAddress, kBytes, data.data()) != 0 ||
        vorsin::ReadRange(port, messenger, progress, back.data(), kAddress, kBytes) != 0)
      return 1;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (back != data) {
      std::fprintf(stderr, "data read back differs\n");
      return 1;
    }
    times.push_back(took.count());
  }
  vorsin::CloseComPort(port);
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  const double floorMs = floor.wireMs + floor.pauseMs;
  std::printf("4000 bytes written and read at %d baud, median of %d runs: %.1f ms\n", kBaud, kRuns,
              median);
  std::printf("floor: wire %.1f ms + pauses %.1f ms = %.1f ms\n", floor.wireMs, floor.pauseMs,
              floorMs);
  std::printf("ratio to floor: %.3f (target <= 1.10)\n", median / floorMs);
  std::printf("ratio to overlapped bound (pause during the reply's wire time): %.3f\n",
              median / floor.tightMs);
  return 0;
}
