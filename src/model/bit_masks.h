// Bit helpers for the masks the records keep. Addressees and work phones
// are numbered from the top bit of a byte: number 0 is 0x80, number 7 is 1.
#pragma once

#include <cstdint>

namespace vorsin {

// The bit of item i (0..7) in a top-bit-first byte mask; 0 past item 7.
constexpr int32_t TopBit(int i) { return i >= 0 && i < 8 ? 0x80 >> i : 0; }
constexpr int32_t AddresseeBit(int i) { return TopBit(i); }
constexpr int32_t PhoneBit(int i) { return TopBit(i); }

// Whether any of bits is set in word.
constexpr bool HasBits(int32_t word, int32_t bits) { return (word & bits) != 0; }
// word with bits set (on) or cleared; the other bits are kept.
constexpr int32_t WithBits(int32_t word, int32_t bits, bool on) { return on ? (word | bits) : (word & ~bits); }

}  // namespace vorsin
