#include "image/verify.h"

#include <algorithm>
#include <cstdio>

#include "image/image_layout.h"
#include "model/cp1251.h"

namespace vorsin::image {
namespace {

constexpr size_t kShownBytes = 8;  // bytes shown from the first difference on

std::string Hex4(uint32_t value) {
  char buf[12];
  std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(value));
  return buf;
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", bytes[i]);
    s += buf;
  }
  return s;
}

// The block that holds address: the nearest written block start at or below
// it, as the table that went out places them; it ends at the next start or
// where the written stretch ends.
VerifiedBlock BlockHolding(uint32_t address, const StagedBlock& stretch, const AddressTable& table) {
  std::vector<std::pair<uint32_t, int>> starts;
  for (int i = 0; i < kTableEntries; ++i) {
    const uint16_t at = TableEntry(table, i);
    // The versions are the device's own, and entry 40 marks an end, not a block.
    if (i == kEntryVersion || i == kEntryAreaEnd || at == 0x0000 || at == 0xFFFF) continue;
    starts.emplace_back(at, i);
  }
  starts.emplace_back(table.address, kBlockTable);
  if (table.address > 0) starts.emplace_back(table.address - 1u, kBlockFlag);
  std::stable_sort(starts.begin(), starts.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  VerifiedBlock block{-1, stretch.address, stretch.bytes.size()};
  uint32_t end = stretch.end();
  for (size_t k = 0; k < starts.size(); ++k) {
    if (starts[k].first > address) {
      end = std::min(end, starts[k].first);
      break;
    }
    if (starts[k].first >= stretch.address) {
      block.entry = starts[k].second;
      block.address = starts[k].first;
    }
  }
  block.length = end - block.address;
  return block;
}

}  // namespace

std::vector<StagedBlock> ExpectedContent(std::span<const StagedBlock> written) {
  std::vector<std::pair<uint32_t, uint32_t>> spans;
  for (const StagedBlock& b : written)
    if (!b.bytes.empty()) spans.emplace_back(b.address, b.end());
  std::sort(spans.begin(), spans.end());
  std::vector<StagedBlock> out;
  uint32_t runEnd = 0;
  for (const auto& [start, end] : spans) {
    if (!out.empty() && start <= runEnd) {
      runEnd = std::max(runEnd, end);
      out.back().bytes.resize(runEnd - out.back().address);
    } else {
      runEnd = end;
      out.push_back({start, std::vector<uint8_t>(end - start)});
    }
  }
  // Written in order, so a later write of the same address wins.
  for (const StagedBlock& b : written) {
    if (b.bytes.empty()) continue;
    auto it = std::upper_bound(out.begin(), out.end(), b.address,
                               [](uint32_t a, const StagedBlock& run) { return a < run.address; });
    StagedBlock& run = *std::prev(it);
    std::copy(b.bytes.begin(), b.bytes.end(), run.bytes.begin() + (b.address - run.address));
  }
  return out;
}

VerifyOutcome CompareContent(std::span<const StagedBlock> expected, std::span<const StagedBlock> read,
                             const AddressTable& table) {
  VerifyOutcome out;
  for (size_t r = 0; r < expected.size(); ++r) {
    const StagedBlock& want = expected[r];
    static const StagedBlock kNothing;
    const StagedBlock& got = r < read.size() ? read[r] : kNothing;
    for (size_t i = 0; i < want.bytes.size(); ++i) {
      ++out.bytesCompared;
      // A stretch read short counts as differing from where it stops.
      if (i < got.bytes.size() && got.bytes[i] == want.bytes[i]) continue;
      ++out.bytesDiffering;
      if (!out.equal) continue;
      out.equal = false;
      out.address = want.address + static_cast<uint32_t>(i);
      out.block = BlockHolding(out.address, want, table);
      const size_t n = std::min(kShownBytes, want.bytes.size() - i);
      out.expected.assign(want.bytes.begin() + i, want.bytes.begin() + i + n);
      for (size_t k = i; k < i + n && k < got.bytes.size(); ++k) out.found.push_back(got.bytes[k]);
    }
  }
  return out;
}

std::string BlockName(int entry) {
  switch (entry) {
    case kBlockTable: return Cp("таблица адресов");
    case kBlockFlag: return Cp("флаг программирования");
    case kEntryPin: return Cp("PIN-код");
    case kEntryGeneral: return Cp("общие настройки");
    case kEntryVoiceRepeat: return Cp("повторы голосовых сообщений");
    case kEntryUserAttributes: return Cp("атрибуты пользователей");
    case kEntryLoopFlags: return Cp("флаги шлейфов");
    case kEntryCommonLoops: return Cp("общие шлейфы");
    case kEntryLoopConstants: return Cp("константы шлейфов");
    case kEntryReactionTime: return Cp("время реакции шлейфов");
    case kEntryDelays: return Cp("задержки взятия и снятия");
    case kEntryPhones: return Cp("телефоны адресатов");
    case kEntryEvents: return Cp("таблица событий");
    case kEntryPasswords: return Cp("пароли пользователей");
    case kEntryNumbers: return Cp("номера");
    case kEntryRemoteCommands: return Cp("команды управления");
    case kEntrySms: return Cp("Sms сообщения");
    case kEntryAddresseeFlags: return Cp("настройки адресатов");
    case kEntryDeliveryLimits: return Cp("ограничения доставки");
    case kEntryTestPeriods: return Cp("периоды тестов");
    case kEntryLoopEventBase: return Cp("события шлейфов");
    case kEntryLevelTables: return Cp("таблицы уровней");
    case kEntryRelays: return Cp("реле");
    case kEntryRelayPatterns: return Cp("шаблоны реле");
    case kEntryKeys: return Cp("ключи Touch Memory");
    case kEntryZeros: return Cp("резерв");
    case kEntryTimeEvents: return Cp("события по времени и описания");
    case kEntryWorkPhoneControl: return Cp("рабочие телефоны");
    case kEntryLoopLatch: return Cp("фиксация шлейфов");
    default: return entry >= 0 ? Cp("запись таблицы ") + std::to_string(entry) : Cp("область");
  }
}

std::string VerifyMessage(const VerifyOutcome& o) {
  if (o.equal)
    return Cp("Запись проверена: считанное совпадает с записанным (") + std::to_string(o.bytesCompared) +
           Cp(" байт).");
  return Cp("Проверка записи: блок \"") + BlockName(o.block.entry) + "\" (" + Hex4(o.block.address) + ", " +
         std::to_string(o.block.length) + Cp(" байт) отличается по адресу ") + Hex4(o.address) +
         Cp(".\nЗаписано: ") + HexBytes(o.expected) + Cp("\nСчитано: ") + HexBytes(o.found) +
         Cp("\nОтличающихся байт: ") + std::to_string(o.bytesDiffering) + Cp(" из ") +
         std::to_string(o.bytesCompared) + ".";
}

}  // namespace vorsin::image

namespace vorsin {

int VerifyWritten(ComPort& port, Messenger& messenger, Progress& progress,
                  std::span<const image::StagedBlock> written, const AddressTable& table,
                  image::VerifyOutcome& outcome) {
  const std::vector<image::StagedBlock> expected = image::ExpectedContent(written);
  size_t total = 0;
  for (const auto& e : expected) total += e.bytes.size();
  progress.SetPosition(0);
  progress.SetMaximum(static_cast<int>(total));
  std::vector<image::StagedBlock> read;
  read.reserve(expected.size());
  for (const auto& e : expected) {
    read.push_back({e.address, std::vector<uint8_t>(e.bytes.size())});
    if (ReadRange(port, messenger, progress, read.back().bytes.data(), e.address, e.bytes.size()) != 0) return 1;
  }
  outcome = image::CompareContent(expected, read, table);
  return 0;
}

}  // namespace vorsin
