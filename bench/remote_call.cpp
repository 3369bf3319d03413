// Programming and reading a rich configuration over an emulated GSM data
// call: pkd-sim's modem at 9600 bit/s, 150 +- 50 ms one way. Every run of
// the loop must succeed; the time of each is set against the protocol's
// floor over a call: every byte on the wire both ways plus one round trip
// (2 x 150 ms) per exchange. Target: ratio <= 1.2.
//
//   bench_remote_call [RUNS]   (default 20)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "../tests/link/cut_line.h"
#include "../tests/link/sim_process.h"
#include "bench_support.h"
#include "image/device_io.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "tools/modem_dial.h"

namespace {

using namespace vorsin;
using bench::PrintingMessenger;

constexpr int kCallBaud = 9600;
constexpr int kLatencyMs = 150;

// Counts what crosses the line while a measurement runs.
struct Counts {
  bool on = false;
  size_t writes = 0;
  size_t bytes = 0;
};

class CountingPort final : public testing::PassingLine {
 public:
  CountingPort(std::unique_ptr<SerialPort> line, Counts& counts) : PassingLine(std::move(line)), counts_(counts) {}
  size_t Read(uint8_t* dest, size_t k) override {
    const size_t n = inner_->Read(dest, k);
    if (counts_.on) counts_.bytes += n;
    return n;
  }
  size_t Write(const uint8_t* data, size_t n) override {
    const size_t sent = inner_->Write(data, n);
    if (counts_.on) {
      ++counts_.writes;  // one request frame per exchange
      counts_.bytes += sent;
    }
    return sent;
  }

 private:
  Counts& counts_;
};

// The shipped defaults (SMS strings included) with addressees, users and
// numbers filled in.
void FillRich(Workspace& ws) {
  Configuration& c = ws.config;
  c.pinCode = "1234";
  c.ownNumber = "+79161234567";
  c.smsCentre = "+79020000111";
  c.workPhones = {"89031112233", "???", "", "*#0", "+7", "", "", "0"};
  for (int a = 0; a < 3; ++a) {
    Addressee addressee;
    addressee.autoNumber = a + 1;
    addressee.name = Cp("Пульт ") + std::to_string(a + 1);
    AddresseePhone phone;
    phone.autoNumber = 1;
    phone.name = Cp("Дежурный");
    phone.phoneNumber = "916" + std::to_string(1000000 + a);
    phone.formats = 0x31;
    addressee.phones.push_back(phone);
    c.addressees.push_back(addressee);
  }
  bench::AddNumberedUsers(c, 1, 8);
  for (auto& e : c.events) e.w[9] = 0xC0;
}

double Ms(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  Vocabulary vocabulary(std::string(VORSIN_BIN_DIR) + "/RorEdad.ini");
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  FillRich(ws);

  testing::SimProcess sim({"--modem", "--modem-dial-ms", "300", "--modem-latency", std::to_string(kLatencyMs),
                           "--modem-jitter", "50"});
  if (!sim.ok()) {
    std::fprintf(stderr, "%s\n", sim.error().c_str());
    return 1;
  }
  Counts counts;
  ComPort port;
  port.portName = sim.path();
  port.speed = kCallBaud;
  port.makePort = [&counts] { return std::make_unique<CountingPort>(MakeSerialPort(), counts); };
  PrintingMessenger messenger;
  SilentProgress progress;
  HeldCall call(port);
  DialOptions dial;
  dial.number = "89031112233";
  if (call.Dial(messenger, dial, progress) != 0) return 1;

  std::vector<double> ratios, seconds;
  int failures = 0;
  for (int run = 0; run < runs; ++run) {
    counts = Counts{true};
    const auto start = std::chrono::steady_clock::now();
    ProgramOptions options;
    options.clock = [] { return image::Stamp{2025, 1, 2, 3, 4, 5}; };
    Workspace programmed = ws;
    Workspace back;
    ResetToDefaults(back, vocabulary);
    ReadResult result;
    const bool ok = ProgramDevice(programmed, port, options, messenger, progress) == 0 &&
                    ReadDevice(back, vocabulary, port, ReadOptions{}, messenger, progress, result) == 0 &&
                    back.config.ownNumber == ws.config.ownNumber && back.config.users == ws.config.users;
    const double took = Ms(start);
    counts.on = false;
    if (!ok) {
      ++failures;
      std::fprintf(stderr, "run %d failed\n", run + 1);
      continue;
    }
    const double floorMs = WireMs(counts.bytes, kCallBaud) + double(counts.writes) * 2 * kLatencyMs;
    ratios.push_back(took / floorMs);
    seconds.push_back(took / 1000);
    std::printf("run %2d: %.1f s, %zu exchanges, %zu bytes, floor %.1f s, ratio %.3f\n", run + 1, took / 1000,
                counts.writes, counts.bytes, floorMs / 1000, took / floorMs);
    std::fflush(stdout);
  }
  call.Release();
  if (ratios.empty()) return 1;
  std::sort(ratios.begin(), ratios.end());
  std::printf("%d runs, %d failed; ratio to (wire + round trip per exchange): median %.3f, worst %.3f "
              "(target <= 1.2)\n",
              runs, failures, ratios[ratios.size() / 2], ratios.back());
  return failures == 0 && ratios.back() <= 1.2 ? 0 : 1;
}
