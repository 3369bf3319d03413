// Small helpers shared by the SMS tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "sms/sms.h"

namespace vorsin::sms_test {

inline std::vector<uint8_t> B(std::initializer_list<int> v) {
  std::vector<uint8_t> out;
  for (int b : v) out.push_back(static_cast<uint8_t>(b));
  return out;
}

inline std::vector<uint8_t> B(const std::string& s) { return {s.begin(), s.end()}; }

inline std::vector<ParamRecord> Records(std::initializer_list<std::string> texts) {
  std::vector<ParamRecord> out;
  for (const auto& t : texts) out.push_back(ParamRecord{{}, t});
  return out;
}

}  // namespace vorsin::sms_test
