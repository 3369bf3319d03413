// The lines the checks before programming give. Each block's check adds what
// it finds under a subject; the user reads them by subject, in the order
// below, whichever block the field lives in.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vorsin::image {

enum class Subject {
  Addressees,
  Relays,
  RelayTimeLimits,
  RelayPatterns,
  SmsTexts,
  EventVoices,
  EventFields,
  Pin,
  BalanceText,
  DeviceAddress,
  Numbers,
  AddresseeNumbers,
  WorkPhones,
  TimeEvents,
  Users,
  LoopTables,
  CommonLoops,
  LoopEvents,
};

class Problems {
 public:
  void Add(Subject subject, std::string line) { lines_.emplace_back(subject, std::move(line)); }
  // By subject; within one, in the order they were added.
  std::vector<std::string> Lines() const;

 private:
  std::vector<std::pair<Subject, std::string>> lines_;
};

// Pieces of the lines (Windows-1251 like the rest of them).
inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
inline std::string N(long long v) { return std::to_string(v); }

}  // namespace vorsin::image
