// Writes a configuration's blocks into pkd-sim emulating a 115200-baud line,
// then times reading those blocks back plainly (each as written, 200 bytes
// a frame) against verifying them (read back and compared). Verification
// may cost at most 1.1 times the plain read.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "../tests/link/sim_process.h"
#include "bench_support.h"
#include "image/device_io.h"
#include "image/image_check.h"
#include "image/image_writer.h"
#include "model/cp1251.h"
#include "model/defaults.h"

namespace {

using namespace vorsin;
using bench::PrintingMessenger;

constexpr int kBaud = 115200;
constexpr int kRuns = 5;

double Ms(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
  Vocabulary vocabulary(std::string(VORSIN_BIN_DIR) + "/RorEdad.ini");
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  Configuration& c = ws.config;
  c.smsStrings.clear();
  for (int k = 0; k < 40; ++k)
    c.smsStrings.push_back(
        {{}, Cp("Событие ") + std::to_string(k) + Cp(": зона %(insEvZone) в %(insHours):%(insMin)")});

  testing::SimProcess sim({"--baud", std::to_string(kBaud)});
  if (!sim.ok()) {
    std::fprintf(stderr, "%s\n", sim.error().c_str());
    return 1;
  }
  ComPort port;
  port.portName = sim.path();
  port.speed = kBaud;
  PrintingMessenger messenger;
  SilentProgress progress;
  AddressTable table;
  if (OpenComPort(port, messenger) != 0 || TakeAccess(port, messenger, "") != 0 ||
      ReadAddressTable(port, messenger, table) != 0)
    return 1;
  image::ImageParams params;
  params.stamp = image::Stamp{2024, 6, 1, 12, 0, 0};
  const image::PreparedImage prepared = image::PrepareForImage(c);
  const image::ImagePlan plan = image::BuildImage(prepared.config, ws.codeDefinitions, table, params, messenger);
  size_t bytes = 0;
  for (const auto& b : plan.blocks) {
    if (WriteRange(port, messenger, progress, b.address, b.bytes.size(), b.bytes.data()) != 0) return 1;
    bytes += b.bytes.size();
  }

  std::vector<double> plain, verify;
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    for (const auto& b : plan.blocks) {
      std::vector<uint8_t> back(b.bytes.size());
      if (ReadRange(port, messenger, progress, back.data(), b.address, back.size()) != 0) return 1;
    }
    plain.push_back(Ms(start));
    image::VerifyOutcome outcome;
    start = std::chrono::steady_clock::now();
    if (VerifyWritten(port, messenger, progress, plan.blocks, plan.table, outcome) != 0) return 1;
    verify.push_back(Ms(start));
    if (!outcome.equal) {
      std::fprintf(stderr, "%s\n", ToUtf8(image::VerifyMessage(outcome)).c_str());
      return 1;
    }
  }
  CloseComPort(port);
  std::sort(plain.begin(), plain.end());
  std::sort(verify.begin(), verify.end());
  const double p = plain[kRuns / 2], v = verify[kRuns / 2];
  std::printf("%zu bytes in %zu written blocks at %d baud, median of %d runs\n", bytes, plan.blocks.size(), kBaud,
              kRuns);
  std::printf("plain read of the blocks: %.1f ms\nverification:             %.1f ms\n", p, v);
  std::printf("ratio %.3f (target <= 1.10)\n", v / p);
  return v <= 1.1 * p ? 0 : 1;
}
