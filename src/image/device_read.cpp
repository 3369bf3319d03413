#include <vector>

#include "image/device_io.h"
#include "image/image_layout.h"
#include "image/image_reader.h"
#include "image/version_rules.h"
#include "model/cp1251.h"

namespace vorsin {
namespace {

using namespace image;

bool Unset(uint16_t entry) { return entry == 0x0000 || entry == 0xFFFF; }

int RunReading(Workspace& ws, Vocabulary& vocabulary, ComPort& port, Messenger& messenger, Progress& progress,
               ReadResult& out) {
  ws.marks.eventsStale = true;
  ws.marks.reportsStale = true;
  if (ReadAddressTable(port, messenger, out.table) != 0) return 1;
  // A factory table may not even say where the versions are; when it does,
  // a version this tool cannot read is the first thing to say.
  const uint16_t versionAt = TableEntry(out.table, kEntryVersion);
  if (!Unset(versionAt)) {
    std::array<uint8_t, kVersionSize> version{};
    if (ReadRange(port, messenger, progress, version.data(), versionAt, version.size()) != 0) return 1;
    out.formatVersion = version[0];
    out.firmwareVersion = version[1];
    if (!VersionsAllow(Operation::Read, version[0], version[1], messenger)) return 1;
  }
  if (HoldsNoConfiguration(out.table)) {
    messenger.Warning(Cp("В устройстве ещё нет настроек: оно ни разу не было запрограммировано."));
    return 1;
  }

  const long size = AreaSize(out.table, messenger);
  if (size < 0) return 1;
  progress.SetPosition(0);
  progress.SetMaximum(static_cast<int>(size));
  std::vector<uint8_t> area(static_cast<size_t>(size));
  if (ReadRange(port, messenger, progress, area.data(), TableEntry(out.table, kEntryPin), area.size()) != 0)
    return 1;

  DecodeResult decoded;
  const int status =
      DecodeConfigurationArea(ws, vocabulary, out.table, out.firmwareVersion, area, messenger, decoded);
  out.haveVg = decoded.haveVg;
  out.vgr = decoded.vgr;
  out.vgt = decoded.vgt;
  if (status != 0) return 1;

  ws.projectFileName = "Read";
  return 0;
}

}  // namespace

bool HoldsNoConfiguration(const AddressTable& table) {
  const uint16_t start = TableEntry(table, kEntryPin);
  const uint16_t end = TableEntry(table, kEntryAreaEnd);
  if (Unset(TableEntry(table, kEntryVersion)) || Unset(start) || Unset(end) || end <= start) return true;
  // Programming always writes every chained block inside the area; a table
  // none of whose chained blocks lies there is the factory's, not ours.
  for (const int entry : {kEntryPhones, kEntryEvents, kEntrySms, kEntryLevelTables, kEntryRelays,
                          kEntryRelayPatterns, kEntryTimeEvents}) {
    const uint16_t at = TableEntry(table, entry);
    if (!Unset(at) && at >= start && at < end) return false;
  }
  return true;
}

int ReadDevice(Workspace& ws, Vocabulary& vocabulary, ComPort& port, const ReadOptions& options,
               Messenger& messenger, Progress& progress, ReadResult& out) {
  out = ReadResult{};
  if (OpenComPort(port, messenger) != kPortOpened) return 1;
  int status = 1;
  if (TakeAccess(port, messenger, options.password) == 0) {
    out.accessed = true;
    // Built aside and put in place only whole: a failed read keeps the
    // user's configuration, unsaved work included.
    Workspace read = ws;
    status = RunReading(read, vocabulary, port, messenger, progress, out);
    if (status == 0) {
      ws = std::move(read);
      messenger.Note(Cp("Настройки считаны"));  // the window shows the new caption by now
      progress.SetPosition(0);
    } else {
      progress.SetPosition(0);
    }
  }
  CloseComPort(port);
  return status;
}

}  // namespace vorsin
