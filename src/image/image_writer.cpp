#include "image/image_writer.h"

#include <algorithm>
#include <utility>

#include "image/blocks.h"
#include "image/image_layout.h"

namespace vorsin::image {

ImagePlan BuildImage(const Configuration& c, std::span<const CodeDefinition> codeDefinitions,
                     const AddressTable& deviceTable, const ImageParams& params, Messenger& messenger) {
  ImagePlan plan;
  plan.table = deviceTable;
  AddressTable& table = plan.table;
  const uint32_t flagAddress = static_cast<uint32_t>(table.address) - 1u;
  BlockStager s;
  // The programming flag goes out with the data; it counts in neither counter.
  s.Stage(flagAddress, {1});
  s.ResetCounters();

  // The fixed blocks go to the addresses the device's table gives (a plan in
  // which any two overlap does not fit), so their order does not matter; the
  // chained ones follow one another in their own order.
  WriteInput in{c, codeDefinitions, params, messenger};
  std::vector<const Block*> chained;
  for (const Block& block : Blocks()) {
    if (block.chain >= 0) {
      chained.push_back(&block);
      continue;
    }
    auto bytes = block.encode(in);
    for (size_t i = 0; i < bytes.size(); ++i) s.StageAtEntry(table, block.places[i].entry, std::move(bytes[i]));
  }
  std::sort(chained.begin(), chained.end(), [](const Block* a, const Block* b) { return a->chain < b->chain; });
  for (const Block* block : chained) {
    auto bytes = block->encode(in);
    for (size_t i = 0; i < bytes.size(); ++i) s.StageChained(table, block->places[i].entry, std::move(bytes[i]));
  }
  plan.withDescriptions = in.withDescriptions;

  s.SortAndJoin();
  SetTableEntry(table, kEntryAreaEnd, static_cast<uint16_t>(s.highestEnd()));
  // The table and the cleared flag go last, so an interrupted run leaves the
  // flag set.
  s.Stage(table.address, std::vector<uint8_t>(table.bytes.begin(), table.bytes.end()));
  s.Stage(flagAddress, {0});
  plan.total = s.total();
  plan.blocks = s.take();
  return plan;
}

bool PlanFitsMemory(const ImagePlan& plan) {
  if (plan.table.address == 0) return false;  // no room for the programming flag
  for (const StagedBlock& b : plan.blocks)
    if (b.address >= kMemorySize || b.bytes.size() > kMemorySize - b.address) return false;
  // A block the device left too little room for (the remote commands, say)
  // would overwrite its neighbour. Only the flag byte is written twice: set
  // first with the data, cleared last.
  if (plan.blocks.empty()) return true;
  std::vector<std::pair<uint32_t, uint32_t>> ranges;
  for (size_t i = 0; i + 1 < plan.blocks.size(); ++i)
    ranges.emplace_back(plan.blocks[i].address, plan.blocks[i].end());
  std::sort(ranges.begin(), ranges.end());
  for (size_t i = 1; i < ranges.size(); ++i)
    if (ranges[i].first < ranges[i - 1].second) return false;
  return true;
}

}  // namespace vorsin::image
