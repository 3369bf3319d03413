// The loops' level tables (entry 31): the table number each loop uses, then
// the tables, then 0xFF. Reading matches each table against the known ones
// and adds the tables it does not know.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin::image {

// The first six entries of intervals are always written (numbers 1..6);
// further entries once each, in the order the loops use them.
std::vector<uint8_t> EncodeLevelTables(const Configuration& config);

// Sets each loop's intervalIndex from the block (the bytes from entry 31 to
// the end of the area), appending an Interval and a default
// IntervalDescription for every table no known entry matches. False, with
// the reason in error, for a block that is cut short or malformed.
bool DecodeLevelTables(std::span<const uint8_t> block, Configuration& config, std::string& error);

// Whether the table holds n ranges with these 2n values (the kind is not compared).
bool LevelTableMatches(const Interval& table, int n, std::span<const uint8_t> values);

}  // namespace vorsin::image
