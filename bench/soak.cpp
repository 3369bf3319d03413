// Program-then-read cycles of a rich configuration against pkd-sim on a noisy
// line: dropped replies, spoiled checksums, retry requests and slow EEPROM
// writes, mixed differently in every cycle, at each line speed given.
//
//   bench_soak [CYCLES] [--speeds 115200,9600] [--limit SECONDS] [--seed N]
//              [--faults "--drop-every 49 --write-latency 72"]   (one mix for all)
//
// Every cycle must end either in success with the device holding exactly what
// a clean run leaves and the read-back equal to what was programmed, or in a
// failure the user was told about (a message and a non-zero status). Each
// cycle runs in a child process under a time limit, so a hang is counted
// instead of stopping the run. Exits 1 on any wrong content, silent failure
// or hang.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/image/image_test_support.h"
#include "../tests/link/sim_process.h"
#include "image/device_io.h"
#include "model/config_diff.h"
#include "project/project_file.h"

namespace {

using namespace vorsin;
using Memory = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// Keeps the first error the user was shown; questions are answered OK.
class FirstError final : public Messenger {
 public:
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons) override {
    if (icon == Icon::Error && first.empty()) first = ToUtf8(caption) + ": " + ToUtf8(text);
    return kAnswerOk;
  }
  std::string first;
};

// Set by SIGINT and SIGTERM: the cycle under way is abandoned and the counts
// so far are printed.
volatile sig_atomic_t gStop = 0;
void OnStop(int) { gStop = 1; }

// How a cycle ended; the child's exit status.
enum Outcome : int {
  kOk = 0,
  kRefusedProgram = 10,  // programming failed with a message
  kRefusedRead = 11,     // programmed, the read failed with a message
  kWrongRead = 12,       // both reported success, the read-back differs
  kSilent = 13,          // a failure without any message
  kWrongMemory = 14,     // programming reported success, the device holds something else
  kHang = 15,            // the cycle outlasted the time limit
  kBroken = 16,          // the child died otherwise
  kStopped = 17,         // the run was interrupted; not counted
};

const char* Name(int outcome) {
  switch (outcome) {
    case kOk: return "ok";
    case kRefusedProgram: return "refused (program)";
    case kRefusedRead: return "refused (read)";
    case kWrongRead: return "WRONG read-back";
    case kSilent: return "SILENT failure";
    case kWrongMemory: return "WRONG device memory";
    case kHang: return "HANG";
    default: return "CRASH";
  }
}

struct Faults {
  int drop = 0, corrupt = 0, retry = 0, latency = 0;
  std::vector<std::string> Args() const {
    std::vector<std::string> a;
    if (drop) a.insert(a.end(), {"--drop-every", std::to_string(drop)});
    if (corrupt) a.insert(a.end(), {"--corrupt-every", std::to_string(corrupt)});
    if (retry) a.insert(a.end(), {"--retry-first", std::to_string(retry)});
    if (latency) a.insert(a.end(), {"--write-latency", std::to_string(latency)});
    return a;
  }
  std::string Text() const {
    std::string t;
    for (const auto& a : Args()) t += (t.empty() ? "" : " ") + a;
    return t.empty() ? "no faults" : t;
  }
};

// Each fault on in about half the cycles. Mostly within what five tries
// absorb; now and then beyond it (six retry requests, writes slower than the
// reply timeout), where the only right end is a refusal.
Faults Mix(std::mt19937& rng) {
  auto chance = [&](int percent) { return int(rng() % 100) < percent; };
  auto between = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
  Faults f;
  if (chance(55)) f.drop = between(3, 60);
  if (chance(55)) f.corrupt = between(3, 60);
  if (chance(35)) f.retry = chance(85) ? between(1, 4) : between(5, 7);
  if (chance(40)) f.latency = chance(85) ? between(1, 80) : between(90, 140);
  return f;
}

struct Setup {
  Vocabulary vocabulary{image_test::ShippedVocabulary()};
  Workspace written;
  ProgramOptions options;
  Memory referenceMemory;
  std::vector<uint8_t> referenceProject;  // the clean read-back as a project file
};

bool Fatal(int outcome) {
  return outcome != kOk && outcome != kRefusedProgram && outcome != kRefusedRead;
}

// Keeps a cycle's file for a look afterwards under a name of its own.
std::string Kept(const std::string& path, const std::string& kind) {
  static int n = 0;
  const std::string kept = vorsin::testing::TempPath("soak_kept_" + std::to_string(++n) + "." + kind);
  std::rename(path.c_str(), kept.c_str());
  return kept;
}

Memory LoadMemory(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Memory((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ProjectBytes(const Configuration& c) {
  std::vector<uint8_t> out;
  std::string problem;
  if (EncodeProject(c, out, problem) != 0) out.clear();
  return out;
}

// The child's side of a cycle (its own copy of the setup): program, read back, compare. Returns an Outcome;
// the reason goes to `note`.
int RunCycle(Setup& setup, const std::string& portName, int baud, std::string& note) {
  Workspace ws = setup.written;
  ComPort port;
  port.portName = portName;
  port.speed = baud;
  FirstError messenger;
  SilentProgress progress;
  if (ProgramDevice(ws, port, setup.options, messenger, progress) != 0) {
    note = messenger.first;
    return messenger.first.empty() ? kSilent : kRefusedProgram;
  }
  Workspace back;
  ResetToDefaults(back, setup.vocabulary);
  ReadResult result;
  if (ReadDevice(back, setup.vocabulary, port, ReadOptions{}, messenger, progress, result) != 0) {
    note = messenger.first;
    return messenger.first.empty() ? kSilent : kRefusedRead;
  }
  const auto diff = DiffConfigurations(image_test::AsReadBack(ws.config, back, ws.codeDefinitions), back.config);
  if (!diff.empty()) {
    note = diff.front() + (diff.size() > 1 ? " (+" + std::to_string(diff.size() - 1) + " more)" : "");
    return kWrongRead;
  }
  if (ProjectBytes(back.config) != setup.referenceProject) {
    note = "the read-back saves to a different project file than a clean run's";
    return kWrongRead;
  }
  return kOk;
}

struct CycleEnd {
  int outcome = kBroken;
  std::string note;
};

// Runs one cycle in a child process against a fresh simulator with these
// faults; kills it at the time limit.
CycleEnd Cycle(Setup& setup, int baud, const Faults& faults, std::chrono::seconds limit) {
  const std::string image = vorsin::testing::TempPath("soak.eeprom");
  const std::string log = vorsin::testing::TempPath("soak.log");
  std::remove(log.c_str());
  std::vector<std::string> args{"--save", image, "--log", log, "--baud", std::to_string(baud)};
  for (const auto& a : faults.Args()) args.push_back(a);
  vorsin::testing::SimProcess sim(args);
  if (!sim.ok()) return {kBroken, sim.error()};

  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {kBroken, "pipe failed"};
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return {kBroken, "fork failed"};
  if (child == 0) {
    ::close(pipeFds[0]);
    std::string note;
    const int outcome = RunCycle(setup, sim.path(), baud, note);
    (void)!::write(pipeFds[1], note.data(), note.size());
    ::_exit(outcome);  // no destructors: the simulator belongs to the parent
  }
  ::close(pipeFds[1]);

  CycleEnd end;
  const auto deadline = Clock::now() + limit;
  int status = 0;
  bool exited = false;
  while (!exited) {
    pollfd p{pipeFds[0], POLLIN, 0};
    if (::poll(&p, 1, 50) > 0) {
      char buf[512];
      const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
      if (n > 0) end.note.append(buf, size_t(n));
    }
    exited = ::waitpid(child, &status, WNOHANG) == child;
    if (!exited && (gStop || Clock::now() > deadline)) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      ::close(pipeFds[0]);
      sim.Stop();
      std::remove(image.c_str());
      if (gStop) {
        std::remove(log.c_str());
        return {kStopped, ""};
      }
      return {kHang, "no end after " + std::to_string(limit.count()) + " s; frames in " + Kept(log, "log")};
    }
  }
  for (char buf[512];;) {
    const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
    if (n <= 0) break;
    end.note.append(buf, size_t(n));
  }
  ::close(pipeFds[0]);
  end.outcome = WIFEXITED(status) ? WEXITSTATUS(status) : kBroken;
  if (!WIFEXITED(status)) end.note = "child ended by signal " + std::to_string(WTERMSIG(status));

  sim.Stop();  // saves the memory
  const Memory memory = LoadMemory(image);
  // Whenever programming reported success the device must hold what a clean run leaves.
  const bool programmed = end.outcome == kOk || end.outcome == kRefusedRead || end.outcome == kWrongRead;
  if (programmed && memory != setup.referenceMemory) {
    size_t first = 0;
    while (first < memory.size() && first < setup.referenceMemory.size() && memory[first] == setup.referenceMemory[first])
      ++first;
    char where[64];
    std::snprintf(where, sizeof where, "first difference at 0x%04zx", first);
    end = {kWrongMemory, std::string(where) + " after the cycle ended " + Name(end.outcome) +
                             (end.note.empty() ? "" : " (" + end.note + ")")};
  }
  if (Fatal(end.outcome)) {
    end.note += "; memory in " + Kept(image, "eeprom") + ", frames in " + Kept(log, "log");
  } else {
    std::remove(image.c_str());
    std::remove(log.c_str());
  }
  return end;
}

struct Counts {
  std::map<int, int> outcomes;
  std::map<std::string, int> messages;
  double seconds = 0;
  int cycles = 0;
};

}  // namespace

int main(int argc, char** argv) {
  int cycles = 200;
  std::vector<int> speeds{115200, 9600};
  int limitSeconds = 0;  // 0: ten times a clean cycle, at least 60 s
  unsigned seed = 1;
  std::optional<Faults> fixed;  // --faults: the same mix in every cycle
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--speeds" && i + 1 < argc) {
      speeds.clear();
      std::stringstream in(argv[++i]);
      for (std::string s; std::getline(in, s, ',');) speeds.push_back(std::atoi(s.c_str()));
    } else if (a == "--limit" && i + 1 < argc) {
      limitSeconds = std::atoi(argv[++i]);
    } else if (a == "--faults" && i + 1 < argc) {
      fixed.emplace();
      std::stringstream in(argv[++i]);
      for (std::string name, value; in >> name >> value;) {
        int& field = name == "--drop-every" ? fixed->drop
                     : name == "--corrupt-every" ? fixed->corrupt
                     : name == "--retry-first" ? fixed->retry
                     : fixed->latency;
        field = std::atoi(value.c_str());
      }
    } else if (a == "--seed" && i + 1 < argc) {
      seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
    } else if (!a.empty() && a[0] != '-') {
      cycles = std::atoi(a.c_str());
    } else {
      std::fprintf(stderr, "usage: %s [CYCLES] [--speeds 115200,9600] [--limit SECONDS] [--seed N] [--faults \"--drop-every K ...\"]\n", argv[0]);
      return 2;
    }
  }
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGINT, OnStop);
  ::signal(SIGTERM, OnStop);

  Setup setup;
  ResetToDefaults(setup.written, setup.vocabulary);
  image_test::FillRich(setup.written);
  setup.options.clock = [] { return image::Stamp{2025, 1, 2, 3, 4, 5}; };

  // The reference, in this process: an unhurried, faultless line. Its
  // read-back must already equal what was written.
  {
    const std::string image = vorsin::testing::TempPath("soak_ref.eeprom");
    vorsin::testing::SimProcess sim({"--save", image});
    if (!sim.ok()) {
      std::fprintf(stderr, "%s\n", sim.error().c_str());
      return 1;
    }
    ComPort port;
    port.portName = sim.path();
    port.speed = kDefaultSpeed;
    FirstError messenger;
    SilentProgress progress;
    Workspace ws = setup.written, back;
    ResetToDefaults(back, setup.vocabulary);
    ReadResult result;
    if (ProgramDevice(ws, port, setup.options, messenger, progress) != 0 ||
        ReadDevice(back, setup.vocabulary, port, ReadOptions{}, messenger, progress, result) != 0) {
      std::fprintf(stderr, "the clean run failed: %s\n", messenger.first.c_str());
      return 1;
    }
    sim.Stop();
    setup.referenceMemory = LoadMemory(image);
    std::remove(image.c_str());
    const auto diff = DiffConfigurations(image_test::AsReadBack(ws.config, back, ws.codeDefinitions), back.config);
    for (const auto& line : diff) std::fprintf(stderr, "clean read-back differs: %s\n", line.c_str());
    setup.referenceProject = ProjectBytes(back.config);
    if (!diff.empty() || setup.referenceProject.empty() || setup.referenceMemory.size() != 0x8000) {
      std::fprintf(stderr, "the clean run gave no usable reference\n");
      return 1;
    }
  }

  bool failed = false;
  for (const int baud : speeds) {
    // A clean cycle at this speed gives the time scale for the limit.
    const auto t0 = Clock::now();
    const CycleEnd clean = Cycle(setup, baud, Faults{}, std::chrono::seconds(600));
    const double cleanSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
    if (clean.outcome != kOk) {
      std::fprintf(stderr, "%d baud: the clean cycle ended %s: %s\n", baud, Name(clean.outcome), clean.note.c_str());
      failed = true;
      continue;
    }
    const auto limit = std::chrono::seconds(limitSeconds > 0 ? limitSeconds : std::max(60, int(10 * cleanSeconds)));
    std::printf("%d baud: clean cycle %.1f s, limit %lld s per cycle, %d cycles\n", baud, cleanSeconds,
                static_cast<long long>(limit.count()), cycles);
    std::fflush(stdout);

    std::mt19937 rng(seed * 7919u + unsigned(baud));
    Counts counts;
    const auto start = Clock::now();
    for (int c = 0; c < cycles && !gStop; ++c) {
      const Faults faults = fixed ? *fixed : Mix(rng);
      const auto began = Clock::now();
      const CycleEnd end = Cycle(setup, baud, faults, limit);
      if (end.outcome == kStopped) break;
      const double took = std::chrono::duration<double>(Clock::now() - began).count();
      ++counts.cycles;
      ++counts.outcomes[end.outcome];
      if (end.outcome == kRefusedProgram || end.outcome == kRefusedRead) ++counts.messages[end.note];
      if (end.outcome != kOk || std::getenv("SOAK_VERBOSE"))
        std::printf("  cycle %d (%s): %s%s%s, %.1f s\n", c + 1, faults.Text().c_str(), Name(end.outcome),
                    end.note.empty() ? "" : ": ", end.note.c_str(), took);
      std::fflush(stdout);
      if (Fatal(end.outcome)) failed = true;
      if (counts.cycles % 10 == 0) {
        std::printf("  %d cycles, %d ok\n", counts.cycles, counts.outcomes[kOk]);
        std::fflush(stdout);
      }
    }
    counts.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    auto n = [&](int o) { return counts.outcomes.count(o) ? counts.outcomes[o] : 0; };
    std::printf("%d baud, %d cycles%s in %.0f s: ok %d, refused with message %d (program %d, read %d), "
                "wrong content %d (read-back %d, device memory %d), silent failures %d, hangs %d, crashes %d\n",
                baud, counts.cycles, gStop ? " (interrupted)" : "", counts.seconds, n(kOk), n(kRefusedProgram) + n(kRefusedRead), n(kRefusedProgram),
                n(kRefusedRead), n(kWrongRead) + n(kWrongMemory), n(kWrongRead), n(kWrongMemory), n(kSilent), n(kHang),
                n(kBroken));
    for (const auto& [text, count] : counts.messages) std::printf("  %4d x %s\n", count, text.c_str());
    std::fflush(stdout);
    if (gStop) break;
  }
  return failed ? 1 : 0;
}
