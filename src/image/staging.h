// Placing blocks in the device's memory before they are written: fixed blocks
// at their table entries, chained blocks one after another behind the highest
// end reached, then sorted by address with adjacent blocks joined so that each
// run goes out as one range.
#pragma once

#include <cstdint>
#include <vector>

#include "link/device_commands.h"

namespace vorsin::image {

struct StagedBlock {
  uint32_t address = 0;
  std::vector<uint8_t> bytes;
  uint32_t end() const { return address + static_cast<uint32_t>(bytes.size()); }
  bool operator==(const StagedBlock&) const = default;
};

class BlockStager {
 public:
  // Adds a block at an address; raises the highest end and the total.
  void Stage(uint32_t address, std::vector<uint8_t> bytes);
  // A fixed block at the address entry i of the table gives.
  void StageAtEntry(const AddressTable& table, int entry, std::vector<uint8_t> bytes);
  // A chained block at the highest end; its address goes into entry i
  // (entry < 0: a block found behind the one before it, without an entry).
  void StageChained(AddressTable& table, int entry, std::vector<uint8_t> bytes);
  void ResetCounters();
  // Sorts by address (stable) and joins every block that ends where the next begins.
  void SortAndJoin();

  uint32_t highestEnd() const { return highestEnd_; }
  size_t total() const { return total_; }
  const std::vector<StagedBlock>& blocks() const { return blocks_; }
  std::vector<StagedBlock> take() { return std::move(blocks_); }

 private:
  std::vector<StagedBlock> blocks_;
  uint32_t highestEnd_ = 0;
  size_t total_ = 0;
};

}  // namespace vorsin::image
