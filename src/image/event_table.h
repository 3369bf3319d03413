// The event table of the image (entry 17): one 9-byte record per event, then
// 0xFF; and its rebuild when the device is read.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/event_rules.h"
#include "model/vocabulary.h"

namespace vorsin::image {

constexpr size_t kEventRecordSize = 9;
// SMS string k travels as its identifier kSmsIdOffset + k, 0 as none.
constexpr int kSmsIdOffset = 19;

// The widest value each word of a record comes back as written (from 0 up):
// the code as three decimal digits, the zone in 12 bits, an SMS string as
// its identifier byte. The voice numbers take 4 bits each (kMaxVoiceMessage).
struct EventWordRange {
  size_t word;
  int32_t high;
};
constexpr EventWordRange kEventWordRanges[] = {
    {EventEntry::kFlags, 255},
    {EventEntry::kCode, 999},
    {EventEntry::kPartition, 255},
    {EventEntry::kZone, 4095},
    {EventEntry::kSmsNew, 255 - kSmsIdOffset},
    {EventEntry::kSmsRestore, 255 - kSmsIdOffset},
    {EventEntry::kAddresseeMask, 255}};

std::array<uint8_t, kEventRecordSize> EncodeEventRecord(const EventEntry& event);
// Words 1..9 from a record; the name is left empty.
EventEntry DecodeEventRecord(std::span<const uint8_t, kEventRecordSize> record);

std::vector<uint8_t> EncodeEventTable(const Configuration& config);

// Rebuilds the event table from the records (the bytes from entry 17 to the
// end of the area): the records below the lowest loop base as general events
// named from the vocabulary, the vocabulary's further general events, then
// each loop's block sized by its level table. The loop bases then point at
// the rebuilt blocks. Returns false, with the reason in error, when a record
// lies past the bytes given.
bool RebuildEvents(Workspace& ws, Vocabulary& vocabulary, std::span<const uint8_t> records,
                   std::string& error);

}  // namespace vorsin::image
