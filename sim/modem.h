// A Hayes-style modem in front of the simulated device (pkd-sim --modem).
//
// Command mode: bytes from the tool are echoed (ATE1) and read as AT lines;
// ATD<number> answers after the dial delay. Data mode: bytes cross the call
// at 9600 bit/s with a one-way delay and jitter, delivered in the bursts a
// radio link's 20 ms blocks make; "+++" between two seconds of silence goes
// back to command mode. The modem keeps no clock of its own: every call
// passes the time, so the state machine runs the same under test.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "options.h"

namespace pkdsim {

class Modem {
 public:
  using Clock = std::chrono::steady_clock;
  using Logger = std::function<void(const std::string& line)>;

  static constexpr int kCallBaud = 9600;
  static constexpr auto kBlock = std::chrono::milliseconds(20);  // a radio block

  Modem(const Options& options, Logger log);

  // Bytes the tool sent, arriving at now.
  void FromTool(const uint8_t* bytes, size_t n, Clock::time_point now);
  // The device's reply, ready to go into the call at ready.
  void FromDevice(const std::vector<uint8_t>& bytes, Clock::time_point ready);
  // Whatever is due by now: bytes for the tool and bytes for the device.
  void Tick(Clock::time_point now, std::vector<uint8_t>& toTool, std::vector<uint8_t>& toDevice);
  // When Tick next has something to do, if ever.
  std::optional<Clock::time_point> NextEvent() const;

  bool online() const { return state_ == State::kOnline; }
  bool callUp() const { return callUp_; }

 private:
  enum class State { kCommand, kDialling, kOnline };

  // One direction of the call: bytes go on the air one after the other at
  // the call's speed and come out a delay later, a block at a time.
  struct Path {
    std::deque<std::pair<Clock::time_point, uint8_t>> queue;
    Clock::time_point airFree{};
    Clock::duration delay{};
  };

  void CommandByte(uint8_t byte, Clock::time_point now);
  void Line(const std::string& line, Clock::time_point now);
  void DataByte(uint8_t byte, Clock::time_point now);
  void Send(Path& path, uint8_t byte, Clock::time_point now);
  void Result(const char* verbose, int numeric);
  void HangUp(const char* why);
  void CountData(size_t n);
  Clock::duration Guard() const { return std::chrono::milliseconds(options_.modemGuardMs); }

  const Options& options_;
  Logger log_;
  std::mt19937 random_{20240611};
  State state_ = State::kCommand;
  bool callUp_ = false;
  bool echo_ = true;
  bool verbose_ = true;
  std::string line_;
  std::vector<uint8_t> pendingTool_;  // echo and result codes, sent on the next Tick
  Clock::time_point dialDone_{};
  // "+++": pluses seen in a row, each within the guard time of the one
  // before, after a guard time of silence.
  int pluses_ = 0;
  Clock::time_point lastToolByte_{};
  Path up_, down_;
  long dataBytes_ = 0;
};

}  // namespace pkdsim
