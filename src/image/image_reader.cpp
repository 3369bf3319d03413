#include "image/image_reader.h"

#include <optional>
#include <string>

#include "image/chained_lists.h"
#include "image/descriptions.h"
#include "image/event_table.h"
#include "image/fixed_blocks.h"
#include "image/image_layout.h"
#include "image/level_tables.h"
#include "image/relay_blocks.h"
#include "model/cp1251.h"
#include "model/vocabulary_lists.h"
#include "model/defaults.h"

namespace vorsin::image {
namespace {

// Finds blocks in the area by their table entries and tells the user when a
// block is not inside what was read.
class AreaView {
 public:
  AreaView(const AddressTable& table, std::span<const uint8_t> area, Messenger& messenger)
      : table_(table), area_(area), messenger_(messenger) {}

  // The size bytes of entry i's block.
  std::optional<std::span<const uint8_t>> Block(int entry, size_t size) {
    const auto offset = Offset(entry);
    if (!offset) return std::nullopt;
    if (*offset > area_.size() || size > area_.size() - *offset) {
      PastEnd(entry);
      return std::nullopt;
    }
    return area_.subspan(*offset, size);
  }
  // Everything from entry i's block to the end of the area.
  std::optional<std::span<const uint8_t>> Rest(int entry) {
    const auto offset = Offset(entry);
    if (!offset) return std::nullopt;
    if (*offset >= area_.size()) {
      PastEnd(entry);
      return std::nullopt;
    }
    return area_.subspan(*offset);
  }
  void Fail(const std::string& text) { messenger_.Error(text); }

 private:
  std::optional<size_t> Offset(int entry) {
    const long offset = static_cast<long>(TableEntry(table_, entry)) - TableEntry(table_, kEntryPin);
    if (offset < 0) {
      messenger_.Show(Cp("адрес при операции чтения отрицательный"), Cp("Неисправимая ошибка"), Icon::Error,
                      Buttons::Ok);
      return std::nullopt;
    }
    return static_cast<size_t>(offset);
  }
  void PastEnd(int entry) {
    Fail(Cp("Ошибка чтения настроек: блок ") + std::to_string(entry) +
         Cp(" таблицы адресации лежит за пределами считанных данных"));
  }

  const AddressTable& table_;
  std::span<const uint8_t> area_;
  Messenger& messenger_;
};

void ClearDeviceParts(Workspace& ws) {
  Configuration& c = ws.config;
  ClearAddressees(c);
  c.events.clear();
  for (auto& relay : c.relayBindings)
    for (auto& list : relay) list.clear();
  c.general.relayNormallyClosed(0) = 0;
  c.general.relayNormallyClosed(1) = 0;
  c.relayPatterns.clear();
  c.smsProfileTexts.clear();
  c.smsStrings.clear();
  c.smsSubStrings.clear();
  c.timeEvents.clear();
  c.general.setProfileIndex(0);
}

}  // namespace

long AreaSize(const AddressTable& table, Messenger& messenger) {
  const long size = static_cast<long>(TableEntry(table, kEntryAreaEnd)) - TableEntry(table, kEntryPin);
  const long start = TableEntry(table, kEntryPin);
  if (size <= 0 || start + size > static_cast<long>(kMemorySize)) {
    messenger.Error(Cp("Ошибка таблицы адресации: неверный размер области настроек (") + std::to_string(size) +
                    Cp(" байт)"));
    return -1;
  }
  return size;
}

int DecodeConfigurationArea(Workspace& ws, Vocabulary& vocabulary, const AddressTable& table,
                            uint8_t firmwareVersion, std::span<const uint8_t> area, Messenger& messenger,
                            DecodeResult& result) {
  Configuration& c = ws.config;
  AreaView view(table, area, messenger);
  std::string error;
  const auto failWith = [&](const std::string& text) {
    view.Fail(text);
    return 1;
  };

  for (int L = 0; L < kLoops; ++L) {
    ws.marks.loopRelayEdited[L] = true;
    ws.marks.loopEventsEdited[L] = true;
  }
  ClearDeviceParts(ws);
  // Commands and controls start afresh from the vocabulary, as after a reset;
  // the device then fills them position by position.
  LoadRemoteCommands(ws, vocabulary);

  const auto pin = view.Block(kEntryPin, kPinSize);
  if (!pin) return 1;
  c.pinCode = DecodePin(*pin);

  const auto attributes = view.Block(kEntryUserAttributes, kUserAttributesSize);
  if (!attributes) return 1;
  const auto keys = view.Block(kEntryKeys, kKeysSize);
  if (!keys) return 1;
  const auto passwords = view.Block(kEntryPasswords, kPasswordsSize);
  if (!passwords) return 1;
  DecodeUsers(*attributes, *passwords, *keys, c);

  const auto phones = view.Rest(kEntryPhones);
  if (!phones) return 1;
  if (!DecodePhones(*phones, c, error)) return failWith(error);

  const auto general = view.Block(kEntryGeneral, kGeneralSize);
  if (!general) return 1;
  const GeneralReadBack back = DecodeGeneralBlock(*general, c);
  result.haveVg = true;
  result.vgr = back.vgr;
  result.vgt = back.vgt;

  const auto workPhones = view.Block(kEntryWorkPhoneControl, kWorkPhoneControlSize);
  if (!workPhones) return 1;
  DecodeWorkPhoneControl(*workPhones, c);
  const auto voice = view.Block(kEntryVoiceRepeat, kVoiceRepeatSize);
  if (!voice) return 1;
  DecodeVoiceRepeat(*voice, c);

  const auto slotFlags = view.Block(kEntryAddresseeFlags, kAddresseeFlagsSize);
  if (!slotFlags) return 1;
  const auto limits = view.Block(kEntryDeliveryLimits, kDeliveryLimitsSize);
  if (!limits) return 1;
  DecodeAddresseeSlots(*slotFlags, *limits, c);

  struct Small {
    int entry;
    size_t size;
    void (*decode)(std::span<const uint8_t>, Configuration&);
  };
  static constexpr Small kLoopBlocks[] = {
      {kEntryTestPeriods, kTestPeriodsSize, DecodeTestPeriods},
      {kEntryLoopFlags, kLoopFlagsSize, DecodeLoopFlags},
      {kEntryCommonLoops, kCommonLoopsSize, DecodeCommonLoops},
      {kEntryReactionTime, kReactionTimeSize, DecodeReactionTimes},
      {kEntryLoopLatch, kLoopLatchSize, DecodeLoopLatch},
      {kEntryDelays, kDelaysSize, DecodeDelays},
      {kEntryLoopEventBase, kLoopEventBaseSize, DecodeLoopEventBases},
  };
  for (const Small& s : kLoopBlocks) {
    const auto block = view.Block(s.entry, s.size);
    if (!block) return 1;
    s.decode(*block, c);
  }

  const auto numbers = view.Block(kEntryNumbers, kNumbersSize);
  if (!numbers) return 1;
  DecodeNumbers(*numbers, firmwareVersion >= kCusdFirmware, c);

  const auto commands = view.Rest(kEntryRemoteCommands);
  if (!commands) return 1;
  if (!DecodeRemoteCommands(*commands, c))
    return failWith(Cp("Ошибка чтения настроек: команды управления за пределами считанных данных"));

  const auto levels = view.Rest(kEntryLevelTables);
  if (!levels) return 1;
  if (!DecodeLevelTables(*levels, c, error)) return failWith(error);

  const auto events = view.Rest(kEntryEvents);
  if (!events) return 1;
  if (!RebuildEvents(ws, vocabulary, *events, error)) return failWith(error);

  const auto relays = view.Rest(kEntryRelays);
  if (!relays) return 1;
  if (!DecodeRelayBlocks(*relays, c, error)) return failWith(error);
  const auto patterns = view.Rest(kEntryRelayPatterns);
  if (!patterns) return 1;
  if (!DecodeRelayPatterns(*patterns, c, error)) return failWith(error);
  const auto sms = view.Rest(kEntrySms);
  if (!sms) return 1;
  if (!DecodeSmsTexts(*sms, ws.codeDefinitions, c, error)) return failWith(error);
  const auto timeEvents = view.Rest(kEntryTimeEvents);
  if (!timeEvents) return 1;
  size_t timeEnd = 0;
  if (!DecodeTimeEvents(*timeEvents, c, &timeEnd, error)) return failWith(error);

  // The descriptions follow the time events' 0xFF and one more byte. Names
  // that cannot be read leave the default ones; the read still succeeds.
  ReadDescriptions(timeEvents->subspan(timeEnd - 1), c, messenger);
  return 0;
}

}  // namespace vorsin::image
