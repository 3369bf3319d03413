#include "image/staging.h"

#include <algorithm>

namespace vorsin::image {

void BlockStager::Stage(uint32_t address, std::vector<uint8_t> bytes) {
  StagedBlock block{address, std::move(bytes)};
  highestEnd_ = std::max(highestEnd_, block.end());
  total_ += block.bytes.size();
  blocks_.push_back(std::move(block));
}

void BlockStager::StageAtEntry(const AddressTable& table, int entry, std::vector<uint8_t> bytes) {
  Stage(TableEntry(table, entry), std::move(bytes));
}

void BlockStager::StageChained(AddressTable& table, int entry, std::vector<uint8_t> bytes) {
  const uint32_t at = highestEnd_;
  if (entry >= 0) SetTableEntry(table, entry, static_cast<uint16_t>(at));
  Stage(at, std::move(bytes));
}

void BlockStager::ResetCounters() {
  highestEnd_ = 0;
  total_ = 0;
}

void BlockStager::SortAndJoin() {
  std::stable_sort(blocks_.begin(), blocks_.end(),
                   [](const StagedBlock& a, const StagedBlock& b) { return a.address < b.address; });
  std::vector<StagedBlock> joined;
  for (auto& block : blocks_) {
    if (!joined.empty() && joined.back().end() == block.address) {
      auto& into = joined.back().bytes;
      into.insert(into.end(), block.bytes.begin(), block.bytes.end());
    } else {
      joined.push_back(std::move(block));
    }
  }
  blocks_ = std::move(joined);
}

}  // namespace vorsin::image
