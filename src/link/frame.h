// Frames of the device link, the same layout in both directions:
// 00, L, L^FF, code, payload (L-1 bytes), checksum high, checksum low.
// The checksum is the 16-bit sum of the first L + 3 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorsin {

constexpr uint8_t kFrameStart = 0x00;
constexpr size_t kFrameOverhead = 6;    // start, L, ~L, code, 2 checksum bytes
constexpr size_t kMaxFramePayload = 254;  // L = 1 + n fits one byte

// Sum of the first L + 3 bytes, L read from frame[1]. Bytes past the end of
// the given span count as absent (the sum covers what is there).
uint16_t FrameChecksum(std::span<const uint8_t> frame);

// The whole request frame (n + 6 bytes); payload longer than 254 bytes is cut.
std::vector<uint8_t> BuildFrame(uint8_t code, std::span<const uint8_t> payload);

}  // namespace vorsin
