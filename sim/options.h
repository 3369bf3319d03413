// pkd-sim's command line.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pkdsim {

struct ErrorRule {
  uint8_t command;
  uint8_t subCode;
};

struct Options {
  std::string linkPath;          // --link: symlink to the slave side
  std::optional<std::string> password;  // --password: digits the device expects
  int format = -1;               // --format: image format version (-1 = keep)
  int firmware = -1;             // --firmware
  std::string loadPath;          // --load
  std::string savePath;          // --save
  std::array<uint8_t, 6> key{};  // --key
  long keyAfter = 0;             // --key-after: requests answered "no key yet" first
  int retryFirst = 0;            // --retry-first
  int dropEvery = 0;             // --drop-every
  long cutAfter = -1;            // --cut-after: requests answered before the line goes dead (-1 = never)
  int corruptEvery = 0;          // --corrupt-every
  std::vector<ErrorRule> errorOn;  // --error-on CMD:SUB (repeatable)
  int loaderBadLine = 0;         // --loader-bad-line
  int baud = 0;                  // --baud: emulated line speed, 0 = as fast as the pty goes
  int writeLatencyMs = 0;        // --write-latency
  std::string logPath;           // --log
  bool modem = false;            // --modem: a Hayes modem in front of the device
  int modemDialMs = 3000;        // --modem-dial-ms: from ATD to its answer
  std::string modemAnswer = "connect";  // --modem-answer: connect, busy, no-answer, no-carrier, none
  int modemLatencyMs = 150;      // --modem-latency: one way through the call
  int modemJitterMs = 50;        // --modem-jitter
  int modemGuardMs = 1000;       // --modem-guard-ms: the silence around "+++" (S12)
  long modemDropAfter = -1;      // --modem-drop-after: data bytes before the carrier is lost (-1 = never)
  long stuckByte = -1;           // --stuck-byte: a cell whose writes leave bit 0 flipped
};

// Parses argv; on a bad option fills error and returns nullopt.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

extern const char kUsage[];

}  // namespace pkdsim
