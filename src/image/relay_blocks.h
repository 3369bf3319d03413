// The relay blocks (entry 32, relay 2 right behind relay 1) and the relay
// patterns (entry 33).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin::image {

// The 5-bit code of a binding's source identifier, and back. In the lists of
// the loops (loopList) the codes 0..7 are level ranges.
int RelaySourceCode(int32_t identifier);
int32_t RelaySourceFromCode(int code, bool loopList);

std::array<uint8_t, 2> EncodeBinding(const RelayBinding& binding);
RelayBinding DecodeBinding(uint8_t b0, uint8_t b1, bool loopList);

std::vector<uint8_t> EncodeRelayBlock(const Configuration& config, int relay);

// Reads both relay blocks from the bytes at entry 32 (to the end of the area)
// into the cleared relay lists. False, with the reason, when cut short.
bool DecodeRelayBlocks(std::span<const uint8_t> block, Configuration& config, std::string& error);

// A pattern keeps up to 16 steps of one byte; bit 6 marks the last step and
// 0xFF ends the list.
constexpr int kMaxPatternSteps = static_cast<int>(ParamRecord::kWords) - 2;
constexpr uint8_t kLastStepBit = 0x40;
constexpr uint8_t kPatternsEnd = 0xFF;
std::vector<uint8_t> EncodeRelayPatterns(const Configuration& config);
// Rebuilds relayPatterns (cleared before) from the bytes at entry 33.
bool DecodeRelayPatterns(std::span<const uint8_t> block, Configuration& config, std::string& error);
// Name of a rebuilt pattern by its position.
std::string RelayPatternName(int position);

}  // namespace vorsin::image
