// The descriptions block: names the device does not use but keeps for the
// tool (addressees, phones, level tables and their ranges) and the time of
// programming, zlib-compressed behind the time events.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/messenger.h"

namespace vorsin::image {

struct Stamp {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// lastLoadTime as programming writes it ("dd.mm.yyyy hh:mm").
std::string FormatLoadTime(const Stamp& stamp);

// The uncompressed text: the date and time, the records, 0xFF.
std::vector<uint8_t> BuildDescriptionsText(const Configuration& config, const Stamp& stamp);
// compress2 at level 9; false when the result would not fit in 4000 bytes.
bool CompressDescriptions(std::span<const uint8_t> text, std::vector<uint8_t>& out);
// 0x01, 0xF1, the length (high byte first), the compressed bytes, 0xFF.
std::vector<uint8_t> DescriptionsBlock(std::span<const uint8_t> compressed);

// Unpacks one chunk. The buffer grows with the data, up to a limit far above
// anything programming can write, so no name is ever cut off.
bool UncompressDescriptions(std::span<const uint8_t> compressed, std::vector<uint8_t>& text);
// Gives the names of the text to the addressees, phones and loop descriptions
// it names, and sets lastLoadTime. False when the text is too short to hold
// the date.
bool ApplyDescriptionsText(std::span<const uint8_t> text, Configuration& config);

enum class DescriptionsResult { Applied, Missing, Unreadable };
// Reads the chunks that start after the time events' 0xFF (block begins at
// that byte). Unreadable chunks, also those cut off by the end of the
// block, are told to the user.
DescriptionsResult ReadDescriptions(std::span<const uint8_t> block, Configuration& config,
                                    Messenger& messenger);

}  // namespace vorsin::image
