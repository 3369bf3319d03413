#include "image/image_reader.h"

#include <array>
#include <optional>
#include <string>
#include <tuple>

#include "image/blocks.h"
#include "image/image_layout.h"
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
  AreaView view(table, area, messenger);
  for (int L = 0; L < kLoops; ++L) {
    ws.marks.loopRelayEdited[L] = true;
    ws.marks.loopEventsEdited[L] = true;
  }
  ClearDeviceParts(ws);
  // Commands and controls start afresh from the vocabulary, as after a reset;
  // the device then fills them position by position.
  LoadRemoteCommands(ws, vocabulary);

  ReadInput in{ws, vocabulary, firmwareVersion, messenger, result, {}, {}};
  for (const Block& block : Blocks()) {
    if (!block.decode) continue;
    std::array<std::span<const uint8_t>, std::tuple_size_v<decltype(block.places)>> bytes;
    size_t found = 0;
    for (const Place& place : block.places) {
      if (place.entry < 0) continue;  // found behind the block before, or unused
      const auto at = place.extent == Extent::Fixed ? view.Block(place.entry, place.size) : view.Rest(place.entry);
      if (!at) return 1;
      bytes[found++] = *at;
    }
    if (!block.decode(Spans(bytes.data(), found), in)) {
      view.Fail(in.error);
      return 1;
    }
  }
  return 0;
}

}  // namespace vorsin::image
