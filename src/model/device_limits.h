// What the device's memory can hold of the configuration: the limits the
// pages, the checks before programming and the image codecs share.
#pragma once

#include <cstddef>

namespace vorsin {

constexpr int kMaxPhonesPerAddressee = 15;   // tag 0xF0 + j in the descriptions
constexpr int kMaxProfileStrings = 19;       // identifiers 1..19
constexpr int kMaxSmsStrings = 60;           // identifiers 20..79
constexpr int kMaxSubstrings = 170;          // identifiers 80..249
constexpr int kMaxVoiceMessage = 15;         // 4 bits per voice number
constexpr int kMaxRelayBody = 63;            // 6 bits of the relay header
constexpr size_t kMaxCompressedDescriptions = 4000;

// A relay's block: a fire loop's fixed program, else per list a header byte
// and at least this many pairs.
constexpr size_t kFireRelayBody = 25;
constexpr int kMinLoopPairs = 1;
constexpr int kMinCommonPairs = 6;

}  // namespace vorsin
