// Programs a large configuration into pkd-sim emulating a 115200-baud line and
// reads it back, and compares the time taken with the protocol's floor: every
// frame the simulator logged, both ways, on the wire at 10 bits a byte, plus
// the 2 ms pause after each request.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <vector>

#include "../tests/link/sim_process.h"
#include "bench_support.h"
#include "image/device_io.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/loops.h"

namespace {

using namespace vorsin;
using bench::PrintingMessenger;

constexpr int kBaud = 115200;
constexpr int kRuns = 3;

void UseTable(Workspace& ws, int loop, int index) {
  TrimLoopEvents(ws, loop, ws.config.general.intervalIndex(loop));
  ws.config.general.intervalIndex(loop) = static_cast<uint8_t>(index);
  GrowLoopEvents(ws, loop);
  FillLoopEvents(ws, loop);
}

// 8 addressees with 3 phones each, 32 users, the loops on their largest
// tables, 60 SMS strings, 100 substrings, 40 time events.
void FillLarge(Workspace& ws) {
  Configuration& c = ws.config;
  c.addressees.clear();
  for (int a = 0; a < kMaxAddressees; ++a) {
    Addressee addressee;
    addressee.autoNumber = a + 1;
    addressee.name = Cp("Адресат ") + std::to_string(a + 1) + Cp(" пульт");
    for (int p = 0; p < 3; ++p) {
      AddresseePhone phone;
      phone.autoNumber = p + 1;
      phone.name = Cp("Телефон ") + std::to_string(p + 1);
      phone.phoneNumber = "89" + std::to_string(10000000 + a * 100 + p);
      phone.cellPrefix = "8";
      phone.formats = 0x31;
      addressee.phones.push_back(phone);
    }
    c.addressees.push_back(addressee);
  }
  c.users.assign(1, DefaultUser());
  bench::AddNumberedUsers(c, 1, kMaxUsers);
  UseTable(ws, 0, 6);
  UseTable(ws, 1, 6);
  c.general.loopFlags(2) = 0x01;
  UseTable(ws, 2, 7);
  UseTable(ws, 3, 8);
  for (auto& e : c.events) e.w[9] = 0xFF;
  c.smsStrings.clear();
  for (int k = 0; k < 60; ++k)
    c.smsStrings.push_back({{}, Cp("Событие ") + std::to_string(k) + Cp(": %s[1] зона %(insEvZone) в %(insHours):%(insMin)")});
  c.smsSubStrings.clear();
  for (int n = 0; n < 100; ++n) c.smsSubStrings.push_back({{}, "Substring number " + std::to_string(n)});
  c.timeEvents.clear();
  for (int t = 0; t < 40; ++t) c.timeEvents.push_back(TimeEvent{{0, t % 28, t % 24, t, 2 + t % 20}, ""});
}

struct Floor {
  double wireMs = 0;   // every frame both ways
  double pauseMs = 0;  // 2 ms after each request
  double tightMs = 0;  // the pause overlapping the request's own wire time
  size_t requests = 0;
  Floor operator-(const Floor& o) const {
    return {wireMs - o.wireMs, pauseMs - o.pauseMs, tightMs - o.tightMs, requests - o.requests};
  }
};

size_t Bytes(const std::string& line) {
  std::istringstream in(line.substr(2));
  size_t n = 0;
  for (std::string h; in >> h;) ++n;
  return n;
}

// The frames the simulator logged, in order: requests ("> ") and replies ("< ").
Floor FloorFromLog(const std::string& path) {
  Floor f;
  const double byteMs = 10.0 * 1000.0 / kBaud;
  double requestMs = 0;
  for (const auto& line : testing::LogLines(path, "")) {
    if (line.rfind("> ", 0) == 0) {
      requestMs = double(Bytes(line)) * byteMs;
      f.wireMs += requestMs;
      f.pauseMs += 2.0;
      f.tightMs += std::max(2.0, requestMs);
      ++f.requests;
    } else if (line.rfind("< ", 0) == 0) {
      const double replyMs = double(Bytes(line)) * byteMs;
      f.wireMs += replyMs;
      f.tightMs += replyMs;
    }
  }
  return f;
}

}  // namespace

int main() {
  Vocabulary vocabulary(std::string(VORSIN_BIN_DIR) + "/RorEdad.ini");
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  FillLarge(ws);
  PrintingMessenger messenger;
  SilentProgress progress;
  ProgramOptions options;
  options.clock = [] { return image::Stamp{2024, 6, 1, 12, 0, 0}; };

  std::vector<double> program, read;
  Floor programFloor, readFloor;
  for (int run = 0; run < kRuns; ++run) {
    const std::string log = testing::TempPath("bench_image.log");
    std::remove(log.c_str());
    testing::SimProcess sim({"--baud", std::to_string(kBaud), "--log", log});
    if (!sim.ok()) {
      std::fprintf(stderr, "%s\n", sim.error().c_str());
      return 1;
    }
    ComPort port;
    port.portName = sim.path();
    port.speed = kBaud;

    auto start = std::chrono::steady_clock::now();
    if (ProgramDevice(ws, port, options, messenger, progress) != 0) return 1;
    program.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    programFloor = FloorFromLog(log);

    Workspace back;
    ResetToDefaults(back, vocabulary);
    ReadResult result;
    start = std::chrono::steady_clock::now();
    if (ReadDevice(back, vocabulary, port, ReadOptions{}, messenger, progress, result) != 0) return 1;
    read.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    const Floor both = FloorFromLog(log);
    readFloor = both - programFloor;
    if (back.config.addressees.size() != ws.config.addressees.size() || back.config.users != ws.config.users) {
      std::fprintf(stderr, "the configuration read back differs\n");
      return 1;
    }
    sim.Stop();
    std::remove(log.c_str());
  }
  std::sort(program.begin(), program.end());
  std::sort(read.begin(), read.end());
  const double p = program[kRuns / 2], r = read[kRuns / 2];
  const double pf = programFloor.wireMs + programFloor.pauseMs, rf = readFloor.wireMs + readFloor.pauseMs;
  std::printf("large configuration at %d baud, median of %d runs\n", kBaud, kRuns);
  std::printf("program: %.1f ms, floor %.1f ms (wire %.1f + %zu pauses %.1f), ratio %.3f\n", p, pf,
              programFloor.wireMs, programFloor.requests, programFloor.pauseMs, p / pf);
  std::printf("read:    %.1f ms, floor %.1f ms (wire %.1f + %zu pauses %.1f), ratio %.3f\n", r, rf,
              readFloor.wireMs, readFloor.requests, readFloor.pauseMs, r / rf);
  std::printf("both:    %.1f ms, floor %.1f ms, ratio %.3f (target <= 1.10)\n", p + r, pf + rf, (p + r) / (pf + rf));
  const double tight = programFloor.tightMs + readFloor.tightMs;
  std::printf("ratio to the overlapped bound (pause during the request's wire time): %.3f (%.1f ms)\n",
              (p + r) / tight, tight);
  return 0;
}
