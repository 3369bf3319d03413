#include "sim_frame.h"

namespace pkdsim {

uint16_t SumOf(const uint8_t* bytes, size_t count) {
  uint32_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  return static_cast<uint16_t>(sum);
}

std::vector<uint8_t> MakeFrame(uint8_t code, const std::vector<uint8_t>& payload, bool corrupt) {
  const auto length = static_cast<uint8_t>(payload.size() + 1);
  std::vector<uint8_t> f;
  f.reserve(payload.size() + 6);
  for (const uint8_t b : {uint8_t{0x00}, length, static_cast<uint8_t>(~length), code}) f.push_back(b);
  f.insert(f.end(), payload.begin(), payload.end());
  uint16_t sum = SumOf(f.data(), f.size());
  if (corrupt) sum = static_cast<uint16_t>(sum ^ 0x5A5A);
  f.push_back(static_cast<uint8_t>(sum >> 8));
  f.push_back(static_cast<uint8_t>(sum & 0xFF));
  return f;
}

uint16_t LoaderChecksum(const uint8_t* bytes, size_t count) {
  if (count == 0) return 0;
  if (count == 1) return bytes[0];
  // Bitwise long division, one message bit at a time.
  uint32_t r = (static_cast<uint32_t>(bytes[0]) << 8) | bytes[1];
  for (size_t i = 2; i < count; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool top = (r & 0x8000) != 0;
      r = ((r << 1) | ((bytes[i] >> bit) & 1)) & 0xFFFF;
      if (top) r ^= 0x1021;
    }
  }
  return static_cast<uint16_t>(r);
}

}  // namespace pkdsim
