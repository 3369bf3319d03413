#include "link/frame.h"

#include <algorithm>

namespace vorsin {

uint16_t FrameChecksum(std::span<const uint8_t> frame) {
  if (frame.size() < 2) return 0;
  const size_t count = std::min<size_t>(frame[1] + 3u, frame.size());
  unsigned sum = 0;
  for (size_t i = 0; i < count; ++i) sum += frame[i];
  return static_cast<uint16_t>(sum);
}

std::vector<uint8_t> BuildFrame(uint8_t code, std::span<const uint8_t> payload) {
  const size_t n = std::min(payload.size(), kMaxFramePayload);
  const auto length = static_cast<uint8_t>(n + 1);
  std::vector<uint8_t> frame;
  frame.reserve(n + kFrameOverhead);
  frame.push_back(kFrameStart);
  frame.push_back(length);
  frame.push_back(static_cast<uint8_t>(length ^ 0xFF));
  frame.push_back(code);
  frame.insert(frame.end(), payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(n));
  const uint16_t sum = FrameChecksum(frame);
  frame.push_back(static_cast<uint8_t>(sum >> 8));
  frame.push_back(static_cast<uint8_t>(sum));
  return frame;
}

}  // namespace vorsin
