#include "image/image_writer.h"

#include <algorithm>
#include <utility>

#include "image/chained_lists.h"
#include "image/event_table.h"
#include "image/fixed_blocks.h"
#include "image/image_layout.h"
#include "image/level_tables.h"
#include "image/relay_blocks.h"
#include "model/cp1251.h"
#include "sms/sms.h"

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

  if (c.pinCode != "0") s.StageAtEntry(table, kEntryPin, EncodePin(c.pinCode));
  UserBlocks users = EncodeUsers(c);
  s.StageAtEntry(table, kEntryPasswords, std::move(users.passwords));
  s.StageAtEntry(table, kEntryUserAttributes, std::move(users.attributes));
  s.StageAtEntry(table, kEntryKeys, std::move(users.keys));
  s.StageAtEntry(table, kEntryGeneral, EncodeGeneralBlock(c, params.vgr, params.vgt));
  s.StageAtEntry(table, kEntryWorkPhoneControl, EncodeWorkPhoneControl(c));
  s.StageAtEntry(table, kEntryVoiceRepeat, EncodeVoiceRepeat(c));
  s.StageAtEntry(table, kEntryAddresseeFlags, EncodeAddresseeFlags(c));
  s.StageAtEntry(table, kEntryDeliveryLimits, EncodeDeliveryLimits(c));
  s.StageAtEntry(table, kEntryTestPeriods, EncodeTestPeriods(c));
  s.StageAtEntry(table, kEntryZeros, EncodeZeros());
  s.StageAtEntry(table, kEntryLoopFlags, EncodeLoopFlags(c));
  s.StageAtEntry(table, kEntryCommonLoops, EncodeCommonLoops(c));
  s.StageAtEntry(table, kEntryLoopConstants, EncodeLoopConstants());
  s.StageAtEntry(table, kEntryReactionTime, EncodeReactionTimes(c));
  s.StageAtEntry(table, kEntryLoopLatch, EncodeLoopLatch(c));
  s.StageAtEntry(table, kEntryDelays, EncodeDelays(c));
  s.StageAtEntry(table, kEntryLoopEventBase, EncodeLoopEventBases(c));
  s.StageAtEntry(table, kEntryNumbers, EncodeNumbers(c));
  s.StageAtEntry(table, kEntryRemoteCommands, EncodeRemoteCommands(c));

  s.StageChained(table, kEntryEvents, EncodeEventTable(c));
  s.StageChained(table, kEntryLevelTables, EncodeLevelTables(c));
  s.StageChained(table, kEntryRelays, EncodeRelayBlock(c, 0));
  s.StageChained(table, -1, EncodeRelayBlock(c, 1));
  s.StageChained(table, kEntryRelayPatterns, EncodeRelayPatterns(c));
  s.StageChained(table, kEntryPhones, EncodePhones(c));
  s.StageChained(table, kEntrySms, StoreSmsBlock(c, codeDefinitions));
  s.StageChained(table, kEntryTimeEvents, EncodeTimeEvents(c));

  std::vector<uint8_t> packed;
  if (CompressDescriptions(BuildDescriptionsText(c, params.stamp), packed)) {
    s.StageChained(table, -1, DescriptionsBlock(packed));
    plan.withDescriptions = true;
  } else {
    messenger.Show(Cp("Ошибка записи установочной информации"), CaptionWarning(), Icon::None, Buttons::Ok);
  }

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
