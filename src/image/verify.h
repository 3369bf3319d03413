// Checking a programming run: every block that went out (the address table
// and the programming flag included) is read back in the frames a read uses
// and compared byte for byte with what was sent.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/staging.h"
#include "link/com_port.h"
#include "link/device_commands.h"
#include "model/messenger.h"

namespace vorsin::image {

// What the device must hold once the blocks have been written in order: a
// later write of an address wins (the programming flag is set first and
// cleared last). Contiguous stretches are joined, so each is read as one range.
std::vector<StagedBlock> ExpectedContent(std::span<const StagedBlock> written);

// Where a difference lies in installer's terms: the block holding it.
struct VerifiedBlock {
  int entry = -1;  // its address table entry; kBlockTable, kBlockFlag or -1 (unknown)
  uint32_t address = 0;
  size_t length = 0;
};
constexpr int kBlockTable = -2;  // the address table itself
constexpr int kBlockFlag = -3;   // the programming flag before it

struct VerifyOutcome {
  bool equal = true;
  size_t bytesCompared = 0;
  size_t bytesDiffering = 0;
  uint32_t address = 0;             // the first differing address
  VerifiedBlock block;              // the block holding it
  std::vector<uint8_t> expected;    // what was written from that address on (a few bytes)
  std::vector<uint8_t> found;       // what the device holds there
};

// Compares what was read back (the same stretches as expected, in order)
// with what was expected; names the block by the table that was written.
VerifyOutcome CompareContent(std::span<const StagedBlock> expected, std::span<const StagedBlock> read,
                             const AddressTable& table);

// The block's name as the user knows it, Windows-1251.
std::string BlockName(int entry);

// One message for the user, Windows-1251: the note that follows a good
// programming, or what differs where.
std::string VerifyMessage(const VerifyOutcome& outcome);

}  // namespace vorsin::image

namespace vorsin {

// Reads back the blocks written (on an open port with access granted) and
// compares them. Returns 0 when everything could be read (outcome says
// whether it matched), 1 when a read failed (the user has been told).
int VerifyWritten(ComPort& port, Messenger& messenger, Progress& progress,
                  std::span<const image::StagedBlock> written, const AddressTable& table,
                  image::VerifyOutcome& outcome);

}  // namespace vorsin
