// The blocks of the configuration area, one row each: where the address
// table keeps it, its size rule, its encoder and decoder, what it can hold
// (the check before programming) and what reading gives back of it. Building
// the image, reading it and the checks are loops over this table.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/block_rules.h"
#include "image/image_reader.h"
#include "image/image_writer.h"
#include "image/problems.h"
#include "model/configuration.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin::image {

struct WriteInput {
  const Configuration& config;
  std::span<const CodeDefinition> codes;
  const ImageParams& params;
  Messenger& messenger;
  bool withDescriptions = false;  // set when the descriptions could be packed
};

struct ReadInput {
  Workspace& ws;
  Vocabulary& vocabulary;
  uint8_t firmware;
  Messenger& messenger;
  DecodeResult& result;
  std::string error;                          // why a decoder failed
  std::span<const uint8_t> behindTimeEvents;  // from the time events' last byte on
};

enum class Extent {
  Fixed,      // size bytes at the entry's address
  ToAreaEnd,  // at the entry's address, as long as it is; reading takes the rest of the area
  Chained,    // written behind the highest end so far, which goes into the entry; read as ToAreaEnd
};
constexpr int kBehind = -1;   // a chained block right behind the one before it, without an entry
constexpr int kNoPlace = -2;  // an unused place of a row

struct Place {
  int entry = kNoPlace;
  Extent extent = Extent::Fixed;
  size_t size = 0;  // Fixed only
};

using Spans = std::span<const std::span<const uint8_t>>;

struct Block {
  const char* part;
  // Most blocks have one place; the users and the addressee slots lie in
  // several fixed blocks, the second relay behind the first.
  std::array<Place, 3> places;
  // Chained blocks go into memory in this order behind the fixed ones; -1 for the others.
  int chain;
  // The bytes for each place; none when nothing is written.
  std::vector<std::vector<uint8_t>> (*encode)(WriteInput&);
  // The bytes of the places with an entry, in order. False with the reason
  // in error; nullptr: reading leaves the block alone.
  bool (*decode)(Spans, ReadInput&);
  void (*holds)(const Configuration&, Problems&);  // nullptr: it holds anything
  void (*keep)(Configuration&, Codes);             // nullptr: it gives back what it got
};

// In the order reading rebuilds the configuration: the addressees before
// their slots, the level tables before the events sized by them.
std::span<const Block> Blocks();

// The configuration as the blocks give it back, field by field, apart from
// what reading takes from elsewhere (names, the vocabulary, the descriptions).
void KeepWhatTheBlocksHold(Configuration& c, Codes codes);

}  // namespace vorsin::image
