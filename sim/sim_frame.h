// pkd-sim's own framing: the device side of the link, written apart from the
// tool's code so that a shared mistake cannot hide itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pkdsim {

// 16-bit sum of the bytes [0, count).
uint16_t SumOf(const uint8_t* bytes, size_t count);

// 00, L, ~L, code, payload, sum high, sum low. corrupt spoils the sum.
std::vector<uint8_t> MakeFrame(uint8_t code, const std::vector<uint8_t>& payload,
                               bool corrupt = false);

// The loader's line checksum: the bytes as one polynomial divided by
// x^16 + x^12 + x^5 + 1, no initial value, no augmentation, no inversion.
// Lines of one byte check to that byte.
uint16_t LoaderChecksum(const uint8_t* bytes, size_t count);

}  // namespace pkdsim
