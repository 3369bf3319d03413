#include "image/blocks.h"

#include <algorithm>

#include "image/chained_lists.h"
#include "image/descriptions.h"
#include "image/event_table.h"
#include "image/fixed_blocks.h"
#include "image/image_layout.h"
#include "image/level_tables.h"
#include "image/relay_blocks.h"
#include "model/cp1251.h"
#include "sms/sms.h"

namespace vorsin::image {

namespace {

using Out = std::vector<Bytes>;

// A block whose codec reads and writes the configuration alone.
template <Bytes (*Encode)(const Configuration&)>
Out PlainOut(WriteInput& in) {
  return {Encode(in.config)};
}
template <void (*Decode)(std::span<const uint8_t>, Configuration&)>
bool PlainIn(Spans s, ReadInput& in) {
  Decode(s[0], in.ws.config);
  return true;
}
template <bool (*Decode)(std::span<const uint8_t>, Configuration&, std::string&)>
bool Checked(Spans s, ReadInput& in) {
  return Decode(s[0], in.ws.config, in.error);
}

// The SIM PIN "0" means none: the device's bytes stay.
Out PinOut(WriteInput& in) {
  if (in.config.pinCode == "0") return {};
  return {EncodePin(in.config.pinCode)};
}
bool PinIn(Spans s, ReadInput& in) {
  in.ws.config.pinCode = DecodePin(s[0]);
  return true;
}

Out UsersOut(WriteInput& in) {
  UserBlocks users = EncodeUsers(in.config);
  return {std::move(users.attributes), std::move(users.keys), std::move(users.passwords)};
}
bool UsersIn(Spans s, ReadInput& in) {
  DecodeUsers(s[0], s[2], s[1], in.ws.config);
  return true;
}

Out GeneralOut(WriteInput& in) { return {EncodeGeneralBlock(in.config, in.params.vgr, in.params.vgt)}; }
bool GeneralIn(Spans s, ReadInput& in) {
  const GeneralReadBack back = DecodeGeneralBlock(s[0], in.ws.config);
  in.result.haveVg = true;
  in.result.vgr = back.vgr;
  in.result.vgt = back.vgt;
  return true;
}

Out SlotsOut(WriteInput& in) { return {EncodeAddresseeFlags(in.config), EncodeDeliveryLimits(in.config)}; }
bool SlotsIn(Spans s, ReadInput& in) {
  DecodeAddresseeSlots(s[0], s[1], in.ws.config);
  return true;
}

Out ZerosOut(WriteInput&) { return {EncodeZeros()}; }
Out LoopConstantsOut(WriteInput&) { return {EncodeLoopConstants()}; }

bool NumbersIn(Spans s, ReadInput& in) {
  DecodeNumbers(s[0], in.firmware >= kCusdFirmware, in.ws.config);
  return true;
}

bool RemoteCommandsIn(Spans s, ReadInput& in) {
  if (DecodeRemoteCommands(s[0], in.ws.config)) return true;
  in.error = Cp("Ошибка чтения настроек: команды управления за пределами считанных данных");
  return false;
}

bool EventsIn(Spans s, ReadInput& in) { return RebuildEvents(in.ws, in.vocabulary, s[0], in.error); }

Out RelaysOut(WriteInput& in) { return {EncodeRelayBlock(in.config, 0), EncodeRelayBlock(in.config, 1)}; }

Out SmsOut(WriteInput& in) { return {StoreSmsBlock(in.config, in.codes)}; }
bool SmsIn(Spans s, ReadInput& in) {
  return DecodeSmsTexts(s[0], in.ws.codeDefinitions, in.ws.config, in.error);
}

bool TimeEventsIn(Spans s, ReadInput& in) {
  size_t end = 0;
  if (!DecodeTimeEvents(s[0], in.ws.config, &end, in.error)) return false;
  in.behindTimeEvents = s[0].subspan(end - 1);
  return true;
}

// The descriptions follow the time events' 0xFF and one more byte.
Out DescriptionsOut(WriteInput& in) {
  std::vector<uint8_t> packed;
  if (!CompressDescriptions(BuildDescriptionsText(in.config, in.params.stamp), packed)) {
    in.messenger.Show(Cp("Ошибка записи установочной информации"), CaptionWarning(), Icon::None, Buttons::Ok);
    return {};
  }
  in.withDescriptions = true;
  return {DescriptionsBlock(packed)};
}
// Names that cannot be read leave the default ones; the read still succeeds.
bool DescriptionsIn(Spans, ReadInput& in) {
  ReadDescriptions(in.behindTimeEvents, in.ws.config, in.messenger);
  return true;
}

constexpr Place At(int entry, size_t size) { return {entry, Extent::Fixed, size}; }
constexpr Place ToEnd(int entry) { return {entry, Extent::ToAreaEnd, 0}; }
constexpr Place Chain(int entry) { return {entry, Extent::Chained, 0}; }

constexpr Block kBlocks[] = {
    {"pin", {At(kEntryPin, kPinSize)}, -1, PinOut, PinIn, PinHolds, nullptr},
    {"users",
     {At(kEntryUserAttributes, kUserAttributesSize), At(kEntryKeys, kKeysSize), At(kEntryPasswords, kPasswordsSize)},
     -1, UsersOut, UsersIn, UsersHold, KeepUsers},
    {"phones", {Chain(kEntryPhones)}, 4, PlainOut<EncodePhones>, Checked<DecodePhones>, AddresseesHold,
     KeepPhoneNumbers},
    {"general", {At(kEntryGeneral, kGeneralSize)}, -1, GeneralOut, GeneralIn, GeneralHolds, KeepGeneral},
    {"work phone control", {At(kEntryWorkPhoneControl, kWorkPhoneControlSize)}, -1, PlainOut<EncodeWorkPhoneControl>,
     PlainIn<DecodeWorkPhoneControl>, nullptr, nullptr},
    {"voice repeat", {At(kEntryVoiceRepeat, kVoiceRepeatSize)}, -1, PlainOut<EncodeVoiceRepeat>,
     PlainIn<DecodeVoiceRepeat>, nullptr, nullptr},
    {"addressee slots",
     {At(kEntryAddresseeFlags, kAddresseeFlagsSize), At(kEntryDeliveryLimits, kDeliveryLimitsSize)}, -1, SlotsOut,
     SlotsIn, nullptr, nullptr},
    {"test periods", {At(kEntryTestPeriods, kTestPeriodsSize)}, -1, PlainOut<EncodeTestPeriods>,
     PlainIn<DecodeTestPeriods>, nullptr, nullptr},
    {"loop flags", {At(kEntryLoopFlags, kLoopFlagsSize)}, -1, PlainOut<EncodeLoopFlags>, PlainIn<DecodeLoopFlags>,
     nullptr, nullptr},
    {"common loops", {At(kEntryCommonLoops, kCommonLoopsSize)}, -1, PlainOut<EncodeCommonLoops>,
     PlainIn<DecodeCommonLoops>, CommonLoopsHold, nullptr},
    {"reaction times", {At(kEntryReactionTime, kReactionTimeSize)}, -1, PlainOut<EncodeReactionTimes>,
     PlainIn<DecodeReactionTimes>, nullptr, nullptr},
    {"loop latch", {At(kEntryLoopLatch, kLoopLatchSize)}, -1, PlainOut<EncodeLoopLatch>, PlainIn<DecodeLoopLatch>,
     nullptr, nullptr},
    {"delays", {At(kEntryDelays, kDelaysSize)}, -1, PlainOut<EncodeDelays>, PlainIn<DecodeDelays>, nullptr, nullptr},
    {"loop event bases", {At(kEntryLoopEventBase, kLoopEventBaseSize)}, -1, PlainOut<EncodeLoopEventBases>,
     PlainIn<DecodeLoopEventBases>, LoopEventBasesHold, nullptr},
    {"numbers", {At(kEntryNumbers, kNumbersSize)}, -1, PlainOut<EncodeNumbers>, NumbersIn, NumbersHold, KeepNumbers},
    {"remote commands", {ToEnd(kEntryRemoteCommands)}, -1, PlainOut<EncodeRemoteCommands>, RemoteCommandsIn, nullptr,
     nullptr},
    {"level tables", {Chain(kEntryLevelTables)}, 1, PlainOut<EncodeLevelTables>, Checked<DecodeLevelTables>,
     LevelTablesHold, nullptr},
    {"events", {Chain(kEntryEvents)}, 0, PlainOut<EncodeEventTable>, EventsIn, EventsHold, nullptr},
    {"relays", {Chain(kEntryRelays), Chain(kBehind)}, 2, RelaysOut, Checked<DecodeRelayBlocks>, RelaysHold,
     KeepRelays},
    {"relay patterns", {Chain(kEntryRelayPatterns)}, 3, PlainOut<EncodeRelayPatterns>, Checked<DecodeRelayPatterns>,
     RelayPatternsHold, KeepRelayPatternSteps},
    {"sms texts", {Chain(kEntrySms)}, 5, SmsOut, SmsIn, SmsTextsHold, KeepSmsTexts},
    {"time events", {Chain(kEntryTimeEvents)}, 6, PlainOut<EncodeTimeEvents>, TimeEventsIn, TimeEventsHold,
     KeepTimeEvents},
    {"descriptions", {Chain(kBehind)}, 7, DescriptionsOut, DescriptionsIn, nullptr, nullptr},
    // Written for the device's sake, never read back.
    {"zeros", {At(kEntryZeros, kZerosSize)}, -1, ZerosOut, nullptr, nullptr, nullptr},
    {"loop constants", {At(kEntryLoopConstants, kLoopConstantsSize)}, -1, LoopConstantsOut, nullptr, nullptr, nullptr},
};

}  // namespace

std::span<const Block> Blocks() { return kBlocks; }

void KeepWhatTheBlocksHold(Configuration& c, Codes codes) {
  for (const Block& block : kBlocks)
    if (block.keep) block.keep(c, codes);
}

}  // namespace vorsin::image
