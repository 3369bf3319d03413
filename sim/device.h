// The simulated device: splits the bytes it receives into requests (frames,
// the "+" sequence, the firmware loader's messages) and answers them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "eeprom.h"
#include "options.h"

namespace pkdsim {

// What one step of the device did with the front of its input.
struct Step {
  size_t consumed = 0;           // bytes taken from the input
  std::vector<uint8_t> reply;    // bytes to send back (may be empty)
  int latencyMs = 0;             // time the device needs before it answers
};

class Device {
 public:
  using Logger = std::function<void(const std::string& line)>;
  Device(Eeprom& eeprom, const Options& options, Logger log);

  // Handles the first complete message at the front of input. Returns
  // nullopt when the front is an incomplete message still worth waiting for.
  // stale = no byte has come for a while: an incomplete message is dropped.
  std::optional<Step> Next(const std::vector<uint8_t>& input, bool stale);

  bool accessGranted() const { return access_; }
  bool inLoader() const { return loader_; }

 private:
  std::optional<Step> NextFrame(const std::vector<uint8_t>& in, bool stale);
  std::optional<Step> NextLoader(const std::vector<uint8_t>& in, bool stale);
  Step Garbage(const std::vector<uint8_t>& in, size_t n, const char* why);
  Step Answer(uint8_t code, const std::vector<uint8_t>& payload, size_t consumed);
  std::vector<uint8_t> Dispatch(uint8_t code, const std::vector<uint8_t>& p, int& latencyMs);
  std::vector<uint8_t> Reply(uint8_t code, const std::vector<uint8_t>& payload);
  std::vector<uint8_t> Error(uint8_t command, uint8_t subCode);
  bool PasswordMatches(const std::vector<uint8_t>& p) const;

  Eeprom& eeprom_;
  const Options& options_;
  Logger log_;
  bool access_ = false;
  bool loader_ = false;
  long requests_ = 0;
  long replies_ = 0;
  long retriesSent_ = 0;
  long loaderLines_ = 0;
  long keyPolls_ = 0;
};

std::string Hex(const uint8_t* bytes, size_t n);

}  // namespace pkdsim
