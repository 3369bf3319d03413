// Runs pkd-sim (from VORSIN_BIN_DIR) for a test and hands out the path of its
// pseudo-terminal. Header-only so the image and window tests can use it too:
//
//   SimProcess sim({"--password", "1234", "--log", logPath});
//   ASSERT_TRUE(sim.ok()) << sim.error();
//   port.portName = sim.path();
//
// The simulator is stopped (SIGTERM, then waited for) when the object goes.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vorsin::testing {

inline std::string SimBinary() { return std::string(VORSIN_BIN_DIR) + "/pkd-sim"; }

// The vorsin-cli the tests run: this build's, or VORSIN_CLI (the Windows
// program under wine, scripts/wine-cli.sh).
inline std::string CliProgram() {
  const char* other = std::getenv("VORSIN_CLI");
  return other != nullptr && *other != '\0' ? std::string(other) : std::string(VORSIN_BIN_DIR) + "/vorsin-cli";
}

class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& args = {}) { Start(args); }
  ~SimProcess() { Stop(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool ok() const { return pid_ > 0 && !path_.empty(); }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }
  pid_t pid() const { return pid_; }

  void Signal(int sig) const {
    if (pid_ > 0) ::kill(pid_, sig);
  }

  // SIGTERM and wait; returns the exit status (-1 if it did not exit normally).
  int Stop() {
    if (pid_ <= 0) return status_;
    ::kill(pid_, SIGTERM);
    int st = 0;
    ::waitpid(pid_, &st, 0);
    pid_ = -1;
    status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return status_;
  }

 private:
  void Start(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) {
      error_ = "pipe failed";
      return;
    }
    const std::string binary = SimBinary();
    std::vector<std::string> all{binary};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, binary.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
      ::close(out[0]);
      error_ = "cannot start " + binary;
      return;
    }
    pid_ = pid;
    path_ = ReadLine(out[0], std::chrono::seconds(10));
    ::close(out[0]);
    if (path_.empty()) {
      error_ = "pkd-sim printed no terminal path";
      Stop();
    }
  }

  static std::string ReadLine(int fd, std::chrono::milliseconds limit) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char c;
      if (::read(fd, &c, 1) != 1) break;
      if (c == '\n') return line;
      line += c;
    }
    return {};
  }

  pid_t pid_ = -1;
  int status_ = -1;
  std::string path_;
  std::string error_;
};

// A fresh file name under the test's temporary directory.
inline std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/vorsin_" + std::to_string(::getpid()) + "_" +
         name;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Lines of a pkd-sim log that start with prefix ("> 00" requests, "< " replies, "# " notes).
inline std::vector<std::string> LogLines(const std::string& path, const std::string& prefix) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  return lines;
}

}  // namespace vorsin::testing
