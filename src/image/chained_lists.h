// Chained blocks that are plain lists: the addressees' phones (entry 16), the
// SMS texts (entry 26) and the time events (entry 39).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin::image {

constexpr size_t kPhoneRecordSize = 17;

// For every addressee with phones: 0x04, the phone count, 17 bytes a phone;
// then two zero bytes. Addressees without phones are not stored.
std::vector<uint8_t> EncodePhones(const Configuration& config);
// Rebuilds the (cleared) addressee list, at most eight, with automatic
// numbers and default names.
bool DecodePhones(std::span<const uint8_t> block, Configuration& config, std::string& error);

// Reads the SMS texts block: profile strings from identifiers 1..19, SMS
// strings from 20..79, substrings from 80..249, first record of each wins.
bool DecodeSmsTexts(std::span<const uint8_t> block, std::span<const CodeDefinition> codeDefinitions,
                    Configuration& config, std::string& error);

std::vector<uint8_t> EncodeTimeEvents(const Configuration& config);
// Reads the time events; *end receives the offset just past their 0xFF.
bool DecodeTimeEvents(std::span<const uint8_t> block, Configuration& config, size_t* end,
                      std::string& error);

}  // namespace vorsin::image
